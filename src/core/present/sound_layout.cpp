#include "core/present/sound_layout.h"

namespace kestrel {

SoundLayout SoundLayout::of(const VehicleParams& vehicle, const LineData& line) {
  SoundLayout l;
  l.vehicleCount = static_cast<int32_t>(vehicle.DriveSound.size());
  l.environmentCount = static_cast<int32_t>(line.SoundData.size());
  l.motorCount = static_cast<int32_t>(vehicle.EngineSound1.size());
  l.engineSetCount = static_cast<int32_t>(vehicle.EngineSound3.size());
  return l;
}

std::string SoundLayout::overflowMessage() const {
  return "サウンドのチャンネルが足りません: 走行音 " + std::to_string(vehicleCount) + " + 環境音 " +
         std::to_string(environmentCount) + " + モーター音 " + std::to_string(motorCount) + " + エンジン音 " +
         std::to_string(engineSetCount) + " + 喚呼と放送 3 = " + std::to_string(spokenChannel() + 1) +
         " チャンネル (上限 " + std::to_string(Mixer::kChannelCount) + ")";
}

}  // namespace kestrel
