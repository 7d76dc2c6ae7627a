#pragma once
// Drive scripts and drive recordings: one text format, one parser. A line holds one input,
// "TIME ACTION ARGS", TIME in seconds of drive time (non-decreasing, at most microsecond
// precision); "#" starts a comment. A recording adds entries that say what the drive ran on (see
// recording_header.h): lines that begin with a keyword instead of a time.
//
//   key C             a typed character ("space" for a blank, U+XXXX for any character)
//   keyup C           the release of a typed character's key (ends the held horn "3", buzzer "4")
//   vkey NAME         a virtual key pressed: Enter, Backspace, ScrollLock, Up, Down, PageUp,
//   vkeyup NAME       PageDown, F1 .. F12, after "Shift+", "Ctrl+", "Alt+" as held; or released
//   wheel up|down     the mouse wheel
//   menu start        the "Start" menu: pause / resume
//   menu jump N       the "Move" menu: jump to station N
//   menu save N       the "Save(&S)" menu: save the drive into slot N (1 .. 3)
//   menu load N [T]   ... restore the drive of slot N; T, when given, is the slot's text as the
//                     restore read it (a recording carries it, "-" for an empty slot), so that
//                     the restore does not depend on the store it is played with
//   menu callouts     the "Display" menu's check items: "喚呼なし(&K)", "解説なし(&D)",
//   menu commentary   "停止位置ラインを表示しない(&S)", "文字表示モード切り替え(&C)", and the
//   menu stoplines    "Controller(&C)" menu's "デバッグオプション(&D)"
//   menu textmode     (and the hidden "視覚効果OFF(&V)": menu visualeffects)
//   menu debug
//   menu controller N the "Controller(&C)" menu: kind N (0 standard, 1 Windows and 2 PS
//                     "電車でGO!", 3 OHC-PC01)
//   serial TEXT       bytes arriving from the serial controller as one receive event; "\r" is the
//                     carriage return, "\n" a line feed, "\s" a blank, "\\" a backslash, "\xHH"
//                     any byte
//   pad X Y BUTTONS   the game controller's state for the following polls: the axes and the
//                     pressed buttons 0 .. 15 as a comma list ("0,4"), or "-" for none
//   values reload     the value display's buttons: "SU再読込", "jump" with the text typed beside
//   values jump T     it (escaped as serial text, "-" for none), "抵抗解除", and a click on sound
//   values resistance channel C of its grid
//   values stop C
//   back              a click on the `back` picture: the drive fades out and ends
//   end               the end of the drive (its cab window closed); the drive runs to here
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "core/controls/virtual_key.h"
#include "core/front/cab_menu.h"
#include "core/front/recording_header.h"
#include "core/ports/gamepad_poller.h"
#include "core/util/seconds_text.h"

namespace kestrel {

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
    Pad,
    ValuesReload,
    ValuesJump,
    ValuesResistance,
    ValuesStop,
    Back,
    End
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
  std::optional<std::string> slotText;          // MenuLoad: the slot's text as it was restored
  CabMenuItem item = CabMenuItem::CalloutsOff;  // MenuToggle, MenuController
  std::string bytes;                            // Serial: CP932, as the controller sends them;
                                                // ValuesJump: the text typed (UTF-8)
  GamepadState pad;                             // Pad
  int32_t channel = 0;                          // ValuesStop
};

struct ScriptError {
  int line = 0;
  std::string message;
};

// A recording: what it ran on, and its inputs. A script is a recording without a header.
struct DriveRecording {
  RecordingHeader header;
  std::vector<ScriptInput> inputs;
  // The last line had no line end and was left out: the recording was cut while it was written
  // (only a recording is read so; a script's last line counts without one).
  bool cut = false;
};

using ParsedScript = std::variant<std::vector<ScriptInput>, ScriptError>;
using ParsedRecording = std::variant<DriveRecording, ScriptError>;

ParsedRecording parseDriveRecording(std::string_view text);
// The inputs alone (a recording's entries are read and checked, then left aside).
ParsedScript parseDriveScript(std::string_view text);

// One input as a line of the format (without the line end), so that parsing it gives the input
// back: "12.300000 key 5".
std::string formatScriptInput(const ScriptInput& input);

}  // namespace kestrel
