#include "core/sim/motion.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace kestrel::motion {

namespace {

double sign(double v) {
  return v > 0 ? 1 : (v < 0 ? -1 : 0);
}

std::string format(const char* fmt, double value) {
  char buf[64];
  std::snprintf(buf, sizeof buf, fmt, value);
  return buf;
}

}  // namespace

double gradientForce(double tons, double G) {
  return -kG * 1000 * tons * G / std::sqrt(G * G + 1000 * 1000);
}

StartingResistance startingResistance(double v, double force, double tons) {
  // Against the motion, or at rest against the force that would start it.
  const double direction = v != 0 ? sign(v) : sign(force);
  if (direction == 0) return {0, true};
  const double full = (3 - std::fabs(v)) * kG * tons;
  // The force that stops the train within this step (at rest: that balances `force`). Friction
  // goes no further: it holds the train or brings it to a stand, it never turns it round.
  const double perForce = tons > 0 ? 0.36 / (tons * 1000) : 0;
  const double stopping = std::max(perForce > 0 ? std::fabs(v) / perForce + direction * force : 0, 0.0);
  if (stopping <= full) return {-direction * stopping, true};
  return {-direction * full, false};
}

double runningResistance(double tons, int32_t cars, double v) {
  double s;
  if (v > 0.1)
    s = -1;
  else if (v < -0.1)
    s = 1;
  else
    return 0;
  const double a = std::fabs(v);
  return s * kG * (tons * (1.32 + 0.0164 * a) + (0.028 + 0.0078 * (cars - 1)) * v * v);
}

void updateTunnelFlag(DriveContext& ctx) {
  TrainState& t = ctx.train;
  t.inTunnel = false;
  for (const TunnelRow& row : ctx.line.Tunnel)
    if (row.entryCm < t.distanceRun && t.distanceRun < row.exitCm) t.inTunnel = true;
}

std::string formatSpeedText(double speed) {
  return format("%5.1f", speed) + " km/h";
}

std::string formatDistanceText(double d) {
  const double m = d / 100;
  const double a = std::fabs(d);
  return format(a > 1000 ? "%5.0f" : (a > 500 ? "%5.1f" : "%5.2f"), m) + " m";
}

void updateTexts(DriveContext& ctx) {
  ctx.train.speedText = formatSpeedText(ctx.train.speed);
  ctx.train.distanceText = formatDistanceText(ctx.train.distanceToStop);
}

void runTickMotion(DriveContext& ctx) {
  TrainState& t = ctx.train;
  const VehicleParams& veh = ctx.vehicle;
  const double v = t.speed, av = std::fabs(v);
  const double W = ctx.tons();
  const double G = t.gradient.toDouble();
  const double mu0 = ctx.line.Friction.toDouble();
  const bool powering = t.powerNotch >= 1;
  const bool braking = t.brakeNotch < 0;
  // Every store into the fixed-point fields rounds, so each step sees the rounded value of the
  // step before.
  auto net = [&] { return t.netForce.toDouble(); };
  auto resist = [&] { return t.resistForce.toDouble(); };
  auto setNet = [&](double x) { t.netForce = Fixed::fromDouble(x); };
  auto setResist = [&](double x) { t.resistForce = Fixed::fromDouble(x); };

  // 1. Brake against the direction of travel.
  if (v > 0)
    setNet(net() - t.brakeForce.toDouble());
  else if (v < 0)
    setNet(net() + t.brakeForce.toDouble());

  // 2. Adhesion coefficient.
  if (powering)
    t.adhesionCoeff = Fixed::fromDouble(mu0 * (1 + 0.279 * av) / (1 + 0.367 * av));
  else if (braking)
    t.adhesionCoeff = Fixed::fromDouble(mu0 / (1 + 0.0059 * av));
  const double adhesion = t.adhesionCoeff.toDouble();

  // 3, 4. Gradient; tunnel resistance against the direction of travel.
  setResist(resist() + gradientForce(W, G));
  updateTunnelFlag(ctx);
  if (t.inTunnel) setResist(resist() - sign(v) * (ctx.line.TunnelR / 10000.0) * v * v * W * kG);

  // 5. Adhesion limit: the motor cars' mass carries an electric train's tractive effort.
  const double Wa = veh.Engine_Type == 1 ? veh.Mt.toDouble() : W;
  if (powering) t.adhesionLimit = Fixed::fromDouble(adhesion * Wa * 1000 * kG + resist());
  if (braking) t.adhesionLimit = Fixed::fromDouble(adhesion * W * 1000 * kG + resist());
  const double limit = t.adhesionLimit.toDouble();

  // 6. Slip under power, slide under braking.
  if (powering && limit < net()) {
    setNet(adhesion / 2 * Wa * 1000 * kG);
    t.slipText = kSlipText;
  } else if (braking && net() < -limit) {
    setNet(-0.66 * adhesion * W * 1000 * kG);
    t.slipText = kSlideText;
  } else {
    t.slipText.clear();
  }

  // 7. Starting resistance, only while powering on non-rising track.
  bool heldByFriction = false;
  if (powering && av < 3 && resist() >= 0) {
    const StartingResistance s = startingResistance(v, net() + resist(), W);
    setResist(resist() + s.force);
    heldByFriction = s.holds;
  }
  // 8. Running resistance.
  setResist(resist() + runningResistance(W, veh.Cars, v));
  // 9. Hold position: no running away down a falling gradient.
  if (resist() > 0 && ctx.control.holdEngaged && G < 0) setNet(net() - resist());
  // 10. Constant-speed control balances the resistance.
  if (ctx.control.constSpeed) setNet(resist() < 0 ? -resist() : 0);
  // 11. An inserted scene movie during a station stop.
  if (t.MovieMode == 1) t.resistForce = Fixed();

  // 12. A train of no mass has no defined acceleration: it keeps its speed.
  const double perForce = W > 0 ? 0.36 / (W * 1000) : 0;
  t.predictedSpeed = Fixed::fromDouble(v + (net() + resist()) * perForce);
  const double predicted = t.predictedSpeed.toDouble();

  // 13. Stop clamp; also where the starting resistance holds the train or stops it.
  bool stop = false;
  if (v == 0) {
    const double B1 = veh.BrakeRate[0].toDouble();
    const double H = veh.EBPress > 0 ? B1 * (t.bcTrailer.toDouble() / veh.EBPress) * W * 1000 / 3.6 : 0;
    stop = H > std::fabs(resist());
  } else if (v > 0 && net() < 0) {
    stop = std::fabs(resist()) < std::fabs(net()) && predicted < 0;
  } else if (v < 0 && net() > 0) {
    stop = std::fabs(resist()) < std::fabs(net()) && predicted > 0;
  }
  if (stop || heldByFriction) {
    t.speed = 0;
    t.netForce = Fixed();
    t.resistForce = Fixed();
  }

  // 14. Integration with the fixed 0.1 s step.
  if (!ctx.keys.resistanceOff) t.speed += resist() * perForce;
  t.speed += net() * perForce;

  // 15. Texts.
  updateTexts(ctx);
}

}  // namespace kestrel::motion
