#include "core/sim/clock.h"

#include <cmath>
#include <numbers>

#include "core/util/rounding.h"

namespace kestrel {

namespace {

struct TimeOfDay {
  int32_t h = 0, m = 0, s = 0;
};

TimeOfDay timeOfDay(int32_t t) {
  TimeOfDay d;
  d.h = t / 108000;
  const int32_t rest = t / 30 - 3600 * d.h;
  d.m = rest / 60;
  d.s = rest - 60 * d.m;
  return d;
}

std::string twoDigits(int32_t v) {
  std::string s = std::to_string(v);
  return s.size() < 2 ? "0" + s : s;
}

}  // namespace

std::string clockTextOf(int32_t tickCounter) {
  const TimeOfDay d = timeOfDay(tickCounter);
  return twoDigits(d.h) + ":" + twoDigits(d.m) + ":" + twoDigits(d.s);
}

ClockHand clockHand(double length, double degrees) {
  const double a = degrees * std::numbers::pi / 180.0;
  return {25 + roundHalfAway(length * std::sin(a)), 25 - roundHalfAway(length * std::cos(a))};
}

void timecalc(DriveContext& ctx, int32_t tickCounter) {
  StationState& st = ctx.train.stations;
  const TimeOfDay d = timeOfDay(tickCounter);
  if (d.s == st.clockSecond) return;
  st.clockSecond = d.s;
  st.clockText = clockTextOf(tickCounter);
  const ClockSection& c = ctx.panel.Clock;
  ClockFace& face = st.clockFace;
  face.drawn = c.drawn();
  if (!face.drawn) return;
  face.hour = clockHand(roundHalfAway(0.6 * c.r), 30.0 * d.h + 0.5 * d.m);
  face.minute = clockHand(c.r, 6.0 * d.m + 0.1 * d.s);
  face.second = clockHand(c.r, 6.0 * d.s);
  face.revision += 1;
}

}  // namespace kestrel
