#pragma once
// The notice line (tick stage 11): what the simulation expects of the driver next, in the words of
// the settings file's [InfoLabel] lines 8 to 21, and line 22 while a traffic light's cab
// indicator asks the driver to wait (after the others). Every item is "0" followed by its text;
// the engine notice replaces them all. The display shows the items without their leading "0"
// (OverlayTexts::message, handed over when the notice changes).
//
// The driver flag F (ControlState::driverFlag) stands for "the driver has answered an automatic
// emergency brake": it is set once the brake handle is put at emergency while an automatic brake
// holds the train at a stand, and cleared when no automatic brake is left (the ATS reset). While
// it is set the notice asks for the driver's next step (line 19) instead of describing the brake.
#include <string>
#include <vector>

#include "core/state/drive_context.h"

namespace kestrel {

inline constexpr const char* kEngineStallNotice =
    "0エンストしました。変速レバーを変速段に入れてエンジンを再始動してください。";

// The items of the notice, in order, each without its leading "0" (an item may be empty).
std::vector<std::string> noticeItems(const DriveContext& ctx);
void updateDriverFlag(DriveContext& ctx);
// F, then the notice; noticeText and the display's message change only when the notice does.
void updateNotices(DriveContext& ctx);

}  // namespace kestrel
