#pragma once
// The working values that every rule keeps for the train's place on the line (per-station flags,
// signal markers, call-out requests, crossing and sign values, [Time] and [Switch] flags ...).
// They are reset when the train is put somewhere else: by the station jump (StationClick) and by
// the restore of a saved drive, which both call resetPositionWorkingValues.
//
// A rule that keeps such values adds one call to resetPositionWorkingValues, in its place in the
// list (position_resets.cpp), to a reset function in its own module.
#include "core/state/drive_context.h"

namespace kestrel {

void resetPositionWorkingValues(DriveContext& ctx);

}  // namespace kestrel
