#include "core/sim/signals.h"

#include <algorithm>

#include "core/sim/stations.h"

namespace kestrel {

namespace {

constexpr int32_t kCodes[10][6] = {
    {1, 2, 2, 2, 3, 3},       {4, 4, 4, 5, 6, 6},       {7, 7, 8, 8, 9, 9},       {10, 10, 11, 11, 12, 12},
    {13, 13, 14, 15, 16, 16}, {17, 18, 19, 19, 20, 20}, {21, 22, 23, 24, 25, 25}, {26, 26, 27, 27, 28, 28},
    {30, 30, 31, 32, 33, 33}, {35, 36, 37, 38, 39, 40},
};

// Within this many frames of its position a signal is passed: the code is cleared.
constexpr int32_t kPassingFrames = 15;

// The aspect of a signal head one section further from the preceding train than the last.
int32_t stepUp(int32_t kind, int32_t k) {
  k += 1;
  switch (kind) {
    case 1:
      return 2;
    case 2:
      return k < 3 ? 2 : 4;
    case 3:
      return k < 3 ? 2 : k;
    case 4:
      return k >= 3 ? 4 : k;
    default:
      return kind < 6 ? std::min(k, 4) : k;
  }
}

// The signal just behind the preceding train, found from the end of the table; it must lie
// between two signals, so a preceding train beyond the last signal holds none.
int32_t signalBehind(const std::vector<SignalRow>& rows, int32_t frame) {
  for (int32_t s = static_cast<int32_t>(rows.size()) - 2; s >= 0; --s)
    if (rows[static_cast<size_t>(s)].position() < frame &&
        frame <= rows[static_cast<size_t>(s) + 1].position())
      return s;
  return -1;
}

void aspectsBehindPreTrain(DriveContext& ctx, std::vector<int32_t>& aspect, int32_t n) {
  const auto& rows = ctx.line.Signal;
  const int32_t frame = ctx.train.preTrain.preTrainFrame;
  if (frame == 0) return;
  int32_t s = signalBehind(rows, frame);
  while (s >= 0 && !hasSignalHead(rows[static_cast<size_t>(s)])) --s;
  // The first signal of the line is held too: a preceding train just past it is no reason to
  // show clear behind it.
  if (s < 0) return;
  aspect[static_cast<size_t>(s)] = 0;
  int32_t k = 0;
  for (int32_t l = 1; k < n - 1 && l <= s; ++l) {
    const auto t = static_cast<size_t>(s - l);
    if (hasSignalHead(rows[t])) {
      k = stepUp(rows[t].kind(), k);
      aspect[t] = k;
    } else {
      aspect[t] = aspect[t + 1];
    }
  }
}

bool fixedAspect(const DriveContext& ctx, const SignalRow& row) {
  switch (row.mode()) {
    case 1:
      return ctx.train.TickCounter < row.f(10);
    case 2:
      return true;
    case 3:
      return !departureReady(ctx, row.f(11));
    default:
      return false;
  }
}

}  // namespace

std::optional<int32_t> signalCodeFor(int32_t kind, int32_t aspect, int32_t maxSpeed) {
  if (kind < 0 || kind > 9 || aspect < 0 || aspect > 5) return std::nullopt;
  if (aspect == 5 && maxSpeed >= 161) {
    if (kind == 7) return 29;
    if (kind == 8) return 34;
  }
  return kCodes[kind][aspect];
}

void updateSignalAspects(DriveContext& ctx) {
  const auto& rows = ctx.line.Signal;
  SignalState& s = ctx.train.signals;
  const int32_t n = static_cast<int32_t>(ctx.line.Speed_Signal.size());
  s.aspect.assign(rows.size(), n - 1);
  aspectsBehindPreTrain(ctx, s.aspect, n);
  // A station movie holds every signal at its fixed aspect while it plays.
  const bool stationMovie = ctx.train.MovieMode == 1;
  for (size_t i = 0; i < rows.size(); ++i)
    if (stationMovie || fixedAspect(ctx, rows[i])) s.aspect[i] = rows[i].f(9);
}

void updateSignalCodes(DriveContext& ctx) {
  const auto& rows = ctx.line.Signal;
  TrainState& t = ctx.train;
  SignalState& s = t.signals;
  s.signalCode.assign(rows.size(), 0);
  s.currentSignal = -1;
  t.currentCode = kNone999;
  const int32_t frame = t.MovieFrame;
  for (size_t i = 0; i < rows.size(); ++i) {
    const SignalRow& row = rows[i];
    const int32_t aspect = i < s.aspect.size() ? s.aspect[i] : 0;
    int32_t code = aspect != 0 ? 12 : 0;
    if (row.approachStart() <= frame && frame < row.position()) {
      // A kind or aspect outside the table leaves the default code.
      code = signalCodeFor(row.kind(), aspect, ctx.vehicle.MaxSpeed).value_or(code);
      t.currentCode = code;
      s.currentSignal = static_cast<int32_t>(i);
    }
    s.signalCode[i] = code;
  }
  if (s.currentSignal >= 0 && rows[static_cast<size_t>(s.currentSignal)].position() - frame < kPassingFrames)
    t.currentCode = kNone999;
}

}  // namespace kestrel
