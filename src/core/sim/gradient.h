#pragma once
// The gradient under the train: the head gradient from the slope table, and the effective
// gradient as the mean of the head gradient sampled every 20 m over the last N (cars) samples.
#include "core/state/drive_context.h"

namespace kestrel::motion {

// Where the head of the train stands in the [Slope] table: in `row` while start < MovieFrame < end
// (the last such row wins), on `level` track between two rows or beyond the last; neither before
// the first row or on a row's very end, where the previous gradient stays in force.
struct SlopePlace {
  int32_t row = -1;
  bool level = false;
};
SlopePlace slopePlace(const LineData& line, int32_t frame);
// headGradient from the slope place: the row's gradient, 0 on level track, else unchanged.
void updateHeadGradient(DriveContext& ctx);
// Tick stage 9 (first part): the sample every 20 m and the mean.
void sampleGradient(DriveContext& ctx);

}  // namespace kestrel::motion
