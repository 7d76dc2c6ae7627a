#pragma once
// What the sounds and call-outs forget when the train is put somewhere else — a station jump or
// a restored driving state: every channel from 1 upwards stops, the position-bound sounds may
// sound again, and the call-out state starts afresh for the new MovieFrame (see resetCallouts).
// Call it after MovieFrame has its new value.
#include "core/state/drive_context.h"

namespace kestrel {

void resetSoundsAndCallouts(DriveContext& ctx);

}  // namespace kestrel
