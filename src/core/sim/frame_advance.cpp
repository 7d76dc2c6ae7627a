#include "core/sim/frame_advance.h"

#include <cmath>
#include <cstdlib>

#include "core/util/rounding.h"

namespace kestrel::motion {

void advanceFrame(DriveContext& ctx) {
  TrainState& t = ctx.train;
  const double v = t.speed;
  const int32_t direction = v > 0 ? 1 : (v < 0 ? -1 : 0);
  t.FrameStepAccumulator += std::abs(roundHalfAway(v));
  if (t.FrameStepAccumulator >= t.UnitsPerFrame) {
    if (t.UnitsPerFrame == 0) {
      t.MovieFrame += direction * 2 * t.FrameStepAccumulator;
      t.FrameStepAccumulator = 0;
    } else {
      t.MovieFrame += direction * (t.FrameStepAccumulator / t.UnitsPerFrame);
      t.FrameStepAccumulator %= t.UnitsPerFrame;
    }
  }
  lookUpSpeedUnit(ctx);
}

void lookUpSpeedUnit(DriveContext& ctx) {
  TrainState& t = ctx.train;
  const auto& rows = ctx.line.SpeedUnit;
  int32_t i = -1;
  for (size_t r = 0; r < rows.size(); ++r)
    if (rows[r].start <= t.MovieFrame && t.MovieFrame < rows[r].end) i = static_cast<int32_t>(r);
  if (i < 0) return;  // outside the table: the last row's values stay in force
  if (i != t.frameRow && t.frameRow != -1) {
    // Entering a row forwards starts it at the end of the row before; entering it backwards
    // starts at its own end. (Entering row 0 is always backwards, so it too takes its own end.)
    if (i > t.frameRow)
      t.distanceRun = rows[static_cast<size_t>(i - 1)].endDistanceCm;
    else
      t.distanceRun = rows[static_cast<size_t>(i)].endDistanceCm;
  }
  const SpeedUnitRow& row = rows[static_cast<size_t>(i)];
  t.UnitsPerFrame = roundHalfAway(row.vStart + (row.vEnd - row.vStart) / (row.end - row.start) *
                                                   (t.MovieFrame - row.start));
  t.frameRow = i;
}

void advanceDistance(DriveContext& ctx) {
  TrainState& t = ctx.train;
  // Below 0.5 km/h the frame advance accumulates nothing (it counts the rounded speed), so the
  // distance stands too: a train creeping there would otherwise run its distance away from its
  // frame without limit.
  const double step = roundHalfAway(t.speed) != 0 ? t.speed / 36000 * 33333 : 0;
  t.distanceRun += step;
  t.distanceToStop = t.stopTarget - t.distanceRun;
}

void advanceClock(DriveContext& ctx) {
  TrainState& t = ctx.train;
  t.TickCounter += 1;
  if (ctx.keys.autoRun) t.speed = t.UnitsPerFrame;
}

}  // namespace kestrel::motion
