#include "core/front/saved_drive.h"

#include <cmath>

#include "core/data/settings_loader.h"
#include "core/util/comma_fields.h"
#include "core/util/number_parse.h"
#include "core/util/rounding.h"

namespace kestrel {

SavedDrive savedDriveOf(const TrainState& train, const std::string& lineFile) {
  SavedDrive d;
  d.lineFile = lineFile;
  d.currentStation = train.stations.currentStation;
  d.speed = train.speed;
  d.MovieFrame = train.MovieFrame;
  d.TickCounter = train.TickCounter;
  d.distanceRun = train.distanceRun;
  d.preTrainFrame = train.preTrain.preTrainFrame;
  return d;
}

std::string formatSavedDrive(const SavedDrive& d) {
  const auto n = [](auto v) { return std::to_string(v); };
  return d.lineFile + "," + n(d.currentStation) + "," + n(roundHalfEven(d.speed)) + "," + n(d.MovieFrame) +
         "," + n(d.TickCounter) + "," + n(roundHalfEven(d.distanceRun)) + "," + n(d.preTrainFrame);
}

std::string_view refusalMessage(SavedDriveRefusal refusal) {
  switch (refusal) {
    case SavedDriveRefusal::Empty:
      return kNoDriveSaved;
    case SavedDriveRefusal::OtherLine:
      return kOtherLine;
    case SavedDriveRefusal::Faulty:
      return kSavedDriveFaulty;
  }
  return kSavedDriveFaulty;
}

std::variant<SavedDrive, SavedDriveRefusal> parseSavedDrive(std::string_view text,
                                                            std::string_view lineFile) {
  if (text.empty()) return SavedDriveRefusal::Empty;
  SavedDrive d;
  d.lineFile = commaField(text, 1);
  if (d.lineFile != lineFile) return SavedDriveRefusal::OtherLine;
  const auto station = parseInt(commaField(text, 2));
  const auto speed = parseDecimal(commaField(text, 3));
  const auto frame = parseInt(commaField(text, 4));
  const auto clock = parseInt(commaField(text, 5));
  const auto distance = parseDecimal(commaField(text, 6));
  const auto preTrain = parseInt(commaField(text, 7));
  if (!station || !speed || !frame || !clock || !distance || !preTrain) return SavedDriveRefusal::Faulty;
  d.currentStation = *station;
  d.speed = *speed;
  d.MovieFrame = *frame;
  d.TickCounter = *clock;
  d.distanceRun = *distance;
  d.preTrainFrame = *preTrain;
  return d;
}

bool savedDriveFitsLine(const SavedDrive& d, const LineData& line) {
  const auto stations = static_cast<int64_t>(line.Station.size());
  const bool station = d.currentStation == 0 || (d.currentStation > 0 && d.currentStation < stations);
  const auto counts = [](int32_t n) { return -kMaxSavedCount <= n && n <= kMaxSavedCount; };
  return station && counts(d.TickCounter) && counts(d.MovieFrame) &&
         counts(d.preTrainFrame) && std::abs(d.speed) <= kMaxSavedSpeed;
}

std::variant<SavedDrive, SavedDriveRefusal> restorableDrive(std::string_view text, std::string_view lineFile,
                                                            const LineData& line) {
  auto parsed = parseSavedDrive(text, lineFile);
  if (const auto* drive = std::get_if<SavedDrive>(&parsed); drive && !savedDriveFitsLine(*drive, line))
    return SavedDriveRefusal::Faulty;
  return parsed;
}

std::string savedDriveTitle(const LineData& line, double distanceRun) {
  const auto& rows = line.Station;
  const auto title = [&](const std::string& from, const std::string& to) {
    return line.LineName2 + "（" + from + "～" + to + "）";
  };
  std::optional<std::string> found;
  for (size_t i = 0; i < rows.size(); ++i) {
    const bool last = i + 1 == rows.size();
    if (distanceRun >= rows[i].stopDistanceCm && (last || distanceRun < rows[i + 1].stopDistanceCm))
      found = title(rows[i].name, last ? std::string() : rows[i + 1].name);
  }
  if (found) return *found;
  return title(std::string(), rows.empty() ? std::string() : rows.front().name);
}

std::string slotValueName(int slot) {
  return "Save" + std::to_string(slot);
}
std::string slotTitleName(int slot) {
  return "Save" + std::to_string(slot) + "Title";
}

std::optional<std::array<std::string, kSavedDriveSlots>> SavedDriveStore::titles() {
  auto key = store_.openKey(kPreferenceKeyPath);
  if (!key) return std::nullopt;
  std::array<std::string, kSavedDriveSlots> out;
  for (int slot = 1; slot <= kSavedDriveSlots; ++slot)
    out[static_cast<size_t>(slot - 1)] = key->readString(slotTitleName(slot)).value_or(std::string());
  return out;
}

bool SavedDriveStore::save(int slot, const std::string& text, const std::string& title) {
  auto key = store_.openKey(kPreferenceKeyPath);
  if (!key) return false;
  const bool textWritten = key->writeString(slotValueName(slot), text);
  const bool titleWritten = key->writeString(slotTitleName(slot), title);
  return textWritten && titleWritten;
}

std::string SavedDriveStore::text(int slot) {
  auto key = store_.openKey(kPreferenceKeyPath);
  if (!key) return {};
  return key->readString(slotValueName(slot)).value_or(std::string());
}

}  // namespace kestrel
