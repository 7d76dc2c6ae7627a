#include "core/front/position_resets.h"

#include "core/present/callout_queue.h"
#include "core/present/lineside_pictures.h"
#include "core/present/sound_rules.h"
#include "core/present/trackside_pictures.h"
#include "core/sim/ats.h"
#include "core/sim/stations.h"

namespace kestrel {

void resetPositionWorkingValues(DriveContext& ctx) {
  // Stations: the per-station visit flags, the arrival clock, the values stored at a visit.
  clearStationVisits(ctx);
  // ATS and the speed pattern: nothing checked ("none"), no alarm, the pattern brake released.
  resetAts(ctx);
  // Call-outs: the departure call-out request, the due further call-out 999, the limit call-out
  // requests, the [Time] row flags, the signal call-out markers and the crossing list (refilled
  // for the new MovieFrame by the next tick).
  resetCallouts(ctx);
  // Sound rules: the started flags of [Sound] and [Switch] rows. Trackside pictures: the sign
  // values for the new MovieFrame. Line-side pictures: the traffic light's picture, cab indicator
  // and notice, the animations and the crossing picture, drawn for the new place by the next tick.
  sound::clearPositionFlags(ctx);
  trackside::resetTrackside(ctx);
  lineside::resetLineside(ctx);
}

}  // namespace kestrel
