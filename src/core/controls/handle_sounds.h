#pragma once
// The sounds of the handles, after every typed character: brake application and release sounds
// by the delayed brake notch, and the power notch sounds.
#include "core/state/drive_context.h"

namespace kestrel {

void playHandleSounds(DriveContext& ctx);

// The sound played when the power handle returns to 0 from the effective notch `notch` (>= 1):
// the vehicle lists have no slot for it, so the [Sound_PR] entry of the notch being left plays
// (counted from 1), the first entry when the list is shorter; nullopt when the list is empty.
// [Sound_PR] holds one release sound per notch, so a file that records a release per notch is
// heard as recorded, and one that repeats a single notch-off sound hears it from every notch.
std::optional<int32_t> powerOffSound(const VehicleParams& vehicle, int32_t notch);

}  // namespace kestrel
