#pragma once
// The diesel railcar's engine and gearbox: engine speed (33 ms event), automatic gear selection,
// shifting, engine start and stop, and the stall (tick).
#include "core/state/drive_context.h"

namespace kestrel::diesel {

inline constexpr const char* kStallNotice =
    "0エンストしました。変速レバーを変速段に入れてエンジンを再始動してください。";

// 33 ms event step 4.
void advanceEngineSpeed(DriveContext& ctx);

// Tick, in this order.
void selectGear(DriveContext& ctx);
void shiftGears(DriveContext& ctx);
void runEngineKey(DriveContext& ctx);
void checkStall(DriveContext& ctx);

// The engine's start and stop sounds: the second and third [EngineSound2] values (vehicle sound
// channels; the first is the idle sound, which the sound rules run).
int32_t engineStartSound(const VehicleParams& vehicle);
int32_t engineStopSound(const VehicleParams& vehicle);

}  // namespace kestrel::diesel
