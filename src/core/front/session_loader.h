#pragma once
// Loading a cab session, in the order the cab window's creation runs it: preferences and the
// controller codes, mascon.dat, railvane.dat, the vehicle file, the line file (with its image
// lists), the panel and [Staf] pictures, the route movie and the sound stages (other parts, run
// through SessionStages), then the set-up of the run starting with the frame-to-distance
// conversion. A status text is reported before each group. Every record starts cleared, so
// nothing is left over from an earlier drive.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/data/line_data.h"
#include "core/data/load_faults.h"
#include "core/data/panel_layout.h"
#include "core/data/picture_catalog.h"
#include "core/data/settings_data.h"
#include "core/data/vehicle_params.h"
#include "core/front/session_choice.h"
#include "core/ports/picture_loader.h"
#include "core/ports/preference_store.h"
#include "core/present/sound_bank.h"

namespace kestrel {

inline constexpr std::string_view kStatusReadingSettings = "設定ファイルを読み込んでいます";
inline constexpr std::string_view kStatusDrawingPanel = "運転台を描画しています";
inline constexpr std::string_view kStatusRunningSounds = "DirectSoundオブジェクトを作成しています(走行音)";
inline constexpr std::string_view kStatusEnvironmentSounds = "DirectSoundオブジェクトを作成しています(環境音)";
inline constexpr std::string_view kStatusCalloutSounds = "DirectSoundオブジェクトを作成しています(喚呼)";
inline constexpr std::string_view kStatusLoadingSounds = "サウンドを読み込んでいます";
inline constexpr std::string_view kStatusSettingUp = "環境をセットアップしています";

struct LoadedSession {
  SessionChoice choice;
  SettingsData settings;
  VehicleParams vehicle;
  PanelLayout panel;
  LineData line;
  PictureCatalog pictures;
  // The waves of the sound stages (withSoundStages); empty without them.
  SoundBank sounds;
  // Findings that do not stop a drive (a [SoundData] file that cannot be read, positions outside
  // every [SpeedUnit] row); kestrel-run --check prints them.
  std::vector<std::string> warnings;
};

struct SessionPorts {
  PreferenceStore& preferences;
  PictureLoader& pictures;
};

// The stages of the cab window's creation that other parts own. Each runs right after its status
// text, on the records loaded so far; an empty stage is skipped.
struct SessionStages {
  std::function<void(LoadedSession&)> openMovie;                // route movie, after the panel pictures
  std::function<void(LoadedSession&)> createRunningSounds;      // "(走行音)"
  std::function<void(LoadedSession&)> createEnvironmentSounds;  // "(環境音)"
  std::function<void(LoadedSession&)> createCalloutSounds;      // "(喚呼)"
  std::function<void(LoadedSession&)> loadSounds;               // sound files, after the [SoundData] lengths
  std::function<void(LoadedSession&)> setUpRun;                 // initial state, after the distance conversion
};

// What a new cab window finds from the drive before (values kept for the whole program run): the
// preferences stay as they are when their key cannot be opened, and each controller code that
// cannot be read keeps its value.
struct SessionCarryOver {
  Preferences preferences;
  ControllerCodes controller;
};

using StatusSink = std::function<void(std::string_view status)>;

// Throws FatalError with the exact message of the first fault. With `collect` (the authoring
// check), every fault of the settings, vehicle and line files and of the pictures they name goes
// there instead, and the load goes on as far as it can.
LoadedSession loadSession(const SessionChoice& choice, SessionPorts ports, const StatusSink& status,
                          const SessionStages& stages = {}, const SessionCarryOver& previous = {},
                          FaultLog* collect = nullptr);

// The vehicle file and the line file of a choice, as the loader opens them.
std::filesystem::path vehicleFilePath(const SessionChoice& choice);
std::filesystem::path lineFilePath(const SessionChoice& choice);

}  // namespace kestrel
