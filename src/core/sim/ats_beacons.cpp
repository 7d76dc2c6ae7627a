#include "core/sim/ats_beacons.h"

#include <cstdlib>

#include "core/sim/ats_pattern.h"
#include "core/sim/signal_codes.h"

namespace kestrel {

namespace {

using signal_codes::among;

constexpr int32_t kBeaconFrames = 15;

// [ATS_Alert] 1 at the beacon before the signal: the step that a restricting aspect allows.
void speedStep(DriveContext& ctx, int32_t code) {
  const auto& ss = ctx.line.Speed_Signal;
  auto step = [&](size_t i) {
    if (i < ss.size()) ctx.train.checkSpeed = ss[i];
  };
  if (among(code, signal_codes::kRestricted)) step(1);
  if (among(code, signal_codes::kCaution)) step(2);
  if (among(code, signal_codes::kReducedSpeed)) step(3);
  if (among(code, signal_codes::kClearStep)) step(4);
  if (among(code, {26, 32})) ctx.train.checkSpeed = kNone999;
}

}  // namespace

bool isStopCode(int32_t code) {
  return among(code, signal_codes::kStop);
}

bool isClearCode(int32_t code) {
  return among(code, signal_codes::kClear);
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
    if (among(code, signal_codes::kStopAtSignal)) t.checkSpeed = 0;
    if (v.ATS_Alert == 1) speedStep(ctx, code);
    // The signal no longer calls for a stop: its type-1 stop pattern goes.
    if (t.checkSpeed != 0) cancelSignalPattern(ctx, signal);
  }
}

}  // namespace kestrel
