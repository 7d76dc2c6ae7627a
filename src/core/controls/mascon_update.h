#pragma once
// masconupdate: derives everything that depends on the handle positions at once — the reverser
// lamps, constant-speed cancel and engage, the four handle texts, the notch and gear-lever
// images, and the departure call-out request. Runs after every handle change, and from the tick
// when ATS acts.
#include "core/state/drive_context.h"

namespace kestrel {

void masconupdate(DriveContext& ctx);

// Step 13 alone (the mode text), also run by AsciiDown after its other keys.
void updateModeText(DriveContext& ctx);

}  // namespace kestrel
