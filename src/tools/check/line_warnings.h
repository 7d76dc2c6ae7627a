#pragma once
// The warnings of a line that loads: what a drive would run through without stopping, though
// the author surely meant otherwise. Positions beyond the movie or outside every [SpeedUnit] row
// (no distance), [SpeedUnit] rows with gaps or overlaps, stations, signals and limits out of
// position order, departure times that go backwards, a movie shorter than the line or missing,
// and pictures named but missing where a drive does not stop for them.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "core/data/line_data.h"
#include "core/data/load_faults.h"
#include "core/data/settings_data.h"
#include "core/ports/picture_loader.h"

namespace kestrel::check {

struct LineWarning {
  int32_t line = 0;  // of the line file; 0 for the file as a whole
  std::string message;
  std::string kind;
};

struct LineUnderCheck {
  const LineData& line;
  const SettingsData& settings;
  const SourceLines* lines;  // where the line file's keys and rows stood; null when unknown
  std::filesystem::path programDirectory;
};

// In the order of their lines. `pictures` loads the pictures that a drive loads later or not at
// all (the still of [Staf]).
std::vector<LineWarning> lineWarnings(const LineUnderCheck& subject, PictureLoader& pictures);

}  // namespace kestrel::check
