#pragma once
// The air brake: every 33 ms event the pressure model of [BrakeType] (0 automatic air brake with
// a brake valve, 1 electro-pneumatic, 2 electric command), the main-reservoir leak, and the three
// notch delays that carry the brake handle (or an automatic brake request) to the notches.
#include "core/state/drive_context.h"

namespace kestrel::brakes {

// Release divisor d(p, k) = 10 k^(-p/10) + 1.
double releaseDivisor(double p, double k = 1.2);

// 33 ms event step 3, in order: pressure model, main-reservoir leak, notch delays.
void advanceAirBrake(DriveContext& ctx);

void automaticAirBrake(DriveContext& ctx);  // type 0
void electroPneumatic(DriveContext& ctx);   // type 1
void electricCommand(DriveContext& ctx);    // type 2
void advanceNotchDelays(DriveContext& ctx);

// The notch that a delay hands over: emergency for autoEmergency, the highest service step for
// autoService (emergency stays emergency), otherwise the brake handle.
int32_t delayedBrakeTarget(const DriveContext& ctx);

}  // namespace kestrel::brakes
