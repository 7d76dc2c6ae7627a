#include "core/controls/control_operations.h"

#include <algorithm>
#include <cmath>

#include "core/controls/mascon_update.h"

namespace kestrel {

int32_t notchRowGroup(const DriveContext& ctx, int32_t row) {
  const auto& notch = ctx.vehicle.Notch;
  // Rows the file did not fill read as zeros, so they belong to the first mode: a diesel railcar,
  // which has no [Notch] table at all, notches up through them.
  if (row > static_cast<int32_t>(notch.size())) return 0;
  return notch[static_cast<size_t>(row - 1)].group;
}

bool rowInMode(const DriveContext& ctx, int32_t row) {
  return row >= 1 && row <= static_cast<int32_t>(VehicleParams::kOtherTableCapacity) &&
         notchRowGroup(ctx, row) == ctx.control.powerMode;
}

int32_t firstRowOfMode(const DriveContext& ctx, int32_t mode) {
  const auto& index = ctx.vehicle.powerModeIndex;
  return mode >= 0 && mode < static_cast<int32_t>(index.size()) ? index[static_cast<size_t>(mode)] : 0;
}

namespace {

int32_t nP(const DriveContext& ctx) {
  return ctx.vehicle.Power;
}

// One notch up within the mode; from off into a later mode's first notch.
void notchUp(DriveContext& ctx) {
  ControlState& c = ctx.control;
  if (rowInMode(ctx, c.powerHandle + 1))
    c.powerHandle += 1;
  else if (c.powerHandle == 0 && c.powerMode > 0)
    c.powerHandle = firstRowOfMode(ctx, c.powerMode) + 1;
}

// One notch down within the mode; from the mode's first notch to off.
void notchDown(DriveContext& ctx) {
  ControlState& c = ctx.control;
  if (c.powerHandle > 1 && rowInMode(ctx, c.powerHandle - 1))
    c.powerHandle -= 1;
  else if (c.powerHandle == firstRowOfMode(ctx, c.powerMode) + 1)
    c.powerHandle = 0;
}

// Step 2 of CombinedDown without its power-handle condition: one step towards braking, through
// the hold position when the vehicle has one.
void brakeStepDown(DriveContext& ctx) {
  ControlState& c = ctx.control;
  if (c.brakeHandle <= 1 - ctx.nB() || c.holdEngaged) return;
  if (ctx.vehicle.Hold == 1) {
    if (c.brakeHandle == 0)
      c.holdEngaged = true;
    else if (c.brakeHandle < 0 && !c.holdExitGuard)
      c.brakeHandle -= 1;
    c.holdExitGuard = false;
  } else {
    c.brakeHandle -= 1;
  }
}

void leaveHoldTowardsBraking(ControlState& c) {
  if (!c.holdEngaged) return;
  c.holdEngaged = false;
  c.brakeHandle = -1;
  c.holdExitGuard = true;
}

}  // namespace

void CombinedUp(DriveContext& ctx) {
  ControlState& c = ctx.control;
  if (c.brakeHandle == 0 && c.powerHandle < nP(ctx) && !c.holdEngaged) notchUp(ctx);
  if (c.holdEngaged) c.holdEngaged = false;
  if (c.powerHandle == 0 && c.brakeHandle < 0 && !c.holdEngaged) {
    c.brakeHandle += 1;
    if (ctx.vehicle.Hold == 1 && c.brakeHandle == 0) c.holdEngaged = true;
  }
  raiseAll(ctx.train);
}

void CombinedDown(DriveContext& ctx) {
  ControlState& c = ctx.control;
  leaveHoldTowardsBraking(c);
  if (c.powerHandle == 0) brakeStepDown(ctx);
  if (c.brakeHandle == 0 && c.powerHandle > 1 && rowInMode(ctx, c.powerHandle - 1))
    c.powerHandle -= 1;
  else if (c.powerHandle == firstRowOfMode(ctx, c.powerMode) + 1)
    c.powerHandle = 0;
  raiseAll(ctx.train);
}

void PowerUp(DriveContext& ctx) {
  ControlState& c = ctx.control;
  if (c.powerHandle < nP(ctx) && rowInMode(ctx, c.powerHandle + 1))
    c.powerHandle += 1;
  else if (c.powerHandle == 0 && c.powerMode > 0)
    c.powerHandle = firstRowOfMode(ctx, c.powerMode) + 1;
  raisePower(ctx.train);
}

void PowerDown(DriveContext& ctx) {
  notchDown(ctx);
  raisePower(ctx.train);
}

void BrakeRelease(DriveContext& ctx) {
  ControlState& c = ctx.control;
  c.holdEngaged = false;
  if (c.brakeHandle < 0) {
    c.brakeHandle += 1;
    if (ctx.vehicle.Hold == 1 && c.brakeHandle == 0) c.holdEngaged = true;
  }
  raiseBrake(ctx.train);
}

void BrakeApply(DriveContext& ctx) {
  leaveHoldTowardsBraking(ctx.control);
  brakeStepDown(ctx);
  raiseBrake(ctx.train);
}

void Emergency(DriveContext& ctx, bool combined) {
  ControlState& c = ctx.control;
  c.holdEngaged = false;
  c.brakeHandle = -ctx.nB();
  if (combined) {
    c.powerHandle = 0;
    raiseAll(ctx.train);
  } else {
    raiseBrake(ctx.train);
  }
}

void HandlesOff(DriveContext& ctx) {
  ControlState& c = ctx.control;
  c.holdEngaged = false;
  c.brakeHandle = 0;
  c.powerHandle = 0;
  raiseAll(ctx.train);
}

int32_t clampPosition(const DriveContext& ctx, int32_t n) {
  if (n < 0) return std::max(n, -ctx.nB());
  if (n == 0) return 0;
  const int32_t rows = std::min<int32_t>(nP(ctx), static_cast<int32_t>(VehicleParams::kOtherTableCapacity));
  const int32_t mode = ctx.control.powerMode;
  int32_t first = -1, last = -1;
  for (int32_t r = 0; r < rows && first < 0; ++r)
    if (notchRowGroup(ctx, r + 1) == mode) first = r;
  for (int32_t r = rows - 1; r >= 0 && last < 0; --r)
    if (notchRowGroup(ctx, r + 1) == mode) last = r;
  if (first < 0) return 0;  // a mode without rows cannot be selected; nothing to clamp to
  const int32_t k = last - first + 1;
  if (n <= k && rowInMode(ctx, first + n)) return first + n;
  return first + k;
}

void SetPower(DriveContext& ctx, int32_t notch) {
  ctx.control.powerHandle = clampPosition(ctx, notch);
  raisePower(ctx.train);
}

void SetBrake(DriveContext& ctx, int32_t step) {
  ctx.control.brakeHandle = clampPosition(ctx, -step);
  raiseBrake(ctx.train);
}

void SetReverser(DriveContext& ctx, int32_t reverser) {
  if (std::fabs(ctx.train.speed) <= 1) ctx.control.reverser = reverser;
}

void CycleMode(DriveContext& ctx) {
  ControlState& c = ctx.control;
  if (c.powerHandle != 0) return;
  const int32_t modes = static_cast<int32_t>(ctx.vehicle.PowerMode.size());
  c.powerMode = c.powerMode + 1 >= modes ? 0 : c.powerMode + 1;
  c.powerHandle = 0;
  masconupdate(ctx);
}

void EngageConstSpeed(DriveContext& ctx) {
  ControlState& c = ctx.control;
  const TrainState& t = ctx.train;
  const auto& cst = ctx.vehicle.Const;
  // Not against an automatic brake: masconupdate would end it only at the next handle change,
  // and until then it would hold the speed against the brake.
  if (t.autoEmergency || t.autoService) return;
  if (c.powerHandle == nP(ctx) && t.speed >= cst[1] && !c.constSpeed && cst[0] == 1) {
    c.constSpeed = true;
    c.powerText = ctx.settings.Const;
  }
}

}  // namespace kestrel
