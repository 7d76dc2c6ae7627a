#pragma once
// The desktop program's command line:
//   kestrel [--data DIR] [--line FILE --train FILE [--station N] [--script FILE [--speed N]]]
//           [--ghost FILE] [--trace FILE]
//   kestrel [--data DIR] --replay FILE [--speed 1|2|4] [--trace FILE]
//   kestrel --help | --version
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace kestrel::app {

struct DesktopOptions {
  std::filesystem::path data;        // --data: the content directory; empty: searched
  std::string line;                  // with train: start this drive at once
  std::string train;
  int32_t station = 0;
  std::filesystem::path trace;  // the drive trace, as kestrel-run writes it
  std::filesystem::path script;  // a kestrel-run script played in the command line's drive
  int32_t speed = 1;             // drive seconds per wall second while a script or recording plays
  std::filesystem::path replay;  // a drive recording played over the movie
  std::filesystem::path ghost;   // the recording raced against; empty: the best of the line and train
};

struct ParsedCommandLine {
  std::optional<DesktopOptions> options;  // nullopt: help, version or an error
  bool help = false;
  bool version = false;
  std::string error;
};

ParsedCommandLine parseCommandLine(const std::vector<std::string>& args);
const char* desktopUsage();

}  // namespace kestrel::app
