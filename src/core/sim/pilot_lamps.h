#pragma once
// The pilot lamps that traction and the brakes light (tick stage 6). A lamp the vehicle does not
// have has no sprite and is skipped.
#include "core/state/drive_context.h"

namespace kestrel {

void updatePilotLamps(DriveContext& ctx);

}  // namespace kestrel
