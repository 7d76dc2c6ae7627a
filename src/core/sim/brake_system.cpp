#include "core/sim/brake_system.h"

#include <algorithm>
#include <cmath>

namespace kestrel::brakes {

namespace {

// The pressures as working values; stored back (rounded where fixed-point) at the end.
struct Pressures {
  double bcM, bcT, er, bp, mr, sap;

  static Pressures of(const TrainState& t) {
    return {t.bcMotor.toDouble(), t.bcTrailer.toDouble(),  t.erPressure.toDouble(),
            t.bpPressure,         t.mrPressure.toDouble(), t.sapPressure.toDouble()};
  }
  void clampAtZero() {
    for (double* p : {&bcM, &bcT, &er, &bp, &mr, &sap}) *p = std::max(*p, 0.0);
  }
  void storeTo(TrainState& t) {
    clampAtZero();
    t.bcMotor = Fixed::fromDouble(bcM);
    t.bcTrailer = Fixed::fromDouble(bcT);
    t.erPressure = Fixed::fromDouble(er);
    t.bpPressure = bp;
    t.mrPressure = Fixed::fromDouble(mr);
    t.sapPressure = Fixed::fromDouble(sap);
  }
};

double feedOf(double mr) {
  return mr >= 490 ? 490 : mr;
}

void fall(double& p, double step, double k = 1.2) {
  p -= step / releaseDivisor(p, k);
}

// Type 0, one brake-valve position without an automatic request.
void valvePosition(DriveContext& ctx, Pressures& p, double feed, double T) {
  const VehicleParams& v = ctx.vehicle;
  const double R = ctx.R();
  const int32_t n = ctx.train.brakeNotch;
  const bool pull = v.Pull == 1;
  if (n == 0 || (n == -1 && pull)) {  // running position
    for (double* bc : {&p.bcM, &p.bcT})
      if (*bc < p.bp) fall(*bc, v.BrakeDown / R);
    const bool fast = p.bcT >= p.bp;
    const double step = fast ? v.BPReturn / R : v.BPReturn / R / 2.5;
    const double limit = fast ? feed - 1 : feed;
    if (p.bp < limit) {
      p.bp += step;
      p.mr -= step / 5;
    }
    if (p.er < limit) p.er += step;
  } else if (n == -1) {  // lap (maintain)
    const double step = v.BrakeDown / R / 2.5;
    if (p.er < feed) p.er += step;
    if (p.bp < feed) {
      p.bp += step;
      p.mr -= v.BrakeUp / (20 * R);
    }
    if (p.bcM < p.bp) fall(p.bcM, v.BrakeDown / R, 1.4);
  } else if (n == -2) {  // hold
    if (feed - p.bp > v.ELBR)
      for (double* bc : {&p.bcM, &p.bcT})
        if (*bc < v.MAXPress && *bc < T) *bc += v.BrakeUp / R;
  } else if (n == -3) {  // apply
    if (feed - p.bp > v.ELBR)
      for (double* bc : {&p.bcM, &p.bcT})
        if (*bc < v.MAXPress && *bc < T) {
          *bc += v.BrakeUp / R;
          p.sap -= v.SAPUp / R;
        }
    p.er -= v.BrakeUp / (4.6 * R);
    p.bp -= v.BrakeUp / (4.6 * R);
  } else if (n == -4) {  // emergency
    if (p.bp > 0) {
      if (p.bcM < v.EBPress) p.bcM += v.BrakeUp / (0.3 * R);
      if (p.bcT < v.EBPress) {
        p.bcT += v.BrakeUp / (0.3 * R);
        p.sap -= v.SAPDown / (3 * R);
      }
    }
    p.er -= v.BrakeUp / (4.6 * R);
    p.bp -= v.BrakeUp / (0.6 * R);
  } else if (n == -5) {  // release (remove)
    for (double* bc : {&p.bcM, &p.bcT}) {
      if (*bc < v.MAXPress && *bc < T)
        *bc += v.BrakeUp / R;
      else if (*bc > T + 10)
        fall(*bc, v.BrakeDown / R);
    }
  }
}

// Types 1 and 2: the motor-car cylinder, blended with the electric brake.
void motorCylinder(DriveContext& ctx, double& bcM, double T) {
  const VehicleParams& v = ctx.vehicle;
  const double R = ctx.R();
  const double I = ctx.train.elecBrakeCurrent;
  if (bcM + 10 < T && (I < 50 || bcM < v.ELBR)) bcM += v.BrakeUp / R;
  if (bcM > T)
    fall(bcM, v.BrakeDown / R);
  else if (I + 10 >= 50 && bcM >= v.ELBR + 5)
    fall(bcM, v.BrakeDown / R);
}

bool isService(int32_t n, int32_t nB) {
  return -nB < n && n < 0;
}

}  // namespace

double releaseDivisor(double p, double k) {
  return 10 * std::pow(k, -p / 10) + 1;
}

void automaticAirBrake(DriveContext& ctx) {
  TrainState& t = ctx.train;
  const VehicleParams& v = ctx.vehicle;
  const double R = ctx.R();
  Pressures p = Pressures::of(t);
  const double feed = feedOf(p.mr);
  t.feedPressure = feed;
  const double T = (feed - p.bp) * v.MAXPress / 140;
  if (t.autoEmergency || t.autoService) {
    if (p.bcM < v.EBPress) p.bcM += v.BrakeUp / (0.3 * R);
    if (p.bcT < v.EBPress) {
      p.bcT += v.BrakeUp / (0.3 * R);
      p.mr -= v.BrakeUp / (3.3 * R);
      p.sap -= v.SAPDown / (3 * R);
    }
    p.er -= v.BrakeUp / (0.6 * R);
    p.bp -= v.BrakeUp / (0.6 * R);
    if (ctx.control.brakeHandle == 0 || ctx.control.brakeHandle == -1) p.mr -= v.BrakeUp / (4.6 * R);
  } else {
    valvePosition(ctx, p, feed, T);
  }
  p.storeTo(t);
}

void electroPneumatic(DriveContext& ctx) {
  TrainState& t = ctx.train;
  const VehicleParams& v = ctx.vehicle;
  const double R = ctx.R();
  const int32_t nB = ctx.nB();
  Pressures p = Pressures::of(t);
  const double feed = feedOf(p.mr);
  t.feedPressure = feed;

  if (isService(t.sapNotch, nB)) {
    const double S = static_cast<double>(v.SAPPress) / (nB - 1) * -t.sapNotch;
    if (p.sap + 10 < S) p.sap += v.SAPUp / R;
    if (p.sap > S) p.sap -= v.SAPDown / R;
  }
  const int32_t n = t.brakeNotch;
  if (isService(n, nB)) {
    const double T = static_cast<double>(v.MAXPress) / (nB - 1) * -n;
    if (p.bcT + 10 < T) {
      p.bcT += v.BrakeUp / R;
      p.mr -= v.BrakeUp / (10 * R);
    }
    if (p.bcT > T && p.bp >= v.MAXPress - static_cast<double>(v.MAXPress) / nB) fall(p.bcT, v.BrakeDown / R);
    motorCylinder(ctx, p.bcM, T);
  } else if (n == -nB) {
    if (p.bcM < v.EBPress) p.bcM += 3.0 * v.BrakeUp / R;
    if (p.bcT < v.EBPress) {
      p.bcT += 3.0 * v.BrakeUp / R;
      p.mr -= v.BrakeUp / (5 * R);
    }
    p.er -= 3.0 * v.BrakeUp / R;
    p.bp -= 3.0 * v.BrakeUp / R;
    p.sap -= 3.0 * v.SAPUp / R;
  } else if (n == 0) {
    if (p.er >= v.EBPress - static_cast<double>(v.EBPress) / nB) {
      if (p.bcT > 0) fall(p.bcT, v.BrakeDown / R);
      if (p.sap > 0) fall(p.sap, v.SAPDown / R);
      if (p.bcM > 0) fall(p.bcM, v.BrakeDown / R);
    }
  }
  if (n >= 1 - nB) {
    p.er = std::min(p.er + v.BrakeDown / (5 * R), feed);
    p.bp = std::min(p.bp + v.BrakeDown / (5 * R), feed);
  }
  p.storeTo(t);
}

void electricCommand(DriveContext& ctx) {
  TrainState& t = ctx.train;
  const VehicleParams& v = ctx.vehicle;
  const double R = ctx.R();
  const int32_t nB = ctx.nB();
  Pressures p = Pressures::of(t);
  t.feedPressure = feedOf(p.mr);
  const int32_t n = t.brakeNotch;
  if (isService(n, nB)) {
    const double T = static_cast<double>(v.MAXPress) / nB * -n;
    if (p.bcT + 10 < T) {
      p.bcT += v.BrakeUp / R / releaseDivisor(std::fabs(T - p.bcT));
      p.mr -= v.BrakeUp / (30 * R);
    }
    if (p.bcT > T) fall(p.bcT, v.BrakeDown / R, 2.0);
    motorCylinder(ctx, p.bcM, T);
  } else if (n == -nB) {
    for (double* bc : {&p.bcM, &p.bcT})
      if (*bc < v.EBPress) *bc += 1.3 * v.BrakeUp / R;
  } else if (n == 0) {
    fall(p.bcM, v.BrakeDown / R);
    fall(p.bcT, v.BrakeDown / R);
  }
  p.storeTo(t);
}

int32_t delayedBrakeTarget(const DriveContext& ctx) {
  const int32_t nB = ctx.nB();
  if (ctx.train.autoEmergency) return -nB;
  if (ctx.train.autoService) return ctx.control.brakeHandle == -nB ? -nB : 1 - nB;
  return ctx.control.brakeHandle;
}

void advanceNotchDelays(DriveContext& ctx) {
  TrainState& t = ctx.train;
  const VehicleParams& v = ctx.vehicle;
  // A further step while the cylinders are pressurised takes only 0.7 of the brake delay.
  const double brakeDelay = t.bcTrailer.raw() > 0 ? 0.7 * v.BrakeDelay : v.BrakeDelay;
  struct Delay {
    bool& pending;
    int32_t& count;
    int32_t& notch;
    double delay;
  };
  for (Delay d : {Delay{t.brakePending, t.brakeDelayCount, t.brakeNotch, brakeDelay},
                  Delay{t.sapPending, t.sapDelayCount, t.sapNotch, static_cast<double>(v.SAPDelay)},
                  Delay{t.ebPending, t.ebDelayCount, t.ebNotch, static_cast<double>(v.EBrakeDelay)}}) {
    if (!d.pending) continue;
    ++d.count;
    if (d.count < d.delay) continue;  // "reaches": a delay of 0 acts on the first event
    d.pending = false;
    d.count = 0;
    d.notch = delayedBrakeTarget(ctx);
  }
}

void advanceAirBrake(DriveContext& ctx) {
  switch (ctx.vehicle.BrakeType) {
    case 0:
      automaticAirBrake(ctx);
      break;
    case 1:
      electroPneumatic(ctx);
      break;
    case 2:
      electricCommand(ctx);
      break;
    default:
      break;  // no pressure model for other types
  }
  TrainState& t = ctx.train;
  const double mr = t.mrPressure.toDouble() - 0.2 / ctx.R();
  t.mrPressure = Fixed::fromDouble(mr > 0 ? mr : 0);
  advanceNotchDelays(ctx);
}

}  // namespace kestrel::brakes
