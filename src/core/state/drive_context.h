#pragma once
// What every stage of the 33 ms event and the tick, every control operation and every key
// handler works on: the loaded records (read-only during the drive), the drive's state, the
// sprite scene and the ports. The cab session owns all of it and hands out one context.
#include "core/data/line_data.h"
#include "core/data/panel_layout.h"
#include "core/data/settings_data.h"
#include "core/data/vehicle_params.h"
#include "core/ports/mixer.h"
#include "core/state/callout_points.h"
#include "core/state/control_state.h"
#include "core/state/drive_random.h"
#include "core/state/key_state.h"
#include "core/state/sprite_scene.h"
#include "core/state/train_state.h"

namespace kestrel {

// Numbers derived once from the records when a drive is set up.
struct DriveConstants {
  int32_t nB = 0;                 // brake positions: [Brake], or 4 for [BrakeType] 0
  double R = 30;                  // multimedia events per second ([Disp] TickRate)
  int32_t vehicleSoundCount = 0;  // N1: channels of the vehicle sounds; environment sounds follow

  static DriveConstants from(const SettingsData& settings, const VehicleParams& vehicle);
};

inline DriveConstants DriveConstants::from(const SettingsData& settings, const VehicleParams& vehicle) {
  DriveConstants c;
  c.nB = vehicle.BrakeType == 0 ? 4 : vehicle.Brake;
  // A TickRate of 0 or less would divide every per-second rate by zero; such a file gets the
  // rate at which the 33 ms event really fires.
  c.R = settings.Disp.TickRate > 0 ? settings.Disp.TickRate : 30;
  c.vehicleSoundCount = static_cast<int32_t>(vehicle.DriveSound.size());
  return c;
}

struct DriveContext {
  const SettingsData& settings;
  const VehicleParams& vehicle;
  const PanelLayout& panel;
  const LineData& line;
  const DriveConstants& constants;
  TrainState& train;
  ControlState& control;
  KeyState& keys;
  ProgramInputState& program;
  SpriteScene& sprites;
  Mixer& mixer;
  DriveRandom& random;
  CalloutPoints& callouts;
  // masconupdate, for the rules outside the controls that change what it derives from (the
  // automatic brake requests of the protection rules). Set by whoever builds the context with
  // the controls; without it nothing is derived.
  void (*runMasconupdate)(DriveContext&) = nullptr;

  int32_t nB() const { return constants.nB; }
  // The mixer channel of the line's environment sound `sound` ([SoundData] row): they follow the
  // vehicle's sounds.
  int32_t environmentChannel(int32_t sound) const { return constants.vehicleSoundCount + sound; }
  double R() const { return constants.R; }
  double tons() const { return vehicle.Tons.toDouble(); }
  // Doors closed, or no door interlock: traction and the table-model electric brake may act.
  bool doorInterlockAllows() const { return !train.doorsOpen || vehicle.DoorLock == 0; }
};

}  // namespace kestrel
