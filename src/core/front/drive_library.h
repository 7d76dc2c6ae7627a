#pragma once
// Where the desktop program keeps the recordings of its drives: one file per drive in the drives
// folder of the user's data folder ($XDG_DATA_HOME/kestrel/drives, ~/.local/share/kestrel/drives),
// named after the time it began, its line and its train, so that the names sort by age. The oldest
// go when there are more than the preference DrivesKept allows (default 50; 0 records nothing).
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/front/content_directory.h"
#include "core/ports/preference_store.h"

namespace kestrel {

inline constexpr std::string_view kRecordingExtension = ".drive";
inline constexpr char kDrivesKeptPreference[] = "DrivesKept";
inline constexpr int32_t kDefaultDrivesKept = 50;

std::optional<std::filesystem::path> drivesFolder(const ContentEnvironment& env);
// The preference, never below 0; the default when it is missing.
int32_t readDrivesKept(PreferenceStore& store);

// "20240501-103000-line_local-train_313-1000_10cars.drive" in `folder` (`stamp` is the time, as
// "YYYYMMDD-HHMMSS"), with "-2", "-3" ... before the extension when that name is taken.
std::filesystem::path newRecordingPath(const std::filesystem::path& folder, std::string_view stamp,
                                       std::string_view lineFile, std::string_view trainFile);
// The recordings in `folder`, oldest first.
std::vector<std::filesystem::path> recordingFiles(const std::filesystem::path& folder);
// Removes the oldest recordings until at most `keep` remain; `keep` the one being written.
void pruneRecordings(const std::filesystem::path& folder, size_t keep, const std::filesystem::path& spare = {});

// The recording with the best score among those of `lineFile` and `train` (as the recordings name
// them) that were graded; of equal scores the latest. `except` is left out (the drive being made).
std::optional<std::filesystem::path> bestRecording(const std::filesystem::path& folder, std::string_view lineFile,
                                                   std::string_view train, const std::filesystem::path& except = {});

}  // namespace kestrel
