#pragma once
// Type 0 beacons (protection on, [ATS_Type] 0 or 1), for the signal whose approach section holds
// the train: within 15 frames of [Signal] field 7 (the long-range beacon) a stop aspect leaves a
// warning (checkSpeed 998); within 15 frames of field 8 (the beacon before the signal) a stop
// aspect stops the train (checkSpeed 0) and, with [ATS_Alert] 1, a restricting aspect checks its
// [Speed_Signal] step. checkSpeed returns to 999 at the end of the tick outside [SpeedCheck2]
// sections (speed_checks.h), so a beacon acts while the train is over it.
#include <cstdint>

#include "core/state/drive_context.h"

namespace kestrel {

// The stop codes that the long-range beacon warns of.
bool isStopCode(int32_t code);
// The clear codes after which the long-range beacon lifts a check ([ATS_Alert] 1).
bool isClearCode(int32_t code);

void type0Beacons(DriveContext& ctx);

}  // namespace kestrel
