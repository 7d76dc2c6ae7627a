#pragma once
// A drive built in code for the engine's tests: records with round numbers, the drive's state,
// a recording mixer on a settable clock, and the context that hands them to the rules.
#include <cstdint>
#include <memory>

#include "core/data/picture_catalog.h"
#include "core/ports/recording_mixer.h"
#include "core/state/drive_context.h"
#include "support/recording_callouts.h"

namespace kestrel::test {

// An electric train with a notch table: one-handle, [BrakeType] 1, 8 brake positions, 4 notches,
// W = 240 t (Mt 120), 6 cars, [BrakeRate] 4.0 / 3.0 / 30.
VehicleParams electricTrain();
// A diesel railcar: [Engine_Type] 0, automatic gearbox, three [Engine] rows (neutral, 1st, 2nd).
VehicleParams dieselRailcar();
// Texts for every handle state.
SettingsData driveSettings();
// One [SpeedUnit] row over frames 0..100000 filmed at 36 km/h, level, mu0 = 0.3, no stations.
LineData levelLine();

struct DriveRig {
  SettingsData settings = driveSettings();
  VehicleParams vehicle = electricTrain();
  PanelLayout panel;
  LineData line = levelLine();
  PictureCatalog pictures;

  int64_t nowUs = 0;
  RecordingMixer mixer{[this] { return nowUs; }};
  DriveConstants constants;
  TrainState train;
  ControlState control;
  KeyState keys;
  ProgramInputState program;
  SpriteScene sprites;
  DriveRandom random;
  RecordingCallouts callouts;  // what the rules fired
  std::unique_ptr<DriveContext> ctx;

  DriveRig() { rebuild(); }
  // After changing the records: derive the constants again (the context stays the same).
  DriveContext& rebuild();
  DriveContext& c() { return *ctx; }

  // A sprite with `cells` pattern cells (and a wave on a mixer channel) for the checks that need
  // one.
  Sprite& addSprite(const std::string& name, int cells = 1, bool visible = true);
  void addWave(int channel, int64_t durationUs = 1000000);
};

}  // namespace kestrel::test
