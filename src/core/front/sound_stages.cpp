#include "core/front/sound_stages.h"

#include <optional>

#include "core/present/sound_layout.h"
#include "core/present/sound_loader.h"
#include "core/util/fatal_error.h"

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

// The collecting mode's sites: faults of a vehicle sound stand in the vehicle file, of a line
// sound in the line file.
struct SoundFaultSites {
  std::optional<NamedFileFaults> vehicle, line;
  SoundFaultSites(FaultLog* log, const SessionChoice& choice) {
    if (!log) return;
    vehicle.emplace(NamedFileFaults{*log, vehicleFilePath(choice)});
    line.emplace(NamedFileFaults{*log, lineFilePath(choice)});
  }
  const NamedFileFaults* vehicleFaults() const { return vehicle ? &*vehicle : nullptr; }
  const NamedFileFaults* lineFaults() const { return line ? &*line : nullptr; }
};

}  // namespace

SessionStages withSoundStages(SessionStages stages, Mixer& mixer, FaultLog* collect) {
  Mixer* m = &mixer;
  stages.createRunningSounds = then(
      [m, collect](LoadedSession& s) {
        // Refused before anything is loaded: the channels of the layout must all exist.
        try {
          checkSoundLayout(SoundLayout::of(s.vehicle, s.line));
        } catch (const FatalError& e) {
          if (!collect) throw;
          collect->add(lineFilePath(s.choice), 0, e.message());
          return;
        }
        s.sounds = SoundBank{};
        loadVehicleSounds(*m, s.vehicle, s.choice.vehicleFolder(), s.sounds,
                          SoundFaultSites(collect, s.choice).vehicleFaults());
      },
      std::move(stages.createRunningSounds));
  stages.createEnvironmentSounds = then(
      [m, collect](LoadedSession& s) {
        loadEnvironmentSounds(*m, s.line, s.choice.programDirectory, s.sounds,
                              SoundFaultSites(collect, s.choice).lineFaults());
      },
      std::move(stages.createEnvironmentSounds));
  stages.createCalloutSounds = then(
      [m, collect](LoadedSession& s) {
        const SoundFaultSites sites(collect, s.choice);
        loadCalloutAndMotorSounds(*m, s.vehicle, s.line, s.choice.vehicleFolder(), s.choice.programDirectory,
                                  s.sounds, sites.lineFaults(), sites.vehicleFaults());
      },
      std::move(stages.createCalloutSounds));
  stages.loadSounds =
      then([m](LoadedSession& s) { setSoundsOnChannels(*m, SoundLayout::of(s.vehicle, s.line), s.sounds); },
           std::move(stages.loadSounds));
  return stages;
}

}  // namespace kestrel
