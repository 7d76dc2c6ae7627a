#include "core/sim/speed_checks.h"

#include <algorithm>

#include "core/sim/ats_alarm.h"
#include "core/util/rounding.h"

namespace kestrel {

namespace {

constexpr int32_t kStationStopKind = 3;

std::string limitText(int32_t limit) {
  return std::to_string(limit) + "km/h ";
}

void limitTexts(DriveContext& ctx) {
  TrainState& t = ctx.train;
  const auto& rows = ctx.line.SpeedLimit;
  t.texts.nextLimit.clear();
  t.texts.limitNotice.clear();
  bool first = true;
  for (const LimitLookAhead& a : t.signals.lookAhead) {
    if (a.row < 0 || rows[static_cast<size_t>(a.row)].f(3) == kStationStopKind) continue;
    if (first)
      t.texts.nextLimit = std::to_string(roundHalfAway(a.remainingCm / 100.0)) + "m " + limitText(a.limit);
    first = false;
    if (t.texts.limitNotice.empty() && a.limit < t.speed && a.remainingCm < a.neededCm)
      t.texts.limitNotice = ")" + limitText(a.limit);
  }
}

// The [Lamp_signal] cell whose list entry is `speed`; -1 when none is.
int32_t lampCellOf(const PanelLayout& panel, int32_t speed) {
  const auto& list = panel.Lamp_signalPatterns;
  for (size_t i = 0; i < list.size(); ++i)
    if (list[i] && *list[i] == speed) return static_cast<int32_t>(i);
  return -1;
}

}  // namespace

int32_t limitNeededCm(double limit, double speed) {
  if (limit < speed) return roundHalfAway((limit + speed) * (speed - limit) / 21.6 + speed) * 100;
  return roundHalfAway(speed) * 200;
}

int32_t limitRemainingCm(double startCm, double distanceRun) {
  return roundHalfAway(startCm - distanceRun);
}

void speedLimitLookAhead(DriveContext& ctx) {
  TrainState& t = ctx.train;
  const auto& rows = ctx.line.SpeedLimit;
  const auto ahead = std::find_if(rows.begin(), rows.end(),
                                  [&](const SpeedLimitRow& r) { return r.startCm > t.distanceRun; });
  auto next = static_cast<size_t>(ahead - rows.begin());
  for (LimitLookAhead& a : t.signals.lookAhead) {
    a = LimitLookAhead{};
    if (next >= rows.size()) continue;
    const SpeedLimitRow& r = rows[next];
    a.row = static_cast<int32_t>(next++);
    a.limit = r.limit();
    a.neededCm = limitNeededCm(r.limit(), t.speed);
    a.remainingCm = limitRemainingCm(r.startCm, t.distanceRun);
  }
  limitTexts(ctx);
}

void speedCheckSections(DriveContext& ctx) {
  TrainState& t = ctx.train;
  SignalState& s = t.signals;
  s.speedCheckSection = -1;
  s.speedCheckImage = -1;
  const auto& rows = ctx.line.SpeedCheck2;
  for (size_t i = 0; i < rows.size(); ++i)
    if (rows[i].f(3) < t.MovieFrame && t.MovieFrame < rows[i].f(4) && rows[i].f(1) < t.checkSpeed)
      s.speedCheckSection = static_cast<int32_t>(i);
  if (s.speedCheckSection < 0) {
    t.checkSpeed = kNone999;
    return;
  }
  const int32_t speed = ctx.line.SpeedCheck2[static_cast<size_t>(s.speedCheckSection)].f(1);
  s.speedCheckImage = lampCellOf(ctx.panel, speed);
  if (t.speed <= speed) return;
  raiseAtsAlarm(ctx);
  t.atsAlarmTicks = ctx.vehicle.ATS_Time * 10;
}

}  // namespace kestrel
