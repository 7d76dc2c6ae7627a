#include "tools/run/drive_runner.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "core/data/jump_menu.h"
#include "core/front/script_player.h"

namespace kestrel::run {

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

DriveResult playDrive(DriveDoor& door, const std::vector<ScriptInput>& inputs, int64_t durationUs,
                      const PlayOptions& options) {
  CabSession& session = door.session();
  Scheduler& clock = session.scheduler();
  session.setTickObserver([&session, &clock, &options] {
    std::optional<GhostSample> ghost;
    std::optional<double> delta;
    if (options.ghost) {
      options.ghost->observe(clock.now(), session.train().distanceRun);
      ghost = options.ghost->sample();
      delta = options.ghost->deltaS();
    }
    if (options.trace)
      options.trace->tick({clock.now(), session.train(), session.control(), &session.context().mixer,
                           &session.sprites(), ghost ? std::optional<int32_t>(ghost->frame) : std::nullopt, delta});
    if (options.afterTick) options.afterTick();
  });
  const auto wallStart = std::chrono::steady_clock::now();
  ScriptPlayer player(door, inputs);
  if (options.messages)
    player.setMessageSink([&options, &clock](const ScriptInput&, const std::string& text) {
      *options.messages << formatSeconds(clock.now()) << " " << text << "\n";
    });
  session.start();
  player.runTo(durationUs);
  session.setTickObserver(nullptr);
  if (options.afterTick) options.afterTick();

  DriveResult r;
  r.virtualUs = clock.now() - player.start();
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
