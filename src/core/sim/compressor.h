#pragma once
// The air compressor, once per tick: starts below [LowAirPress], charges the main reservoir, stops
// at [HighAirPress]; its start, running and end sounds.
#include "core/state/drive_context.h"

namespace kestrel::brakes {

void runCompressor(DriveContext& ctx);

}  // namespace kestrel::brakes
