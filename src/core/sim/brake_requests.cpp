#include "core/sim/brake_requests.h"

#include "core/state/pending_flags.h"

namespace kestrel {

namespace {

void setAutoBrakes(DriveContext& ctx, bool emergency, bool service, Pending pending) {
  TrainState& t = ctx.train;
  const bool changed = t.autoEmergency != emergency || t.autoService != service;
  t.autoEmergency = emergency;
  t.autoService = service;
  if (pending == Pending::All)
    raiseAll(t);
  else
    raiseBrake(t);
  if (changed && ctx.runMasconupdate) ctx.runMasconupdate(ctx);
}

}  // namespace

void requestAutoBrake(DriveContext& ctx, AutoBrake kind, Pending pending) {
  const TrainState& t = ctx.train;
  setAutoBrakes(ctx, t.autoEmergency || kind == AutoBrake::Emergency, t.autoService || kind == AutoBrake::Service,
                pending);
}

void releaseAutoService(DriveContext& ctx, Pending pending) {
  setAutoBrakes(ctx, ctx.train.autoEmergency, false, pending);
}

void releaseAutoBrakes(DriveContext& ctx) {
  setAutoBrakes(ctx, false, false, Pending::Brake);
}

}  // namespace kestrel
