// The diesel railcar: engine start and stop by the key, gear selection and shifting, stall and
// engine speed.
#include <gtest/gtest.h>

#include "core/sim/diesel_engine.h"
#include "support/drive_rig.h"

namespace kestrel {
namespace {

struct DieselTest : ::testing::Test {
  test::DriveRig rig;
  DriveContext& ctx = rig.c();
  TrainState& t = rig.train;

  void SetUp() override {
    rig.vehicle = test::dieselRailcar();
    rig.rebuild();
    rig.control.reverser = 1;
    for (int ch : {63, 64, 65}) rig.addWave(ch, 2000000);
  }
  void ticks(int n) {
    for (int i = 0; i < n; ++i) diesel::runEngineKey(ctx);
  }
  size_t plays(int channel) { return rig.mixer.operationsOn(channel, RecordingMixer::Op::PlayOnce).size(); }
};

TEST_F(DieselTest, TheEngineMustBeCrankedFor50TicksAndAnEarlierReleaseStopsItAgain) {
  t.engineState = 0;
  t.engineKey = 1;
  ticks(1);
  EXPECT_EQ(t.engineState, -1);
  EXPECT_EQ(plays(diesel::engineStartSound(rig.vehicle)), 1u);
  ticks(48);  // 49 ticks held
  t.engineKey = 0;
  ticks(1);
  EXPECT_EQ(t.engineState, 0);
  EXPECT_EQ(plays(diesel::engineStopSound(rig.vehicle)), 1u);
  EXPECT_EQ(t.engineKeyTicks, 0);

  t.engineKey = 1;
  ticks(49);
  EXPECT_EQ(t.engineState, -1);
  ticks(1);
  EXPECT_EQ(t.engineState, 1);
  t.engineKey = 0;
  ticks(1);
  EXPECT_EQ(t.engineState, 1);
}

TEST_F(DieselTest, TheStopKeyStopsTheEngineAfter50TicksWithThePowerHandleOff) {
  t.engineKey = 2;
  ticks(39);
  EXPECT_EQ(t.engineState, -2);
  EXPECT_EQ(plays(diesel::engineStopSound(rig.vehicle)), 0u);
  ticks(1);
  EXPECT_EQ(plays(diesel::engineStopSound(rig.vehicle)), 1u);
  ticks(10);
  EXPECT_EQ(t.engineState, 0);
  // Released early, a stopping engine keeps running.
  t.engineState = 1;
  t.engineKey = 2;
  ticks(20);
  t.engineKey = 0;
  ticks(1);
  EXPECT_EQ(t.engineState, 1);
  // Not with the power handle on.
  rig.control.powerHandle = 1;
  t.engineKey = 2;
  ticks(60);
  EXPECT_EQ(t.engineState, 1);
}

TEST_F(DieselTest, StandingInNeutralAPowerNotchSelectsFirstGear) {
  rig.vehicle.Engine[0].s2 = 0;  // neutral up to 0 km/h, as authors write it: a standing train never exceeds it
  diesel::selectGear(ctx);
  EXPECT_EQ(t.targetGear, 0);  // no notch: neutral stays
  t.powerNotch = 1;
  diesel::selectGear(ctx);
  EXPECT_EQ(t.targetGear, 1);
}

TEST_F(DieselTest, AGearChangeInterruptsTractionFor10Ticks) {
  t.powerNotch = 2;
  diesel::selectGear(ctx);  // standing: neutral's s2 of -1 selects first gear
  EXPECT_EQ(t.targetGear, 1);
  for (int i = 1; i <= 9; ++i) {
    diesel::selectGear(ctx);
    diesel::shiftGears(ctx);
    EXPECT_EQ(t.shifting, 1) << i;
    EXPECT_EQ(t.gear, 0);
  }
  diesel::selectGear(ctx);
  diesel::shiftGears(ctx);
  EXPECT_EQ(t.shifting, 0);
  EXPECT_EQ(t.gear, 1);
  // Above first gear's s2 the box selects second and shifts again.
  t.speed = 45;
  diesel::selectGear(ctx);
  EXPECT_EQ(t.targetGear, 2);
  diesel::shiftGears(ctx);
  EXPECT_EQ(t.shifting, 1);
  // Notch off: straight to neutral, then a second's shift.
  t.powerNotch = 0;
  t.shifting = 0;
  t.shiftTicks = 0;
  diesel::shiftGears(ctx);
  EXPECT_EQ(t.gear, 0);
  EXPECT_EQ(t.shifting, 2);
}

TEST_F(DieselTest, AStandingTrainInTopGearWithPowerStalls) {
  t.gear = 2;
  t.targetGear = 2;
  t.powerNotch = 1;
  t.speed = 0.3;
  diesel::checkStall(ctx);
  EXPECT_EQ(t.engineState, 0);
  EXPECT_EQ(t.powerNotch, 0);
  EXPECT_EQ(t.noticeText, diesel::kStallNotice);
}

TEST_F(DieselTest, EngineSpeedIdlesAt30AndFollowsTheGearRatio) {
  for (int i = 0; i < 10; ++i) diesel::advanceEngineSpeed(ctx);
  EXPECT_EQ(t.engineSpeed, 30);
  t.gear = 1;
  t.powerNotch = 2;
  t.speed = 20;  // target 20 x 3.0 + 20 = 80: 0.6 per event while more than 5 away
  diesel::advanceEngineSpeed(ctx);
  EXPECT_NEAR(t.engineSpeed, 30.6, 1e-12);
  for (int i = 0; i < 200; ++i) diesel::advanceEngineSpeed(ctx);
  EXPECT_NEAR(t.engineSpeed, 79.0, 0.05);  // then 0.03 while more than 1 away
  t.engineState = 0;
  t.powerNotch = 0;
  for (int i = 0; i < 100; ++i) diesel::advanceEngineSpeed(ctx);
  EXPECT_EQ(t.engineSpeed, 0);  // a stopped engine runs down and never below 0
}

}  // namespace
}  // namespace kestrel
