#pragma once
// The channels of the mixer, set by set: the vehicle sounds from channel 0, the environment
// sounds after them, the motor or engine sounds, the second engine set, then (one channel left
// free) the call-out channel and the spoken-message channel. Sound numbers of the vehicle file
// are channel numbers; environment sound n is channel environmentBase() + n.
#include <cstdint>
#include <string>

#include "core/data/line_data.h"
#include "core/data/vehicle_params.h"
#include "core/ports/mixer.h"

namespace kestrel {

struct SoundLayout {
  int32_t vehicleCount = 0;      // N1: [DriveSound] rows
  int32_t environmentCount = 0;  // N2: [SoundData] rows
  int32_t motorCount = 0;        // N3: [EngineSound1] rows
  int32_t engineSetCount = 0;    // N4: [EngineSound3] rows

  static SoundLayout of(const VehicleParams& vehicle, const LineData& line);

  int32_t environmentBase() const { return vehicleCount; }
  int32_t motorBase() const { return vehicleCount + environmentCount; }
  int32_t engineSetBase() const { return motorBase() + motorCount; }
  int32_t calloutChannel() const { return engineSetBase() + engineSetCount + 1; }
  int32_t spokenChannel() const { return calloutChannel() + 1; }
  // The three banks whose sizes offset the further call-outs' played mark (the call-out key's rule).
  int32_t bankSizes() const { return vehicleCount + environmentCount + motorCount; }

  // Every channel of the layout exists on the mixer.
  bool fits() const { return spokenChannel() < Mixer::kChannelCount; }
  // The message that refuses a content set whose sounds need more channels than the mixer has.
  std::string overflowMessage() const;
};

}  // namespace kestrel
