#pragma once
// Speed limits ahead and speed-check sections (tick stage 9, after the ATS).
//
// Look-ahead: the first [SpeedLimit] row whose start lies ahead of the train and the two rows after
// it, each with the distance needed to slow to its limit (3 km/h/s plus one second of travel;
// twice the speed in metres when the limit is not below the speed) and the distance remaining.
// The texts of the cab display come from it:
// - next-limit text: the first row ahead, "<m>m <limit>km/h " (its distance in metres, rounded);
// - limit notice: ")<limit>km/h " of the first of the three rows whose limit is below the speed
//   and whose start lies within the needed distance: the driver must brake for it now.
// Rows of kind 3 (field 3: the station stops of the ATS pattern) are no limits and get no text.
//
// [SpeedCheck2]: while a section (start < frame < end) whose speed is below checkSpeed holds the
// train, the cab signal shows that speed's [Lamp_signal] cell and a speed above it raises the ATS
// alarm with its count already run out, so that types 1 and 2 brake on the next tick (while ATS is
// on: the alarm's count runs only then). Outside such sections checkSpeed returns to 999. Neither
// depends on the ATS preference: the section is part of the line, not of the train's ATS.
#include <cstdint>

#include "core/state/drive_context.h"

namespace kestrel {

// The distance (cm) needed to slow from `speed` to `limit`, and the rounded distance to `startCm`.
int32_t limitNeededCm(double limit, double speed);
int32_t limitRemainingCm(double startCm, double distanceRun);

void speedLimitLookAhead(DriveContext& ctx);
void speedCheckSections(DriveContext& ctx);

}  // namespace kestrel
