// The grading on a short line worked by hand: the drive's state is set tick by tick as the rules
// would leave it, and each case must give exactly its event and points.
//
// The line: 甲 (start, departs 10:00:00) at 0 m, 乙 at 1000 m (departs 10:03:00; arrival sound 10 s,
// departure sound 5 s, so due at 10:02:45), 丙 (terminal) at 2000 m; platforms 10 m long; a 60
// km/h limit from 300 m to 700 m; a signal at 800 m. One frame is one metre.
#include "core/grade/grader.h"

#include <gtest/gtest.h>

#include <memory>

#include "core/grade/points_table.h"
#include "core/grade/report_files.h"
#include "support/signal_line.h"
#include "support/station_line.h"

namespace kestrel::grade {
namespace {

constexpr int32_t kTen = 10 * 108000;  // 10:00:00 in 1/30 s

LineData shortLine() {
  LineData l;
  l.LineName = "短線";
  l.Speed_Signal = {0, 25, 45, 65, 85, 110};
  l.soundLengths = {10, 5};
  l.Station.push_back(test::stationRow({"甲", 0, 0, 0, 500, 0, 1, kTen}));
  l.Station.push_back(test::stationRow({"乙", 0, 1000, 100000, 500, 0, 1, kTen + 180 * 30}));
  l.Station.push_back(test::stationRow({"丙", 0, 2000, 200000, 500, 0, 1, 0}));
  SpeedLimitRow limit;
  limit.f(1) = 60;
  limit.f(4) = 300;
  limit.f(5) = 700;
  l.SpeedLimit.push_back(limit);
  l.Signal.push_back(test::signalRow({.kind = 6, .approachStart = 600, .position = 800}));
  return l;
}

// The drive as the tick leaves it, moved by hand: every tick is 100 ms, 3 clock counts, and
// speed x 0.1 s of distance.
struct HandDrive {
  LineData line = shortLine();
  VehicleParams vehicle;
  TrainState t;
  ControlState c;
  int64_t nowUs = 0;
  std::unique_ptr<Grader> grader;

  explicit HandDrive(GradeMode mode = GradeMode::Practice) {
    vehicle.MaxSpeed = 110;
    t.TickCounter = kTen - 10 * 30;
    t.stations.visits.assign(line.Station.size(), StationVisit{});
    t.stations.visits[0].arrived = true;  // the start station: doors open, arrival made
    t.signals.aspect = {5};
    c.brakeHandle = -4;
    grader = std::make_unique<Grader>(line, vehicle, 8, mode, t, c);
  }

