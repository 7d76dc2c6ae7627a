// The type-1 speed pattern: its speeds, beacon windows, floors and cap, the pattern states with
// their brakes, lamps and messages, the erasing, and which pattern stands when beacons meet.
#include "core/sim/ats_pattern.h"

#include <gtest/gtest.h>

#include "core/sim/ats.h"
#include "support/drive_rig.h"
#include "support/signal_line.h"
#include "support/station_line.h"

namespace kestrel {
namespace {

TEST(PatternSpeeds, WorkedByHand) {
  // B1 = 4: 7.2 x 0.7 x 4 = 20.16 km/h squared per metre.
  EXPECT_EQ(brakePatternSpeed(10, 2000, 4.0), 10);     // the last 20 m: the target itself
  EXPECT_EQ(brakePatternSpeed(45, 30000, 4.0), 88);    // sqrt(2025 + 20.16 x 280) = 87.58
  EXPECT_EQ(warningPatternSpeed(45, 30000, 4.0), 82);  // sqrt(2025 + 20.16 x 230) = 81.62
  EXPECT_EQ(warningPatternSpeed(45, 7000, 4.0), 35);   // the last 70 m: 10 below the target
}

TEST(PatternSpeeds, BeaconWindowsIncludeTheirUpperBoundOnly) {
  EXPECT_EQ(beaconWindow(59000), -1);
  EXPECT_EQ(beaconWindow(59000.5), 0);
  EXPECT_EQ(beaconWindow(60000), 0);
  EXPECT_EQ(beaconWindow(60000.5), -1);
  EXPECT_EQ(beaconWindow(8500), 4);
  EXPECT_EQ(beaconWindow(7500), -1);
  EXPECT_EQ(beaconWindow(2000), 6);
  EXPECT_EQ(beaconWindow(1500), -1);
  EXPECT_EQ(beaconWindow(1000), -1);
}

struct PatternTest : ::testing::Test {
  test::DriveRig rig;
  TrainState& t = rig.train;

