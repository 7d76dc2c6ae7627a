#include "core/sim/traction.h"

#include <algorithm>
#include <cmath>

#include "core/util/rounding.h"

namespace kestrel::traction {

namespace {

// Integer power by squaring: E^n is taken with integer powers, exactly, not through pow().
double intPower(double base, int32_t exponent) {
  double result = 1;
  int64_t e = exponent < 0 ? -static_cast<int64_t>(exponent) : exponent;
  for (double b = base; e > 0; e >>= 1, b *= b)
    if (e & 1) result *= b;
  return exponent < 0 ? 1 / result : result;
}

// Acceleration (km/h/s) of a [Notch] row at |v|.
double notchAcceleration(const NotchRow& row, double v) {
  const double C = row.C, D = row.D;
  if (row.A > 0) {
    if (v < C) return row.A + v * (row.B - row.A) / C;
    // From standstill with C = 0 the constant-power term has no value (0/0); the row's
    // standstill acceleration A stands in.
    if (v == 0) return row.A;
    if (v < D) return C * row.B / v;
    const double ed = intPower(row.E, row.D);
    const double falloff = ed != 0 && std::isfinite(ed) ? intPower(row.E, roundHalfAway(v)) / ed
                                                        : intPower(row.E, roundHalfAway(v) - row.D);
    return C * row.B / v * falloff;
  }
  // A speed-holding notch acts only between C and D.
  if (C <= v && v < D) return row.A;
  return 0;
}

}  // namespace

bool tractionAllowed(const DriveContext& ctx) {
  const TrainState& t = ctx.train;
  return t.speed < ctx.vehicle.MaxSpeed && ctx.doorInterlockAllows() && t.engineState == 1 &&
         !t.autoEmergency && !t.autoService;
}

double notchTableForce(const DriveContext& ctx) {
  const int32_t n = ctx.train.powerNotch;
  if (n < 1 || n > static_cast<int32_t>(ctx.vehicle.Notch.size())) return 0;
  if (ctx.control.brakeHandle != 0) return 0;
  const double a =
      notchAcceleration(ctx.vehicle.Notch[static_cast<size_t>(n - 1)], std::fabs(ctx.train.speed));
  return a / 3.6 * ctx.tons() * 1000;
}

double currentTableForce(const DriveContext& ctx) {
  if (ctx.train.powerNotch < 1) return 0;
  const CurrentPHeader& h = ctx.vehicle.CurrentPHead;
  if (h.Iref == 0) return 0;  // no reference current: the table cannot scale a force
  const double v = std::fabs(ctx.train.speed);
  const double a = (v < h.vc || v == 0) ? h.a0 / 3.6 : h.a0 / 3.6 * h.vc / v;
  return ctx.tons() * 1000 * a / h.Iref * ctx.train.motorCurrent;
}

double dieselForce(const DriveContext& ctx) {
  const TrainState& t = ctx.train;
  if (t.shifting != 0 || t.powerNotch < 1) return 0;
  if (t.gear < 0 || t.gear >= static_cast<int32_t>(ctx.vehicle.Engine.size())) return 0;
  if (ctx.vehicle.Power <= 0) return 0;
  const EngineRow& row = ctx.vehicle.Engine[static_cast<size_t>(t.gear)];
  const double v = std::fabs(t.speed);
  int32_t notch = t.powerNotch;
  double effort;
  if (v < row.s1) {
    // A row with s1 = s0 has no slope to interpolate: its effort is e0 below s1.
    effort =
        row.s1 == row.s0 ? row.e0 : row.e0 + std::fabs(v - row.s0) * (row.e1 - row.e0) / (row.s1 - row.s0);
    if (t.speed < ctx.vehicle.PowerJerk) notch = std::min(notch, 2);
  } else if (v < row.s2) {
    effort = row.e1 + (v - row.s1) * (row.e2 - row.e1) / (row.s2 - row.s1);
  } else {
    return 0;
  }
  return notch * effort * 9.8 / ctx.vehicle.Power;
}

void advancePowerNotchDelay(DriveContext& ctx) {
  TrainState& t = ctx.train;
  if (t.lineVoltageTarget.raw() <= 0 || !t.powerPending) return;
  ++t.powerDelayCount;
  // "Reaches" the delay: a delay of 0 takes effect on the first event instead of never.
  if (t.powerDelayCount < ctx.vehicle.PowerDelay) return;
  t.powerPending = false;
  t.powerDelayCount = 0;
  if (t.MovieMode != 0 && t.MovieMode != 2) return;
  const int32_t handle = ctx.control.powerHandle;
  if (handle >= t.powerNotch || handle >= ctx.vehicle.NotchBack || handle == 0) t.powerNotch = handle;
}

void computeTractiveForce(DriveContext& ctx) {
  TrainState& t = ctx.train;
  double force = 0;
  if (tractionAllowed(ctx)) {
    if (ctx.vehicle.Engine_Type == 1)
      force = ctx.vehicle.Power_Type == 1 ? notchTableForce(ctx) : currentTableForce(ctx);
    else
      force = dieselForce(ctx);
  }
  double net = t.netForce.toDouble() + force;
  if (ctx.control.reverser == 0) net = 0;
  if (ctx.control.reverser == -1) net = -net;
  t.netForce = Fixed::fromDouble(net);
  advancePowerNotchDelay(ctx);
  t.tractionLatch = t.netForce;
}

}  // namespace kestrel::traction
