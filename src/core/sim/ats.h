#pragma once
// Signals, ATS and speed checks as one stage of the tick (stage 9, after the gradient sampling),
// in this order: the aspects from the preceding train, the signal codes, the type-0 beacons, the
// alarm (type 0) or its count (types 1 and 2), the cab-signal control (type 2), the speed pattern
// (type 1), the speed-limit look-ahead and the speed-check sections, the rollback protection.
#include "core/state/drive_context.h"

namespace kestrel {

void runSignalsAndAts(DriveContext& ctx);

// The ATS state "none" (checkSpeed 999, no pattern, no alarm, the pattern and type-2 service
// brake released) with its lamps: [Lamp_Ats1] lit while ATS is on, the others dark. At the start
// of a drive, and by the station jump and the restore (the driver resets an emergency brake).
void resetAts(DriveContext& ctx);

}  // namespace kestrel
