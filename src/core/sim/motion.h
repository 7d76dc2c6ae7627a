#pragma once
// Train motion in the tick (stage 5): the brake force against the direction of travel, adhesion
// and slip, gradient, tunnel, starting and running resistance, the hold and constant-speed
// corrections, the stop clamp, and the integration of the speed with the fixed 0.1 s step.
#include "core/state/drive_context.h"

namespace kestrel::motion {

inline constexpr double kG = 9.8;
inline constexpr const char* kSlipText = "空転";
inline constexpr const char* kSlideText = "滑走";

// The whole of stage 5, in the description's order.
void runTickMotion(DriveContext& ctx);

// Pieces, exposed for the checks worked by hand.
double gradientForce(double tons, double gradientPermil);
double runningResistance(double tons, int32_t cars, double speed);  // signed: opposes motion
void updateTunnelFlag(DriveContext& ctx);
void updateTexts(DriveContext& ctx);
std::string formatSpeedText(double speed);
std::string formatDistanceText(double distanceToStopCm);

}  // namespace kestrel::motion