  void SetUp() override {
    rig.vehicle.ATS_Type = 1;
    rig.vehicle.ATS_Warn = 57;
    rig.control.reverser = 1;
    rig.line.Signal = {test::signalRow({.kind = 6, .position = 3000})};
    auto station = test::stationRow({.name = "緑町", .stopCm = 97500});
    station.field[9] = 120;  // line speed: patterns capped at 130
    rig.line.Station = {station};
    for (int ch : {53, 57}) rig.addWave(ch, 1000000);
    for (const char* lamp : {"img_Lamp_Atsp1", "img_Lamp_Atsp2"}) rig.addSprite(lamp, 1, false);
    rig.rebuild();
    t.stations.visits.assign(1, {});
    t.signals.aspect = {0};
  }
  // One entry of the merged event list, at `cm`.
  void entry(int32_t kind, int32_t value, double cm, int32_t index = 0) {
    rig.line.events.push_back({cm, value, index, kind});
  }
  void at(double cm, double speed) {
    t.distanceRun = cm;
    t.speed = speed;
    runSpeedPattern(rig.c());
  }
  bool lit(const char* lamp) { return rig.sprites.find(lamp)->visible; }
  const std::string& lastMessage() { return t.signals.messages.back(); }
};

TEST_F(PatternTest, AStopSignalWarnsThenBrakesUntilTheDriverResets) {
  entry(2, 10, 100000);
  at(72500, 60);  // 275 m before: a beacon
  EXPECT_EQ(t.signals.patternTarget, 10);
  EXPECT_EQ(lastMessage(), "停止信号まで275m");
  EXPECT_EQ(t.signals.brakePattern, 72);  // sqrt(100 + 20.16 x 255)
  EXPECT_EQ(t.signals.warningPattern, 65);
  EXPECT_EQ(t.signals.patternState, 0);
  EXPECT_EQ(t.texts.label8, "275m");
  EXPECT_EQ(t.texts.label9, "10km/h");
  at(72500, 67);  // within 5 km/h of the brake pattern: the warning
  EXPECT_EQ(t.signals.patternState, 1);
  EXPECT_TRUE(lit("img_Lamp_Atsp1"));
  EXPECT_FALSE(lit("img_Lamp_Atsp2"));
  EXPECT_EQ(rig.mixer.operationsOn(57, RecordingMixer::Op::PlayOnce).size(), 1u);
  EXPECT_FALSE(t.autoService);
  at(72500, 73);  // above it: the stop-pattern brake
  EXPECT_EQ(t.signals.patternState, 3);
  EXPECT_TRUE(t.autoService);
  EXPECT_TRUE(t.brakePending && t.sapPending && t.ebPending);
  EXPECT_TRUE(lit("img_Lamp_Atsp1") && lit("img_Lamp_Atsp2"));
  EXPECT_EQ(lastMessage(), "10km/h照査によって停止ブレーキ 速度73 パターン72");
  // Slowed and stopped, the brake holds until the reset clears it.
  at(80000, 0);
  EXPECT_EQ(t.signals.patternState, 3);
  EXPECT_TRUE(t.autoService);
  t.autoService = false;  // the driver's reset
  at(80000, 0);
  EXPECT_EQ(t.signals.patternState, 0);
  EXPECT_FALSE(lit("img_Lamp_Atsp1") || lit("img_Lamp_Atsp2"));
}

TEST_F(PatternTest, ASpeedPatternReleasesBelowItsLimit) {
  entry(1, 45, 100000);  // a 45 km/h check: target 55
  at(72500, 95);
  EXPECT_EQ(t.signals.patternTarget, 55);
  EXPECT_EQ(t.signals.brakePattern, 90);
  EXPECT_EQ(t.signals.patternState, 2);
  EXPECT_TRUE(t.autoService);
  EXPECT_EQ(t.signals.messages,
            (std::deque<std::string>{"55km/h照査まで275m", "55km/h照査によってブレーキ 速度95 パターン90"}));
  at(73000, 60);
  EXPECT_EQ(t.signals.patternState, 2);
  at(73100, 45);  // rounds to 45: not yet below
  EXPECT_EQ(t.signals.patternState, 2);
  at(73200, 44.4);
  EXPECT_EQ(t.signals.patternState, 0);
  EXPECT_FALSE(t.autoService);
  // Within 5 m of the check its pattern ends.
  at(99600, 40);
  EXPECT_EQ(t.signals.patternTarget, SignalState::kNoPattern);
  EXPECT_EQ(lastMessage(), "速度照査パターン消去");
}

TEST_F(PatternTest, WithSpeedChecksOnThePatternBrakesAtEmergency) {
  rig.vehicle.ATS_Alert = 1;
  entry(2, 10, 100000);
  at(72500, 80);
  EXPECT_EQ(t.signals.patternState, 3);
  EXPECT_TRUE(t.autoEmergency);
  EXPECT_FALSE(t.autoService);
}

TEST_F(PatternTest, PatternsNeverFallBelowTheirFloors) {
  // The signal pattern holds 10 km/h to the signal, the station pattern 1 km/h to its stop.
  entry(2, 5, 100000);
  at(98400, 5);  // 16 m before: the last beacon
  EXPECT_EQ(t.signals.patternTarget, 5);
  EXPECT_EQ(t.signals.brakePattern, 10);
  rig.line.events.clear();
  t.signals = SignalState{};
  t.signals.aspect = {0};
  entry(3, 0, 99000);
  at(97100, 5);
  EXPECT_EQ(t.signals.patternTarget, 0);
  EXPECT_EQ(t.signals.brakePattern, 1);
  // Far from any target both patterns stand at the line speed + 10.
  rig.line.events.clear();
  t.signals = SignalState{};
  at(10000, 5);
  EXPECT_EQ(t.signals.brakePattern, 130);
  EXPECT_EQ(t.signals.warningPattern, 130);
}

TEST_F(PatternTest, ASignalThatClearsErasesItsPatternAtTheNextBeacon) {
  entry(2, 10, 100000);
  at(72500, 60);
  t.signals.aspect = {2};
  at(75000, 60);  // between beacons the pattern stands
  EXPECT_EQ(t.signals.patternTarget, 10);
  at(82500, 60);  // 175 m before
  EXPECT_EQ(t.signals.patternTarget, SignalState::kNoPattern);
  EXPECT_EQ(lastMessage(), "パターン消去: 信号まで175m");
  EXPECT_EQ(t.texts.label8, "");
}

TEST_F(PatternTest, AStationPatternStandsUntilTheStopIsMade) {
  entry(3, 15, 100000);  // 25 m beyond the stop at 97500
  at(95000, 0);          // standing on a beacon: no pattern
  EXPECT_EQ(t.signals.patternTarget, SignalState::kNoPattern);
  at(95000, 20);
  EXPECT_EQ(t.signals.patternTarget, 15);
  EXPECT_EQ(lastMessage(), "停車駅まで50m");
  at(97500, 0);
  EXPECT_EQ(t.signals.patternTarget, 15);
  t.stations.visits[0].arrived = true;
  at(97500, 0);
  EXPECT_EQ(t.signals.patternTarget, SignalState::kNoPattern);
  EXPECT_EQ(lastMessage(), "停車駅パターン消去");
  // Leaving, its last beacon no longer sets it.
  at(98100, 12);
  EXPECT_EQ(t.signals.patternTarget, SignalState::kNoPattern);
}

TEST_F(PatternTest, ABeaconFarAheadDoesNotLiftANearerPattern) {
  entry(2, 10, 100000);
  entry(3, 15, 132000);
  entry(1, 25, 86000);
  at(72500, 50);  // the signal's beacon (275 m), and the station's far beacon (595 m)
  EXPECT_EQ(t.signals.patternTarget, 10);
  EXPECT_EQ(t.signals.patternKind, PatternKind::Signal);
  at(73100, 50);  // the speed check's beacon (129 m) is more restrictive here
  EXPECT_EQ(t.signals.patternTarget, 35);
  EXPECT_EQ(t.signals.patternKind, PatternKind::SpeedCheck);
}

TEST_F(PatternTest, AStopBeaconBrakesAtEmergencyAndNothingActsInReverse) {
  t.checkSpeed = 0;
  at(10000, 30);
  EXPECT_TRUE(t.autoEmergency);
  t.autoEmergency = false;
  rig.control.reverser = 0;
  at(10000, 30);
  EXPECT_FALSE(t.autoEmergency);
}

}  // namespace
}  // namespace kestrel
