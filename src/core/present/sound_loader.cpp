#include "core/present/sound_loader.h"

#include <cstring>
#include <fstream>

#include "core/util/fatal_error.h"
#include "core/util/path_lookup.h"

namespace kestrel {

namespace {

WaveId load(Mixer& mixer, const std::filesystem::path& base, const std::string& name, SoundBank& bank,
            const NamedFileFaults* collect) {
  if (name.empty()) return kNoWave;
  const std::filesystem::path path = resolveDataPath(base, name);
  WaveId wave = kNoWave;
  try {
    wave = mixer.loadWave(path);  // throws with the library's message
  } catch (const FatalError& e) {
    if (!collect) throw;
    collect->add(name, e.message());
    return kNoWave;
  }
  const WaveDataSize size = waveDataSize(path);
  bank.loaded.push_back({path, wave, size.bytes, size.frames});
  return wave;
}

void setAll(Mixer& mixer, int32_t base, const std::vector<WaveId>& waves) {
  for (size_t i = 0; i < waves.size(); ++i)
    if (waves[i] != kNoWave) mixer.setWave(base + static_cast<int32_t>(i), waves[i]);
}

uint32_t le32(const unsigned char* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
         static_cast<uint32_t>(p[3]) << 24;
}

}  // namespace

void checkSoundLayout(const SoundLayout& layout) {
  if (!layout.fits()) throw FatalError(layout.overflowMessage());
}

void loadVehicleSounds(Mixer& mixer, const VehicleParams& vehicle, const std::filesystem::path& vehicleFolder,
                       SoundBank& bank, const NamedFileFaults* collect) {
  bank.vehicle.clear();
  for (const std::string& name : vehicle.DriveSound)
    bank.vehicle.push_back(load(mixer, vehicleFolder, name, bank, collect));
}

void loadEnvironmentSounds(Mixer& mixer, const LineData& line, const std::filesystem::path& programDirectory,
                           SoundBank& bank, const NamedFileFaults* collect) {
  bank.environment.clear();
  for (const std::string& name : line.SoundData)
    bank.environment.push_back(load(mixer, programDirectory, name, bank, collect));
}

void loadCalloutAndMotorSounds(Mixer& mixer, const VehicleParams& vehicle, const LineData& line,
                               const std::filesystem::path& vehicleFolder,
                               const std::filesystem::path& programDirectory, SoundBank& bank,
                               const NamedFileFaults* lineFaults, const NamedFileFaults* vehicleFaults) {
  CalloutClips& clips = bank.clips;
  clips = CalloutClips{};
  for (const std::string& name : line.KankoSound1)
    clips.table.push_back(load(mixer, programDirectory, name, bank, lineFaults));
  for (const KankoSound2Row& row : line.KankoSound2)
    clips.table.push_back(load(mixer, programDirectory, row.file, bank, lineFaults));
  for (const std::string& name : line.OtherKanko)
    clips.other.push_back(load(mixer, programDirectory, name, bank, lineFaults));
  for (const std::string& name : line.LimitKanko)
    clips.limit.push_back(load(mixer, programDirectory, name, bank, lineFaults));

  bank.motor.clear();
  for (const EngineSound1Row& row : vehicle.EngineSound1)
    bank.motor.push_back(load(mixer, vehicleFolder, row.file, bank, vehicleFaults));
  bank.engineSet.clear();
  for (const EngineSound3Row& row : vehicle.EngineSound3)
    bank.engineSet.push_back(load(mixer, vehicleFolder, row.file, bank, vehicleFaults));
}

void setSoundsOnChannels(Mixer& mixer, const SoundLayout& layout, const SoundBank& bank) {
  setAll(mixer, 0, bank.vehicle);
  setAll(mixer, layout.environmentBase(), bank.environment);
  setAll(mixer, layout.motorBase(), bank.motor);
  setAll(mixer, layout.engineSetBase(), bank.engineSet);
  for (int ch = 0; ch < Mixer::kChannelCount; ++ch)
    if (mixer.hasWave(ch)) mixer.stop(ch);
}

WaveDataSize waveDataSize(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  unsigned char riff[12];
  if (!in.read(reinterpret_cast<char*>(riff), 12) || std::memcmp(riff, "RIFF", 4) != 0 ||
      std::memcmp(riff + 8, "WAVE", 4) != 0)
    return {};
  uint32_t blockAlign = 0;
  unsigned char header[8];
  while (in.read(reinterpret_cast<char*>(header), 8)) {
    const uint32_t size = le32(header + 4);
    if (std::memcmp(header, "fmt ", 4) == 0 && size >= 16) {
      unsigned char fmt[16];
      if (!in.read(reinterpret_cast<char*>(fmt), 16)) return {};
      blockAlign = static_cast<uint32_t>(fmt[12]) | static_cast<uint32_t>(fmt[13]) << 8;
      in.seekg(static_cast<std::streamoff>(size - 16) + (size & 1), std::ios::cur);
      continue;
    }
    if (std::memcmp(header, "data", 4) == 0) return {size, blockAlign ? size / blockAlign : 0};
    in.seekg(static_cast<std::streamoff>(size) + (size & 1), std::ios::cur);
  }
  return {};
}

}  // namespace kestrel
