#pragma once
// USBScan: the game controllers. While a game-controller kind is chosen the tick polls the first
// controller once; when its signature changed since the last poll, the state becomes absolute
// handle positions (SetPower, SetBrake) and posted key characters, in the way of the chosen kind:
//   WindowsGo  the Windows "電車でGO!" controller: power from the Y axis, brake from the X axis,
//              buttons 0 to 5
//   PsGo       the PlayStation "電車でGO!" controller: codes compared with the registry table
//   Ohc        the "三鶯重工 OHC-PC01": the handle from button combinations, reverser from Y
// The signature X + Y + B + L is all that is compared, so two states with the same sum are one.
#include <cstdint>
#include <string>

#include "core/ports/gamepad_poller.h"
#include "core/state/drive_context.h"

namespace kestrel {

struct PadWords {
  int64_t B = 0;  // buttons 0-3 as 1, 2, 4, 8 and buttons 8-15 as 16 .. 2048
  int64_t L = 0;  // the lever buttons 4-7 as 1, 2, 4, 8
  int64_t S = 0;  // the signature X + Y + B + L
};
PadWords padWords(const GamepadState& state);

// One poll of the kind in force (Standard: none): when something changed, driver activity for
// the vigilance device, the kind's handles and posted characters, masconupdate, the debug caption
// while "デバッグオプション(&D)" is checked, and the new last signature.
void USBScan(DriveContext& ctx, GamepadPoller& poller);

// "X:<x> Y:<y>", the caption of the debug option.
std::string padDebugCaption(const GamepadState& state);

}  // namespace kestrel
