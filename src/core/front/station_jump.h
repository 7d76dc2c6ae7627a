#pragma once
// The jump to a station from the "Move" menu (StationClick): the train stands at the station's
// stop with the handles at rest, the clock at the time from which the stop's sounds end at its
// departure time, and every per-position working value reset. The movie's part (back to the main
// movie while a station or branch movie plays) is the cab session's, which calls this.
#include <cstdint>
#include <optional>

#include "core/state/drive_context.h"

namespace kestrel {

// The scheduled departure time of `station`, or for a station without one ([Station] field 8 is
// 0) the time interpolated by stop distance between the nearest earlier and later stations that
// have one. With only one of them, its time; with neither, nullopt. Two of them at the same stop
// distance give the earlier one's time.
std::optional<int32_t> jumpDepartureTime(const LineData& line, int32_t station);

// The clock after a jump: that time less both station sounds of the station; with no time on the
// whole line the clock stays at `current`.
int32_t jumpClock(const LineData& line, int32_t station, int32_t current);

// The announcement to resume at ([Announce]): the first row, in file order, whose station number
// is the target station or later and whose flag is 0; nullopt when none is.
std::optional<int32_t> jumpAnnouncementIndex(const LineData& line, int32_t station);

// Everything of the jump except the movie; false (nothing done) for a station outside [Station].
bool StationClick(DriveContext& ctx, int32_t station);

}  // namespace kestrel
