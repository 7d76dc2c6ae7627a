#include "core/sim/traction_meters.h"

#include <cmath>

#include "core/util/rounding.h"

namespace kestrel::traction {

void updateVoltmeter(DriveContext& ctx) {
  TrainState& t = ctx.train;
  constexpr int64_t kStep = 250 * Fixed::kScale;
  const int64_t v = t.lineVoltage.raw(), target = t.lineVoltageTarget.raw();
  // 250 V per tick towards the target, ending on it rather than swinging about it.
  if (v < target)
    t.lineVoltage = Fixed::fromRaw(v + kStep < target ? v + kStep : target);
  else if (v > target)
    t.lineVoltage = Fixed::fromRaw(v - kStep > target ? v - kStep : target);
}

void updateResistanceSteps(DriveContext& ctx) {
  TrainState& t = ctx.train;
  const VehicleParams& veh = ctx.vehicle;
  if (veh.Engine_Type != 1 || veh.Power_Type != 0) return;
  if (t.powerNotch == 0) {
    t.resistStep = 0;
    t.motorCurrent = 0;
    return;
  }
  if (t.powerNotch < 1 || !ctx.doorInterlockAllows()) return;
  const auto& rows = veh.CurrentP;
  const double v = std::fabs(t.speed);
  for (size_t l = 0; l < rows.size(); ++l) {
    if (t.resistStep < static_cast<int32_t>(l) && t.powerNotch >= rows[l].notch &&
        t.motorCurrent < veh.CurrentPHead.Iref)
      ++t.resistStep;
    if (t.resistStep < 0 || t.resistStep >= static_cast<int32_t>(rows.size())) continue;
    const CurrentPRow& row = rows[static_cast<size_t>(t.resistStep)];
    const double d = v - row.b;
    if (d != 0) t.motorCurrent = roundHalfAway(row.a / d);
  }
}

void updateAmmeter(DriveContext& ctx) {
  TrainState& t = ctx.train;
  const VehicleParams& veh = ctx.vehicle;
  if (veh.Engine_Type != 1) return;
  if (veh.Power_Type == 0) {
    t.ammeter = t.motorCurrent;
    return;
  }
  // 50 A per km/h/s of tractive acceleration.
  if ((t.powerNotch >= 1 || t.brakeNotch < 0) && ctx.tons() > 0)
    t.ammeter = roundHalfAway(t.tractionLatch.toDouble() / (ctx.tons() * 1000) * 3.6 * 50);
  else
    t.ammeter = 0;
}

}  // namespace kestrel::traction
