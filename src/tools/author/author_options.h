#pragma once
// Command line of kestrel-author.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "tools/author/speed_unit_fit.h"

namespace kestrel::author {

enum class AuthorCommand { SpeedUnit, Locate };

struct AuthorOptions {
  AuthorCommand command = AuthorCommand::SpeedUnit;
  std::filesystem::path gpx;    // --gpx: the GPS track recorded while filming
  std::filesystem::path marks;  // --marks: frame,kilometre rows instead of a track
  std::filesystem::path movie;  // --movie: frame rate and count from the movie itself
  std::string line;             // --line: ... or from the route movie of this line file
  std::filesystem::path data;   // --data: the content folder of --line; empty: searched
  std::optional<double> fps;    // --fps, --frames: given, or instead of --movie
  std::optional<int64_t> frames;
  std::optional<double> offset;    // --offset: frame 0 this many seconds after the track's first point
  std::vector<std::string> sync;   // --sync FRAME=TIME, as written
  FitTolerance tolerance;          // --tolerance PERCENT,METRES
  std::filesystem::path out;       // --out: the table to this file instead of stdout
  std::vector<std::pair<double, double>> places;  // --at LAT,LON
};

struct ParsedAuthorOptions {
  std::optional<AuthorOptions> options;  // nullopt: bad usage (error says why) or --help
  std::string error;
  bool help = false;
};

ParsedAuthorOptions parseAuthorOptions(const std::vector<std::string>& args);
const char* authorUsage();

}  // namespace kestrel::author
