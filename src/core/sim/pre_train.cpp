#include "core/sim/pre_train.h"

#include <cmath>
#include <cstdlib>
#include <optional>

#include "core/util/rounding.h"

namespace kestrel {

namespace {

// The stop frame of a row's station; nullopt for a station number outside [Station].
std::optional<int32_t> stationFrame(const LineData& line, int32_t station) {
  if (station < 0 || station >= static_cast<int32_t>(line.Station.size())) return std::nullopt;
  return line.Station[static_cast<size_t>(station)].stopFrame();
}

// 1. The speed of the row whose stretch holds the train; the last row's stretch has no end.
void timetableSpeed(DriveContext& ctx) {
  PreTrainState& p = ctx.train.preTrain;
  const auto& rows = ctx.line.Pre_Train.rows;
  for (size_t i = 0; i < rows.size(); ++i) {
    const auto from = stationFrame(ctx.line, rows[i].station);
    if (!from || p.preTrainFrame < *from) continue;
    if (i + 1 < rows.size()) {
      const auto to = stationFrame(ctx.line, rows[i + 1].station);
      if (!to || p.preTrainFrame >= *to) continue;
    }
    p.preTrainSpeed = ctx.train.TickCounter > rows[i].departure ? rows[i].speed : 0;
  }
}

// 2. Its threshold: the [SpeedUnit] filming speed at its frame.
void threshold(DriveContext& ctx) {
  PreTrainState& p = ctx.train.preTrain;
  const SpeedUnitRow* found = nullptr;
  for (const SpeedUnitRow& r : ctx.line.SpeedUnit)
    if (r.start <= p.preTrainFrame && p.preTrainFrame < r.end) found = &r;
  if (!found) return;
  p.preTrainStep = roundHalfAway(found->vStart + (found->vEnd - found->vStart) / (found->end - found->start) *
                                                     (p.preTrainFrame - found->start));
}

// 3. The frames, as the player's train advances them, except that a threshold of 0 moves the
// accumulator / 0.3 frames.
void advance(DriveContext& ctx) {
  PreTrainState& p = ctx.train.preTrain;
  const double v = p.preTrainSpeed;
  const int32_t direction = v > 0 ? 1 : (v < 0 ? -1 : 0);
  p.preTrainAccum += std::abs(roundHalfAway(v));
  if (p.preTrainAccum < p.preTrainStep) return;
  if (p.preTrainStep <= 0) {
    const double frames = std::fabs(p.preTrainAccum / 0.3);
    p.preTrainFrame += direction * roundHalfAway(frames);
    p.preTrainAccum = roundHalfAway(p.preTrainAccum - frames * 0.3);
  } else {
    p.preTrainFrame += direction * (p.preTrainAccum / p.preTrainStep);
    p.preTrainAccum %= p.preTrainStep;
  }
}

}  // namespace

void advancePreTrain(DriveContext& ctx) {
  if (ctx.train.preTrain.preTrainFrame <= ctx.train.MovieFrame) return;
  timetableSpeed(ctx);
  threshold(ctx);
  advance(ctx);
}

void removePreTrain(DriveContext& ctx) {
  PreTrainState& p = ctx.train.preTrain;
  if (p.preTrainFrame > ctx.line.Pre_Train.removePos) p.preTrainFrame = 0;
}

void placePreTrain(DriveContext& ctx) {
  PreTrainState& p = ctx.train.preTrain;
  p = PreTrainState{};
  for (const PreTrainRow& row : ctx.line.Pre_Train.rows) {
    if (row.departure <= ctx.train.TickCounter) continue;
    p.preTrainFrame = stationFrame(ctx.line, row.station).value_or(0);
    return;
  }
}

void setUpPreTrain(DriveContext& ctx, int32_t startStation) {
  if (startStation > 0) {
    placePreTrain(ctx);
    return;
  }
  ctx.train.preTrain = PreTrainState{};
  ctx.train.preTrain.preTrainFrame = ctx.line.Pre_Train.startPos;
}

}  // namespace kestrel
