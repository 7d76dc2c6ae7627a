// The traffic lights' cycles, their picture and the cab indicator they drive.
#include <cstdlib>

#include "core/present/lineside_pictures.h"

namespace kestrel::lineside {

namespace {

// Within this many frames of a light's end its picture is cleared; within as many of the
// indicator's end, its notice.
constexpr int32_t kClearFrames = 15;

bool near(int32_t frame, int32_t at) {
  return std::abs(at - frame) < kClearFrames;
}

void advance(const TrafficSignalRow& row, TrafficLightCycle& c) {
  c.remaining -= 1;
  if (c.remaining >= 1) return;
  c.phase = (c.phase + 1) % TrafficSignalRow::kPhases;
  c.remaining = row.phaseDuration(c.phase);
  if (row.phaseDuration(c.phase) != 0) c.litPhase = c.phase;
}

void showPicture(DriveContext& ctx) {
  const auto& rows = ctx.line.TrafficSignal;
  const auto& lights = ctx.train.lineside.lights;
  const int32_t frame = ctx.train.MovieFrame;
  Sprite* sprite = ctx.sprites.find(kTrafficSignalListName);
  if (!sprite) return;
  sprite->visible = false;
  for (size_t i = 0; i < rows.size(); ++i) {
    const TrafficSignalRow& row = rows[i];
    if (!(row.start() <= frame && frame < row.end()) || near(frame, row.end())) continue;
    const int32_t lit = lights[i].litPhase;
    if (row.phaseDuration(lit) == 0) return;  // no phase with a picture entered yet
    sprite->pattern = row.phasePattern(lit);
    sprite->visible = true;
    return;
  }
}

void driveIndicator(DriveContext& ctx) {
  const auto& rows = ctx.line.TrafficSignal;
  LinesideState& s = ctx.train.lineside;
  const int32_t frame = ctx.train.MovieFrame;
  s.indicatorCell = -1;
  s.indicatorNotice = false;
  for (size_t i = 0; i < rows.size(); ++i) {
    const TrafficSignalRow& row = rows[i];
    if (!row.drivesIndicator() || !(row.start() <= frame && frame < row.indicatorEnd())) continue;
    const bool flagged = row.phaseFlag(s.lights[i].litPhase) == 1;
    s.indicatorCell = flagged ? row.f(25) : row.f(24);
    s.indicatorNotice = !flagged && !near(frame, row.indicatorEnd());
    return;
  }
}

}  // namespace

void startTrafficLights(DriveContext& ctx) {
  auto& lights = ctx.train.lineside.lights;
  lights.assign(ctx.line.TrafficSignal.size(), TrafficLightCycle{});
  for (size_t i = 0; i < lights.size(); ++i) lights[i].remaining = ctx.line.TrafficSignal[i].phaseDuration(0);
}

void updateTrafficLights(DriveContext& ctx) {
  auto& lights = ctx.train.lineside.lights;
  if (lights.size() != ctx.line.TrafficSignal.size()) startTrafficLights(ctx);
  for (size_t i = 0; i < lights.size(); ++i) advance(ctx.line.TrafficSignal[i], lights[i]);
  showPicture(ctx);
  driveIndicator(ctx);
}

}  // namespace kestrel::lineside
