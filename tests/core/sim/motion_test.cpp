// Closed-form checks of the tick's forces and integration, each worked by hand.
#include "core/sim/motion.h"

#include <gtest/gtest.h>

#include "core/sim/traction.h"
#include "support/drive_rig.h"

namespace kestrel {
namespace {

using motion::runTickMotion;

struct MotionTest : ::testing::Test {
  test::DriveRig rig;
  DriveContext& ctx = rig.c();
  TrainState& t = rig.train;

  void SetUp() override { rig.control.reverser = 1; }

  // One 33 ms event's force step followed by the tick's motion stage.
  void powerAndTick() {
    t.netForce = Fixed();
    t.resistForce = Fixed();
    traction::computeTractiveForce(ctx);
    runTickMotion(ctx);
  }
};

TEST_F(MotionTest, RunningResistanceAt100KmhForGivenMassAndCars) {
  // W = 300 t, N = 10: 9.8 x [300 x (1.32 + 0.0164 x 100) + (0.028 + 0.0078 x 9) x 100^2]
  //   = 9.8 x [888 + 982] = 18 326 N, against the motion.
  EXPECT_NEAR(motion::runningResistance(300, 10, 100), -18326.0, 1e-9);
  EXPECT_NEAR(motion::runningResistance(300, 10, -100), 18326.0, 1e-9);
  // One car: the v^2 term is 0.028 v^2 = 280; 9.8 x (888 + 280) = 11 446.4 N.
  EXPECT_NEAR(motion::runningResistance(300, 1, 100), -11446.4, 1e-9);
  // Between -0.1 and 0.1 km/h there is none.
  EXPECT_EQ(motion::runningResistance(300, 10, 0.1), 0.0);
  EXPECT_EQ(motion::runningResistance(300, 10, -0.1), 0.0);
}

TEST_F(MotionTest, GradientForce) {
  // W = 300 t on 10 per mille rising: -9.8 x 1000 x 300 x 10 / sqrt(10^2 + 1000^2)
  //   = -29 400 000 / 1000.05 = -29 398.53 N.
  EXPECT_NEAR(motion::gradientForce(300, 10), -29398.530, 0.001);
  EXPECT_NEAR(motion::gradientForce(300, -10), 29398.530, 0.001);
  EXPECT_EQ(motion::gradientForce(300, 0), 0.0);
}

TEST_F(MotionTest, ConstantAccelerationBelowTheEndOfTheNotchRowsConstantRange) {
  // Notch 2: A = B = 1.5 km/h/s below C = 40 km/h; F = 1.5 / 3.6 x 240 t x 1000 = 100 000 N.
  t.powerNotch = 2;
  t.speed = 10;
  rig.keys.resistanceOff = true;
  for (int i = 0; i < 50; ++i) powerAndTick();
  EXPECT_EQ(t.netForce, Fixed::fromInt(100000));
  // 50 ticks of 1.5 km/h/s x 0.1 s.
  EXPECT_NEAR(t.speed, 10 + 50 * 0.15, 1e-9);
  EXPECT_EQ(t.slipText, "");
}

TEST_F(MotionTest, ResistanceEntersTheIntegrationAtTheSameStep) {
  // At 10 km/h on the level, 6 cars: R = -9.8 x [240 x (1.32 + 0.164) + (0.028 + 0.039) x 100]
  //   = -9.8 x 362.86 = -3556.028 N; dv = (100 000 - 3556.028) / 240 000 x 0.36.
  t.powerNotch = 2;
  t.speed = 10;
  powerAndTick();
  EXPECT_EQ(t.resistForce, Fixed::fromDouble(-3556.028));
  EXPECT_NEAR(t.speed, 10 + (100000 - 3556.028) / 240000 * 0.36, 1e-9);
}

TEST_F(MotionTest, StartingResistanceOnlyBelow3KmhWhilePoweringOnNonRisingTrack) {
  t.powerNotch = 1;
  t.speed = 1;
  powerAndTick();
  // -(3 - 1) x 9.8 x 240 = -4704 N, plus running resistance -9.8 x (240 x 1.3364 + 0.067) = -3143.8694 N.
  EXPECT_EQ(t.resistForce, Fixed::fromDouble(-4704 - 3143.8694));

  t.speed = 1;
  t.powerNotch = 0;
  powerAndTick();
  EXPECT_EQ(t.resistForce, Fixed::fromDouble(-3143.8694));  // not powering: running resistance only

  t.speed = 1;
  t.powerNotch = 1;
  t.gradient = Fixed::fromInt(5);  // rising: the resistance is already negative
  powerAndTick();
  EXPECT_NEAR(t.resistForce.toDouble(), motion::gradientForce(240, 5) - 3143.8694, 1e-3);

  t.speed = 3;
  t.gradient = Fixed();
  powerAndTick();
  EXPECT_NEAR(t.resistForce.toDouble(), motion::runningResistance(240, 6, 3), 1e-3);
}

TEST_F(MotionTest, StartingResistanceHoldsATrainWithoutPullButNeverMovesIt) {
  // A power notch without pulling force: the reverser in neutral, brakes released.
  rig.control.reverser = 0;
  t.powerNotch = 1;
  for (int i = 0; i < 20; ++i) powerAndTick();
  EXPECT_EQ(t.speed, 0.0);
  EXPECT_EQ(t.speedText, "  0.0 km/h");
  // Creeping either way it comes to a stand, at exactly 0, and stays there.
  for (double creep : {0.01, -0.4, 2.0}) {
    t.speed = creep;
    for (int i = 0; i < 400; ++i) powerAndTick();
    EXPECT_EQ(t.speed, 0.0) << creep;
  }
  // On a falling gradient too light to overcome it, it holds the train where it stands.
  t.gradient = Fixed::fromInt(-2);
  for (int i = 0; i < 20; ++i) powerAndTick();
  EXPECT_EQ(t.speed, 0.0);
  // With pull, it takes its full (3 - v) g W and the train starts.
  rig.control.reverser = 1;
  t.gradient = Fixed();
  powerAndTick();
  EXPECT_GT(t.speed, 0.0);
  EXPECT_EQ(t.resistForce, Fixed::fromDouble(-3 * 9.8 * 240));
}

TEST_F(MotionTest, ForceAboveTheAdhesionLimitSlipsToHalfTheAdhesionForce) {
  // Notch 4 pulls 200 000 N; with only 40 t of motor cars at 10 km/h the limit is
  // mu x 40 x 1000 x 9.8, mu = 0.3 x (1 + 2.79) / (1 + 3.67) = 0.2435 (stored to four places).
  rig.vehicle.Mt = Fixed::fromInt(40);
  t.powerNotch = 4;
  t.speed = 10;
  powerAndTick();
  EXPECT_EQ(t.adhesionCoeff, Fixed::fromDouble(0.2435));
  EXPECT_EQ(t.slipText, "空転");
  EXPECT_EQ(t.netForce, Fixed::fromDouble(0.2435 / 2 * 40 * 1000 * 9.8));
  // The next tick within the limit clears the text.
  t.powerNotch = 1;
  powerAndTick();
  EXPECT_EQ(t.slipText, "");
}

TEST_F(MotionTest, BrakingBeyondAdhesionSlides) {
  t.speed = 50;
  t.brakeNotch = -7;
  t.brakeForce = Fixed::fromInt(1000000);
  runTickMotion(ctx);
  // mu = 0.3 / (1 + 0.295) = 0.2317; -0.66 x 0.2317 x 240 x 1000 x 9.8.
  EXPECT_EQ(t.adhesionCoeff, Fixed::fromDouble(0.2317));
  EXPECT_EQ(t.slipText, "滑走");
  EXPECT_EQ(t.netForce, Fixed::fromDouble(-0.66 * 0.2317 * 240 * 1000 * 9.8));
}

TEST_F(MotionTest, TheStopClampEndsAtExactlyZeroWithoutReversing) {
  t.speed = 0.5;
  t.brakeNotch = -3;
  t.brakeForce = Fixed::fromInt(100000);  // predicted 0.5 - 0.15 - resistance > 0: not yet
  t.bcTrailer = Fixed::fromInt(200);
  runTickMotion(ctx);
  EXPECT_GT(t.speed, 0);
  for (int i = 0; i < 5; ++i) {
    t.netForce = Fixed();
    t.resistForce = Fixed();
    runTickMotion(ctx);
  }
  EXPECT_EQ(t.speed, 0.0);
  EXPECT_EQ(t.netForce, Fixed());
  EXPECT_EQ(t.resistForce, Fixed());
  // At rest with pressure in the cylinders the holding force keeps it there.
  t.gradient = Fixed::fromInt(-10);
  for (int i = 0; i < 5; ++i) {
    t.netForce = Fixed();
    t.resistForce = Fixed();
    runTickMotion(ctx);
  }
  EXPECT_EQ(t.speed, 0.0);
}

TEST_F(MotionTest, AtRestOnTheLevelWithNothingAppliedTheSpeedStaysExactlyZero) {
  for (int i = 0; i < 20; ++i) powerAndTick();
  EXPECT_EQ(t.speed, 0.0);
  EXPECT_EQ(t.speedText, "  0.0 km/h");
}

TEST_F(MotionTest, ATrainRollsAwayOnAFallingGradientUnlessTheHoldPositionIsEngaged) {
  // -25 per mille, brakes released: +9.8 x 1000 x 240 x 25 / sqrt(625 + 10^6) = 58 781.63 N,
  // so the first tick gains 58 781.63 / 240 000 x 0.36 = 0.08817 km/h.
  t.gradient = Fixed::fromInt(-25);
  powerAndTick();
  EXPECT_NEAR(t.speed, 58781.63 / 240000 * 0.36, 1e-6);
  for (int i = 0; i < 30; ++i) powerAndTick();
  EXPECT_GT(t.speed, 2.0);

  TrainState fresh;
  t = fresh;
  t.gradient = Fixed::fromInt(-25);
  rig.control.holdEngaged = true;
  for (int i = 0; i < 30; ++i) powerAndTick();
  EXPECT_EQ(t.speed, 0.0);
}

TEST_F(MotionTest, TunnelResistanceOpposesTheDirectionOfTravel) {
  rig.line.TunnelR = 5;
  rig.line.Tunnel = {{0, 0, 0, 1000, 5000}};
  t.distanceRun = 2000;
  t.speed = 60;
  runTickMotion(ctx);
  EXPECT_TRUE(t.inTunnel);
  // 5 / 10 000 x 60^2 x 240 x 9.8 = 4233.6 N on top of the running resistance.
  EXPECT_NEAR(t.resistForce.toDouble(), -4233.6 + motion::runningResistance(240, 6, 60), 1e-3);
  t.distanceRun = 5000;  // the exit itself is outside
  t.resistForce = Fixed();
  runTickMotion(ctx);
  EXPECT_FALSE(t.inTunnel);
}

TEST_F(MotionTest, ConstantSpeedControlBalancesTheResistance) {
  rig.control.constSpeed = true;
  t.powerNotch = 4;
  t.speed = 70;
  powerAndTick();
  EXPECT_EQ(t.netForce.raw(), -t.resistForce.raw());
  EXPECT_NEAR(t.speed, 70, 1e-12);
}

TEST_F(MotionTest, AVehicleWithoutMassKeepsItsSpeedInsteadOfDividingByZero) {
  rig.vehicle.Tons = Fixed();
  t.powerNotch = 2;
  t.speed = 20;
  powerAndTick();
  EXPECT_EQ(t.speed, 20.0);
  EXPECT_TRUE(std::isfinite(t.predictedSpeed.toDouble()));
}

TEST_F(MotionTest, TextFormats) {
  EXPECT_EQ(motion::formatSpeedText(12.345), " 12.3 km/h");
  EXPECT_EQ(motion::formatSpeedText(-3.04), " -3.0 km/h");
  EXPECT_EQ(motion::formatDistanceText(150000), " 1500 m");  // above 1000 cm: no decimals
  EXPECT_EQ(motion::formatDistanceText(800), "  8.0 m");     // above 500 cm: one
  EXPECT_EQ(motion::formatDistanceText(300), " 3.00 m");     // else two
  EXPECT_EQ(motion::formatDistanceText(-2000), "  -20 m");   // by magnitude
}

}  // namespace
}  // namespace kestrel
