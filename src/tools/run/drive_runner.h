#pragma once
// Plays a scripted drive on a cab session as fast as the CPU allows: the start command at virtual
// time 0, each input after every event due at or before its time, the characters it posts right
// after it, and the clock run on to the end.
#include <cstdint>
#include <functional>
#include <optional>
#include <ostream>
#include <vector>

#include "core/front/cab_menu.h"
#include "core/front/cab_session.h"
#include "core/front/session_loader.h"
#include "core/ports/preference_store.h"
#include "tools/run/drive_script.h"
#include "tools/run/trace_writer.h"

namespace kestrel::run {

struct DriveResult {
  int64_t virtualUs = 0;
  double wallSeconds = 0;
  double speed = 0;
  double distanceRun = 0;
  int32_t movieFrame = 0;
};

// The drive's end when none is given: the last input plus 10 s.
int64_t defaultDurationUs(const std::vector<ScriptInput>& inputs);

// The first "menu jump" to a station that the line's "Move" menu does not offer (stations of
// type 0 or 2, the last excepted).
std::optional<ScriptError> jumpOutsideMenu(const std::vector<ScriptInput>& inputs, const LineData& line);

// What the script's menu actions work on besides the session: the preference store (the saved
// drives), the loaded records (the preferences that the checks toggle, the line file and its
// stations) and the menu's checks. `messages` receives what the desktop program shows in a
// message box, one line each with its drive time.
struct MenuContext {
  PreferenceStore& store;
  LoadedSession& loaded;
  CabMenu menu;
  std::ostream* messages = nullptr;
};

// One input of a script delivered to the session, then the characters it posted. `pad` is the
// state that the script's "pad" lines set for the game controller the session polls.
void deliverInput(CabSession& session, const ScriptInput& in, MenuContext* menu, GamepadState& pad);

// `trace` may be null. Inputs after `durationUs` are not played. `afterTick` runs after every
// tick (after its trace row) and once more at the end of the drive. Without `menu` the save, load,
// check and controller actions do nothing. The script's "pad" lines are the game controller that
// the session polls while a game-controller kind is chosen.
DriveResult playDrive(CabSession& session, const std::vector<ScriptInput>& inputs, int64_t durationUs,
                      TraceWriter* trace, const std::function<void()>& afterTick = {},
                      MenuContext* menu = nullptr);

// "drive: 600.000000 s virtual in 0.412 s wall (1456x real time), speed 0.00 km/h, ..."
std::string summaryLine(const DriveResult& result);

}  // namespace kestrel::run
