// The jump to a station: the clock (interpolated for a station without a time), the preceding
// train, the announcement to resume at, and everything it resets.
#include "core/front/station_jump.h"

#include <gtest/gtest.h>

#include "support/drive_rig.h"
#include "support/station_line.h"

namespace kestrel {
namespace {

LineData stationsLine() {
  LineData l = test::levelLine();
  l.Station = {test::stationRow({"A", 0, 100, 10000, 500, 0, 1, 1080000}),
               test::stationRow({"B", 0, 3100, 110000, 500, 0, 1, 0}),
               test::stationRow({"C", 1, 6100, 210000, 500, 0, 1, 0}),
               test::stationRow({"D", 0, 12100, 410000, 500, 0, 1, 1089000}),
               test::stationRow({"E", 0, 15100, 510000, 500, 0, 1, 0})};
  l.soundLengths = {2, 5};  // arrival 2 s, departure 5 s: 210 units before the departure time
  return l;
}

TEST(JumpClockTest, AStationWithoutATimeTakesTheTimeInterpolatedByStopDistance) {
  const LineData l = stationsLine();
  EXPECT_EQ(jumpDepartureTime(l, 0), 1080000);
  // B lies a quarter of the way from A (10000 cm) to D (410000 cm): 1080000 + 9000 / 4.
  EXPECT_EQ(jumpDepartureTime(l, 1), 1082250);
  EXPECT_EQ(jumpClock(l, 1, 0), 1082250 - 210);
  EXPECT_EQ(jumpDepartureTime(l, 2), 1084500);  // half way
  EXPECT_EQ(jumpClock(l, 3, 0), 1089000 - 210);
}

TEST(JumpClockTest, NeighboursAtOneDistanceOrMissingOnOneSide) {
  LineData l = stationsLine();
  // Nothing timed after E: the time of D, the last timed station before it.
  EXPECT_EQ(jumpDepartureTime(l, 4), 1089000);
  // Nothing timed before: the first timed station after it.
  l.Station[0].field[8] = 0;
  EXPECT_EQ(jumpDepartureTime(l, 1), 1089000);
  // A timed neighbour on each side at the same stop distance: no division by zero.
  l = stationsLine();
  l.Station[3].stopDistanceCm = l.Station[0].stopDistanceCm;
  EXPECT_EQ(jumpDepartureTime(l, 1), 1080000);
  // No time on the whole line: the clock stays where it was.
  l.Station[0].field[8] = 0;
  l.Station[3].field[8] = 0;
  EXPECT_EQ(jumpDepartureTime(l, 1), std::nullopt);
  EXPECT_EQ(jumpClock(l, 1, 1234567), 1234567);
  EXPECT_EQ(jumpDepartureTime(l, 7), std::nullopt);
}

TEST(JumpClockTest, TheAnnouncementResumesAtTheFirstRowForTheStationThatAllowsIt) {
  LineData l = stationsLine();
  // Rows 1 to 5: station 0, 1 (flag 1: not a place to resume), 1, 3, 4.
  l.AnnounceTable.rows = {{10, 0, 0, 0}, {11, 1, 1, 0}, {12, 0, 1, 0}, {13, 0, 3, 0}, {14, 0, 4, 0}};
  EXPECT_EQ(jumpAnnouncementIndex(l, 0), 1);
  EXPECT_EQ(jumpAnnouncementIndex(l, 1), 3);
  EXPECT_EQ(jumpAnnouncementIndex(l, 2), 4);  // no row for station 2: the next station's
  EXPECT_EQ(jumpAnnouncementIndex(l, 5), std::nullopt);
}

struct JumpTest : ::testing::Test {
  test::DriveRig rig;
  TrainState& t = rig.train;
  ControlState& c = rig.control;

