// What the driver may call out at the train's position, set by the tick for the call-out key.
//
// - The time check is due while a [Time] row's window holds the train (start < frame < end) and
//   that row has not been checked on this pass.
// - A limit call-out is requested for the first [SpeedLimit] row with a post ahead, once the
//   train is within the distance it needs to slow to the limit (as the speed-limit post blinks),
//   and for the row whose range holds the train. The clip is the [LimitKanko] entry one below the
//   post's pattern number, so the post with cell k is called out by clip k - 1.
// - A [Cross] row (fields: call-out range start, range end, picture, clip number, crossing
//   position) is pending from the tick the train enters its range until it is called out or the
//   train leaves the range.
#include <algorithm>

#include "core/present/callout_queue.h"
#include "core/util/rounding.h"

namespace kestrel {

namespace {

CalloutState& prepare(DriveContext& ctx) {
  CalloutState& c = ctx.train.callout;
  if (c.crossInside.size() != ctx.line.Cross.size()) c.crossInside.assign(ctx.line.Cross.size(), false);
  if (c.timeChecked.size() != ctx.line.Time.size()) c.timeChecked.assign(ctx.line.Time.size(), false);
  return c;
}

bool crossingHolds(const IntRow<5>& row, int32_t frame) {
  return row.f(1) <= frame && frame < row.f(2);
}

void limitRequests(DriveContext& ctx, CalloutState& c) {
  const TrainState& t = ctx.train;
  c.limitRequests = {-1, -1};
  const auto& rows = ctx.line.SpeedLimit;
  auto ahead = std::find_if(rows.begin(), rows.end(),
                            [&](const SpeedLimitRow& r) { return r.startCm > t.distanceRun && r.f(2) >= 1; });
  if (ahead != rows.end()) {
    const double v = t.speed, limit = ahead->limit();
    const double needed =
        limit < v ? roundHalfEven((limit + v) * (v - limit) / 21.6 + v) * 100.0 : roundHalfEven(v) * 200.0;
    if (roundHalfEven(ahead->startCm - t.distanceRun) < needed) c.limitRequests[0] = ahead->f(2) - 1;
  }
  for (const SpeedLimitRow& r : rows)
    if (r.f(2) >= 1 && r.start() <= t.MovieFrame && t.MovieFrame < r.end()) c.limitRequests[1] = r.f(2) - 1;
}

}  // namespace

void updateCalloutTriggers(DriveContext& ctx) {
  CalloutState& c = prepare(ctx);
  const int32_t f = ctx.train.MovieFrame;

  c.dueNumber = CalloutState::kNone;
  for (size_t i = 0; i < ctx.line.Time.size(); ++i) {
    const IntRow<3>& row = ctx.line.Time[i];
    if (row.f(1) < f && f < row.f(2) && !c.timeChecked[i]) c.dueNumber = CalloutState::kTimeCheck;
  }
  limitRequests(ctx, c);
  // Once nothing is due, the same call-out may be made again at the next place that asks for it.
  if (c.dueNumber == CalloutState::kNone && !c.anyLimitRequest()) c.lastPlayedMark = CalloutState::kNoMark;

  for (size_t i = 0; i < ctx.line.Cross.size(); ++i) {
    const bool inside = crossingHolds(ctx.line.Cross[i], f);
    const auto row = static_cast<int32_t>(i);
    if (inside && !c.crossInside[i]) c.crossingPending.push_back(row);
    if (!inside) std::erase(c.crossingPending, row);
    c.crossInside[i] = inside;
  }
}

void resetCallouts(DriveContext& ctx) {
  CalloutState& c = prepare(ctx);
  c.clearSignalMarkers();
  ctx.train.departureCalloutRequest = false;
  ctx.train.departureCalloutDue = false;
  c.dueNumber = CalloutState::kNone;
  c.limitRequests = {-1, -1};
  c.lastPlayedMark = CalloutState::kNoMark;
  c.timeChecked.assign(c.timeChecked.size(), false);
  c.crossingPending.clear();
  c.crossInside.assign(c.crossInside.size(), false);  // every row holding the train is entered anew
}

}  // namespace kestrel
