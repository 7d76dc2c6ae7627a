#pragma once
// Stations (tick stages 2 and 10): the station section, and for every [Station] row the
// between-stations text, the platform visit, the arrival by station type and door handling, the
// departure readiness with the next stop, the automatic door closing and the end of the run.
//
// Door handling: on a one-man line ([OneMan] above 0) the driver opens and closes the doors with
// the door key; otherwise the doors open and close automatically at each type-0 stop.
#include <cstdint>
#include <optional>
#include <string>

#include "core/state/drive_context.h"

namespace kestrel {

inline constexpr const char* kAtStationPrefix = "ただいま ";
inline constexpr const char* kNextStationPrefix = "次は ";

// --- Queries for the other rules --------------------------------------------------------------

// The line speed ([Station] field 9) of the section the train is in (tick stage 2); nullopt on a
// line without stations.
std::optional<int32_t> currentSectionLineSpeed(const DriveContext& ctx);
// The departure flag of station `station` (signal control mode 3); false for a number outside
// the table.
bool departureReady(const DriveContext& ctx, int32_t station);
// platform start <= distanceRun <= platform end of `station`.
bool insidePlatform(const DriveContext& ctx, int32_t station);
// True on the first tick that the platform window of `station` (not a passing station) holds the
// train: before tick stage 10 of that tick has run, which marks the visit.
bool firstTickInsidePlatform(const DriveContext& ctx, int32_t station);
// The first station after `station` of type 0 or 2 and above; -1 when there is none.
int32_t nextStopAfter(const LineData& line, int32_t station);
// Whole seconds of [SoundData] sound `sound`; 0 for a number outside the list.
int32_t soundLengthOf(const LineData& line, int32_t sound);

// --- Rules ------------------------------------------------------------------------------------

// Tick stage 2: the station whose stop distance <= distanceRun < the next station's.
void lookUpStationSection(DriveContext& ctx);
// Tick stage 10: every station row in order, then the doors.
void runStations(DriveContext& ctx);
// The return to the title: FadeLevel 1; the presentation fades and closes the cab window.
void BackClick(DriveContext& ctx);

// --- Set-up and resets ------------------------------------------------------------------------

// The state at the start of a drive at `station` (drive set-up): a type-0 start station begins
// with the doors open and counts as arrived, its arrival sound as played; the station text names
// it; the door text shows the car count with the [Cars] text on a line with a conductor.
void setUpStations(DriveContext& ctx, int32_t station);
// Every per-station flag and visit value cleared (station jump, restore).
void clearStationVisits(DriveContext& ctx);
// The restore of a saved drive whose last platform was `station`: every stop before it, and
// `station` itself unless the train stands at its platform (where it arrives anew), counts as
// visited, arrived and departed. A departure signal behind the train thus clears as it did when
// the train left: its flag can only be set inside the platform. The next stop is the one after
// `station` (setNextStopAfter), as for a train that has left it.
void markStopsDepartedUpTo(DriveContext& ctx, int32_t station);
// The next stop after `station` becomes nextStopStation and stopTarget, distanceToStop follows
// (the restore of a saved drive). Without a next stop nothing changes.
void setNextStopAfter(DriveContext& ctx, int32_t station);

}  // namespace kestrel
