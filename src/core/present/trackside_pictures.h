#pragma once
// The trackside pictures laid over the route movie: how the tick moves their sprites and sets
// their cells and visibility. The cab display draws whatever state they leave.
//
// - Signal pictures ("img_unten_signal", "_S", "_L", "_R"): redrawn only when the code of the
//   signal ahead changes; the code 999 (no signal ahead, or within 15 frames of it) clears them to
//   cell 0. The cab-signal picture "img_cabsignal" shows the cell of a speed-check section, else
//   for [ATS_Type] 2 the cell of the code (code - 35), else the cell a traffic light asks for
//   (lineside_pictures.h), else nothing.
// - Stop marker "img_unten_teimoku": cell l + 1 from the first tick inside station l's platform,
//   cell 0 between stations.
// - Stop lines "img_unten_teimokuS", "M", "E" at d - w, d and d + w (d the distance to the stop, w
//   the platform half-width), in perspective over the last 100 m, thicker over the last 20 m.
// - Remaining-distance bar "img_unten_remain": slides down over the last 200 m, again on a tenfold
//   scale over the last 20 m, and on past the stop for 20 m.
// - Gradient post "img_unten_slope" (cell r + 1 of [Slope] row r) and the head gradient with its
//   texts; speed-limit post "img_unten_limit", blinking within braking distance of a limit ahead;
//   other-signs post "img_unten_other".
//
// Other signs ([Sign] rows: cell, start, end, time condition): the first row whose range holds
// the frame is shown; a condition of 1 to 999 shows it for that many x 10 ticks after it
// appeared, 1000 and more from that time of day on, 0 always. Otherwise the post shows cell 0.
#include "core/state/drive_context.h"

namespace kestrel::trackside {

// Tick stage 3, after tickCount: the speed-limit post blinks.
void blinkLimitPost(DriveContext& ctx);
// Tick stage 9, before the gradient sampling: the gradient post sets the head gradient.
void updateGradientPost(DriveContext& ctx);
// Tick stage 9, right after the signal codes.
void updateSignalPictures(DriveContext& ctx);
// Tick stage 10, before the station rules mark the visit.
void updateStopMarker(DriveContext& ctx);
// Tick stage 11: the stop lines, the remaining-distance bar, the speed-limit post and the
// other-signs post, from the state the tick leaves.
void updateTracksideDisplays(DriveContext& ctx);

void updateStopLines(DriveContext& ctx);
void updateRemainingBar(DriveContext& ctx);
void updateLimitPost(DriveContext& ctx);
void updateOtherSign(DriveContext& ctx);

// The working values back to "nothing shown" (drive start, station jump, restore): the next tick
// draws the pictures for the new place.
void resetTrackside(DriveContext& ctx);

}  // namespace kestrel::trackside