  void SetUp() override {
    rig.line = stationsLine();
    rig.line.Pre_Train = {0, 99999, {{0, 60, 1081000}, {3, 60, 1090000}}};
    rig.line.AnnounceTable.rows = {{10, 0, 0, 0}, {11, 0, 1, 0}, {12, 0, 3, 0}};
    rig.rebuild();
    rig.addSprite("img_Lamp_Door", 1, false);
  }
};

TEST_F(JumpTest, TheTrainStandsAtTheStationWithEverythingReset) {
  // A drive in full swing: moving with power, doors open, stations visited, sounds playing.
  t.speed = 55;
  c.powerHandle = 3;
  t.powerNotch = 3;
  c.brakeHandle = 0;
  t.brakeNotch = 0;
  t.doorsOpen = true;
  t.doorsCommandedOpen = true;
  t.stations.doorLampLit = false;
  t.stations.visits.assign(5, {true, true, true, true, true});
  t.stations.visits[2].visited = false;
  t.stations.runEnded = true;
  t.checkSpeed = 45;
  t.atsAlarm = true;
  t.autoService = true;
  t.signals.patternTarget = 10;
  t.signals.patternState = 3;
  t.texts.label9 = "10km/h";
  t.trackside.lastSignalCode = 21;
  t.trackside.limitBlinking = true;
  t.departureCalloutRequest = true;
  t.MovieFrame = 8000;
  t.MovieDirection = 1;
  t.frameRow = 0;
  t.distanceRun = 300000;
  t.TickCounter = 1085000;
  t.preTrain.preTrainFrame = 9000;
  rig.addWave(0, 60000000);
  rig.addWave(5, 60000000);
  rig.mixer.playLooped(0);
  rig.mixer.playLooped(5);

  ASSERT_TRUE(StationClick(rig.c(), 1));
  EXPECT_EQ(t.stations.displayStation, 2);  // the first one not visited from B on
  EXPECT_EQ(t.speed, 0);
  EXPECT_EQ(c.powerHandle, 0);
  EXPECT_EQ(t.powerNotch, 0);
  EXPECT_EQ(c.brakeHandle, -7);  // the highest service step of 8 positions
  EXPECT_EQ(t.brakeNotch, -7);
  EXPECT_EQ(t.sapNotch, -7);
  EXPECT_EQ(c.brakeText, "B7");
  EXPECT_FALSE(t.doorsOpen);
  EXPECT_FALSE(t.doorsCommandedOpen);
  EXPECT_TRUE(rig.sprites.find("img_Lamp_Door")->visible);
  for (const StationVisit& v : t.stations.visits) EXPECT_FALSE(v.visited || v.arrived || v.departureReady);
  EXPECT_FALSE(t.stations.runEnded);
  EXPECT_EQ(t.checkSpeed, 999);
  // The ATS state "none", the pattern brake released; the trackside pictures drawn anew.
  EXPECT_FALSE(t.atsAlarm);
  EXPECT_FALSE(t.autoService);
  EXPECT_EQ(t.signals.patternTarget, 999);
  EXPECT_EQ(t.signals.patternState, 0);
  EXPECT_EQ(t.texts.label9, "");
  EXPECT_EQ(t.trackside.lastSignalCode, TracksideState::kNeverDrawn);
  EXPECT_FALSE(t.trackside.limitBlinking);
  EXPECT_FALSE(t.departureCalloutRequest);
  EXPECT_TRUE(rig.mixer.isPlaying(0));  // channel 0 plays on
  EXPECT_FALSE(rig.mixer.isPlaying(5));
  EXPECT_EQ(t.MovieFrame, 3100);
  EXPECT_EQ(t.MovieDirection, 0);
  EXPECT_EQ(t.LastShownFrame, -1);
  EXPECT_EQ(t.frameRow, -1);
  EXPECT_EQ(t.distanceRun, 110000);
  EXPECT_EQ(t.stopTarget, 110000);
  EXPECT_EQ(t.distanceToStop, 0);
  EXPECT_EQ(t.stations.stationText, "ただいま B");
  EXPECT_EQ(t.stations.currentStation, 1);
  EXPECT_EQ(t.TickCounter, 1082250 - 210);
  EXPECT_EQ(t.preTrain.preTrainFrame, 12100);  // row 2 (station D) leaves after the new time
  EXPECT_EQ(rig.keys.announceIndex, 2);
}

TEST_F(JumpTest, AStationOutsideTheTableChangesNothing) {
  t.speed = 30;
  EXPECT_FALSE(StationClick(rig.c(), 5));
  EXPECT_FALSE(StationClick(rig.c(), -1));
  EXPECT_EQ(t.speed, 30);
}

}  // namespace
}  // namespace kestrel
