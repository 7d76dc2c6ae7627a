#include "core/sim/ats_beacons.h"

#include <algorithm>
#include <cstdlib>
#include <initializer_list>

#include "core/sim/ats_pattern.h"

namespace kestrel {

namespace {

constexpr int32_t kBeaconFrames = 15;

bool among(int32_t code, std::initializer_list<int32_t> codes) {
  return std::find(codes.begin(), codes.end(), code) != codes.end();
}

// [ATS_Alert] 1 at the beacon before the signal: the step that a restricting aspect allows.
void speedStep(DriveContext& ctx, int32_t code) {
  const auto& ss = ctx.line.Speed_Signal;
  auto step = [&](size_t i) {
    if (i < ss.size()) ctx.train.checkSpeed = ss[i];
  };
  if (among(code, {18, 22})) step(1);
  if (among(code, {8, 11, 14, 19, 23, 27, 31})) step(2);
  if (among(code, {15, 24, 32})) step(3);
  if (among(code, {9, 12, 16, 20, 25, 28, 29, 33, 34})) step(4);
  if (among(code, {26, 32})) ctx.train.checkSpeed = kNone999;
}

}  // namespace

bool isStopCode(int32_t code) {
  return among(code, {1, 4, 7, 10, 13, 17, 21, 26, 30, 35});
}

bool isClearCode(int32_t code) {
  return among(code, {9, 12, 16, 20, 25, 28, 29, 33, 34, 40});
}

void type0Beacons(DriveContext& ctx) {
  TrainState& t = ctx.train;
  const VehicleParams& v = ctx.vehicle;
  const int32_t signal = t.signals.currentSignal;
  if (!t.AtsEnabled || v.ATS_Type >= 2 || signal < 0) return;
  const SignalRow& row = ctx.line.Signal[static_cast<size_t>(signal)];
  // The signal's own code: near the signal currentCode is already cleared.
  const int32_t code = t.signals.signalCode[static_cast<size_t>(signal)];
  const int32_t frame = t.MovieFrame;
  if (std::abs(frame - row.f(7)) < kBeaconFrames) {
    if (v.ATS_Alert == 0 && row.kind() >= 1 && isStopCode(code)) t.checkSpeed = 998;
    if (v.ATS_Alert == 1 && isClearCode(code)) t.checkSpeed = kNone999;
  }
  if (std::abs(frame - row.f(8)) < kBeaconFrames) {
    if (among(code, {7, 10, 13, 17, 21, 26, 30, 35})) t.checkSpeed = 0;
    if (v.ATS_Alert == 1) speedStep(ctx, code);
    // The signal no longer calls for a stop: its type-1 stop pattern goes.
    if (t.checkSpeed != 0) cancelSignalPattern(ctx, signal);
  }
}

}  // namespace kestrel
