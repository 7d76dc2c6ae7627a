#include "core/front/drive_library.h"

#include <algorithm>
#include <system_error>

#include "core/data/settings_loader.h"
#include "core/front/drive_script.h"
#include "core/util/file_bytes.h"

namespace kestrel {

namespace fs = std::filesystem;

std::optional<fs::path> drivesFolder(const ContentEnvironment& env) {
  const auto user = userDataFolder(env);
  if (!user) return std::nullopt;
  return *user / "drives";
}

int32_t readDrivesKept(PreferenceStore& store) {
  auto key = store.openKey(kPreferenceKeyPath);
  const int32_t kept = key ? key->readInt(kDrivesKeptPreference).value_or(kDefaultDrivesKept) : kDefaultDrivesKept;
  return std::max(kept, 0);
}

namespace {

// A file's stem as part of a file name: letters, digits, "-", "_" and "." as they are (any UTF-8
// letter too), everything else "_".
std::string namePart(std::string_view file) {
  std::string stem = fs::path(std::string(file)).stem().string();
  for (char& c : stem) {
    const auto u = static_cast<unsigned char>(c);
    const bool keep = u >= 0x80 || (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                      c == '-' || c == '_' || c == '.';
    if (!keep) c = '_';
  }
  return stem;
}

}  // namespace

fs::path newRecordingPath(const fs::path& folder, std::string_view stamp, std::string_view lineFile,
                          std::string_view trainFile) {
  const std::string base = std::string(stamp) + "-" + namePart(lineFile) + "-" + namePart(trainFile);
  std::error_code ec;
  for (int n = 1;; ++n) {
    const std::string suffix = n == 1 ? "" : "-" + std::to_string(n);
    fs::path p = folder / (base + suffix + std::string(kRecordingExtension));
    if (!fs::exists(p, ec)) return p;
  }
}

std::vector<fs::path> recordingFiles(const fs::path& folder) {
  std::vector<fs::path> out;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
    if (it->path().extension() == kRecordingExtension && it->is_regular_file(ec)) out.push_back(it->path());
  std::sort(out.begin(), out.end());
  return out;
}

void pruneRecordings(const fs::path& folder, size_t keep, const fs::path& spare) {
  std::vector<fs::path> files = recordingFiles(folder);
  std::erase(files, spare);
  const size_t others = spare.empty() ? keep : (keep == 0 ? 0 : keep - 1);
  std::error_code ec;
  for (size_t i = 0; i + others < files.size(); ++i) fs::remove(files[i], ec);
}

std::optional<fs::path> bestRecording(const fs::path& folder, std::string_view lineFile, std::string_view train,
                                      const fs::path& except) {
  std::optional<fs::path> best;
  int32_t bestScore = -1;
  for (const fs::path& p : recordingFiles(folder)) {  // oldest first: a later equal score wins
    if (p == except) continue;
    const auto bytes = readFileBytes(p);
    if (!bytes) continue;
    const auto parsed = parseDriveRecording(*bytes);
    const auto* r = std::get_if<DriveRecording>(&parsed);
    if (!r || r->header.line.name != lineFile || r->header.train.name != train || !r->header.score) continue;
    if (*r->header.score >= bestScore) {
      bestScore = *r->header.score;
      best = p;
    }
  }
  return best;
}

}  // namespace kestrel
