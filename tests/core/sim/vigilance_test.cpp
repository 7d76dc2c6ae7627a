// The vigilance device and the stop-approach chime.
#include "core/sim/vigilance.h"

#include <gtest/gtest.h>

#include "core/controls/key_handlers.h"
#include "core/sim/stop_chime.h"
#include "support/drive_rig.h"

namespace kestrel {
namespace {

using Op = RecordingMixer::Op;

struct VigilanceTest : ::testing::Test {
  test::DriveRig rig;
  TrainState& t = rig.train;
  int ring = 0;

  void SetUp() override {
    rig.vehicle.EB = 1;
    rig.vehicle.Stop = 59;
    ring = rig.vehicle.Sound_EBring;
    rig.addWave(ring, 500000);
    rig.addWave(59, 2000000);
    rig.addSprite("img_Lamp_EB");
    rig.rebuild();
    setUpVigilance(rig.c());
  }
  void ticks(int n) {
    for (int i = 0; i < n; ++i) runVigilance(rig.c());
  }
  bool lampLit() { return rig.sprites.find("img_Lamp_EB")->visible; }
};

TEST_F(VigilanceTest, AnInattentiveDriverHearsTheRingThenTheEmergencyBrake) {
  EXPECT_FALSE(lampLit());
  t.speed = 1;  // not moving enough to count
  ticks(700);
  EXPECT_EQ(t.vigilanceTicks, 0);
  t.speed = 40;
  ticks(600);
  EXPECT_FALSE(rig.mixer.isPlaying(ring));
  EXPECT_FALSE(lampLit());
  ticks(1);
  EXPECT_TRUE(rig.mixer.isLooping(ring));
  EXPECT_TRUE(lampLit());
  ticks(49);
  EXPECT_FALSE(t.autoEmergency);
  ticks(1);  // tick 651
  EXPECT_TRUE(t.autoEmergency);
  EXPECT_TRUE(t.powerPending && t.brakePending && t.sapPending && t.ebPending);
  EXPECT_FALSE(rig.mixer.isPlaying(ring));
  EXPECT_EQ(t.vigilanceTicks, 0);
  EXPECT_TRUE(lampLit());  // until the driver acts
}

TEST_F(VigilanceTest, AnyKeyStartsTheCountAgain) {
  t.speed = 40;
  ticks(620);
  AsciiDown(rig.c(), U'5');
  EXPECT_EQ(t.vigilanceTicks, 0);
  EXPECT_FALSE(rig.mixer.isPlaying(ring));
  EXPECT_FALSE(lampLit());
  ticks(600);
  EXPECT_FALSE(lampLit());
}

TEST_F(VigilanceTest, NothingWithoutTheDeviceOrWithTheDebugSwitches) {
  t.speed = 40;
  rig.vehicle.EB = 0;
  ticks(700);
  EXPECT_EQ(t.vigilanceTicks, 0);
  EXPECT_FALSE(t.autoEmergency);
  rig.vehicle.EB = 1;
  rig.keys.autoRun = true;
  ticks(700);
  rig.keys.autoRun = false;
  rig.keys.resistanceOff = true;
  ticks(700);
  EXPECT_EQ(t.vigilanceTicks, 0);
  EXPECT_FALSE(t.autoEmergency);
}

TEST_F(VigilanceTest, TheStopChimeRingsFromTheBrakingPointWhileMoving) {
  t.speed = 36;              // 36 / 5 x 36 / 3.6 = 72 m
  t.distanceToStop = 20000;  // 200 m - 125 m = 75 m
  stopApproachChime(rig.c());
  EXPECT_FALSE(rig.mixer.isPlaying(59));
  t.distanceToStop = 19600;
  stopApproachChime(rig.c());
  EXPECT_TRUE(rig.mixer.isPlaying(59));
  stopApproachChime(rig.c());  // not restarted while it sounds
  EXPECT_EQ(rig.mixer.operationsOn(59, Op::PlayOnce).size(), 1u);
  // At a stand at the stop it stays silent.
  rig.mixer.stop(59);
  t.speed = 0;
  t.distanceToStop = 0;
  stopApproachChime(rig.c());
  EXPECT_FALSE(rig.mixer.isPlaying(59));
}

}  // namespace
}  // namespace kestrel
