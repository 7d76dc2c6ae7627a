#pragma once
// The driver inputs of a headless drive: one input per line, "TIME ACTION ARGS", TIME in seconds
// of drive time (non-decreasing, at most microsecond precision), "#" starts a comment.
//
//   key C             a typed character ("space" for a blank)
//   keyup C           the release of a typed character's key (ends the held horn "3", buzzer "4")
//   vkey NAME         a virtual key pressed: Enter, Backspace, ScrollLock, Up, Down, PageUp,
//   vkeyup NAME       PageDown, F1 .. F12, optionally "Shift+NAME"; or released
//   wheel up|down     the mouse wheel
//   menu start        the "Start" menu: pause / resume
//   menu jump N       the "Move" menu: jump to station N
//   menu save N       the "Save(&S)" menu: save the drive into slot N (1 .. 3)
//   menu load N       ... restore the drive of slot N
//   menu callouts     the "Display" menu's check items: "喚呼なし(&K)", "解説なし(&D)",
//   menu commentary   "停止位置ラインを表示しない(&S)", "文字表示モード切り替え(&C)"
//   menu stoplines
//   menu textmode
//   menu controller N the "Controller(&C)" menu: kind N (0 standard, 1 Windows and 2 PS
//                     "電車でGO!", 3 OHC-PC01)
//   serial TEXT       bytes arriving from the serial controller as one receive event; "\r" is the
//                     carriage return, "\n" a line feed, "\s" a blank, "\\" a backslash
//   pad X Y BUTTONS   the game controller's state for the following polls: the axes and the
//                     pressed buttons 0 .. 15 as a comma list ("0,4"), or "-" for none
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "core/controls/virtual_key.h"
#include "core/front/cab_menu.h"
#include "core/ports/gamepad_poller.h"

namespace kestrel::run {

struct ScriptInput {
  enum class Kind {
    Key,
    KeyUp,
    VirtualKeyDown,
    VirtualKeyUp,
    Wheel,
    MenuStart,
    MenuJump,
    MenuSave,
    MenuLoad,
    MenuToggle,
    MenuController,
    Serial,
    Pad
  };

  int64_t timeUs = 0;
  int line = 0;  // in the script file, from 1
  Kind kind = Kind::Key;
  char32_t character = 0;              // Key, KeyUp
  VirtualKey key = VirtualKey::Enter;  // VirtualKeyDown, VirtualKeyUp
  KeyModifiers modifiers;
  bool wheelUp = false;                         // Wheel
  int32_t station = 0;                          // MenuJump
  int slot = 0;                                 // MenuSave, MenuLoad: 1 .. 3
  CabMenuItem item = CabMenuItem::CalloutsOff;  // MenuToggle, MenuController
  std::string bytes;                            // Serial: CP932, as the controller sends them
  GamepadState pad;                             // Pad
};

struct ScriptError {
  int line = 0;
  std::string message;
};

using ParsedScript = std::variant<std::vector<ScriptInput>, ScriptError>;

ParsedScript parseDriveScript(std::string_view text);

// Seconds with at most six decimals ("12", "0.033"), exactly, as microseconds.
std::optional<int64_t> parseSeconds(std::string_view text);

}  // namespace kestrel::run
