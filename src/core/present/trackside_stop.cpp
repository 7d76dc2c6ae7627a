// The stop marker, the three stop lines and the remaining-distance bar.
#include "core/present/trackside_pictures.h"
#include "core/sim/stations.h"
#include "core/util/rounding.h"

namespace kestrel::trackside {

namespace {

constexpr double kOutOfSight = -100;

// Past station l's platform and short of the next one's (or l is the last station).
bool betweenStations(const DriveContext& ctx, size_t l) {
  const auto& rows = ctx.line.Station;
  const double d = ctx.train.distanceRun;
  if (d <= rows[l].platformEndCm) return false;
  return l + 1 >= rows.size() || d < rows[l + 1].platformStartCm;
}

int32_t platformHalfWidth(const DriveContext& ctx) {
  const int32_t next = ctx.train.stations.nextStopStation;
  if (next < 0 || next >= static_cast<int32_t>(ctx.line.Station.size())) return 0;
  return ctx.line.Station[static_cast<size_t>(next)].halfWidthCm();
}

void placeLine(DriveContext& ctx, const char* name, double e, bool middle) {
  Sprite* s = ctx.sprites.find(name);
  if (!s) return;
  const double d = ctx.train.distanceToStop;
  const double P = ctx.line.PerspectiveValues.P;
  if (!(d < 10000 && e > 0 && P != 0)) {
    s->y = kOutOfSight;
    return;
  }
  // The thickness follows the stop itself for all three lines.
  s->height = d < 2000 ? roundHalfAway(d / 100 * -0.15 + 4) : (middle ? 1 : 0);
  const double x = e / 100;
  const double H = ctx.settings.Disp.MovieHeight;
  s->y = roundHalfEven(H - x / (x + P) * ctx.line.PerspectiveValues.K);
}

}  // namespace

void updateStopMarker(DriveContext& ctx) {
  const auto count = ctx.line.Station.size();
  for (size_t l = 0; l < count; ++l) {
    if (firstTickInsidePlatform(ctx, static_cast<int32_t>(l)))
      ctx.sprites.setPattern("img_unten_teimoku", static_cast<int>(l) + 1);
    if (betweenStations(ctx, l)) ctx.sprites.setPattern("img_unten_teimoku", 0);
  }
}

void updateStopLines(DriveContext& ctx) {
  const double d = ctx.train.distanceToStop;
  const double w = platformHalfWidth(ctx);
  placeLine(ctx, "img_unten_teimokuS", d - w, false);
  placeLine(ctx, "img_unten_teimokuM", d, true);
  placeLine(ctx, "img_unten_teimokuE", d + w, false);
}

void updateRemainingBar(DriveContext& ctx) {
  Sprite* s = ctx.sprites.find("img_unten_remain");
  if (!s) return;
  const double d = ctx.train.distanceToStop;
  const double H = ctx.settings.Disp.MovieHeight;
  s->visible = d >= -2000 && d < 20000;
  if (!s->visible) return;
  if (d >= 10000)
    s->pattern = 0;
  else if (d >= 5000)
    s->pattern = 1;
  else if (d >= 0)
    s->pattern = 2;
  else
    s->pattern = 3;
  // Over the last 20 m (and 20 m past) the scale is ten times finer.
  const double scale = d >= 2000 ? H / 20000 : H / 2000;
  s->y = H - roundHalfEven(scale * d) - 2 * H;
}

}  // namespace kestrel::trackside
