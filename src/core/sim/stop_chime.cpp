#include "core/sim/stop_chime.h"

#include "core/ports/mixer_actions.h"
#include "core/util/rounding.h"

namespace kestrel {

bool stopApproachDue(const TrainState& t) {
  return t.speed / 5 * t.speed / 3.6 > t.distanceToStop / 100 - 125;
}

void stopApproachChime(DriveContext& ctx) {
  const TrainState& t = ctx.train;
  if (roundHalfAway(t.speed) == 0 || !stopApproachDue(t)) return;
  playIfSilent(ctx.mixer, ctx.vehicle.Stop);
}

}  // namespace kestrel
