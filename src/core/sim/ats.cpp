#include "core/sim/ats.h"

#include "core/sim/ats_alarm.h"
#include "core/sim/ats_beacons.h"
#include "core/sim/ats_cab_signal.h"
#include "core/sim/ats_pattern.h"
#include "core/sim/rollback_protection.h"
#include "core/sim/signals.h"
#include "core/sim/speed_checks.h"

namespace kestrel {

void runSignalsAndAts(DriveContext& ctx) {
  updateSignalAspects(ctx);
  updateSignalCodes(ctx);
  type0Beacons(ctx);
  type0Alarm(ctx);
  alarmTimer(ctx);
  cabSignalControl(ctx);
  runSpeedPattern(ctx);
  speedLimitLookAhead(ctx);
  speedCheckSections(ctx);
  rollbackProtection(ctx);
}

void resetAts(DriveContext& ctx) {
  TrainState& t = ctx.train;
  SignalState& s = t.signals;
  t.checkSpeed = kNone999;
  t.currentCode = kNone999;
  t.atsAlarm = false;
  t.atsAcknowledged = false;
  t.atsAlarmTicks = 0;
  t.atsAckLatch = false;
  t.autoService = false;
  std::deque<std::string> messages = std::move(s.messages);  // the message list is the drive's
  const uint64_t logged = s.messagesLogged;
  s = SignalState{};
  s.messages = std::move(messages);
  s.messagesLogged = logged;
  t.texts.label8.clear();
  t.texts.label9.clear();
  ctx.sprites.setVisible("img_Lamp_Ats1", t.AtsEnabled);
  for (const char* lamp : {"img_Lamp_Ats2", "img_Lamp_Atsp1", "img_Lamp_Atsp2"})
    ctx.sprites.setVisible(lamp, false);
}

}  // namespace kestrel
