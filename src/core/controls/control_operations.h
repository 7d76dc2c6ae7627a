#pragma once
// The operations through which every input device changes ControlState. Each raises the pending
// flags that start the vehicle's notch delays; callers run masconupdate afterwards (CycleMode
// runs it itself). No operation fails: positions are clamped, and a request that does not apply
// is ignored.
#include "core/state/drive_context.h"
#include "core/state/pending_flags.h"

namespace kestrel {

void CombinedUp(DriveContext& ctx);
void CombinedDown(DriveContext& ctx);
void PowerUp(DriveContext& ctx);
void PowerDown(DriveContext& ctx);
void BrakeRelease(DriveContext& ctx);
void BrakeApply(DriveContext& ctx);
// combined = true: keys "0" and "q" (power handle also to 0, raise all); false: "/" (brake only).
void Emergency(DriveContext& ctx, bool combined);
void HandlesOff(DriveContext& ctx);
void SetPower(DriveContext& ctx, int32_t notch);
void SetBrake(DriveContext& ctx, int32_t step);
void SetReverser(DriveContext& ctx, int32_t reverser);
void CycleMode(DriveContext& ctx);
void EngageConstSpeed(DriveContext& ctx);

// The clamp of SetPower and SetBrake: n > 0 a notch of the current mode (its top notch when n is
// beyond it), n < 0 a brake step no further than -nB, 0 off.
int32_t clampPosition(const DriveContext& ctx, int32_t n);

// The power-mode group of [Notch] row r (from 1); rows beyond the table are group 0.
int32_t notchRowGroup(const DriveContext& ctx, int32_t row);
// Row r (from 1) of [Notch] belongs to the current power mode.
bool rowInMode(const DriveContext& ctx, int32_t row);
// first(m): 0-based index of the first [Notch] row of mode m.
int32_t firstRowOfMode(const DriveContext& ctx, int32_t mode);

}  // namespace kestrel
