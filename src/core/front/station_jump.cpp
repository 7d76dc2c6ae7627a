#include "core/front/station_jump.h"

#include "core/controls/mascon_update.h"
#include "core/front/position_resets.h"
#include "core/sim/doors.h"
#include "core/sim/pre_train.h"
#include "core/sim/stations.h"
#include "core/util/rounding.h"

namespace kestrel {

std::optional<int32_t> jumpDepartureTime(const LineData& line, int32_t station) {
  const auto& rows = line.Station;
  if (station < 0 || station >= static_cast<int32_t>(rows.size())) return std::nullopt;
  const StationRow& here = rows[static_cast<size_t>(station)];
  if (here.departureTime() != 0) return here.departureTime();
  const StationRow* before = nullptr;
  const StationRow* after = nullptr;
  for (int32_t i = station - 1; i >= 0 && !before; --i)
    if (rows[static_cast<size_t>(i)].departureTime() != 0) before = &rows[static_cast<size_t>(i)];
  for (size_t i = static_cast<size_t>(station) + 1; i < rows.size() && !after; ++i)
    if (rows[i].departureTime() != 0) after = &rows[i];
  if (!before && !after) return std::nullopt;
  if (!before) return after->departureTime();
  if (!after) return before->departureTime();
  const double span = after->stopDistanceCm - before->stopDistanceCm;
  if (span == 0) return before->departureTime();
  const double share = (here.stopDistanceCm - before->stopDistanceCm) / span;
  return before->departureTime() + roundHalfAway((after->departureTime() - before->departureTime()) * share);
}

int32_t jumpClock(const LineData& line, int32_t station, int32_t current) {
  const auto time = jumpDepartureTime(line, station);
  if (!time) return current;
  const StationRow& row = line.Station[static_cast<size_t>(station)];
  return *time - 30 * (soundLengthOf(line, row.arrivalSound()) + soundLengthOf(line, row.departureSound()));
}

std::optional<int32_t> jumpAnnouncementIndex(const LineData& line, int32_t station) {
  const auto& rows = line.AnnounceTable.rows;
  for (size_t k = 0; k < rows.size(); ++k)
    if (rows[k].station >= station && rows[k].flag == 0) return static_cast<int32_t>(k + 1);
  return std::nullopt;
}

bool StationClick(DriveContext& ctx, int32_t station) {
  const auto& rows = ctx.line.Station;
  if (station < 0 || station >= static_cast<int32_t>(rows.size())) return false;
  TrainState& t = ctx.train;
  StationState& st = t.stations;
  const StationRow& row = rows[static_cast<size_t>(station)];

  // The first station from the chosen one on that the drive has not visited yet.
  st.displayStation = station;
  for (size_t i = static_cast<size_t>(station); i < st.visits.size(); ++i)
    if (!st.visits[i].visited) {
      st.displayStation = static_cast<int32_t>(i);
      break;
    }

  t.speed = 0;
  t.stationJumps += 1;
  resetPositionWorkingValues(ctx);
  for (int ch = 1; ch < Mixer::kChannelCount; ++ch)
    if (ctx.mixer.isPlaying(ch)) ctx.mixer.stop(ch);
  closeDoorsAtRest(ctx);

  t.MovieFrame = row.stopFrame();
  t.LastShownFrame = -1;
  t.MovieDirection = 0;
  st.stationText = kAtStationPrefix + row.name;
  st.currentStation = station;
  st.nextStopStation = station;
  st.section = station;
  st.runEnded = false;
  t.TickCounter = jumpClock(ctx.line, station, t.TickCounter);
  st.clockSecond = -1;  // the clock shows the new time at the next tick
  placePreTrain(ctx);

  ControlState& c = ctx.control;
  c.powerHandle = 0;
  t.powerNotch = 0;
  c.brakeHandle = 1 - ctx.nB();
  t.brakeNotch = c.brakeHandle;
  t.sapNotch = c.brakeHandle;

  t.distanceRun = row.stopDistanceCm;
  t.stopTarget = row.stopDistanceCm;
  t.distanceToStop = 0;
  t.frameRow = -1;

  if (const auto index = jumpAnnouncementIndex(ctx.line, station)) ctx.keys.announceIndex = *index;
  masconupdate(ctx);
  return true;
}

}  // namespace kestrel
