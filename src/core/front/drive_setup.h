#pragma once
// The initial state of a drive, set once the records are loaded: the start position, clock and
// distance of the start station, the handles (reverser forward, power off, brake at emergency),
// the initial pressures, the engine running and the line voltage rising to 1500 V; the stations
// (a type-0 start station begins with the doors open), the clock text and the preceding train.
#include <cstdint>

#include "core/state/drive_context.h"

namespace kestrel {

struct StartOptions {
  int32_t startStation = 0;  // index into [Station]; 0 starts at [StartPos]
};

// Sets up a freshly zeroed state. Refuses a notched brake with fewer than 3 positions first
// (checkBrakeSteps, FatalError), as the cab window's creation does. Ends with masconupdate, so
// the handle texts and notch images show the initial positions.
void setUpDrive(DriveContext& ctx, const StartOptions& options);

// The clock at the start: the station's departure time less its departure sound (and, away from
// the first station, its arrival sound too), in 1/30 s.
int32_t startClock(const LineData& line, int32_t station);

}  // namespace kestrel
