#include "tools/run/drive_runner.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "core/data/jump_menu.h"
#include "core/front/drive_restore.h"

namespace kestrel::run {

int64_t defaultDurationUs(const std::vector<ScriptInput>& inputs) {
  return (inputs.empty() ? 0 : inputs.back().timeUs) + 10000000;
}

std::optional<ScriptError> jumpOutsideMenu(const std::vector<ScriptInput>& inputs, const LineData& line) {
  const auto entries = jumpMenuEntries(line);
  for (const ScriptInput& in : inputs) {
    if (in.kind != ScriptInput::Kind::MenuJump) continue;
    const bool listed = std::any_of(entries.begin(), entries.end(),
                                    [&](const JumpMenuEntry& e) { return e.station == in.station; });
    if (!listed)
      return ScriptError{in.line, "the \"Move\" menu has no station " + std::to_string(in.station)};
  }
  return std::nullopt;
}

namespace {

// The game controller of the script's "pad" lines: every poll reads the state last set.
class ScriptedGamepad final : public GamepadPoller {
 public:
  GamepadState state;
  GamepadState poll() override { return state; }
};

void message(MenuContext& menu, CabSession& session, std::string_view text) {
  if (menu.messages) *menu.messages << formatSeconds(session.scheduler().now()) << " " << text << "\n";
}

void deliverMenu(CabSession& session, const ScriptInput& in, MenuContext& menu) {
  const std::string& lineFile = menu.loaded.choice.lineFileName;
  switch (in.kind) {
    case ScriptInput::Kind::MenuSave:
      message(menu, session, saveDriveToSlot(menu.store, session, menu.loaded.line, lineFile, in.slot));
      break;
    case ScriptInput::Kind::MenuLoad:
      if (const auto refusal = restoreDriveFromSlot(menu.store, session, lineFile, in.slot))
        message(menu, session, *refusal);
      break;
    case ScriptInput::Kind::MenuToggle:
    case ScriptInput::Kind::MenuController:
      toggleMenuItem(menu.menu, in.item, menu.loaded.settings.preferences, session.context());
      break;
    default:
      break;
  }
}

}  // namespace

void deliverInput(CabSession& session, const ScriptInput& in, MenuContext* menu, GamepadState& pad) {
  switch (in.kind) {
    case ScriptInput::Kind::Key:
      session.AsciiDown(in.character);
      break;
    case ScriptInput::Kind::KeyUp:
      session.keyupChar(in.character);
      break;
    case ScriptInput::Kind::VirtualKeyDown:
      session.keydowns(in.key, in.modifiers);
      break;
    case ScriptInput::Kind::VirtualKeyUp:
      session.keyups(in.key);
      break;
    case ScriptInput::Kind::Wheel:
      if (in.wheelUp)
        session.WheelU();
      else
        session.WheelD();
      break;
    case ScriptInput::Kind::MenuStart:
      session.start1Click();
      break;
    case ScriptInput::Kind::MenuJump:
      session.StationClick(in.station);
      break;
    case ScriptInput::Kind::MenuSave:
    case ScriptInput::Kind::MenuLoad:
    case ScriptInput::Kind::MenuToggle:
    case ScriptInput::Kind::MenuController:
      if (menu) deliverMenu(session, in, *menu);
      break;
    case ScriptInput::Kind::Serial:
      session.RxChar(in.bytes);
      break;
    case ScriptInput::Kind::Pad:
      pad = in.pad;
      break;
  }
  session.deliverPosted();
}

DriveResult playDrive(CabSession& session, const std::vector<ScriptInput>& inputs, int64_t durationUs,
                      TraceWriter* trace, const std::function<void()>& afterTick, MenuContext* menu) {
  Scheduler& clock = session.scheduler();
  if (trace || afterTick)
    session.setTickObserver([&session, &clock, trace, &afterTick] {
      if (trace)
        trace->tick(
            {clock.now(), session.train(), session.control(), &session.context().mixer, &session.sprites()});
      if (afterTick) afterTick();
    });
  ScriptedGamepad pad;
  session.setGamepadPoller(&pad);
  const auto wallStart = std::chrono::steady_clock::now();
  const int64_t start = clock.now();
  session.start();
  for (const ScriptInput& in : inputs) {
    if (in.timeUs > durationUs) break;
    clock.advanceBy(start + in.timeUs - clock.now());
    deliverInput(session, in, menu, pad.state);
  }
  clock.advanceBy(start + durationUs - clock.now());
  session.setTickObserver(nullptr);
  session.setGamepadPoller(nullptr);
  if (afterTick) afterTick();

  DriveResult r;
  r.virtualUs = clock.now() - start;
  r.wallSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
  r.speed = session.train().speed;
  r.distanceRun = session.train().distanceRun;
  r.movieFrame = session.train().MovieFrame;
  return r;
}

std::string summaryLine(const DriveResult& r) {
  const double virtualSeconds = static_cast<double>(r.virtualUs) / 1e6;
  char ratio[32] = "-";
  if (r.wallSeconds > 0) std::snprintf(ratio, sizeof ratio, "%.0fx", virtualSeconds / r.wallSeconds);
  char buf[256];
  std::snprintf(buf, sizeof buf,
                "drive: %s s virtual in %.3f s wall (%s real time), speed %s km/h, distance %s cm, frame %d",
                formatSeconds(r.virtualUs).c_str(), r.wallSeconds, ratio, formatDecimal(r.speed, 2).c_str(),
                formatDecimal(r.distanceRun, 2).c_str(), r.movieFrame);
  return buf;
}

}  // namespace kestrel::run
