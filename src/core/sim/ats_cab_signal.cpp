#include "core/sim/ats_cab_signal.h"

#include "core/sim/brake_requests.h"

namespace kestrel {

void cabSignalControl(DriveContext& ctx) {
  TrainState& t = ctx.train;
  SignalState& s = t.signals;
  if (ctx.vehicle.ATS_Type != 2) return;
  const int32_t c = t.currentCode;
  const auto& ss = ctx.line.Speed_Signal;
  if (c >= 22 && c <= 29 && static_cast<size_t>(c - 22) < ss.size() &&
      t.speed > ss[static_cast<size_t>(c - 22)] - 0.4) {
    requestAutoBrake(ctx, c == 22 ? AutoBrake::Emergency : AutoBrake::Service, Pending::All);
    s.atcBraking = true;
    return;
  }
  if (!s.atcBraking) return;
  s.atcBraking = false;
  releaseAutoService(ctx, Pending::All);
}

}  // namespace kestrel
