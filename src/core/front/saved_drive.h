#pragma once
// Saved drives: three slots under the preference key, each a short comma-separated text
// ("Save1" .. "Save3") with a menu caption ("Save1Title" .. "Save3Title"). The text holds the line
// file, the current station, the speed, the frame, the clock, the distance and the preceding
// train's frame, in this order.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "core/data/line_data.h"
#include "core/ports/preference_store.h"
#include "core/state/train_state.h"

namespace kestrel {

inline constexpr int kSavedDriveSlots = 3;

inline constexpr std::string_view kDriveSaved = "運転状態を保存しました";
// The store could not be written: the slot keeps what it held.
inline constexpr std::string_view kDriveNotSaved = "運転状態を保存できませんでした";
inline constexpr std::string_view kNoDriveSaved = "運転状態が保存されていません";
inline constexpr std::string_view kOtherLine = "運転状態を保存したダイヤではありません";
// A slot whose text does not convert: refused as a whole, nothing of the drive changes.
inline constexpr std::string_view kSavedDriveFaulty = "運転状態のデータに誤りがあります";
inline constexpr std::string_view kNoData = "No Data";

struct SavedDrive {
  std::string lineFile;
  int32_t currentStation = 0;
  double speed = 0;  // stored rounded to a whole km/h, ties to even
  int32_t MovieFrame = 0;
  int32_t TickCounter = 0;
  double distanceRun = 0;  // cm, stored rounded to a whole centimetre
  int32_t preTrainFrame = 0;
};

// The drive's values as they are saved.
SavedDrive savedDriveOf(const TrainState& train, const std::string& lineFile);
std::string formatSavedDrive(const SavedDrive& drive);

// Why a text cannot be restored, checked in this order: empty, saved on another line, a field
// that does not convert.
enum class SavedDriveRefusal { Empty, OtherLine, Faulty };
std::string_view refusalMessage(SavedDriveRefusal refusal);
// Every field is converted before anything is used, so a faulty text is refused whole.
std::variant<SavedDrive, SavedDriveRefusal> parseSavedDrive(std::string_view text, std::string_view lineFile);

// Twice what the speed key (Shift+F12) can reach; a saved speed beyond it in either direction is
// no drive's.
inline constexpr double kMaxSavedSpeed = 2000;
// The frames and the clock count on from where a restore puts them; a billion (over a year of
// clock, or of a movie at 30 frames a second) leaves them room to do so.
inline constexpr int32_t kMaxSavedCount = 1'000'000'000;
// Whether the values could be a drive's on `line`: a station of the line (0 on a line without
// stations), a speed within kMaxSavedSpeed, frames and clock within kMaxSavedCount (the clock
// keys can take the time before midnight). The program writes nothing else, so a slot that fails was edited or
// damaged, and is refused as faulty: restoring it would put the drive where none of its rules
// holds.
bool savedDriveFitsLine(const SavedDrive& drive, const LineData& line);
// A slot's text as a restore takes it: parsed, and refused as faulty when it does not fit `line`.
std::variant<SavedDrive, SavedDriveRefusal> restorableDrive(std::string_view text, std::string_view lineFile,
                                                            const LineData& line);

// "[LineName2]（last station passed～next station）": the station rows whose stop distance the
// train has reached, the last such row winning; after the last station the second name is empty.
// Before the first station's stop no row matches; the title then names the stretch up to the
// first station, so that the slot still gets a caption (an empty caption reads as "No Data").
std::string savedDriveTitle(const LineData& line, double distanceRun);

// Value names of slot n (1 .. 3).
std::string slotValueName(int slot);
std::string slotTitleName(int slot);

// The six values under the preference key.
class SavedDriveStore {
 public:
  explicit SavedDriveStore(PreferenceStore& store) : store_(store) {}

  // The three titles, a missing value read as empty; nullopt when the key cannot be opened.
  std::optional<std::array<std::string, kSavedDriveSlots>> titles();
  // Writes the slot's text and title; false when the key cannot be opened or a write fails.
  bool save(int slot, const std::string& text, const std::string& title);
  // The slot's text; empty when missing or when the key cannot be opened.
  std::string text(int slot);

 private:
  PreferenceStore& store_;
};

}  // namespace kestrel
