#pragma once
// Plays a scripted or recorded drive as fast as the CPU allows: the start command at virtual time
// 0, each input through the drive's door after every event due at or before its time, and the
// clock run on to the end.
#include <cstdint>
#include <functional>
#include <optional>
#include <ostream>
#include <vector>

#include "core/data/line_data.h"
#include "core/front/drive_door.h"
#include "core/front/drive_script.h"
#include "core/front/ghost_race.h"
#include "tools/run/trace_writer.h"

namespace kestrel::run {

struct DriveResult {
  int64_t virtualUs = 0;
  double wallSeconds = 0;
  double speed = 0;
  double distanceRun = 0;
  int32_t movieFrame = 0;
};

// The first "menu jump" to a station that the line's "Move" menu does not offer (stations of
// type 0 or 2, the last excepted).
std::optional<ScriptError> jumpOutsideMenu(const std::vector<ScriptInput>& inputs, const LineData& line);

struct PlayOptions {
  TraceWriter* trace = nullptr;
  // After every tick (after its trace row), and once more at the end of the drive.
  std::function<void()> afterTick;
  // What the desktop program shows in a message box, one line each with its drive time.
  std::ostream* messages = nullptr;
  // Raced against: observed after every tick, before its trace row.
  GhostRace* ghost = nullptr;
};

// Inputs after `durationUs` are not played; an "end" input ends the drive at its time.
DriveResult playDrive(DriveDoor& door, const std::vector<ScriptInput>& inputs, int64_t durationUs,
                      const PlayOptions& options = {});

// "drive: 600.000000 s virtual in 0.412 s wall (1456x real time), speed 0.00 km/h, ..."
std::string summaryLine(const DriveResult& result);

}  // namespace kestrel::run
