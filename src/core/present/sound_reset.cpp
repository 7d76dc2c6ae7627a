#include "core/present/sound_reset.h"

#include "core/present/callout_queue.h"
#include "core/present/sound_rules.h"

namespace kestrel {

void resetSoundsAndCallouts(DriveContext& ctx) {
  sound::stopAllSounds(ctx.mixer);
  sound::clearPositionFlags(ctx);
  resetCallouts(ctx);
}

}  // namespace kestrel
