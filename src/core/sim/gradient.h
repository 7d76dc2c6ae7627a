#pragma once
// The gradient under the train: the head gradient from the slope table, and the effective
// gradient as the mean of the head gradient sampled every 20 m over the last N (cars) samples.
#include "core/state/drive_context.h"

namespace kestrel::motion {

// headGradient takes the gradient of a [Slope] row while start < MovieFrame < end (the last such
// row wins); at a row's ends the previous gradient stays in force.
void updateHeadGradient(DriveContext& ctx);
// Tick stage 9 (first part): the sample every 20 m and the mean.
void sampleGradient(DriveContext& ctx);

}  // namespace kestrel::motion
