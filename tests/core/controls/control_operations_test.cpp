// The handle operations and masconupdate, with the edge cases of the handle sequences.
#include "core/controls/control_operations.h"

#include <gtest/gtest.h>

#include "core/controls/mascon_update.h"
#include "support/drive_rig.h"

namespace kestrel {
namespace {

struct ControlsTest : ::testing::Test {
  test::DriveRig rig;
  DriveContext& ctx = rig.c();
  ControlState& c = rig.control;
  TrainState& t = rig.train;

  // Six notches in three power modes: groups 0,0,1,1,2,2 with a mode index of 0, 2, 4.
  void useThreeModes() {
    VehicleParams& v = rig.vehicle;
    v.Power = 6;
    v.Notch.clear();
    for (int g : {0, 0, 1, 1, 2, 2}) v.Notch.push_back({1.0, 1.0, 40, 80, 1.0, g});
    v.powerModeIndex = {0, 2, 4};
    v.PowerMode = {{"P", "直列"}, {"S", "並列"}, {"H", "弱め界磁"}};
  }
  void down(int n) {
    for (int i = 0; i < n; ++i) {
      CombinedDown(ctx);
      masconupdate(ctx);
    }
  }
  void up(int n) {
    for (int i = 0; i < n; ++i) {
      CombinedUp(ctx);
      masconupdate(ctx);
    }
  }
};

TEST_F(ControlsTest, OneHandleWithHoldRunsReleaseHoldB1ToTheHighestServiceStepThenEmergency) {
  rig.vehicle.Hold = 1;
  rig.vehicle.Brake = 9;
  rig.rebuild();
  down(1);
  EXPECT_TRUE(c.holdEngaged);
  EXPECT_EQ(c.brakeHandle, 0);
  EXPECT_EQ(c.brakeText, "抑速");
  down(1);
  EXPECT_FALSE(c.holdEngaged);
  EXPECT_EQ(c.brakeHandle, -1);
  EXPECT_EQ(c.brakeText, "B1");
  down(7);
  EXPECT_EQ(c.brakeHandle, -8);  // 1 - nB
  EXPECT_EQ(c.brakeText, "B8");
  down(1);
  EXPECT_EQ(c.brakeHandle, -8);  // only Emergency reaches -nB
  Emergency(ctx, true);
  masconupdate(ctx);
  EXPECT_EQ(c.brakeHandle, -9);
  EXPECT_EQ(c.brakeText, "非常");
}

TEST_F(ControlsTest, FromHoldOneStepDownIsB1AndOneStepUpIsRelease) {
  rig.vehicle.Hold = 1;
  c.holdEngaged = true;
  down(1);
  EXPECT_EQ(c.brakeHandle, -1);
  EXPECT_FALSE(c.holdEngaged);
  c.brakeHandle = 0;
  c.holdEngaged = true;
  up(1);
  EXPECT_EQ(c.brakeHandle, 0);
  EXPECT_FALSE(c.holdEngaged);
  EXPECT_EQ(c.powerHandle, 0);
  EXPECT_EQ(c.brakeText, "ブレーキ解除");
  up(1);
  EXPECT_EQ(c.powerHandle, 1);
  // And back: B2 -> B1 -> hold -> release -> P1.
  c.powerHandle = 0;
  c.brakeHandle = -2;
  up(1);
  EXPECT_EQ(c.brakeHandle, -1);
  up(1);
  EXPECT_TRUE(c.holdEngaged);
}

TEST_F(ControlsTest, WithoutHoldB1GoesToReleaseAndOnToP1AndEveryStepRaisesAllPendingFlags) {
  c.brakeHandle = -1;
  up(1);
  EXPECT_EQ(c.brakeHandle, 0);
  EXPECT_FALSE(c.holdEngaged);
  EXPECT_TRUE(t.powerPending && t.brakePending && t.sapPending && t.ebPending);
  up(1);
  EXPECT_EQ(c.powerHandle, 1);
  EXPECT_EQ(c.powerText, "P1");
  up(5);
  EXPECT_EQ(c.powerHandle, 4);  // nP
  down(4);
  EXPECT_EQ(c.powerHandle, 0);
  EXPECT_EQ(c.powerText, "ノッチオフ");
}

TEST_F(ControlsTest, ALaterPowerModeCountsItsNotchesFromOne) {
  useThreeModes();
  c.powerMode = 2;
  up(1);
  EXPECT_EQ(c.powerHandle, 5);  // first(2) + 1
  EXPECT_EQ(c.powerText, "H1");
  EXPECT_EQ(c.modeText, "弱め界磁");
  up(3);
  EXPECT_EQ(c.powerHandle, 6);  // the mode's rows end there
  EXPECT_EQ(c.powerText, "H2");
  down(1);
  EXPECT_EQ(c.powerHandle, 5);
  down(1);
  EXPECT_EQ(c.powerHandle, 0);
}

TEST_F(ControlsTest, TheClampKeepsPositionsInTheCurrentMode) {
  useThreeModes();
  c.powerMode = 1;
  SetPower(ctx, 9);
  EXPECT_EQ(c.powerHandle, 4);  // the mode's top notch
  SetPower(ctx, 1);
  EXPECT_EQ(c.powerHandle, 3);
  EXPECT_TRUE(t.powerPending);
  EXPECT_FALSE(t.brakePending);
  SetBrake(ctx, 12);
  EXPECT_EQ(c.brakeHandle, -8);  // no further than -nB
  SetBrake(ctx, 3);
  EXPECT_EQ(c.brakeHandle, -3);
  EXPECT_TRUE(t.brakePending);
  SetPower(ctx, 0);
  EXPECT_EQ(c.powerHandle, 0);
}

TEST_F(ControlsTest, ADieselRailcarWithoutANotchTableNotchesUpToItsPowerNotches) {
  rig.vehicle = test::dieselRailcar();  // no [Notch] rows, [Power] 4
  rig.rebuild();
  up(6);
  EXPECT_EQ(c.powerHandle, 4);
  SetPower(ctx, 9);
  EXPECT_EQ(c.powerHandle, 4);
  down(1);
  EXPECT_EQ(c.powerHandle, 3);
}

TEST_F(ControlsTest, TheReverserMovesOnlyAtStandstill) {
  t.speed = 1.5;
  SetReverser(ctx, -1);
  EXPECT_EQ(c.reverser, 0);
  t.speed = -1.0;
  SetReverser(ctx, -1);
  EXPECT_EQ(c.reverser, -1);
  masconupdate(ctx);
  EXPECT_EQ(c.reverserText, "後");
}

TEST_F(ControlsTest, CycleModeOnlyWithThePowerHandleOff) {
  useThreeModes();
  CycleMode(ctx);
  EXPECT_EQ(c.powerMode, 1);
  CycleMode(ctx);
  CycleMode(ctx);
  EXPECT_EQ(c.powerMode, 0);
  c.powerHandle = 1;
  CycleMode(ctx);
  EXPECT_EQ(c.powerMode, 0);
  rig.vehicle.PowerMode.clear();
  c.powerHandle = 0;
  CycleMode(ctx);
  EXPECT_EQ(c.powerMode, 0);
}

TEST_F(ControlsTest, TwoHandleOperationsMoveOneHandleEach) {
  rig.vehicle.Handle = 1;
  c.brakeHandle = -3;
  PowerUp(ctx);
  EXPECT_EQ(c.powerHandle, 1);  // the power handle moves whatever the brake does
  EXPECT_EQ(c.brakeHandle, -3);
  BrakeRelease(ctx);
  EXPECT_EQ(c.brakeHandle, -2);
  BrakeApply(ctx);
  BrakeApply(ctx);
  EXPECT_EQ(c.brakeHandle, -4);
  Emergency(ctx, false);
  EXPECT_EQ(c.brakeHandle, -8);
  EXPECT_EQ(c.powerHandle, 1);
  HandlesOff(ctx);
  EXPECT_EQ(c.brakeHandle, 0);
  EXPECT_EQ(c.powerHandle, 0);
}

TEST_F(ControlsTest, NotchingBackAtSpeedEngagesConstantSpeed) {
  // c1 = 4, c2 = 60: at 70 km/h, the handle from 5 to 4 while the delayed notch is still 5.
  rig.vehicle.Power = 5;
  rig.vehicle.Notch.push_back({1.0, 1.0, 40, 80, 1.0, 0});
  rig.vehicle.Const = {4, 60};
  t.speed = 70;
  c.powerHandle = 5;
  t.powerNotch = 5;
  down(1);
  EXPECT_EQ(c.powerHandle, 4);
  EXPECT_TRUE(c.constSpeed);
  EXPECT_EQ(c.powerText, "定速");
  // The next handle change that the delayed notch does not match cancels it at once.
  down(1);
  EXPECT_FALSE(c.constSpeed);
  EXPECT_EQ(t.powerNotch, 3);
}

TEST_F(ControlsTest, ConstantSpeedByKeyAtTheTopNotchAndCancelledByAnAutomaticBrake) {
  rig.vehicle.Const = {1, 60};
  t.speed = 65;
  c.powerHandle = 4;
  t.powerNotch = 4;
  EngageConstSpeed(ctx);
  masconupdate(ctx);
  EXPECT_TRUE(c.constSpeed);
  EXPECT_EQ(c.powerText, "定速");
  t.autoEmergency = true;
  masconupdate(ctx);
  EXPECT_FALSE(c.constSpeed);
  EXPECT_EQ(c.powerText, "P4");
  EngageConstSpeed(ctx);  // not against the automatic brake
  EXPECT_FALSE(c.constSpeed);
}

TEST_F(ControlsTest, AutomaticAirBrakeTexts) {
  rig.vehicle.BrakeType = 0;
  rig.rebuild();
  c.brakeHandle = -2;
  masconupdate(ctx);
  EXPECT_EQ(c.brakeText, "重なり");
  c.brakeHandle = -3;
  masconupdate(ctx);
  EXPECT_EQ(c.brakeText, "重なり前");
  c.brakeHandle = -1;
  masconupdate(ctx);
  EXPECT_EQ(c.brakeText, "保ち");
  c.brakeHandle = -4;  // -nB for type 0: the emergency text of step 5 stays
  masconupdate(ctx);
  EXPECT_EQ(c.brakeText, "非常");
}

TEST_F(ControlsTest, NotchImagesAndReverserLamps) {
  rig.addSprite("img_Lamp_Fwd", 1, false);
  rig.addSprite("img_Lamp_Bck", 1, true);
  rig.addSprite("img_lamp_p", 5);
  rig.addSprite("img_lamp_b", 9);
  c.reverser = 1;
  c.brakeHandle = -3;
  masconupdate(ctx);
  EXPECT_TRUE(rig.sprites.find("img_Lamp_Fwd")->visible);
  EXPECT_FALSE(rig.sprites.find("img_Lamp_Bck")->visible);
  EXPECT_EQ(rig.sprites.find("img_lamp_b")->pattern, 3);
  EXPECT_FALSE(rig.sprites.find("img_lamp_p")->visible);  // one-handle, braking
  c.brakeHandle = 0;
  c.powerHandle = 2;
  masconupdate(ctx);
  EXPECT_EQ(rig.sprites.find("img_lamp_p")->pattern, 2);
  EXPECT_TRUE(rig.sprites.find("img_lamp_p")->visible);
  // With a hold position the brake frames are shifted by one and hold shows frame 1.
  rig.vehicle.Hold = 1;
  c.powerHandle = 0;
  c.brakeHandle = -2;
  masconupdate(ctx);
  EXPECT_EQ(rig.sprites.find("img_lamp_b")->pattern, 3);
  c.brakeHandle = 0;
  c.holdEngaged = true;
  masconupdate(ctx);
  EXPECT_EQ(rig.sprites.find("img_lamp_b")->pattern, 1);
}

TEST_F(ControlsTest, TheSecondNotchPairShowsTheAutomaticBrakes) {
  rig.addSprite("img_lamp_p2", 5);
  rig.addSprite("img_lamp_b2", 11);
  c.powerHandle = 0;
  c.brakeHandle = -2;
  masconupdate(ctx);
  EXPECT_EQ(rig.sprites.find("img_lamp_b2")->pattern, 2);
  t.autoEmergency = true;
  masconupdate(ctx);
  EXPECT_EQ(rig.sprites.find("img_lamp_b2")->pattern, 10);
  EXPECT_FALSE(rig.sprites.find("img_lamp_p2")->visible);
  t.autoEmergency = false;
  t.autoService = true;
  masconupdate(ctx);
  EXPECT_EQ(rig.sprites.find("img_lamp_b2")->pattern, 9);
}

TEST_F(ControlsTest, TheDepartureCallOutRequestIsHandedOnWhenTheDoorsAreClosedAndPowerIsTaken) {
  t.departureCalloutRequest = true;
  t.doorsOpen = true;
  c.powerHandle = 1;
  masconupdate(ctx);
  EXPECT_FALSE(t.departureCalloutDue);
  t.doorsOpen = false;
  masconupdate(ctx);
  EXPECT_TRUE(t.departureCalloutDue);
  EXPECT_FALSE(t.departureCalloutRequest);
}

TEST_F(ControlsTest, DieselModeTextFollowsTheTargetGear) {
  rig.vehicle = test::dieselRailcar();
  rig.rebuild();
  const std::pair<int, const char*> cases[] = {
      {0, "中立"}, {1, "変速"}, {2, "直結"}, {3, "直結2"}, {5, "直結4"}};
  for (auto [gear, text] : cases) {
    t.targetGear = gear;
    updateModeText(ctx);
    EXPECT_EQ(c.modeText, text) << gear;
  }
  rig.vehicle.Engine.push_back({});  // four rows: gear 2 gets its number
  t.targetGear = 2;
  updateModeText(ctx);
  EXPECT_EQ(c.modeText, "直結1");
}

}  // namespace
}  // namespace kestrel
