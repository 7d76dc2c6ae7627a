#include "core/sim/brake_force.h"

#include <cmath>

namespace kestrel::brakes {

namespace {

double mu(double x, double c) {
  return 0.25 * (1 + 0.01 * x) / (1 + c * x);
}

}  // namespace

double frictionFactorAt(const VehicleParams& vehicle, double speed) {
  const double B1 = vehicle.BrakeRate[0].toDouble();
  const double B3 = vehicle.BrakeRate[2].toDouble();
  const double v = std::fabs(speed);
  if (v == 0) return B1;
  // The curve meets 1 at B3 from below and is 1 above it; at B3 itself it is 1 too, not B1.
  if (v < B3) {
    const double ref = mu(B3, vehicle.BrakeRate2);
    return ref > 0 ? mu(v, vehicle.BrakeRate2) / ref : 1;
  }
  return 1;
}

void updateBrakeForce(DriveContext& ctx) {
  TrainState& t = ctx.train;
  const VehicleParams& veh = ctx.vehicle;
  t.frictionFactor = Fixed::fromDouble(frictionFactorAt(veh, t.speed));
  const double f = t.frictionFactor.toDouble();
  const double B1 = veh.BrakeRate[0].toDouble(), B2 = veh.BrakeRate[1].toDouble();
  const double Mt = veh.Mt.toDouble(), Tt = veh.Tt.toDouble(), Tct = veh.Tct.toDouble();
  const double bcM = t.bcMotor.toDouble(), bcT = t.bcTrailer.toDouble();

  double carsTimesPressure = 0, electricMass = 0;
  switch (veh.BrakeType2) {
    case 0:
      carsTimesPressure = Mt * bcM + Tt * bcT;
      break;
    case 1:
      carsTimesPressure = Mt * bcM + (Tt + Tct) * bcT;
      electricMass = Mt;
      break;
    default:
      carsTimesPressure = (Mt + Tt) * bcM + Tct * bcT;
      electricMass = Mt + Tt;
      break;
  }
  // [EBPress] and [EBrakeCurr] scale the forces; a vehicle that gives 0 for either has no force
  // of that kind rather than an infinite one.
  double force = veh.EBPress > 0 ? B1 * f / 3.6 * 1000 * carsTimesPressure / veh.EBPress : 0;
  if (veh.BrakeType2 >= 1 && t.elecBrakeCurrent > 0 && veh.EBrakeCurr > 0)
    force += t.elecBrakeCurrent / veh.EBrakeCurr * B2 / 3.6 * 1000 * electricMass;
  t.brakeForce = Fixed::fromDouble(force > 0 ? force : 0);
}

}  // namespace kestrel::brakes
