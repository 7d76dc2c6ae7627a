// The stops: the stand with the doors released graded by its error, a stand outside the
// platform, a stop passed, and the arrival and departure against the timetable.
#include <algorithm>
#include <cmath>

#include "core/grade/grade_texts.h"
#include "core/grade/grader.h"
#include "core/grade/points_table.h"
#include "core/sim/stations.h"
#include "core/util/rounding.h"

namespace kestrel::grade {

namespace {

constexpr double kStandingKmh = 0.1;  // the doors' own test of a train at rest

bool standing(double speed) {
  return std::fabs(speed) < kStandingKmh;
}

// The latest arrival from which the stop's sounds end at its departure time, as the station jump
// sets the clock; nullopt for a station without a time.
std::optional<int32_t> scheduledArrival(const LineData& line, const StationRow& r) {
  if (r.departureTime() <= 0) return std::nullopt;
  return r.departureTime() - 30 * (soundLengthOf(line, r.arrivalSound()) + soundLengthOf(line, r.departureSound()));
}

int32_t seconds(int32_t ticks30) {
  return roundHalfAway(ticks30 / 30.0);
}

}  // namespace

void Grader::gradeStations(const TrainState& t, int64_t nowUs) {
  const auto& visits = t.stations.visits;
  for (StationTrack& s : stations_) {
    const size_t i = static_cast<size_t>(s.index);
    const bool arrivedNow = i < visits.size() && visits[i].arrived;
    const bool arrivedBefore = i < seen_.arrived.size() && seen_.arrived[i];
    if (arrivedNow && !arrivedBefore && !s.start) gradeArrival(s, t, nowUs);
  }
  if (standingAt_ >= 0 && standing(seen_.speed) && !standing(t.speed)) {
    if (StationTrack* s = track(standingAt_)) gradeDeparture(*s, t, nowUs);
    standingAt_ = -1;
  }
  if (!standing(seen_.speed) && standing(t.speed)) gradeStandOutside(t, nowUs);
  gradePassedStops(t, nowUs);
}

void Grader::gradeArrival(StationTrack& s, const TrainState& t, int64_t nowUs) {
  const StationRow& r = line_.Station[static_cast<size_t>(s.index)];
  const double error = t.distanceRun - r.stopDistanceCm;
  const double a = std::fabs(error);
  std::string_view k = kind::kStopAcceptable;
  int32_t p = points::kStopAcceptable;
  if (a <= limits::kExcellentCm) {
    k = kind::kStopExcellent;
    p = points::kStopExcellent;
  } else if (a <= limits::kGoodCm) {
    k = kind::kStopGood;
    p = points::kStopGood;
  }
  const GradeEvent here = eventHere(t, nowUs);
  add(here, k, p, texts::stop(r.name, error));
  s.arrived = true;
  s.grade.stop = std::string(k);
  s.grade.stopErrorCm = roundHalfAway(error);
  standingAt_ = s.index;
  if (const auto due = scheduledArrival(line_, r)) {
    const int32_t late = seconds(t.stations.arrivalClock - *due);
    s.grade.arrivalDeltaS = late;
    if (const int32_t lp = latenessPoints(late); lp < 0) add(here, kind::kArrivalLate, lp, texts::arrivalLate(r.name, late));
  }
}

void Grader::gradeDeparture(StationTrack& s, const TrainState& t, int64_t nowUs) {
  const StationRow& r = line_.Station[static_cast<size_t>(s.index)];
  s.departed = true;
  if (r.departureTime() <= 0) return;
  const int32_t early = r.departureTime() - t.TickCounter;  // 1/30 s
  const int32_t delta = seconds(-early);
  s.grade.departureDeltaS = delta;
  const GradeEvent here = eventHere(t, nowUs);
  if (early > 30 * limits::kEarlyDepartureS) {
    add(here, kind::kDepartureEarly, points::kDepartureEarly, texts::departureEarly(r.name, -delta));
    return;
  }
  // Lateness the arrival brought with it is the arrival's; only what the stop added counts here.
  const int32_t added = delta - std::max(s.grade.arrivalDeltaS.value_or(0), 0);
  if (const int32_t lp = latenessPoints(added); lp < 0) add(here, kind::kDepartureLate, lp, texts::departureLate(r.name, delta));
}

void Grader::gradeStandOutside(const TrainState& t, int64_t nowUs) {
  const double d = t.distanceRun;
  for (StationTrack& s : stations_) {
    if (s.start || s.arrived || s.outside || s.passed) continue;
    const StationRow& r = line_.Station[static_cast<size_t>(s.index)];
    const bool before = r.platformStartCm - limits::kOutsideBeforeCm <= d && d < r.platformStartCm;
    const bool after = r.platformEndCm < d && d <= r.platformEndCm + limits::kOutsideAfterCm;
    if (!before && !after) continue;
    const double error = d - r.stopDistanceCm;
    add(eventHere(t, nowUs), kind::kStopOutside, points::kStopOutside, texts::stopOutside(r.name, error));
    s.outside = true;
    s.grade.stop = std::string(kind::kStopOutside);
    s.grade.stopErrorCm = roundHalfAway(error);
    return;
  }
}

void Grader::gradePassedStops(const TrainState& t, int64_t nowUs) {
  for (StationTrack& s : stations_) {
    if (s.start || s.arrived || s.passed) continue;
    const StationRow& r = line_.Station[static_cast<size_t>(s.index)];
    const double beyond = r.platformEndCm + limits::kOutsideAfterCm;
    if (!(seen_.distanceRun <= beyond && beyond < t.distanceRun)) continue;
    s.passed = true;
    s.grade.stop = std::string(kind::kStopPassed);  // a stand outside the platform keeps its error
    add(eventHere(t, nowUs), kind::kStopPassed, points::kStopPassed, texts::stopPassed(r.name));
  }
}

}  // namespace kestrel::grade
