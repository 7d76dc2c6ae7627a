// The gradient post, the speed-limit post, the other-signs post; the stage's order and the reset.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "core/present/trackside_pictures.h"
#include "core/sim/gradient.h"
#include "core/sim/speed_checks.h"

namespace kestrel::trackside {

namespace {

constexpr const char* kLimitPost = "img_unten_limit";
constexpr int32_t kSecondPostFrames = 200;

std::string oneDecimal(double v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.1f", v);
  return buf;
}

int spritePattern(const DriveContext& ctx, const char* name) {
  const Sprite* s = ctx.sprites.find(name);
  return s ? s->pattern : 0;
}

// 2. The rows that hold the train post their limit; a match.
bool postLimitsInForce(DriveContext& ctx) {
  TracksideState& ts = ctx.train.trackside;
  bool match = false;
  for (const SpeedLimitRow& r : ctx.line.SpeedLimit) {
    if (!(r.start() <= ctx.train.MovieFrame && ctx.train.MovieFrame < r.end())) continue;
    ts.limitBlinking = false;
    ts.secondPost = false;
    ctx.sprites.setVisible(kLimitPost, true);
    if (r.limit() != ts.lastLimitPosted) ctx.sprites.setPattern(kLimitPost, r.f(2));
    ts.lastLimitPosted = r.limit();
    match = true;
  }
  return match;
}

// 4. No row holds the train: a second post stands for 200 frames past a row's end, then the post
// goes blank.
void secondPosts(DriveContext& ctx) {
  TracksideState& ts = ctx.train.trackside;
  const int32_t frame = ctx.train.MovieFrame;
  for (const SpeedLimitRow& r : ctx.line.SpeedLimit) {
    if (ts.limitBlinking || r.f(6) == 0) continue;
    if (r.end() < frame && frame < r.end() + kSecondPostFrames) {
      ctx.sprites.setPattern(kLimitPost, r.f(6));
      ts.secondPost = true;
      ts.lastLookAheadPattern = r.f(6);
    }
    if (r.end() + kSecondPostFrames <= frame && frame < r.end() + 2 * kSecondPostFrames)
      ts.secondPost = false;
  }
  if (ts.limitBlinking && ts.secondPost) ts.secondPost = false;
  if (spritePattern(ctx, kLimitPost) != 0 && !ts.secondPost) {
    ctx.sprites.setPattern(kLimitPost, 0);
    ts.lastLimitPosted = 0;
    ts.lastLookAheadPattern = 999;
  }
}

// Whether [Sign] row `r`'s time condition lets it show now.
bool signShows(const DriveContext& ctx, const IntRow<4>& r) {
  const int32_t when = r.f(4);
  if (when >= 1000) return ctx.train.TickCounter >= when;
  if (when >= 1) return ctx.train.tickCount - ctx.train.trackside.signSince < when * 10;
  return true;
}

}  // namespace

void blinkLimitPost(DriveContext& ctx) {
  if (!ctx.train.trackside.limitBlinking) return;
  const int32_t n = ctx.train.tickCount;
  if (n % 10 == 0)
    ctx.sprites.setVisible(kLimitPost, true);
  else if (n % 5 == 0)
    ctx.sprites.setVisible(kLimitPost, false);
}

void updateGradientPost(DriveContext& ctx) {
  TrainState& t = ctx.train;
  TracksideState& ts = t.trackside;
  const motion::SlopePlace place = motion::slopePlace(ctx.line, t.MovieFrame);
  if (place.row >= 0) {
    const SlopeRow& row = ctx.line.Slope[static_cast<size_t>(place.row)];
    // A new post only where the gradient changes: rows of the same gradient share the first one's.
    if (row.gradient != Fixed() && row.gradient != t.headGradient)
      ctx.sprites.setPattern("img_unten_slope", place.row + 1);
    ts.gradientText = oneDecimal(row.gradient.toDouble());
    ts.gradientAbsText = oneDecimal(std::fabs(row.gradient.toDouble()));
  } else if (place.level) {
    ctx.sprites.setPattern("img_unten_slope", 0);
    ts.gradientText = ts.gradientAbsText = "L";
  }
  motion::updateHeadGradient(ctx);
}

void updateLimitPost(DriveContext& ctx) {
  TrainState& t = ctx.train;
  TracksideState& ts = t.trackside;
  const auto& rows = ctx.line.SpeedLimit;
  // 1. The look-ahead row: the first whose start lies beyond the train.
  const auto ahead = std::find_if(rows.begin(), rows.end(),
                                  [&](const SpeedLimitRow& r) { return r.startCm > t.distanceRun; });
  const bool within = ahead != rows.end() && limitRemainingCm(ahead->startCm, t.distanceRun) <
                                                 limitNeededCm(ahead->limit(), t.speed);
  bool match = false;
  if (!within) {
    match = postLimitsInForce(ctx);
  } else {
    // 3. Within braking distance of the row ahead: its post, blinking.
    if (ahead->f(2) != ts.lastLookAheadPattern) ctx.sprites.setPattern(kLimitPost, ahead->f(2));
    ts.lastLookAheadPattern = ahead->f(2);
    ts.limitBlinking = true;
    ts.secondPost = false;
    match = true;
  }
  if (!match) secondPosts(ctx);
}

void updateOtherSign(DriveContext& ctx) {
  TrainState& t = ctx.train;
  const auto& rows = ctx.line.Sign;
  int32_t found = -1;
  for (size_t i = 0; i < rows.size() && found < 0; ++i)
    if (rows[i].f(2) <= t.MovieFrame && t.MovieFrame < rows[i].f(3)) found = static_cast<int32_t>(i);
  if (found != t.trackside.signRow) {
    t.trackside.signRow = found;
    t.trackside.signSince = t.tickCount;
  }
  const bool shown = found >= 0 && signShows(ctx, rows[static_cast<size_t>(found)]);
  ctx.sprites.setPattern("img_unten_other", shown ? rows[static_cast<size_t>(found)].f(1) : 0);
}

void updateTracksideDisplays(DriveContext& ctx) {
  updateStopLines(ctx);
  updateRemainingBar(ctx);
  updateLimitPost(ctx);
  updateOtherSign(ctx);
}

void resetTrackside(DriveContext& ctx) {
  ctx.train.trackside = TracksideState{};
  ctx.sprites.setVisible(kLimitPost, true);
}

}  // namespace kestrel::trackside
