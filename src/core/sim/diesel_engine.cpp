#include "core/sim/diesel_engine.h"

#include <cmath>

namespace kestrel::diesel {

namespace {

bool isDiesel(const DriveContext& ctx) {
  return ctx.vehicle.Engine_Type == 0;
}
int32_t engineRows(const DriveContext& ctx) {
  return static_cast<int32_t>(ctx.vehicle.Engine.size());
}

void playOnce(Mixer& mixer, int32_t channel) {
  mixer.stop(channel);
  mixer.playOnce(channel);
}

}  // namespace

int32_t engineStartSound(const VehicleParams& vehicle) {
  return vehicle.EngineSound2[1];
}
int32_t engineStopSound(const VehicleParams& vehicle) {
  return vehicle.EngineSound2[2];
}

void advanceEngineSpeed(DriveContext& ctx) {
  if (!isDiesel(ctx)) return;
  TrainState& t = ctx.train;
  const bool powering = t.powerNotch >= 1 && t.shifting == 0;
  double r = t.engineSpeed;
  if (t.gear >= 1) {
    if (t.gear < static_cast<int32_t>(ctx.vehicle.EngineRate.size())) {
      const EngineRateRow& rate = ctx.vehicle.EngineRate[static_cast<size_t>(t.gear)];
      t.engineSpeedTarget = std::fabs(t.speed) * rate.ratio + rate.offset;
    }
    const double target = t.engineSpeedTarget;
    if (powering) {
      if (t.gear == engineRows(ctx))
        r = target;
      else if (std::fabs(r - target) > 5)
        r += r < target ? 0.6 : -0.6;
      else if (std::fabs(r - target) > 1)
        r += r < target ? 0.03 : -0.03;
    } else if (r > 30) {
      r -= 1;
    }
  } else if (ctx.vehicle.Gear_Type == 1) {
    t.engineSpeedTarget = 100;
    if (powering) {
      if (r < 95) r += 0.5;
      if (r >= 95) r = 95;
    } else if (r > 30) {
      r -= 1;
    }
  }
  if (t.engineState != 1) {
    if (r > 0) r -= 3;
  } else if (r < 30) {
    r += 3;  // idle is 30
  }
  t.engineSpeed = r < 0 ? 0 : r;
}

void selectGear(DriveContext& ctx) {
  if (!isDiesel(ctx) || ctx.vehicle.Gear_Type != 0) return;
  TrainState& t = ctx.train;
  const double v = std::fabs(t.speed);
  const auto& rows = ctx.vehicle.Engine;
  if (t.shifting == 0 && t.targetGear >= 0 && t.targetGear < engineRows(ctx)) {
    const int32_t top = rows[static_cast<size_t>(t.targetGear)].s2;
    // Out of neutral a power notch takes first gear once the speed has reached neutral's top
    // speed, which for a standing train is usually 0: a train at rest never exceeds it.
    const bool startFromNeutral = t.targetGear == 0 && t.powerNotch >= 1 && v >= top;
    if (t.gear < engineRows(ctx) - 1 && (v > top || startFromNeutral)) ++t.targetGear;
    // Never below gear 0: the row lookup would leave the table.
    if (t.targetGear < engineRows(ctx) && t.targetGear > 0 && v < rows[static_cast<size_t>(t.targetGear)].s0)
      --t.targetGear;
  }
  // Creeping in gear: first gear, and no shift. Cancelling shifts also out of neutral would keep
  // a standing train from ever engaging a gear.
  if (t.speed < 10 && t.gear >= 1) {
    t.gear = 1;
    t.shifting = 0;
    t.shiftTicks = 0;
  }
}

void shiftGears(DriveContext& ctx) {
  if (!isDiesel(ctx) || !ctx.doorInterlockAllows()) return;
  TrainState& t = ctx.train;
  if (t.shifting == 0) {
    if (t.engineState == 1 && t.powerNotch >= 1 && t.gear != t.targetGear && t.shiftTicks == 0 &&
        !t.autoEmergency)
      t.shifting = 1;
    else if (t.gear != 0 && t.powerNotch == 0 && t.shiftTicks == 0) {
      t.gear = 0;
      t.shifting = 2;
    }
  }
  if (t.shifting == 0) return;
  if (++t.shiftTicks < 10) return;
  t.shiftTicks = 0;
  if (t.shifting == 1 && !t.doorsOpen && !t.autoEmergency && t.targetGear >= 1) t.gear = t.targetGear;
  if (t.shifting == 2) t.gear = 0;
  ctx.sprites.setPattern("img_lamp_gear", t.gear);
  t.shifting = 0;
}

void runEngineKey(DriveContext& ctx) {
  if (!isDiesel(ctx)) return;
  TrainState& t = ctx.train;
  if (t.engineKey != 0) ++t.engineKeyTicks;
  const bool start = t.engineKey == 1, stop = t.engineKey == 2, released = t.engineKey == 0;
  const bool shortPress = released && t.engineKeyTicks >= 1 && t.engineKeyTicks <= 49;
  if (t.engineState == 0 && start && t.engineKeyTicks == 1) {
    playOnce(ctx.mixer, engineStartSound(ctx.vehicle));
    t.engineState = -1;
  }
  if (t.engineState == -1 && start && t.engineKeyTicks == 50) t.engineState = 1;
  if (t.engineState == -1 && shortPress) {
    playOnce(ctx.mixer, engineStopSound(ctx.vehicle));
    t.engineState = 0;
    t.engineKeyTicks = 0;
  }
  if (t.engineState == 1 && stop && t.engineKeyTicks == 1 && ctx.control.powerHandle == 0) t.engineState = -2;
  if (t.engineState == -2 && stop && t.engineKeyTicks == 40)
    playOnce(ctx.mixer, engineStopSound(ctx.vehicle));
  if (t.engineState == -2 && stop && t.engineKeyTicks == 50) {
    t.engineState = 0;
    t.engineKeyTicks = 0;
  }
  if (t.engineState == -2 && shortPress) {
    t.engineState = 1;
    t.engineKeyTicks = 0;
  }
  if (released) t.engineKeyTicks = 0;  // counts only while a key is held
}

void checkStall(DriveContext& ctx) {
  if (!isDiesel(ctx)) return;
  TrainState& t = ctx.train;
  const int32_t top = engineRows(ctx) - 1;
  if (t.engineState == 1 && ctx.control.reverser != 0 && t.gear == top && t.targetGear == top &&
      t.powerNotch >= 1 && std::fabs(t.speed) < 0.5) {
    t.engineState = 0;
    t.powerNotch = 0;
    playOnce(ctx.mixer, engineStopSound(ctx.vehicle));
    t.noticeText = kStallNotice;
  }
}

}  // namespace kestrel::diesel
