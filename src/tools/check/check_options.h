#pragma once
// Command line of kestrel-check.
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace kestrel::check {

struct CheckOptions {
  std::filesystem::path data;        // --data: the content folder; empty: searched as every program does
  std::string line;                  // --line: a line file in it
  std::string train;                 // --train: a vehicle file, relative to it unless absolute
  bool all = false;                  // --all: every line with every train of the folder
  bool json = false;                 // --json: one JSON document instead of lines
  std::filesystem::path timeline;    // --timeline: the line drawn as SVG
};

struct ParsedCheckOptions {
  std::optional<CheckOptions> options;  // nullopt: bad usage (error says why) or --help
  std::string error;
  bool help = false;
};

ParsedCheckOptions parseCheckOptions(const std::vector<std::string>& args);
const char* checkUsage();

}  // namespace kestrel::check