  void tick(double speed) {
    t.speed = speed;
    t.distanceRun += speed / 3.6 * 10;
    t.MovieFrame = static_cast<int32_t>(t.distanceRun / 100);
    t.TickCounter += 3;
    t.tickCount += 1;
    nowUs += 100000;
    grader->observe(t, c, nowUs);
  }
  void wait(double seconds) {
    for (int i = 0; i < static_cast<int>(seconds * 10 + 0.5); ++i) tick(0);
  }
  // Off at `speed` with the brake released.
  void depart(double speed) {
    c.brakeHandle = 0;
    for (double v = 2; v < speed; v += 2) tick(v);
  }
  void cruiseTo(double cm, double speed) {
    while (t.distanceRun + speed / 3.6 * 10 < cm) tick(speed);
  }
  // A gentle stop at 2 km/h/s at step 3 that stands exactly at `cm`.
  void standAt(double cm) {
    c.brakeHandle = -3;
    const double v0 = t.speed;
    const int n = static_cast<int>(v0 / 0.2);
    double braking = 0;  // distance of the ramp, to start it at the right place
    for (int k = 1; k < n; ++k) braking += (v0 - 0.2 * k) / 3.6 * 10;
    cruiseTo(cm - braking, v0);
    for (int k = 1; k < n; ++k) tick(v0 - 0.2 * k);
    t.speed = 0;
    t.distanceRun = cm;
    tick(0);
  }
  // The station rules mark the arrival on the tick after the stand.
  void arriveAt(int32_t station) {
    t.stations.visits[static_cast<size_t>(station)].arrived = true;
    t.stations.arrivalClock = t.TickCounter + 3;
    tick(0);
  }
  GradeReport report() const { return grader->report(); }
};

struct Expected {
  std::string_view kind;
  int32_t points;
};

std::vector<std::pair<std::string, int32_t>> kindsAndPoints(const GradeReport& r) {
  std::vector<std::pair<std::string, int32_t>> out;
  for (const GradeEvent& e : r.events) out.emplace_back(e.kind, e.points);
  return out;
}

struct HandCase {
  const char* name;
  void (*drive)(HandDrive&);
  Expected expected;
};

const HandCase kHandCases[] = {
    {"StopFortyCentimetresShort",
     [](HandDrive& d) {
       d.wait(10);
       d.depart(50);
       d.standAt(100000 - 40);
       d.arriveAt(1);
     },
     {kind::kStopGood, points::kStopGood}},
    {"StopOutsideThePlatform",
     [](HandDrive& d) {
       d.wait(10);
       d.depart(50);
       d.standAt(100000 - 1000);  // the platform begins at 995 m
       d.wait(5);
     },
     {kind::kStopOutside, points::kStopOutside}},
    {"EarlyDeparture",
     [](HandDrive& d) {
       d.wait(2);  // 8 s before 10:00:00
       d.depart(40);
     },
     {kind::kDepartureEarly, points::kDepartureEarly}},
    {"TenSecondsOverALimit",
     [](HandDrive& d) {
       d.wait(10);
       d.depart(50);
       d.cruiseTo(35000, 50);
       for (int i = 0; i < 100; ++i) d.tick(65);  // 10.0 s at 5 km/h over: 5 started 2 s
       d.tick(55);
     },
     {kind::kOverspeed, -5}},
    {"RedSignalPassed",
     [](HandDrive& d) {
       d.wait(10);
       d.depart(50);
       d.cruiseTo(75000, 50);
       d.t.signals.aspect = {0};
       d.cruiseTo(81000, 30);
     },
     {kind::kSignalAtStop, points::kSignalAtStop}},
    {"AtsPatternBrake",
     [](HandDrive& d) {
       d.wait(10);
       d.depart(50);
       d.cruiseTo(75000, 50);
       d.t.signals.patternTarget = 10;
       d.t.signals.brakePattern = 45;
       d.t.signals.patternState = 2;
       d.t.autoService = true;
       d.tick(49);
     },
     {kind::kAtsPatternBrake, points::kAtsPatternBrake}},
    {"ArrivalSeventyFiveSecondsLate",
     [](HandDrive& d) {
       d.wait(10);
       d.depart(50);
       d.standAt(100000);
       d.t.TickCounter = kTen + 240 * 30 - 3;  // a slow run: the doors open at 10:04:00
       d.arriveAt(1);
     },
     {kind::kArrivalLate, -2}},
};

void PrintTo(const HandCase& c, std::ostream* os) {
  *os << c.name;
}

struct HandWorked : ::testing::TestWithParam<HandCase> {};

TEST_P(HandWorked, GivesExactlyItsEventAndPoints) {
  HandDrive d;
  GetParam().drive(d);
  const GradeReport r = d.report();
  const auto events = kindsAndPoints(r);
  // The late arrival comes with its stop, graded on the mark.
  if (GetParam().expected.kind == kind::kArrivalLate) {
    ASSERT_EQ(events.size(), 2u) << reportJson(r);
    EXPECT_EQ(events[0], (std::pair<std::string, int32_t>{std::string(kind::kStopExcellent), 0}));
    EXPECT_EQ(events[1], (std::pair<std::string, int32_t>{std::string(kind::kArrivalLate), -2}));
    EXPECT_EQ(r.stations[1].arrivalDeltaS, 75);
  } else {
    ASSERT_EQ(events.size(), 1u) << reportJson(r);
    EXPECT_EQ(events[0].first, GetParam().expected.kind);
    EXPECT_EQ(events[0].second, GetParam().expected.points);
  }
  EXPECT_EQ(r.score, 100 + GetParam().expected.points);
}

INSTANTIATE_TEST_SUITE_P(ShortLine, HandWorked, ::testing::ValuesIn(kHandCases),
                         [](const auto& p) { return std::string(p.param.name); });

TEST(Grader, TheStationsCarryTheStopErrorAndTheTimetable) {
  HandDrive d;
  d.wait(10);  // leaves at 10:00:00 exactly
  d.depart(50);
  d.standAt(100000 - 40);
  d.arriveAt(1);
  const GradeReport r = d.report();
  ASSERT_EQ(r.stations.size(), 3u);
  EXPECT_EQ(r.stations[0].name, "甲");
  EXPECT_FALSE(r.stations[0].stopErrorCm);  // the drive began there
  EXPECT_FALSE(r.stations[0].arrivalDeltaS);
  EXPECT_EQ(r.stations[0].departureDeltaS, 0);
  EXPECT_EQ(r.stations[1].stop, kind::kStopGood);
  EXPECT_EQ(r.stations[1].stopErrorCm, -40);
  // A second look after the same tick, as the runner takes at the end of a drive, adds nothing.
  d.grader->observe(d.t, d.c, d.nowUs + 50000);
  EXPECT_EQ(d.report().samples.size(), r.samples.size());
  ASSERT_TRUE(r.stations[1].arrivalDeltaS);
  EXPECT_LT(*r.stations[1].arrivalDeltaS, 0);  // early, no points
  EXPECT_FALSE(r.stations[2].stopErrorCm);
  EXPECT_EQ(r.events[0].text, "乙: stopped 40 cm short of the stop target");
}

TEST(Grader, APassedStopHarshBrakingAndAReappliedBrakeAreEachGraded) {
  HandDrive d;
  d.wait(10);
  d.depart(50);
  d.cruiseTo(100000 + 500 + 10001, 50);  // 100 m past 乙's platform
  // A hard stop at 5 km/h/s, the brake eased to step 2 and applied again on the way.
  int k = 0;
  for (double v = 49.5; v > 0.1; v -= 0.5, ++k) {
    d.c.brakeHandle = k >= 20 && k < 30 ? -2 : -4;
    d.tick(v);
  }
  d.tick(0);
  std::vector<std::string> kinds;
  for (const GradeEvent& e : d.report().events) kinds.push_back(e.kind);
  EXPECT_EQ(kinds, (std::vector<std::string>{std::string(kind::kStopPassed), std::string(kind::kComfortDeceleration),
                                             std::string(kind::kComfortJerk), std::string(kind::kBrakeReversal)}));
}

TEST(Grader, ProtectionInterventionsAreToldApartByCause) {
  HandDrive d;
  d.wait(10);
  d.depart(50);
  d.t.vigilanceTicks = 650;
  d.tick(50);
  d.t.vigilanceTicks = 0;
  d.t.autoEmergency = true;
  d.tick(48);  // the vigilance device
  d.t.autoEmergency = false;
  d.tick(46);
  d.t.signals.patternState = 1;
  d.tick(46);  // a pattern warning
  d.t.signals.patternState = 0;
  d.t.autoEmergency = true;
  d.tick(44);  // any other emergency request: ATS
  d.t.autoEmergency = false;
  d.tick(42);
  d.c.brakeHandle = -8;
  d.tick(40);  // the driver's own
  std::vector<std::string> kinds;
  for (const GradeEvent& e : d.report().events) kinds.push_back(e.kind);
  EXPECT_EQ(kinds, (std::vector<std::string>{std::string(kind::kVigilanceBrake), std::string(kind::kAtsWarning),
                                             std::string(kind::kAtsEmergency), std::string(kind::kEmergencyBrake)}));
}

TEST(Grader, AJumpIsListedInPracticeAndVoidsAnExam) {
  for (const GradeMode mode : {GradeMode::Practice, GradeMode::Exam}) {
    HandDrive d(mode);
    d.wait(10);
    d.depart(50);
    // The "Move" menu puts the train at 丙, past 乙 without stopping there.
    d.t.stationJumps += 1;
    d.t.stations.currentStation = 2;
    d.t.distanceRun = 200000;
    d.t.speed = 0;
    d.tick(0);
    d.depart(30);
    const GradeReport r = d.report();
    ASSERT_GE(r.events.size(), 1u);
    if (mode == GradeMode::Practice) {
      EXPECT_EQ(r.events.back().kind, kind::kJump);
      EXPECT_EQ(r.events.back().text, "Moved to 丙");
      EXPECT_EQ(r.score, 100);
      EXPECT_FALSE(r.stations[1].stopErrorCm);  // skipped, not passed
      EXPECT_EQ(r.stations[2].departureDeltaS, std::nullopt);  // 丙 has no time
    } else {
      EXPECT_EQ(r.events.back().kind, kind::kExamVoid);
      EXPECT_EQ(r.events.back().text, "exam void");
      EXPECT_TRUE(r.examVoid);
      EXPECT_FALSE(r.score);
      EXPECT_NE(reportJson(r).find("\"score\": null"), std::string::npos);
    }
  }
}

TEST(Grader, TheReportIsTheSameJsonEveryTime) {
  HandDrive d;
  d.wait(10);
  d.depart(50);
  d.standAt(100000 - 40);
  d.arriveAt(1);
  const std::string json = reportJson(d.report());
  EXPECT_EQ(json, reportJson(d.report()));
  EXPECT_EQ(json.rfind("{\n  \"score\": 98,\n  \"mode\": \"practice\",\n  \"examVoid\": false,\n  \"line\": \"短線\",", 0),
            0u);
  EXPECT_NE(json.find("\"stopErrorCm\": -40,"), std::string::npos);
  EXPECT_NE(json.find("\"kind\": \"stop-good\",\n      \"points\": -2,"), std::string::npos);
  EXPECT_EQ(eventsCsv(d.report()).rfind("t_s,frame,distance_m,kind,points,text\r\n", 0), 0u);
}

TEST(PointsTable, LatenessAndOverspeedStepAndStopAtTheirCaps) {
  EXPECT_EQ(latenessPoints(30), 0);
  EXPECT_EQ(latenessPoints(31), -1);
  EXPECT_EQ(latenessPoints(60), -1);
  EXPECT_EQ(latenessPoints(61), -2);
  EXPECT_EQ(latenessPoints(3600), points::kLatenessCap);
  EXPECT_EQ(overspeedPoints(1, 2.5), -1);
  EXPECT_EQ(overspeedPoints(21, 2.5), -2);
  EXPECT_EQ(overspeedPoints(21, 10), -4);
  EXPECT_EQ(overspeedPoints(10000, 30), points::kOverspeedCap);
  EXPECT_EQ(scoreOf({{0, 0, 0, "x", -150, ""}}), 0);
}

}  // namespace
}  // namespace kestrel::grade
