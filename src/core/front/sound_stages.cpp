#include "core/front/sound_stages.h"

#include "core/present/sound_layout.h"
#include "core/present/sound_loader.h"

namespace kestrel {

namespace {

using Stage = std::function<void(LoadedSession&)>;

Stage then(Stage first, Stage second) {
  if (!second) return first;
  return [first = std::move(first), second = std::move(second)](LoadedSession& s) {
    first(s);
    second(s);
  };
}

}  // namespace

SessionStages withSoundStages(SessionStages stages, Mixer& mixer) {
  Mixer* m = &mixer;
  stages.createRunningSounds = then(
      [m](LoadedSession& s) {
        // Refused before anything is loaded: the channels of the layout must all exist.
        checkSoundLayout(SoundLayout::of(s.vehicle, s.line));
        s.sounds = SoundBank{};
        loadVehicleSounds(*m, s.vehicle, s.choice.vehicleFolder(), s.sounds);
      },
      std::move(stages.createRunningSounds));
  stages.createEnvironmentSounds =
      then([m](LoadedSession& s) { loadEnvironmentSounds(*m, s.line, s.choice.programDirectory, s.sounds); },
           std::move(stages.createEnvironmentSounds));
  stages.createCalloutSounds = then(
      [m](LoadedSession& s) {
        loadCalloutAndMotorSounds(*m, s.vehicle, s.line, s.choice.vehicleFolder(), s.choice.programDirectory,
                                  s.sounds);
      },
      std::move(stages.createCalloutSounds));
  stages.loadSounds =
      then([m](LoadedSession& s) { setSoundsOnChannels(*m, SoundLayout::of(s.vehicle, s.line), s.sounds); },
           std::move(stages.loadSounds));
  return stages;
}

}  // namespace kestrel
