#pragma once
// The sounds of the handles, after every typed character: brake application and release sounds
// by the delayed brake notch, and the power notch sounds.
#include "core/state/drive_context.h"

namespace kestrel {

void playHandleSounds(DriveContext& ctx);

// The sound played when the power handle returns to 0 from a powered notch: the vehicle lists
// have no slot for it, so the first [Sound_PR] entry stands in (nullopt when that list is empty).
std::optional<int32_t> powerOffSound(const VehicleParams& vehicle);

}  // namespace kestrel
