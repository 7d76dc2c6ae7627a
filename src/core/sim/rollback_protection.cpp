#include "core/sim/rollback_protection.h"

#include "core/ports/mixer_actions.h"
#include "core/sim/brake_requests.h"

namespace kestrel {

void rollbackProtection(DriveContext& ctx) {
  TrainState& t = ctx.train;
  if (ctx.vehicle.Back != 1 || t.autoEmergency) return;
  if (ctx.control.reverser * t.speed >= -7) return;
  restartOnce(ctx.mixer, ctx.vehicle.Sound_Atc);
  requestAutoBrake(ctx, AutoBrake::Emergency, Pending::Brake);
}

}  // namespace kestrel
