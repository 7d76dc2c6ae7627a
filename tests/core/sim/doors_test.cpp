// The doors: opening only at a standstill, the door-closed sequence that waits for the door
// sounds, doors closed by the tick on a train that moves off, and the one-man door sounds.
#include "core/sim/doors.h"

#include <gtest/gtest.h>

#include "support/drive_rig.h"

namespace kestrel {
namespace {

constexpr int kOpen = 56, kClose = 57, kDepSign = 58;

struct DoorsTest : ::testing::Test {
  test::DriveRig rig;
  TrainState& t = rig.train;

  void SetUp() override {
    rig.vehicle.Sound_DoorOpen = kOpen;
    rig.vehicle.Sound_DoorClose = kClose;
    rig.vehicle.DepSign = kDepSign;
    rig.addWave(kOpen, 2000000);
    rig.addWave(kClose, 3000000);
    rig.addWave(kDepSign, 1000000);
    rig.addSprite("img_Lamp_Door");
  }
  bool lampVisible() { return rig.sprites.find("img_Lamp_Door")->visible; }
  size_t plays(int channel) { return rig.mixer.operationsOn(channel, RecordingMixer::Op::PlayOnce).size(); }
};

TEST_F(DoorsTest, DoorsDoNotOpenAtPointOneKmhOrFaster) {
  for (double v : {0.1, -0.1, 3.0}) {
    t.speed = v;
    Door_operate(rig.c());
    EXPECT_FALSE(t.doorsOpen) << v;
    EXPECT_FALSE(t.doorsCommandedOpen) << v;
  }
  EXPECT_EQ(plays(kOpen), 0u);
  t.speed = 0.09;
  Door_operate(rig.c());
  EXPECT_TRUE(t.doorsOpen);
  EXPECT_TRUE(t.doorsCommandedOpen);
  EXPECT_EQ(plays(kOpen), 1u);
  EXPECT_FALSE(lampVisible());
  EXPECT_FALSE(t.stations.doorLampLit);
  EXPECT_EQ(t.stations.doorText, "ドアが開いています");
}

TEST_F(DoorsTest, TheDoorsCountAsClosedOnceTheDoorSoundsHaveEnded) {
  t.speed = 0;
  Door_operate(rig.c());
  Door_operate(rig.c());  // at once: the close command, the open sound still sounding
  EXPECT_TRUE(t.doorsOpen);
  EXPECT_FALSE(t.doorsCommandedOpen);
  EXPECT_EQ(plays(kClose), 1u);
  EXPECT_EQ(t.stations.doorText, "ドアを閉めています");
  runDoors(rig.c());
  EXPECT_TRUE(t.doorsOpen);  // both sounds still play
  rig.nowUs = 2500000;       // the open sound has ended, the close sound has not
  runDoors(rig.c());
  EXPECT_TRUE(t.doorsOpen);
  EXPECT_TRUE(rig.callouts.calls.empty());
  rig.nowUs = 3000000;
  runDoors(rig.c());
  EXPECT_FALSE(t.doorsOpen);
  EXPECT_TRUE(lampVisible());
  EXPECT_EQ(plays(kDepSign), 1u);
  EXPECT_EQ(t.stations.departures, 1);
  EXPECT_EQ(t.stations.doorText, "");
  EXPECT_EQ(rig.callouts.calls, (std::vector<std::string>{"kanko_queue_add 19", "StationKanko 3"}));
  // Once only: the lamp is lit now.
  rig.nowUs = 9000000;
  runDoors(rig.c());
  EXPECT_EQ(t.stations.departures, 1);
  EXPECT_EQ(plays(kDepSign), 1u);
}

TEST_F(DoorsTest, DoorsLeftOpenCloseWhenTheTrainPassesFiveKmh) {
  t.speed = 0;
  Door_operate(rig.c());
  t.speed = 5;
  runDoors(rig.c());
  EXPECT_TRUE(t.doorsCommandedOpen);
  EXPECT_EQ(plays(kClose), 0u);
  t.speed = 5.1;
  runDoors(rig.c());
  EXPECT_FALSE(t.doorsCommandedOpen);
  EXPECT_TRUE(t.doorsOpen);
  EXPECT_EQ(plays(kClose), 1u);
  // Closing doors cannot be opened again while moving.
  Door_operate(rig.c());
  EXPECT_FALSE(t.doorsCommandedOpen);
  EXPECT_EQ(plays(kOpen), 1u);
}

TEST_F(DoorsTest, OnOneManLinesTheDoorSoundsWaitForTheAnnouncement) {
  rig.line.OneMan = 1;
  rig.line.AnnounceTable.first = 3;
  rig.line.AnnounceTable.rows = {{4, 0, 1, 0}};
  const int announcement = rig.constants.vehicleSoundCount + 4;
  rig.addWave(announcement, 5000000);
  rig.mixer.playOnce(announcement);
  rig.keys.oneManText = "左";
  t.speed = 0;
  Door_operate(rig.c());
  EXPECT_TRUE(t.doorsOpen);  // the doors open all the same, silently
  EXPECT_EQ(plays(kOpen), 0u);
  EXPECT_EQ(rig.keys.oneManText, "");
  rig.nowUs = 5000000;
  Door_operate(rig.c());
  EXPECT_EQ(plays(kClose), 1u);
}

TEST_F(DoorsTest, ClosingAtRestLightsTheLampWithoutASound) {
  t.speed = 0;
  Door_operate(rig.c());
  closeDoorsAtRest(rig.c());
  EXPECT_FALSE(t.doorsOpen);
  EXPECT_FALSE(t.doorsCommandedOpen);
  EXPECT_TRUE(lampVisible());
  runDoors(rig.c());  // nothing is waiting to close
  EXPECT_EQ(t.stations.departures, 0);
  EXPECT_EQ(plays(kClose), 0u);
}

}  // namespace
}  // namespace kestrel
