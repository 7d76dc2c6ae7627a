#pragma once
// The tick's brake force: the brake-shoe friction factor at the current speed and the friction
// plus electric brake force of the three [BrakeType2] forms. Motion applies it against the
// direction of travel.
#include "core/state/drive_context.h"

namespace kestrel::brakes {

// mu(x) / mu(B3) below B3, 1 from B3 up, B1 at standstill.
double frictionFactorAt(const VehicleParams& vehicle, double speed);

// Tick stage 4: sets frictionFactor and brakeForce.
void updateBrakeForce(DriveContext& ctx);

}  // namespace kestrel::brakes
