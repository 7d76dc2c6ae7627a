#include "core/grade/grader.h"

#include <algorithm>
#include <cmath>

#include "core/grade/grade_texts.h"
#include "core/grade/points_table.h"
#include "core/sim/stations.h"

namespace kestrel::grade {

namespace {

bool isStop(const StationRow& r) {
  return r.type() == 0 || r.type() >= 2;
}

}  // namespace

const char* modeName(GradeMode mode) {
  return mode == GradeMode::Exam ? "exam" : "practice";
}

int32_t scoreOf(const std::vector<GradeEvent>& events) {
  int64_t score = 100;
  for (const GradeEvent& e : events) score += e.points;
  return static_cast<int32_t>(std::clamp<int64_t>(score, 0, 100));
}

Grader::Grader(const LineData& line, const VehicleParams& vehicle, int32_t nB, GradeMode mode,
               const TrainState& initial, const ControlState& control)
    : line_(line), vehicle_(vehicle), nB_(nB), mode_(mode) {
  seen_ = seenOf(initial, control);
  const int32_t first = std::max(initial.stations.currentStation, 0);
  for (int32_t i = first; i < static_cast<int32_t>(line.Station.size()); ++i) {
    const StationRow& r = line.Station[static_cast<size_t>(i)];
    if (!isStop(r)) continue;
    StationTrack s;
    s.index = i;
    s.grade.index = i;
    s.grade.name = r.name;
    stations_.push_back(std::move(s));
  }
  markStartStation(initial);
}

Grader::Seen Grader::seenOf(const TrainState& t, const ControlState& c) {
  Seen s;
  s.speed = t.speed;
  s.distanceRun = t.distanceRun;
  s.frame = t.MovieFrame;
  s.vigilanceTicks = t.vigilanceTicks;
  s.patternState = t.signals.patternState;
  s.brakeHandle = c.brakeHandle;
  s.autoEmergency = t.autoEmergency;
  s.autoService = t.autoService;
  s.atsAlarm = t.atsAlarm;
  s.atcBraking = t.signals.atcBraking;
  s.stationJumps = t.stationJumps;
  s.restores = t.restores;
  s.arrived.reserve(t.stations.visits.size());
  for (const StationVisit& v : t.stations.visits) s.arrived.push_back(v.arrived);
  return s;
}

void Grader::observe(const TrainState& t, const ControlState& c, int64_t nowUs) {
  if (void_ || t.tickCount == lastTick_) return;
  lastTick_ = t.tickCount;
  if (!relocated(t, nowUs)) {
    gradeStations(t, nowUs);
    gradeOverspeed(t, nowUs);
    gradeSignals(t, nowUs);
    gradeProtection(t, c, nowUs);
    recent_.push_back({t.speed, -c.brakeHandle, c.powerHandle});
    while (recent_.size() > static_cast<size_t>(limits::kReversalWindowTicks) + 1) recent_.pop_front();
    gradeComfort(t, nowUs);
  }
  if (!void_) sample(t, c, nowUs);
  seen_ = seenOf(t, c);
}

bool Grader::relocated(const TrainState& t, int64_t nowUs) {
  const bool jumped = t.stationJumps != seen_.stationJumps;
  if (!jumped && t.restores == seen_.restores) return false;
  endOverspeed();
  recent_.clear();
  warnedEntry_ = -2;
  standingAt_ = -1;
  const GradeEvent here = eventHere(t, nowUs);
  if (mode_ == GradeMode::Exam) {
    add(here, kind::kExamVoid, 0, texts::examVoid());
    void_ = true;
    return true;
  }
  const int32_t station = t.stations.currentStation;
  const bool known = station >= 0 && station < static_cast<int32_t>(line_.Station.size());
  if (jumped)
    add(here, kind::kJump, 0, texts::jumped(known ? line_.Station[static_cast<size_t>(station)].name : ""));
  else
    add(here, kind::kRestore, 0, texts::restored());
  markStartStation(t);
  return true;
}

// The stop whose platform holds the train begins the drive anew: its arrival is not graded, its
// departure is; the stops after it are graded afresh.
void Grader::markStartStation(const TrainState& t) {
  const double d = t.distanceRun;
  for (StationTrack& s : stations_) {
    const StationRow& r = line_.Station[static_cast<size_t>(s.index)];
    if (r.platformEndCm + limits::kOutsideAfterCm < d) continue;  // behind the train: graded as it was
    StationTrack fresh;
    fresh.index = s.index;
    fresh.grade.index = s.index;
    fresh.grade.name = s.grade.name;
    if (r.platformStartCm <= d && d <= r.platformEndCm) {
      fresh.start = true;
      if (std::fabs(t.speed) < 0.1) standingAt_ = s.index;
    }
    s = std::move(fresh);
  }
}

Grader::StationTrack* Grader::track(int32_t station) {
  for (StationTrack& s : stations_)
    if (s.index == station) return &s;
  return nullptr;
}

GradeEvent Grader::eventHere(const TrainState& t, int64_t nowUs) const {
  GradeEvent e;
  e.timeUs = nowUs;
  e.frame = t.MovieFrame;
  e.distanceCm = t.distanceRun;
  return e;
}

void Grader::add(GradeEvent e, std::string_view k, int32_t p, std::string text) {
  e.kind = std::string(k);
  e.points = p;
  e.text = std::move(text);
  const auto at = std::upper_bound(events_.begin(), events_.end(), e.timeUs,
                                   [](int64_t us, const GradeEvent& x) { return us < x.timeUs; });
  events_.insert(at, std::move(e));
}

void Grader::sample(const TrainState& t, const ControlState& c, int64_t nowUs) {
  CurveSample s;
  s.timeUs = nowUs;
  s.distanceCm = t.distanceRun;
  s.speed = t.speed;
  s.limit = limitAt(t);
  if (t.signals.patternTarget != SignalState::kNoPattern) s.pattern = t.signals.brakePattern;
  s.powerHandle = c.powerHandle;
  s.brakeStep = -c.brakeHandle;
  samples_.push_back(s);
}

GradeReport Grader::report() const {
  GradeReport r;
  r.mode = mode_;
  r.examVoid = void_;
  r.lineName = line_.LineName;
  r.events = events_;
  if (overspeed_.on) {
    const GradeEvent e = overspeedEvent(overspeed_);
    r.events.insert(std::upper_bound(r.events.begin(), r.events.end(), e.timeUs,
                                     [](int64_t us, const GradeEvent& x) { return us < x.timeUs; }),
                    e);
  }
  if (!void_) r.score = scoreOf(r.events);
  for (const StationTrack& s : stations_) r.stations.push_back(s.grade);
  r.samples = samples_;
  r.signals = signals_;
  for (size_t i = 0; i < line_.Station.size(); ++i) {
    const StationRow& row = line_.Station[i];
    if (!isStop(row)) continue;
    r.marks.push_back({static_cast<int32_t>(i), row.name, row.stopDistanceCm, row.platformStartCm, row.platformEndCm});
  }
  r.brakeSteps = nB_;
  return r;
}

bool Grader::gradedAnything() const {
  if (!events_.empty() || overspeed_.on) return true;
  return std::any_of(stations_.begin(), stations_.end(), [](const StationTrack& s) {
    return !s.grade.stop.empty() || s.grade.departureDeltaS.has_value() || s.departed;
  });
}

}  // namespace kestrel::grade
