#include "core/sim/notices.h"

#include <cmath>

#include "core/sim/signal_codes.h"
#include "core/sim/stations.h"
#include "core/sim/stop_chime.h"
#include "core/util/rounding.h"

namespace kestrel {

namespace {

constexpr double kFarFromStopCm = 25000;
constexpr size_t kTrafficLightLine = 22;

// [InfoLabel] line n, counted from 1; empty beyond the list.
std::string line(const DriveContext& ctx, size_t n) {
  const auto& labels = ctx.settings.InfoLabel;
  return n >= 1 && n <= labels.size() ? labels[n - 1] : std::string{};
}

// 1. At a one-man stop with the doors shut: the door side the platform needs.
void doorSide(const DriveContext& ctx, int32_t a, std::vector<std::string>& items) {
  const TrainState& t = ctx.train;
  if (ctx.line.OneMan == 0 || t.doorsOpen || a > 0) return;
  for (size_t l = 0; l < ctx.line.Station.size(); ++l) {
    const StationRow& r = ctx.line.Station[l];
    if (r.type() != 0 || !insidePlatform(ctx, static_cast<int32_t>(l))) continue;
    const int32_t side = r.platformSide(), chosen = ctx.keys.doorSide;
    if (side == 0 && chosen == 1)
      items.push_back(line(ctx, 8));
    else if (side == 1 && chosen == 0)
      items.push_back(line(ctx, 9));
    else
      items.emplace_back();
  }
}

// 5. The brakes, the alarms, and the signal ahead.
void braking(const DriveContext& ctx, int32_t a, std::vector<std::string>& items) {
  const TrainState& t = ctx.train;
  const int32_t state = t.signals.patternState;
  const int32_t absA = std::abs(a);
  if (t.autoService) {
    if (state > 1 && absA > 0.1)
      items.push_back(line(ctx, 11));
    else if (state > 1)
      items.push_back(line(ctx, 12));
    return;
  }
  if (t.autoEmergency && !ctx.control.driverFlag) {
    if (t.atsAlarm && absA > 0.5)
      items.push_back(line(ctx, 11));
    else if (state < 2 && absA < 0.1)
      items.push_back(line(ctx, 12));
    else if (state >= 2)
      items.push_back(line(ctx, 11));
    return;
  }
  if (t.atsAlarm && t.AtsEnabled) {
    items.push_back(line(ctx, 13));
  } else if (t.vigilanceTicks > 600) {
    items.push_back(line(ctx, 14));
  } else if (ctx.control.driverFlag) {
    items.push_back(line(ctx, 19));
  } else {
    const int32_t code = t.currentCode;
    using signal_codes::among;
    if (among(code, signal_codes::kCaution) && a > 55) items.push_back(line(ctx, 15));
    if (among(code, {15, 24}) && a > 75) items.push_back(line(ctx, 16));
    if (among(code, signal_codes::kRestricted) && a > 25) items.push_back(line(ctx, 17));
    if (t.distanceToStop > kFarFromStopCm && stopApproachDue(t)) items.push_back(line(ctx, 18));
  }
}

// The display's message: the texts of the items, blank-separated, empty items left out.
std::string messageOf(const std::vector<std::string>& items) {
  std::string out;
  for (const std::string& item : items) {
    if (item.empty()) continue;
    if (!out.empty()) out += ' ';
    out += item;
  }
  return out;
}

}  // namespace

std::vector<std::string> noticeItems(const DriveContext& ctx) {
  const TrainState& t = ctx.train;
  const ControlState& c = ctx.control;
  const int32_t a = roundHalfAway(t.speed);
  std::vector<std::string> items;
  doorSide(ctx, a, items);
  if (t.MovieMode == 1 && c.powerHandle > 0) items.push_back(line(ctx, 10));
  if (!t.AtsEnabled && ctx.settings.preferences.AtsOff == 0 && c.powerHandle > 1)
    items.push_back(line(ctx, 20));
  if (a == 0 && !ctx.line.MovieStop.empty() && ctx.line.MovieStop[0] - 200 < t.MovieFrame &&
      t.MovieFrame <= ctx.line.MovieStop[0])
    items.push_back(line(ctx, 21));
  braking(ctx, a, items);
  if (t.lineside.indicatorNotice) items.push_back(line(ctx, kTrafficLightLine));
  return items;
}

void updateDriverFlag(DriveContext& ctx) {
  const TrainState& t = ctx.train;
  bool& F = ctx.control.driverFlag;
  if (!t.autoEmergency && !t.autoService)
    F = false;
  else if (ctx.control.brakeHandle == -ctx.nB() && roundHalfAway(t.speed) == 0)
    F = true;
}

void updateNotices(DriveContext& ctx) {
  updateDriverFlag(ctx);
  TrainState& t = ctx.train;
  const ControlState& c = ctx.control;
  std::string notice;
  std::string message;
  if (c.powerHandle > 0 && t.engineState != 1 && std::abs(roundHalfAway(t.speed)) < 0.5) {
    notice = kEngineStallNotice;
    message = notice.substr(1);
  } else {
    const auto items = noticeItems(ctx);
    for (const std::string& item : items) notice += "0" + item;
    message = messageOf(items);
  }
  if (notice == t.noticeText) return;
  t.noticeText = notice;
  t.texts.message = message;
}

}  // namespace kestrel
