#include "core/sim/vigilance.h"

#include "core/sim/brake_requests.h"

namespace kestrel {

namespace {

constexpr int32_t kRingAfter = 600;
constexpr int32_t kBrakeAfter = 650;

}  // namespace

void runVigilance(DriveContext& ctx) {
  TrainState& t = ctx.train;
  const int32_t ring = ctx.vehicle.Sound_EBring;
  if (ctx.vehicle.EB != 1 || ctx.keys.autoRun || ctx.keys.resistanceOff) return;
  if (t.speed > 1) t.vigilanceTicks += 1;
  if (t.vigilanceTicks <= kRingAfter) return;
  if (t.vigilanceTicks <= kBrakeAfter) {
    if (!ctx.mixer.isPlaying(ring)) ctx.mixer.playLooped(ring);
    ctx.sprites.setVisible("img_Lamp_EB", true);
    return;
  }
  ctx.mixer.stop(ring);
  t.vigilanceTicks = 0;
  requestAutoBrake(ctx, AutoBrake::Emergency, Pending::All);
}

void setUpVigilance(DriveContext& ctx) {
  ctx.train.vigilanceTicks = 0;
  ctx.sprites.setVisible("img_Lamp_EB", false);
}

}  // namespace kestrel
