#pragma once
// What the grading of one drive found: the events with their points, the stops, the score, and
// the run curves that the debrief and the plot draw. A value: the grader hands out a copy, the
// report writers and the debrief read it.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kestrel::grade {

// Practice allows jumps and restores (the debrief lists them); in an exam either voids the grading.
enum class GradeMode { Practice, Exam };

const char* modeName(GradeMode mode);  // "practice", "exam"

// One graded happening, at its drive time and place.
struct GradeEvent {
  int64_t timeUs = 0;     // drive time
  int32_t frame = 0;      // MovieFrame
  double distanceCm = 0;  // distanceRun
  std::string kind;       // a name of points_table.h
  int32_t points = 0;
  std::string text;
};

// One stop of the timetable from the station the drive started at.
struct StationGrade {
  int32_t index = 0;  // [Station] row
  std::string name;
  std::string stop;                           // the kind of its stop event; empty: not stopped
  std::optional<int32_t> stopErrorCm;         // distanceRun - stop target at the stand; + past it
  std::optional<int32_t> arrivalDeltaS;       // + late
  std::optional<int32_t> departureDeltaS;     // + late
};

// The drive after every tick, for the run curves.
struct CurveSample {
  int64_t timeUs = 0;
  double distanceCm = 0;
  double speed = 0;               // km/h
  std::optional<int32_t> limit;   // km/h in force at the train
  std::optional<int32_t> pattern; // the ATS brake pattern (km/h) while one is set
  int32_t powerHandle = 0;
  int32_t brakeStep = 0;          // -brakeHandle: 0 release .. nB emergency
};

// A signal head passed, with the aspect it showed.
struct SignalPass {
  int32_t signal = 0;  // [Signal] row
  int64_t timeUs = 0;
  double distanceCm = 0;
  double speed = 0;
  int32_t aspect = 0;  // 0 stop .. aspects - 1 clear
  int32_t aspects = 0;
};

// A stopping station of the line, for the curves.
struct StationMark {
  int32_t index = 0;
  std::string name;
  double stopCm = 0, platformStartCm = 0, platformEndCm = 0;
};

struct GradeReport {
  GradeMode mode = GradeMode::Practice;
  bool examVoid = false;
  std::optional<int32_t> score;  // none for a void exam
  std::string lineName;
  std::vector<StationGrade> stations;
  std::vector<GradeEvent> events;  // in drive time order
  std::vector<CurveSample> samples;
  std::vector<SignalPass> signals;
  std::vector<StationMark> marks;
  int32_t brakeSteps = 0;  // nB, the emergency step
};

// 100 plus the points, held within 0 .. 100.
int32_t scoreOf(const std::vector<GradeEvent>& events);

}  // namespace kestrel::grade
