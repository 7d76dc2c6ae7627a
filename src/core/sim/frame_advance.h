#pragma once
// The 33 ms event's mapping of motion onto the route movie and the line: the frame advance with
// the [SpeedUnit] lookup (and the distance resets at row boundaries), the distance step, the clock
// count and auto-run.
#include "core/state/drive_context.h"

namespace kestrel::motion {

// Step 5 (first part): accumulate the rounded speed, move MovieFrame, look up the row.
void advanceFrame(DriveContext& ctx);
// The [SpeedUnit] lookup alone: resets distanceRun when the row changes, sets UnitsPerFrame.
void lookUpSpeedUnit(DriveContext& ctx);
// Step 6: the distance moves with the speed, but not below 0.5 km/h, where the frame cannot.
void advanceDistance(DriveContext& ctx);
// Step 7.
void advanceClock(DriveContext& ctx);

}  // namespace kestrel::motion
