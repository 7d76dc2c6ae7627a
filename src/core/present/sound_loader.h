#pragma once
// Loading the sound sets of a cab session through the Mixer port, in the groups that the cab
// window's creation reports: the vehicle sounds, the environment sounds, the call-out clips with
// the motor and engine sets, and finally the waves set on their channels, every channel that
// holds one stopped. An empty name loads nothing. A wave the mixer cannot read ends the load
// with the library's message (FatalError), as does a content set whose sounds need more
// channels than the mixer has. With a NamedFileFaults, a wave that cannot be read is recorded there
// instead (on the data-file line that names it) and the load goes on without it.
#include <filesystem>

#include "core/data/line_data.h"
#include "core/data/load_faults.h"
#include "core/data/vehicle_params.h"
#include "core/ports/mixer.h"
#include "core/present/sound_bank.h"
#include "core/present/sound_layout.h"

namespace kestrel {

// Throws FatalError when the channels of the layout do not all exist.
void checkSoundLayout(const SoundLayout& layout);

// [DriveSound], with the vehicle folder prefix.
void loadVehicleSounds(Mixer& mixer, const VehicleParams& vehicle, const std::filesystem::path& vehicleFolder,
                       SoundBank& bank, const NamedFileFaults* collect = nullptr);
// [SoundData], with the program directory prefix.
void loadEnvironmentSounds(Mixer& mixer, const LineData& line, const std::filesystem::path& programDirectory,
                           SoundBank& bank, const NamedFileFaults* collect = nullptr);
// [KankoSound1], [KankoSound2], [OtherKanko], [LimitKanko] (program directory), then
// [EngineSound1] and [EngineSound3] (vehicle folder).
void loadCalloutAndMotorSounds(Mixer& mixer, const VehicleParams& vehicle, const LineData& line,
                               const std::filesystem::path& vehicleFolder,
                               const std::filesystem::path& programDirectory, SoundBank& bank,
                               const NamedFileFaults* lineFaults = nullptr,
                               const NamedFileFaults* vehicleFaults = nullptr);
// Sets the fixed sets on their channels and stops every channel that holds a wave.
void setSoundsOnChannels(Mixer& mixer, const SoundLayout& layout, const SoundBank& bank);

// The size of a wave file's "data" chunk, in bytes and in sample frames; zero when the file is
// not a RIFF/WAVE file.
struct WaveDataSize {
  uint64_t bytes = 0;
  uint64_t frames = 0;
};
WaveDataSize waveDataSize(const std::filesystem::path& path);

}  // namespace kestrel
