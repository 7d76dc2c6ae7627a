#include "core/grade/brake_guidance.h"

#include <cmath>

#include "core/ports/recording_mixer.h"
#include "core/sim/brake_force.h"
#include "core/sim/brake_system.h"
#include "core/sim/electric_brake.h"
#include "core/sim/frame_advance.h"
#include "core/sim/motion.h"
#include "core/sim/scheduler.h"

namespace kestrel::grade {

namespace {

constexpr int64_t kHorizonUs = 180'000'000;

// A private copy of the drive's working state, with ports that do nothing, for the rules to run on.
struct Copy {
  TrainState train;
  ControlState control;
  KeyState keys;
  ProgramInputState program;
  SpriteScene sprites;
  RecordingMixer mixer;
  DriveRandom random;
  CalloutPoints callouts;
  DriveContext ctx;

  explicit Copy(const DriveContext& c)
      : train(c.train),
        control(c.control),
        keys(c.keys),
        ctx{c.settings, c.vehicle, c.panel, c.line, c.constants, train, control, keys,
            program,    sprites,   mixer,   random, callouts} {}
};

}  // namespace

std::optional<double> stoppingDistance(const DriveContext& real, int32_t handle, double maxCm, ClockPhase phase) {
  Copy copy(real);
  TrainState& t = copy.train;
  copy.control.powerHandle = 0;
  t.powerNotch = 0;
  t.powerPending = false;
  if (copy.control.brakeHandle != handle) {
    copy.control.brakeHandle = handle;
    t.brakePending = t.sapPending = t.ebPending = true;  // as a handle movement raises them
  }
  const double from = t.distanceRun;
  int64_t event = phase.toEventUs, tick = phase.toTickUs;
  while (std::min(event, tick) <= kHorizonUs) {
    if (event <= tick) {  // the 33 ms event's brake and distance steps; the power is off
      t.netForce = Fixed();
      t.resistForce = Fixed();
      brakes::advanceAirBrake(copy.ctx);
      motion::advanceDistance(copy.ctx);
      event += Scheduler::kMultimediaPeriodUs;
    } else {
      brakes::updateBrakeForce(copy.ctx);
      motion::runTickMotion(copy.ctx);
      brakes::updateElectricBrake(copy.ctx);
      tick += Scheduler::kTickPeriodUs;
      if (t.speed <= 0) return t.distanceRun - from;
    }
    if (t.distanceRun - from > maxCm) return std::nullopt;
  }
  return std::nullopt;
}

std::optional<BrakeGuidance> brakeGuidance(const DriveContext& ctx, ClockPhase phase) {
  const TrainState& t = ctx.train;
  if (t.speed <= 0 || t.distanceToStop <= 0 || t.distanceToStop > kGuidanceRangeCm) return std::nullopt;
  BrakeGuidance g;
  g.station = t.stations.nextStopStation;
  g.remainingCm = t.distanceToStop;
  g.currentStep = -ctx.control.brakeHandle;
  const double reach = g.remainingCm + kGuidanceOverrunCm;
  if (g.currentStep > 0 && ctx.control.powerHandle == 0)
    g.currentStopCm = stoppingDistance(ctx, ctx.control.brakeHandle, reach, phase);
  for (int32_t step = 1; step < ctx.nB(); ++step) g.steps.push_back({step, stoppingDistance(ctx, -step, reach, phase)});
  return g;
}

}  // namespace kestrel::grade
