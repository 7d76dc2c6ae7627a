#pragma once
// The ATS alarm, the emergency brake it leads to, and the ATS sounds.
//
// The sounds (vehicle sound numbers):
// - [Sound_Ats2], the alarm bell: rings (looped) from the moment the alarm is raised until the
//   driver acknowledges it (space, type 0) or resets the ATS ("r").
// - [Sound_Ats1], the emergency bell: rings (looped) from an ATS emergency brake until the reset.
// - [Sound_Ats3], the acknowledgement chime: the acknowledgement plays it once; with [ATS_Cnt] 1 it
//   goes on ringing until the train is in the next signal's approach section, so that the driver
//   hears that a warning stands acknowledged.
// - [ATS_Warn], the pattern warning of type 1: once, when the warning begins (ats_pattern.h).
#include "core/state/drive_context.h"

namespace kestrel {

// The alarm: [Lamp_Ats1] dark, [Lamp_Ats2] lit, the alarm bell. A fresh alarm counts its ticks
// from 0; an alarm already raised is left as it is.
void raiseAtsAlarm(DriveContext& ctx);
// autoEmergency with the three brake pending flags and the emergency bell, unless already set.
void requestAtsEmergency(DriveContext& ctx);

// Type 0, protection on, brake handle not at emergency: [ATS_Alert] 0 raises the alarm at an
// unacknowledged warning (checkSpeed 998) or a stop (0), [ATS_Alert] 1 when the speed is above
// checkSpeed; a stop also brakes at once. An acknowledgement belongs to the approach section in
// which it was given: in the next section a warning alarms again.
void type0Alarm(DriveContext& ctx);
// Types 1 and 2, protection on: an alarm left standing for [ATS_Time] x 10 ticks brakes the train
// (emergency) and takes the power off.
void alarmTimer(DriveContext& ctx);

// Tick stage 1: the alarm bell stops once the alarm is over; with [ATS_Cnt] 1 the chime of an
// acknowledged warning keeps ringing while the acknowledgement holds.
void atsWarningSounds(DriveContext& ctx);

}  // namespace kestrel
