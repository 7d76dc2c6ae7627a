#pragma once
// Train motion in the tick (stage 5): the brake force against the direction of travel, adhesion
// and slip, gradient, tunnel, starting and running resistance, the hold and constant-speed
// corrections, the stop clamp, and the integration of the speed with the fixed 0.1 s step.
#include "core/state/drive_context.h"

namespace kestrel::motion {

inline constexpr double kG = 9.8;
inline constexpr const char* kSlipText = "空転";
inline constexpr const char* kSlideText = "滑走";

// The whole of stage 5, its steps in their fixed order.
void runTickMotion(DriveContext& ctx);

// Pieces, exposed for the checks worked by hand.
double gradientForce(double tons, double gradientPermil);
double runningResistance(double tons, int32_t cars, double speed);  // signed: opposes motion
// Step 7 below 3 km/h, signed: (3 - |v|) g W against the motion, or at a stand against `force`
// (the tractive and resisting force without it), but never more than holds the train or stops
// it within the 0.1 s step: it may hold a standing train, never move it. `holds`: it does hold
// or stop it, and the stop clamp sets the speed to exactly 0.
struct StartingResistance {
  double force = 0;
  bool holds = false;
};
StartingResistance startingResistance(double speed, double force, double tons);
void updateTunnelFlag(DriveContext& ctx);
void updateTexts(DriveContext& ctx);
std::string formatSpeedText(double speed);
std::string formatDistanceText(double distanceToStopCm);

}  // namespace kestrel::motion
