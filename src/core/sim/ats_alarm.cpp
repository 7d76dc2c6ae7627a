#include "core/sim/ats_alarm.h"

#include "core/sim/brake_requests.h"

namespace kestrel {

void raiseAtsAlarm(DriveContext& ctx) {
  TrainState& t = ctx.train;
  if (t.atsAlarm) return;
  t.atsAlarm = true;
  t.atsAlarmTicks = 0;
  ctx.sprites.setVisible("img_Lamp_Ats1", false);
  ctx.sprites.setVisible("img_Lamp_Ats2", true);
  if (!ctx.mixer.isPlaying(ctx.vehicle.Sound_Ats2)) ctx.mixer.playLooped(ctx.vehicle.Sound_Ats2);
}

void requestAtsEmergency(DriveContext& ctx) {
  if (ctx.train.autoEmergency) return;
  requestAutoBrake(ctx, AutoBrake::Emergency, Pending::Brake);
  ctx.mixer.playLooped(ctx.vehicle.Sound_Ats1);
}

void type0Alarm(DriveContext& ctx) {
  TrainState& t = ctx.train;
  SignalState& s = t.signals;
  if (!t.AtsEnabled || ctx.vehicle.ATS_Type != 0) return;
  if (s.currentSignal != s.warnedSignal) {
    t.atsAcknowledged = false;
    t.atsAckLatch = false;
    s.warnedSignal = s.currentSignal;
  }
  if (ctx.control.brakeHandle == -ctx.nB()) return;
  const bool raise = ctx.vehicle.ATS_Alert == 1
                         ? t.checkSpeed < t.speed
                         : (t.checkSpeed == 998 && !t.atsAcknowledged) || t.checkSpeed == 0;
  if (!raise) return;
  raiseAtsAlarm(ctx);
  if (t.checkSpeed == 0) requestAtsEmergency(ctx);
}

void alarmTimer(DriveContext& ctx) {
  TrainState& t = ctx.train;
  if (!t.AtsEnabled || ctx.vehicle.ATS_Type == 0 || !t.atsAlarm) return;
  t.atsAlarmTicks += 1;
  if (t.atsAlarmTicks <= ctx.vehicle.ATS_Time * 10) return;
  requestAtsEmergency(ctx);
  t.powerNotch = 0;
}

void atsWarningSounds(DriveContext& ctx) {
  const TrainState& t = ctx.train;
  const VehicleParams& v = ctx.vehicle;
  Mixer& mixer = ctx.mixer;
  if (!t.atsAlarm && mixer.isPlaying(v.Sound_Ats2)) mixer.stop(v.Sound_Ats2);
  if (v.ATS_Cnt < 1) return;
  if (t.atsAckLatch) {
    if (!mixer.isPlaying(v.Sound_Ats3)) mixer.playLooped(v.Sound_Ats3);
  } else if (mixer.isPlaying(v.Sound_Ats3) && mixer.isLooping(v.Sound_Ats3)) {
    mixer.stop(v.Sound_Ats3);
  }
}

}  // namespace kestrel
