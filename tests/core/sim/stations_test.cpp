// The station rules of the tick: the texts between stations and at platforms, the arrival by
// station type and door handling, the departure readiness with the next stop, the automatic door
// closing, the end of the run, and the queries the signal rules use.
#include "core/sim/stations.h"

#include <gtest/gtest.h>

#include "core/sim/doors.h"
#include "support/drive_rig.h"
#include "support/station_line.h"

namespace kestrel {
namespace {

constexpr int32_t kDep = 1080000;  // 10:00:00

struct StationsTest : ::testing::Test {
  test::DriveRig rig;
  TrainState& t = rig.train;
  int arrivalChannel = 0, departureChannel = 0;

  void SetUp() override {
    rig.settings.Stop = "停車";
    rig.settings.Pass = "通過";
    rig.settings.Stop2 = "運転停車";
    rig.settings.Cars = "両編成";
    rig.vehicle.Sound_DoorOpen = 56;
    rig.vehicle.Sound_DoorClose = 57;
    rig.vehicle.DepSign = 58;
    auto& st = rig.line.Station;
    st.push_back(test::stationRow({"鷹見", 0, 100, 5000, 500, 0, 1, kDep}));
    st.push_back(test::stationRow({"東鷹見", 1, 3100, 100000, 500, 0, 1, 0}));
    st.push_back(test::stationRow({"緑町", 0, 6100, 200000, 500, 0, 1, kDep + 3000}));
    st.push_back(test::stationRow({"北野", 2, 9100, 300000, 500, 0, 1, kDep + 6000}));
    st.push_back(test::stationRow({"鳥羽台", 0, 12100, 400000, 500, 0, 1, 0}));
    rig.line.soundLengths = {2, 5};  // arrival 2 s, departure 5 s
    rig.rebuild();
    arrivalChannel = rig.c().environmentChannel(0);
    departureChannel = rig.c().environmentChannel(1);
    rig.addWave(arrivalChannel, 2000000);
    rig.addWave(departureChannel, 5000000);
    t.stations.visits.assign(st.size(), {});
  }
  void at(double cm, double speed = 0) {
    t.distanceRun = cm;
    t.speed = speed;
  }
  void tick() { runStations(rig.c()); }
  size_t plays(int channel) { return rig.mixer.operationsOn(channel, RecordingMixer::Op::PlayOnce).size(); }
  const StationVisit& visit(int i) { return t.stations.visits[static_cast<size_t>(i)]; }
};

TEST_F(StationsTest, BetweenStationsTheNextStationIsNamedWithTheLabelOfItsType) {
  at(50000, 60);
  tick();
  EXPECT_EQ(t.stations.stationText, "次は 東鷹見通過");
  at(150000, 60);
  tick();
  EXPECT_EQ(t.stations.stationText, "次は 緑町停車");
  at(250000, 60);
  tick();
  EXPECT_EQ(t.stations.stationText, "次は 北野運転停車");
  // Inside the next platform's window the train is at that station.
  at(199600, 20);
  tick();
  EXPECT_EQ(t.stations.stationText, "ただいま 緑町");
  EXPECT_EQ(t.stations.currentStation, 2);
}

TEST_F(StationsTest, APassingStationNeverShowsTadaima) {
  for (double cm : {99500.0, 100000.0, 100500.0}) {
    for (double v : {60.0, 0.0}) {
      at(cm, v);
      tick();
      EXPECT_EQ(t.stations.stationText.find("ただいま"), std::string::npos) << cm << " " << v;
    }
  }
  EXPECT_EQ(t.stations.currentStation, 0);
  EXPECT_FALSE(visit(1).visited);
  EXPECT_FALSE(visit(1).arrived);
  EXPECT_FALSE(t.doorsOpen);
  EXPECT_FALSE(firstTickInsidePlatform(rig.c(), 1));
}

TEST_F(StationsTest, AutomaticDoorsOpenAtTheStandThenTheDepartureSoundEndsAtTheScheduledTime) {
  const int32_t dep = kDep + 3000;
  t.TickCounter = dep - 900;
  at(200200, 0.3);  // rounds to 0 but is not below 0.1 km/h: the doors wait
  EXPECT_TRUE(firstTickInsidePlatform(rig.c(), 2));
  tick();
  EXPECT_FALSE(firstTickInsidePlatform(rig.c(), 2));
  EXPECT_TRUE(visit(2).visited);
  EXPECT_FALSE(visit(2).arrived);
  EXPECT_FALSE(t.doorsOpen);
  at(200200, 0);
  tick();
  EXPECT_TRUE(visit(2).arrived);
  EXPECT_TRUE(t.doorsOpen);
  EXPECT_TRUE(t.doorsCommandedOpen);
  EXPECT_EQ(t.stations.arrivalClock, dep - 900);
  EXPECT_EQ(plays(arrivalChannel), 1u);
  EXPECT_EQ(plays(56), 1u);  // the door-open sound
  EXPECT_EQ(rig.callouts.calls, (std::vector<std::string>{"StationKanko 0", "StationKanko 1"}));
  EXPECT_TRUE(t.departureCalloutRequest);

  // Departure readiness: after the scheduled time less the departure sound (5 s).
  rig.callouts.calls.clear();
  t.TickCounter = dep - 150;
  tick();
  EXPECT_FALSE(visit(2).departureReady);
  EXPECT_EQ(t.stations.nextStopStation, 0);
  t.TickCounter = dep - 149;
  tick();
  EXPECT_TRUE(visit(2).departureReady);
  EXPECT_EQ(plays(departureChannel), 1u);
  EXPECT_EQ(t.stations.nextStopStation, 3);  // 東鷹見 is passed, 北野 (type 2) is a stop
  EXPECT_EQ(t.stopTarget, 300000);
  EXPECT_EQ(t.distanceToStop, 300000 - 200200);
  EXPECT_EQ(rig.callouts.calls, (std::vector<std::string>{"StationKanko 2"}));

  // The doors close automatically once the scheduled time has passed.
  rig.callouts.calls.clear();
  t.TickCounter = dep;
  tick();
  EXPECT_TRUE(t.doorsCommandedOpen);
  t.TickCounter = dep + 1;
  tick();
  EXPECT_FALSE(t.doorsCommandedOpen);
  EXPECT_TRUE(visit(2).passedDoors);
  EXPECT_EQ(plays(57), 1u);  // the door-close sound; no wave, so the doors count as closed at once
  EXPECT_FALSE(t.doorsOpen);
  EXPECT_EQ(rig.callouts.calls,
            (std::vector<std::string>{"StationKanko 5", "kanko_queue_add 19", "StationKanko 3"}));
  // Standing on with the doors closed opens nothing again.
  t.TickCounter = dep + 300;
  tick();
  EXPECT_FALSE(t.doorsOpen);
  EXPECT_EQ(plays(56), 1u);
}

TEST_F(StationsTest, TheDepartureAlsoWaitsForTheArrivalSound) {
  const int32_t dep = kDep + 3000;
  t.TickCounter = dep - 100;  // late: the departure time less 5 s has passed already
  at(200000, 0);
  tick();
  EXPECT_TRUE(visit(2).arrived);
  EXPECT_FALSE(visit(2).departureReady);
  t.TickCounter = dep - 100 + 60;  // the arrival sound is 2 s long
  tick();
  EXPECT_FALSE(visit(2).departureReady);
  t.TickCounter = dep - 100 + 61;
  tick();
  EXPECT_TRUE(visit(2).departureReady);
}

TEST_F(StationsTest, DriverOperatedDoorsMakeTheArrivalWhenTheDriverOpensThem) {
  rig.line.OneMan = 1;
  t.TickCounter = kDep;
  at(199900, 0.4);
  tick();
  EXPECT_EQ(rig.callouts.calls, (std::vector<std::string>{"StationKanko 0"}));  // the stand
  tick();
  EXPECT_EQ(rig.callouts.calls.size(), 1u);
  EXPECT_FALSE(t.doorsOpen);
  EXPECT_FALSE(visit(2).arrived);
  t.speed = 0;
  Door_operate(rig.c());
  t.TickCounter = kDep + 10;
  tick();
  EXPECT_TRUE(visit(2).arrived);
  EXPECT_EQ(t.stations.arrivalClock, kDep + 10);
  EXPECT_EQ(rig.callouts.calls, (std::vector<std::string>{"StationKanko 0", "StationKanko 1"}));
  EXPECT_EQ(plays(arrivalChannel), 0u);  // the driver announces on a one-man line
  // The doors stay open until the driver closes them, whatever the time.
  t.TickCounter = kDep + 6000;
  tick();
  EXPECT_TRUE(visit(2).departureReady);
  EXPECT_TRUE(t.doorsCommandedOpen);
  EXPECT_FALSE(visit(2).passedDoors);
}

TEST_F(StationsTest, AStopWithoutDoorHandlingArrivesStandingAndDepartsStanding) {
  t.TickCounter = kDep + 6000 - 1000;
  at(300100, 0);
  tick();
  EXPECT_TRUE(visit(3).arrived);
  EXPECT_FALSE(t.doorsOpen);
  EXPECT_TRUE(rig.callouts.calls.empty());
  EXPECT_EQ(t.stations.stationText, "ただいま 北野");
  t.TickCounter = kDep + 6000 - 149;
  at(300100, 0.6);  // rolling: not ready
  tick();
  EXPECT_FALSE(visit(3).departureReady);
  at(300100, 0);
  tick();
  EXPECT_TRUE(visit(3).departureReady);
  EXPECT_EQ(t.stations.nextStopStation, 4);
  // No doors to close at such a stop, even after the scheduled time.
  t.TickCounter = kDep + 9000;
  tick();
  EXPECT_FALSE(visit(3).passedDoors);
  EXPECT_FALSE(t.doorsOpen);
}

TEST_F(StationsTest, TheRunEndsAtTheLastStopOnceItsArrivalSoundHasEnded) {
  t.TickCounter = kDep + 9000;
  at(400000, 0);
  tick();
  EXPECT_TRUE(t.doorsOpen);
  EXPECT_FALSE(t.stations.runEnded);  // the arrival sound plays for 2 s
  EXPECT_EQ(t.FadeLevel, 0);
  EXPECT_FALSE(visit(4).departureReady);  // nothing to depart for
  rig.nowUs = 1900000;
  tick();
  EXPECT_FALSE(t.stations.runEnded);
  rig.nowUs = 2000000;
  tick();
  EXPECT_TRUE(t.stations.runEnded);
  EXPECT_EQ(t.FadeLevel, 1);
  // The presentation fades on; the end is not taken again.
  t.FadeLevel = 40;
  tick();
  EXPECT_EQ(t.FadeLevel, 40);
  EXPECT_EQ(t.stations.nextStopStation, 0);
}

TEST_F(StationsTest, SectionAndQueriesForTheSignalRules) {
  for (auto [cm, section] :
       {std::pair{4000.0, 0}, {5000.0, 0}, {150000.0, 1}, {200000.0, 2}, {999999.0, 4}}) {
    at(cm, 0);
    lookUpStationSection(rig.c());
    EXPECT_EQ(t.stations.section, section) << cm;
  }
  EXPECT_EQ(currentSectionLineSpeed(rig.c()), 80);
  EXPECT_EQ(nextStopAfter(rig.line, 0), 2);
  EXPECT_EQ(nextStopAfter(rig.line, 3), 4);
  EXPECT_EQ(nextStopAfter(rig.line, 4), -1);
  EXPECT_FALSE(departureReady(rig.c(), 2));
  t.stations.visits[2].departureReady = true;
  EXPECT_TRUE(departureReady(rig.c(), 2));
  EXPECT_FALSE(departureReady(rig.c(), 99));
  for (auto [cm, inside] : {std::pair{4499.0, false}, {4500.0, true}, {5500.0, true}, {5501.0, false}}) {
    at(cm);
    EXPECT_EQ(insidePlatform(rig.c(), 0), inside) << cm;
  }
  EXPECT_FALSE(insidePlatform(rig.c(), -1));
}

TEST_F(StationsTest, ADriveBeginningAtATypeZeroStationBeginsWithItsDoorsOpen) {
  rig.addSprite("img_Lamp_Door");
  t.TickCounter = kDep - 150;
  at(5000, 0);
  setUpStations(rig.c(), 0);
  EXPECT_TRUE(t.doorsOpen);
  EXPECT_TRUE(t.doorsCommandedOpen);
  EXPECT_FALSE(rig.sprites.find("img_Lamp_Door")->visible);
  EXPECT_EQ(t.stations.stationText, "ただいま 鷹見");
  EXPECT_EQ(t.stations.doorText, "6両編成");
  // The stop counts as made: the departure sound starts on the first tick and the doors close
  // after the departure time.
  t.TickCounter += 1;
  tick();
  EXPECT_TRUE(visit(0).departureReady);
  EXPECT_EQ(plays(arrivalChannel), 0u);
  EXPECT_EQ(t.stations.nextStopStation, 2);
  t.TickCounter = kDep + 1;
  tick();
  EXPECT_FALSE(t.doorsOpen);
  // At a stop without doors, and on a one-man line without the car count.
  rig.line.OneMan = 1;
  setUpStations(rig.c(), 3);
  EXPECT_FALSE(t.doorsOpen);
  EXPECT_TRUE(rig.sprites.find("img_Lamp_Door")->visible);
  EXPECT_EQ(t.stations.doorText, "");
}

}  // namespace
}  // namespace kestrel
