#pragma once
// The grading of one drive. It reads the drive's state after every tick (the session's tick
// observer calls observe) and appends events; it never changes the drive.
//
// What it grades: per stopping station the stop error at the stand with the doors released (in
// bands), a stand outside the platform, a stop passed, the arrival and departure against the
// timetable; over the run the time over a speed limit, signals passed at stop, ATS interventions,
// the driver's emergency brakes, the vigilance device, and the comfort of every stop (peak
// deceleration and jerk before the stand, brake steps released and applied again). A jump to a
// station or the restore of a saved drive is listed in practice and voids an exam.
//
// Thread contract: the thread that owns the drive, like the state it reads.
#include <cstdint>
#include <deque>
#include <vector>

#include "core/data/line_data.h"
#include "core/data/vehicle_params.h"
#include "core/grade/grade_report.h"
#include "core/state/control_state.h"
#include "core/state/train_state.h"

namespace kestrel::grade {

class Grader {
 public:
  // `initial` and `control` are the drive's state as set up, before its first tick: the station
  // it starts at, and what the first tick is compared with. The records must outlive the grader.
  Grader(const LineData& line, const VehicleParams& vehicle, int32_t nB, GradeMode mode, const TrainState& initial,
         const ControlState& control);

  // After a tick, at drive time `nowUs`. A second call after the same tick (the runner's last
  // look at the end of the drive) is ignored.
  void observe(const TrainState& t, const ControlState& c, int64_t nowUs);

  // The grading so far; an overspeed still going on counts up to the last tick.
  GradeReport report() const;
  // Whether anything has been graded: an event, or a station with a stop or a departure.
  bool gradedAnything() const;
  GradeMode mode() const { return mode_; }

 private:
  struct StationTrack {
    int32_t index = 0;
    bool start = false;           // the drive (or a jump, a restore) began at this station
    bool arrived = false;         // the stand with the doors released has been graded
    bool outside = false;         // a stand outside the platform has been graded
    bool passed = false;
    bool departed = false;
    StationGrade grade;
  };
  struct Overspeed {
    bool on = false;
    GradeEvent at;  // where it began
    int32_t limit = 0;
    int32_t ticks = 0;
    double peakExcess = 0;
  };
  struct TickRecord {
    double speed = 0;
    int32_t brakeStep = 0;
    int32_t powerHandle = 0;
  };

  GradeEvent eventHere(const TrainState& t, int64_t nowUs) const;
  void add(GradeEvent e, std::string_view kind, int32_t points, std::string text);
  StationTrack* track(int32_t station);

  bool relocated(const TrainState& t, int64_t nowUs);
  void markStartStation(const TrainState& t);
  void gradeStations(const TrainState& t, int64_t nowUs);
  void gradeArrival(StationTrack& s, const TrainState& t, int64_t nowUs);
  void gradeDeparture(StationTrack& s, const TrainState& t, int64_t nowUs);
  void gradeStandOutside(const TrainState& t, int64_t nowUs);
  void gradePassedStops(const TrainState& t, int64_t nowUs);
  void gradeOverspeed(const TrainState& t, int64_t nowUs);
  GradeEvent overspeedEvent(const Overspeed& o) const;
  void gradeSignals(const TrainState& t, int64_t nowUs);
  void gradeProtection(const TrainState& t, const ControlState& c, int64_t nowUs);
  void gradeComfort(const TrainState& t, int64_t nowUs);
  void endOverspeed();
  void sample(const TrainState& t, const ControlState& c, int64_t nowUs);
  std::optional<int32_t> limitAt(const TrainState& t) const;

  const LineData& line_;
  const VehicleParams& vehicle_;
  int32_t nB_;
  GradeMode mode_;
  bool void_ = false;

  std::vector<StationTrack> stations_;
  std::vector<GradeEvent> events_;
  std::vector<CurveSample> samples_;
  std::vector<SignalPass> signals_;
  Overspeed overspeed_;
  std::deque<TickRecord> recent_;  // the last ticks, newest last

  // What the last tick left, for the transitions of this one.
  struct Seen {
    double speed = 0, distanceRun = 0;
    int32_t frame = 0, vigilanceTicks = 0, patternState = 0, brakeHandle = 0;
    bool autoEmergency = false, autoService = false, atsAlarm = false, atcBraking = false;
    int32_t stationJumps = 0, restores = 0;
    std::vector<bool> arrived;  // per [Station] row
  };
  static Seen seenOf(const TrainState& t, const ControlState& c);
  Seen seen_;
  int32_t standingAt_ = -1;  // the station whose stop the train stands at, until it leaves
  // The pattern warning last counted: its entry, and when its warning state ended; a warning
  // that comes and goes on the way to one target counts once.
  int32_t warnedEntry_ = -2;
  int64_t warningEndedUs_ = -1;
  int32_t lastTick_ = -1;  // tickCount at the last observation
};

}  // namespace kestrel::grade
