#pragma once
// The automatic brakes: the protection rules (ATS, the cab-signal control, the vigilance device,
// rollback protection) request them and the driver's ATS reset releases them, only through these
// functions. Each sets or clears autoEmergency or autoService and raises the pending flags, so
// that the brake notches take the request after their delays (the brake system's notch delays
// read the two flags). When a flag changes, masconupdate runs at once: it ends constant-speed
// control, which would otherwise hold the speed against the brake, and the second notch pair
// shows the automatic brake.
#include "core/state/drive_context.h"

namespace kestrel {

enum class AutoBrake { Service, Emergency };
// Which pending flags a request raises: the three brake notches, or the power notch too.
enum class Pending { Brake, All };

void requestAutoBrake(DriveContext& ctx, AutoBrake kind, Pending pending);
// autoService cleared: the speed pattern returned to 0, or the cab signal no longer exceeded.
void releaseAutoService(DriveContext& ctx, Pending pending);
// Both cleared, the brake pending flags raised: the driver's ATS reset.
void releaseAutoBrakes(DriveContext& ctx);

}  // namespace kestrel
