#pragma once
// Command line of kestrel-run. Each command reads the options it needs; a new command adds its
// options to RunOptions and to the table in run_options.cpp.
#include <filesystem>
#include <optional>
#include <cstdint>
#include <string>
#include <vector>

namespace kestrel::run {

struct RunOptions {
  std::filesystem::path data;        // --data: content directory = program directory; empty: searched
  std::string line;                  // line file in the content directory
  std::string train;                 // vehicle file, relative to the content directory unless absolute
  bool check = false;                // load as a cab session would and report
  bool json = false;                 // with --check: the loaded records as JSON

  // Without --check: a drive played headless.
  int32_t station = 0;                 // --station: start station (index into [Station])
  std::filesystem::path script;        // --script: driver inputs at drive times
  std::optional<int64_t> durationUs;   // --duration: drive time; default the last input + 10 s
  std::filesystem::path trace;         // --trace: CSV, one row per tick
  int traceEvery = 1;                  // --trace-every: one row every N ticks
  std::filesystem::path soundLog;      // --sound-log: every mixer operation with its drive time
  std::filesystem::path prefs;         // --prefs: an INI file for the preferences and saved drives
  std::filesystem::path report;        // --report: the grading as JSON, after the drive
  std::filesystem::path plot;          // --plot: the speed-distance curves as SVG, after the drive
  std::filesystem::path record;        // --record: the drive's recording, written as it goes
  std::filesystem::path replay;        // --replay: a recording, played on what it says it ran on
  std::filesystem::path ghost;         // --ghost: a recording raced against
  bool force = false;                  // --force: replay although the content's hash differs
  bool driveOption = false;            // one of the above was given
};

struct ParsedOptions {
  std::optional<RunOptions> options;  // nullopt: bad usage (error says why) or --help
  std::string error;
  bool help = false;
};

ParsedOptions parseRunOptions(const std::vector<std::string>& args);
const char* usageText();

}  // namespace kestrel::run
