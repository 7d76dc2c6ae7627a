#pragma once
// Traction: the tractive force that starts every 33 ms event as netForce, after the power-notch
// delay, from the notch table, the current tables or the diesel engine and gears.
#include "core/state/drive_context.h"

namespace kestrel::traction {

// 33 ms event step 2: gating, the vehicle's model, the reverser sign, then the power-notch delay
// and the latch of the force for the ammeter. Expects netForce = 0 on entry.
void computeTractiveForce(DriveContext& ctx);

// The model's force in newtons for the current powerNotch and speed, before gating and reverser.
double notchTableForce(const DriveContext& ctx);
double currentTableForce(const DriveContext& ctx);
double dieselForce(const DriveContext& ctx);

// The power-notch delay alone (part of computeTractiveForce).
void advancePowerNotchDelay(DriveContext& ctx);

// Tractive force may act: below [MaxSpeed] (signed), doors closed or no interlock, engine running,
// no automatic brake.
bool tractionAllowed(const DriveContext& ctx);

}  // namespace kestrel::traction
