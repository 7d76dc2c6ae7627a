#include "core/front/jump_targets.h"

#include <algorithm>
#include <variant>

#include "core/front/saved_drive.h"

namespace kestrel {

std::vector<int> jumpTargetFrames(const LineData& line, PreferenceStore& store, const std::string& lineFile) {
  std::vector<int> frames;
  for (const StationRow& row : line.Station) frames.push_back(row.stopFrame());
  SavedDriveStore slots(store);
  for (int slot = 1; slot <= kSavedDriveSlots; ++slot) {
    const auto parsed = restorableDrive(slots.text(slot), lineFile, line);
    if (const auto* drive = std::get_if<SavedDrive>(&parsed)) frames.push_back(drive->MovieFrame);
  }
  std::sort(frames.begin(), frames.end());
  frames.erase(std::unique(frames.begin(), frames.end()), frames.end());
  return frames;
}

}  // namespace kestrel
