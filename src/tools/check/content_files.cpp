#include "tools/check/content_files.h"

#include <algorithm>
#include <cctype>

#include "core/data/section_reader.h"
#include "core/front/title_menu.h"
#include "core/util/cp932.h"
#include "core/util/file_bytes.h"

namespace kestrel::check {

namespace {

namespace fs = std::filesystem;

std::string lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return s;
}

enum class DataKind { Other, Line, Vehicle };

// A line file has stations or filming speeds; a vehicle file brakes and notches.
DataKind kindOf(const fs::path& path) {
  const auto bytes = readFileBytes(path);
  if (!bytes) return DataKind::Other;
  bool vehicle = false;
  for (const DecodedLine& l : decodeCp932Lines(*bytes)) {
    for (std::string_view key : {"[Station]", "[SpeedUnit]", "[DataName]"})
      if (isKeyLine(l.text, key)) return DataKind::Line;
    for (std::string_view key : {"[Brake]", "[Power]", "[Notch]", "[DriveSound]"})
      if (isKeyLine(l.text, key)) vehicle = true;
  }
  return vehicle ? DataKind::Vehicle : DataKind::Other;
}

std::vector<fs::path> filesBelow(const fs::path& folder) {
  std::vector<fs::path> files;
  std::error_code ec;
  for (fs::recursive_directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
    if (it->is_regular_file(ec)) files.push_back(it->path().lexically_relative(folder));
  std::sort(files.begin(), files.end());
  return files;
}

// The title window's pictures and sounds, which no data file names.
bool titleWindowOwn(const fs::path& relative) {
  const std::string name = lower(relative.generic_string());
  if (name.rfind("image/title/", 0) == 0) return true;
  for (std::string_view own : {kOpeningFallbackSound, kStartSound}) {
    std::string s(own);
    std::replace(s.begin(), s.end(), '\\', '/');
    if (name == lower(s)) return true;
  }
  return false;
}

}  // namespace

DataFiles findDataFiles(const fs::path& folder) {
  DataFiles found;
  for (const fs::path& file : filesBelow(folder)) {
    const std::string name = lower(file.filename().string());
    if (lower(file.extension().string()) != ".dat" || name == "railvane.dat" || name == "mascon.dat" ||
        name == "operation.dat")
      continue;
    switch (kindOf(folder / file)) {
      case DataKind::Line:
        // A line file is opened from the folder itself.
        if (!file.has_parent_path()) found.lines.push_back(file.string());
        break;
      case DataKind::Vehicle: found.trains.push_back(file); break;
      case DataKind::Other: break;
    }
  }
  return found;
}

std::vector<fs::path> findMediaFiles(const fs::path& folder) {
  std::vector<fs::path> media;
  for (const fs::path& file : filesBelow(folder)) {
    const std::string ext = lower(file.extension().string());
    if ((ext == ".bmp" || ext == ".jpg" || ext == ".jpeg" || ext == ".png" || ext == ".wav") && !titleWindowOwn(file))
      media.push_back(file);
  }
  return media;
}

}  // namespace kestrel::check
