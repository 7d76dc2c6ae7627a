// Traction: the power-notch delay and [NotchBack], gating, the three models, the reverser, and the
// tick's meters.
#include "core/sim/traction.h"

#include <gtest/gtest.h>

#include <cmath>

#include "core/sim/traction_meters.h"
#include "support/drive_rig.h"

namespace kestrel {
namespace {

struct TractionTest : ::testing::Test {
  test::DriveRig rig;
  DriveContext& ctx = rig.c();
  TrainState& t = rig.train;

  void SetUp() override {
    rig.control.reverser = 1;
    t.lineVoltageTarget = Fixed::fromInt(1500);
  }
  void event() {
    t.netForce = Fixed();
    traction::computeTractiveForce(ctx);
  }
  double forceAt(double speed, int notch) {
    t.speed = speed;
    t.powerNotch = notch;
    return traction::notchTableForce(ctx);
  }
};

TEST_F(TractionTest, ThePowerNotchFollowsTheHandleAfterPowerDelayEventsAndPullsFromTheNext) {
  rig.control.powerHandle = 2;
  t.powerPending = true;
  event();
  event();
  EXPECT_EQ(t.powerNotch, 0);
  event();  // third event: [PowerDelay] = 3
  EXPECT_EQ(t.powerNotch, 2);
  EXPECT_FALSE(t.powerPending);
  EXPECT_EQ(t.tractionLatch, Fixed());  // this event's force used the notch before
  event();
  EXPECT_EQ(t.netForce, Fixed::fromInt(100000));  // 1.5 km/h/s x 240 t / 3.6
  EXPECT_EQ(t.tractionLatch, t.netForce);
}

TEST_F(TractionTest, NotchBackIgnoresReductionsBelowItExceptToOff) {
  rig.vehicle.Power = 5;
  rig.vehicle.Notch.push_back({3.75, 3.75, 40, 80, 0.98, 0});
  rig.vehicle.NotchBack = 3;
  rig.vehicle.PowerDelay = 1;
  t.powerNotch = 5;
  rig.control.powerHandle = 2;
  t.powerPending = true;
  event();
  EXPECT_EQ(t.powerNotch, 5);
  rig.control.powerHandle = 3;
  t.powerPending = true;
  event();
  EXPECT_EQ(t.powerNotch, 3);
  t.powerNotch = 5;
  rig.control.powerHandle = 0;
  t.powerPending = true;
  event();
  EXPECT_EQ(t.powerNotch, 0);
}

TEST_F(TractionTest, APowerDelayOfZeroActsOnTheFirstEvent) {
  rig.vehicle.PowerDelay = 0;
  rig.control.powerHandle = 1;
  t.powerPending = true;
  event();
  EXPECT_EQ(t.powerNotch, 1);
}

TEST_F(TractionTest, TheNotchIsTakenOverOnlyInMovieModes0And2) {
  rig.vehicle.PowerDelay = 1;
  rig.control.powerHandle = 1;
  t.powerPending = true;
  t.MovieMode = 1;
  event();
  EXPECT_EQ(t.powerNotch, 0);
  EXPECT_FALSE(t.powerPending);  // the change is consumed
}

TEST_F(TractionTest, NotchTableShape) {
  // Notch 4: A = B = 3 km/h/s, C = 40, D = 80, E = 0.98; 1 km/h/s is 240 000 / 3.6 N.
  const double perKmhs = 240000 / 3.6;
  EXPECT_NEAR(forceAt(20, 4), 3.0 * perKmhs, 1e-6);
  EXPECT_NEAR(forceAt(60, 4), 40 * 3.0 / 60 * perKmhs, 1e-6);  // constant power
  // Above D: C B / v x E^(round(v) - D) = 40 x 3 / 90 x 0.98^10 = 1.0894304 km/h/s.
  EXPECT_NEAR(forceAt(90, 4), 1.0894304 * perKmhs, 1e-3);
  // A rising characteristic below C: A + v (B - A) / C.
  rig.vehicle.Notch[0] = {4.0, 2.0, 40, 80, 1.0, 0};
  EXPECT_NEAR(forceAt(20, 1), 3.0 * perKmhs, 1e-6);
  // A speed-holding row (A <= 0) acts only between C and D.
  rig.vehicle.Notch[1] = {-1.0, 0, 50, 70, 1.0, 0};
  EXPECT_EQ(forceAt(40, 2), 0.0);
  EXPECT_NEAR(forceAt(60, 2), -1.0 * perKmhs, 1e-6);
  EXPECT_EQ(forceAt(70, 2), 0.0);
  // A row with C = 0 at standstill takes its standstill acceleration instead of 0/0.
  rig.vehicle.Notch[2] = {2.0, 2.0, 0, 30, 1.0, 0};
  EXPECT_NEAR(forceAt(0, 3), 2.0 * perKmhs, 1e-6);
  // No force with the brake handle applied.
  rig.control.brakeHandle = -1;
  EXPECT_EQ(forceAt(20, 4), 0.0);
}

TEST_F(TractionTest, GatingAndReverser) {
  t.powerNotch = 4;
  t.speed = 120;  // exactly [MaxSpeed]
  event();
  EXPECT_EQ(t.netForce, Fixed());
  t.speed = -130;  // the comparison is signed: rolling back is never cut off
  event();
  EXPECT_GT(t.netForce.raw(), 0);
  t.speed = 10;
  t.doorsOpen = true;
  event();
  EXPECT_EQ(t.netForce, Fixed());
  rig.vehicle.DoorLock = 0;
  event();
  EXPECT_GT(t.netForce.raw(), 0);
  t.autoService = true;
  event();
  EXPECT_EQ(t.netForce, Fixed());
  t.autoService = false;
  rig.control.reverser = -1;
  event();
  EXPECT_EQ(t.netForce, Fixed::fromInt(-200000));
  rig.control.reverser = 0;
  event();
  EXPECT_EQ(t.netForce, Fixed());
}

TEST_F(TractionTest, CurrentTableForceAndResistanceSteps) {
  VehicleParams& v = rig.vehicle;
  v.Power_Type = 0;
  v.CurrentPHead = {500, 3.6, 40};  // 3.6 km/h/s = 1 m/s^2 at 500 A up to 40 km/h
  // Current of a step: round(a / (|v| - b)).
  v.CurrentP = {{1, 4000, -10, 0}, {1, 4000, -5, 0}, {2, 6000, -5, 0}, {2, 6000, 0, 0}};
  t.powerNotch = 1;
  t.speed = 0;
  traction::updateResistanceSteps(ctx);
  // l = 0: 4000 / 10 = 400; l = 1: below 500 A, so step 1: 4000 / 5 = 800; the rest need notch 2.
  EXPECT_EQ(t.resistStep, 1);
  EXPECT_EQ(t.motorCurrent, 800);
  traction::updateAmmeter(ctx);
  EXPECT_EQ(t.ammeter, 800);
  // F = W x 1000 x a / Iref x I = 240 000 x 1 / 500 x 800.
  EXPECT_NEAR(traction::currentTableForce(ctx), 384000, 1e-6);
  t.speed = 80;  // above vc: a falls with vc / v
  EXPECT_NEAR(traction::currentTableForce(ctx), 192000, 1e-6);
  // Off: steps and current restart from 0.
  t.powerNotch = 0;
  traction::updateResistanceSteps(ctx);
  traction::updateAmmeter(ctx);
  EXPECT_EQ(t.resistStep, 0);
  EXPECT_EQ(t.motorCurrent, 0);
  EXPECT_EQ(t.ammeter, 0);
  // A header without a reference current pulls nothing rather than dividing by zero.
  v.CurrentPHead.Iref = 0;
  t.powerNotch = 1;
  EXPECT_EQ(traction::currentTableForce(ctx), 0.0);
}

TEST_F(TractionTest, NotchTableAmmeterAndVoltmeter) {
  t.tractionLatch = Fixed::fromInt(100000);
  t.powerNotch = 2;
  traction::updateAmmeter(ctx);
  EXPECT_EQ(t.ammeter, 75);  // 100 000 / 240 000 x 3.6 x 50
  t.powerNotch = 0;
  traction::updateAmmeter(ctx);
  EXPECT_EQ(t.ammeter, 0);

  for (int i = 1; i <= 6; ++i) {
    traction::updateVoltmeter(ctx);
    EXPECT_EQ(t.lineVoltage, Fixed::fromInt(250 * i));
  }
  traction::updateVoltmeter(ctx);
  EXPECT_EQ(t.lineVoltage, Fixed::fromInt(1500));
}

struct DieselTractionTest : TractionTest {
  void SetUp() override {
    TractionTest::SetUp();
    rig.vehicle = test::dieselRailcar();
    rig.rebuild();
    t.gear = 1;
  }
};

TEST_F(DieselTractionTest, BelowPowerJerkNotch4PullsAsNotch2) {
  // First gear: e0 = 1200 at 0, e1 = 1000 at 20 km/h. At 2 km/h f = 1200 - 2 x 200 / 20 = 1180 kgf,
  // below [PowerJerk] 5 km/h notch 4 counts as 2: F = 2 x 1180 x 9.8 / 4.
  t.powerNotch = 4;
  t.speed = 2;
  EXPECT_NEAR(traction::dieselForce(ctx), 2 * 1180 * 9.8 / 4, 1e-9);
  t.speed = 10;  // 1100 kgf, all four notches
  EXPECT_NEAR(traction::dieselForce(ctx), 4 * 1100 * 9.8 / 4, 1e-9);
  t.speed = 30;  // between s1 and s2: 1000 + 10 x (500 - 1000) / 20 = 750
  EXPECT_NEAR(traction::dieselForce(ctx), 4 * 750 * 9.8 / 4, 1e-9);
  t.speed = 40;  // at s2: none
  EXPECT_EQ(traction::dieselForce(ctx), 0.0);
  t.speed = 10;
  t.shifting = 1;  // no force while shifting
  EXPECT_EQ(traction::dieselForce(ctx), 0.0);
}

TEST_F(DieselTractionTest, ARowWithEqualFirstSpeedsGivesItsFirstEffort) {
  rig.vehicle.Engine[1] = {10, 10, 40, 1200, 1000, 500};
  t.powerNotch = 4;
  t.speed = 8;
  const double f = traction::dieselForce(ctx);
  EXPECT_TRUE(std::isfinite(f));
  EXPECT_NEAR(f, 4 * 1200 * 9.8 / 4, 1e-9);
}

}  // namespace
}  // namespace kestrel
