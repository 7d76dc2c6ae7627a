#pragma once
// Command line of kestrel-run. Each command reads the options it needs; a new command adds its
// options to RunOptions and to the table in run_options.cpp.
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace kestrel::run {

struct RunOptions {
  std::filesystem::path data = ".";  // content directory = program directory
  std::string line;                  // line file in the content directory
  std::string train;                 // vehicle file, relative to the content directory unless absolute
  bool check = false;                // load as a cab session would and report
  bool json = false;                 // with --check: the loaded records as JSON
};

struct ParsedOptions {
  std::optional<RunOptions> options;  // nullopt: bad usage (error says why) or --help
  std::string error;
  bool help = false;
};

ParsedOptions parseRunOptions(const std::vector<std::string>& args);
const char* usageText();

}  // namespace kestrel::run
