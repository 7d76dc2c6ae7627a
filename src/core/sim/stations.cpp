#include "core/sim/stations.h"

#include <algorithm>
#include <cmath>

#include "core/ports/mixer_actions.h"
#include "core/sim/doors.h"
#include "core/util/rounding.h"

namespace kestrel {

namespace {

bool validStation(const LineData& line, int32_t i) {
  return i >= 0 && i < static_cast<int32_t>(line.Station.size());
}

const StationRow& row(const DriveContext& ctx, int32_t i) {
  return ctx.line.Station[static_cast<size_t>(i)];
}

StationVisit& visit(DriveContext& ctx, int32_t i) {
  auto& visits = ctx.train.stations.visits;
  if (visits.size() != ctx.line.Station.size()) visits.resize(ctx.line.Station.size());
  return visits[static_cast<size_t>(i)];
}

bool driverOperatedDoors(const DriveContext& ctx) {
  return ctx.line.OneMan > 0;
}

// Type 0 stops with doors, 2 and above without; 1 (and a negative type) is passed.
bool isStop(int32_t type) {
  return type == 0 || type >= 2;
}

bool standing(const DriveContext& ctx) {
  return roundHalfAway(ctx.train.speed) == 0;
}

// The label after the next station's name: [Stop], [Pass], [Stop2] by its type. Type 3 stands
// for a fixed label that the settings file does not carry, so it shows the name alone.
std::string typeLabel(const SettingsData& s, int32_t type) {
  switch (type) {
    case 0:
      return s.Stop;
    case 1:
      return s.Pass;
    case 3:
      return {};
    default:
      return type >= 2 ? s.Stop2 : std::string{};
  }
}

// 1. Past the platform of l and before that of l + 1: the next station's name.
void betweenStations(DriveContext& ctx, int32_t l) {
  const double d = ctx.train.distanceRun;
  const int32_t count = static_cast<int32_t>(ctx.line.Station.size());
  if (d <= row(ctx, l).platformEndCm || l + 1 >= count) return;
  const StationRow& next = row(ctx, l + 1);
  if (d < next.platformStartCm)
    ctx.train.stations.stationText = kNextStationPrefix + next.name + typeLabel(ctx.settings, next.type());
}

// 2. At the platform: the visit begins, the station text names it.
void platform(DriveContext& ctx, int32_t l) {
  const StationRow& r = row(ctx, l);
  if (!isStop(r.type()) || !insidePlatform(ctx, l)) return;
  StationState& st = ctx.train.stations;
  StationVisit& v = visit(ctx, l);
  if (!v.visited) {
    v.visited = true;
    st.currentStation = l;
    st.visitDeparture = r.departureTime();
    st.visitRandom = ctx.random.below(100);
  }
  st.stationText = kAtStationPrefix + r.name;
}

void fireArrivalCallout(DriveContext& ctx, int type) {
  ctx.callouts.StationKanko(type);
  ctx.train.departureCalloutRequest = true;  // the first notch after this stop calls out (kind 4)
}

// 3. Arrival, once per visit, standing inside the platform window.
void arrival(DriveContext& ctx, int32_t l) {
  const StationRow& r = row(ctx, l);
  TrainState& t = ctx.train;
  StationVisit& v = visit(ctx, l);
  if (!isStop(r.type()) || v.arrived || !standing(ctx) || !insidePlatform(ctx, l)) return;
  if (r.type() >= 2) {
    v.arrived = true;
    t.stations.arrivalClock = t.TickCounter;
    return;
  }
  if (!driverOperatedDoors(ctx)) {
    if (t.doorsOpen || std::fabs(t.speed) >= 0.1) return;
    fireArrivalCallout(ctx, 0);
    Door_operate(ctx);
    fireArrivalCallout(ctx, 1);
    v.arrived = true;
    restartOnce(ctx.mixer, ctx.environmentChannel(r.arrivalSound()));
    t.stations.arrivalClock = t.TickCounter;
    return;
  }
  // The driver opens the doors: the stand is called out at once, the arrival when they open.
  if (!v.stood) {
    v.stood = true;
    fireArrivalCallout(ctx, 0);
  }
  if (t.doorsCommandedOpen) {
    v.arrived = true;
    t.stations.arrivalClock = t.TickCounter;
    fireArrivalCallout(ctx, 1);
  }
}

// 4. Departure readiness: the departure sound ends at the scheduled departure time.
void departureReadiness(DriveContext& ctx, int32_t l) {
  const StationRow& r = row(ctx, l);
  TrainState& t = ctx.train;
  StationVisit& v = visit(ctx, l);
  if (!isStop(r.type()) || !v.arrived || v.departureReady || t.MovieMode == 1) return;
  if (!insidePlatform(ctx, l)) return;
  const int32_t next = nextStopAfter(ctx.line, l);
  if (next < 0) return;  // the last stop: there is nothing to depart for
  const int32_t depLength = 30 * soundLengthOf(ctx.line, r.departureSound());
  const int32_t arrLength = 30 * soundLengthOf(ctx.line, r.arrivalSound());
  if (t.TickCounter <= r.departureTime() - depLength) return;
  if (t.TickCounter - t.stations.arrivalClock <= arrLength) return;
  const bool ready = r.type() >= 2 ? standing(ctx) : t.doorsOpen;
  if (!ready) return;
  t.stopTarget = row(ctx, next).stopDistanceCm;
  t.distanceToStop = t.stopTarget - t.distanceRun;
  t.stations.nextStopStation = next;
  restartOnce(ctx.mixer, ctx.environmentChannel(r.departureSound()));
  v.departureReady = true;
  ctx.callouts.StationKanko(2);
}

// 5. The dwell has run out: automatic doors close.
void automaticDoorClosing(DriveContext& ctx, int32_t l) {
  const StationRow& r = row(ctx, l);
  TrainState& t = ctx.train;
  StationVisit& v = visit(ctx, l);
  if (driverOperatedDoors(ctx) || r.type() != 0 || v.passedDoors || !v.departureReady || !v.arrived) return;
  const int32_t depLength = 30 * soundLengthOf(ctx.line, r.departureSound());
  if (t.TickCounter <= r.departureTime() || t.TickCounter - t.stations.arrivalClock <= depLength) return;
  // Only doors that stand open are closed: Door_operate would open closed ones at a standstill.
  if (t.doorsCommandedOpen) Door_operate(ctx);
  v.passedDoors = true;
  ctx.callouts.StationKanko(5);
}

// 6. The final stop, once its arrival sound has ended.
void endOfRun(DriveContext& ctx, int32_t l) {
  const StationRow& r = row(ctx, l);
  TrainState& t = ctx.train;
  if (l + 1 != static_cast<int32_t>(ctx.line.Station.size()) || t.stations.runEnded) return;
  if (!visit(ctx, l).arrived || !standing(ctx) || !insidePlatform(ctx, l)) return;
  if (!((r.type() == 0 && t.doorsOpen) || r.type() >= 2)) return;
  if (ctx.mixer.isPlaying(ctx.environmentChannel(r.arrivalSound()))) return;
  BackClick(ctx);
  t.stations.runEnded = true;
}

}  // namespace

std::optional<int32_t> currentSectionLineSpeed(const DriveContext& ctx) {
  const int32_t s = ctx.train.stations.section;
  if (!validStation(ctx.line, s)) return std::nullopt;
  return row(ctx, s).lineSpeed();
}

bool departureReady(const DriveContext& ctx, int32_t station) {
  const auto& visits = ctx.train.stations.visits;
  if (station < 0 || station >= static_cast<int32_t>(visits.size())) return false;
  return visits[static_cast<size_t>(station)].departureReady;
}

bool insidePlatform(const DriveContext& ctx, int32_t station) {
  if (!validStation(ctx.line, station)) return false;
  const StationRow& r = row(ctx, station);
  const double d = ctx.train.distanceRun;
  return r.platformStartCm <= d && d <= r.platformEndCm;
}

bool firstTickInsidePlatform(const DriveContext& ctx, int32_t station) {
  if (!insidePlatform(ctx, station) || !isStop(row(ctx, station).type())) return false;
  const auto& visits = ctx.train.stations.visits;
  return station >= static_cast<int32_t>(visits.size()) || !visits[static_cast<size_t>(station)].visited;
}

int32_t nextStopAfter(const LineData& line, int32_t station) {
  for (size_t i = static_cast<size_t>(std::max(station + 1, 0)); i < line.Station.size(); ++i)
    if (isStop(line.Station[i].type())) return static_cast<int32_t>(i);
  return -1;
}

int32_t soundLengthOf(const LineData& line, int32_t sound) {
  if (sound < 0 || sound >= static_cast<int32_t>(line.soundLengths.size())) return 0;
  return line.soundLengths[static_cast<size_t>(sound)];
}

void lookUpStationSection(DriveContext& ctx) {
  const auto& rows = ctx.line.Station;
  const double d = ctx.train.distanceRun;
  for (size_t l = 0; l < rows.size(); ++l) {
    const bool last = l + 1 == rows.size();
    if (rows[l].stopDistanceCm <= d && (last || d < rows[l + 1].stopDistanceCm))
      ctx.train.stations.section = static_cast<int32_t>(l);
  }
}

void runStations(DriveContext& ctx) {
  const int32_t count = static_cast<int32_t>(ctx.line.Station.size());
  for (int32_t l = 0; l < count; ++l) {
    betweenStations(ctx, l);
    platform(ctx, l);
    arrival(ctx, l);
    departureReadiness(ctx, l);
    automaticDoorClosing(ctx, l);
    endOfRun(ctx, l);
  }
  runDoors(ctx);
}

void BackClick(DriveContext& ctx) {
  ctx.train.FadeLevel = 1;
}

void setUpStations(DriveContext& ctx, int32_t station) {
  TrainState& t = ctx.train;
  StationState& st = t.stations;
  st = StationState{};
  st.visits.assign(ctx.line.Station.size(), StationVisit{});
  st.doorText = ctx.line.OneMan != 0 ? std::string{} : std::to_string(ctx.vehicle.Cars) + ctx.settings.Cars;
  t.FadeLevel = 0;
  if (!validStation(ctx.line, station)) {
    setDoorLamp(ctx, true);
    return;
  }
  const StationRow& r = row(ctx, station);
  st.currentStation = station;
  st.nextStopStation = station;
  st.section = station;
  st.stationText = kAtStationPrefix + r.name;
  const bool doorsOpen = r.type() == 0;
  t.doorsOpen = doorsOpen;
  t.doorsCommandedOpen = doorsOpen;
  setDoorLamp(ctx, !doorsOpen);
  if (doorsOpen) {
    // The train stands at the platform with its doors open: the stop has been made.
    StationVisit& v = visit(ctx, station);
    v.stood = true;
    v.arrived = true;
    st.arrivalClock = t.TickCounter - 30 * soundLengthOf(ctx.line, r.arrivalSound());
  }
}

void clearStationVisits(DriveContext& ctx) {
  StationState& st = ctx.train.stations;
  st.visits.assign(ctx.line.Station.size(), StationVisit{});
  st.visitDeparture = 0;
  st.visitRandom = 0;
  st.arrivalClock = 0;
}

void markStopsDepartedUpTo(DriveContext& ctx, int32_t station) {
  const int32_t count = static_cast<int32_t>(ctx.line.Station.size());
  const bool standingThere = standing(ctx) && insidePlatform(ctx, station);
  for (int32_t l = 0; l < count && l <= station; ++l) {
    if (!isStop(row(ctx, l).type()) || (l == station && standingThere)) continue;
    StationVisit& v = visit(ctx, l);
    v.visited = v.stood = v.arrived = v.departureReady = v.passedDoors = true;
  }
}

void setNextStopAfter(DriveContext& ctx, int32_t station) {
  const int32_t next = nextStopAfter(ctx.line, station);
  if (next < 0) return;
  TrainState& t = ctx.train;
  t.stations.nextStopStation = next;
  t.stopTarget = row(ctx, next).stopDistanceCm;
  t.distanceToStop = t.stopTarget - t.distanceRun;
}

}  // namespace kestrel
