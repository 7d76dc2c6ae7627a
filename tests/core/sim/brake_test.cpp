// The brake system: release divisor, notch delays with the 0.7 rule, the three pressure models,
// the automatic brake overrides, friction factor and brake force, electric brake, compressor.
#include <gtest/gtest.h>

#include "core/sim/brake_force.h"
#include "core/sim/brake_system.h"
#include "core/sim/compressor.h"
#include "core/sim/electric_brake.h"
#include "support/drive_rig.h"

namespace kestrel {
namespace {

using brakes::advanceAirBrake;

struct BrakeTest : ::testing::Test {
  test::DriveRig rig;
  DriveContext& ctx = rig.c();
  TrainState& t = rig.train;
  VehicleParams& v = rig.vehicle;

  void events(int n) {
    for (int i = 0; i < n; ++i) advanceAirBrake(ctx);
  }
  // Events until the brake notch changes; returns how many it took.
  int eventsUntilBrakeNotchIs(int32_t notch) {
    for (int i = 1; i <= 100; ++i) {
      brakes::advanceNotchDelays(ctx);
      if (t.brakeNotch == notch) return i;
    }
    return -1;
  }
};

TEST_F(BrakeTest, ReleaseDivisor) {
  EXPECT_DOUBLE_EQ(brakes::releaseDivisor(0), 11.0);
  // 10 x 1.2^-10 + 1 = 10 x 0.1615056 + 1.
  EXPECT_NEAR(brakes::releaseDivisor(100), 2.615056, 1e-6);
  EXPECT_NEAR(brakes::releaseDivisor(10, 2.0), 6.0, 1e-12);
}

TEST_F(BrakeTest, ABrakeApplicationTakesBrakeDelayEventsAndAFurtherStepUnderPressure0Point7OfIt) {
  rig.control.brakeHandle = -3;
  t.brakePending = true;
  EXPECT_EQ(eventsUntilBrakeNotchIs(-3), 10);
  EXPECT_FALSE(t.brakePending);
  t.bcTrailer = Fixed::fromInt(100);
  rig.control.brakeHandle = -4;
  t.brakePending = true;
  EXPECT_EQ(eventsUntilBrakeNotchIs(-4), 7);
  // 0.7 x 5 = 3.5: the fourth event reaches it.
  v.BrakeDelay = 5;
  rig.control.brakeHandle = -5;
  t.brakePending = true;
  EXPECT_EQ(eventsUntilBrakeNotchIs(-5), 4);
}

TEST_F(BrakeTest, AutomaticBrakesOverrideTheHandleWhenTheDelayRunsOut) {
  rig.control.brakeHandle = -2;
  t.autoService = true;
  t.brakePending = t.sapPending = t.ebPending = true;
  EXPECT_EQ(eventsUntilBrakeNotchIs(-7), 10);  // the highest service step, 1 - nB
  EXPECT_EQ(t.sapNotch, -7);
  EXPECT_EQ(t.ebNotch, -7);
  t.bcTrailer = Fixed::fromInt(100);
  rig.control.brakeHandle = -8;
  t.brakePending = true;
  EXPECT_EQ(eventsUntilBrakeNotchIs(-8), 7);  // emergency stays emergency
  t.autoService = false;
  t.autoEmergency = true;
  rig.control.brakeHandle = 0;
  t.brakeNotch = 0;
  t.brakePending = t.sapPending = t.ebPending = true;
  EXPECT_EQ(eventsUntilBrakeNotchIs(-8), 7);
  for (int i = 0; i < 10; ++i) brakes::advanceNotchDelays(ctx);
  EXPECT_EQ(t.sapNotch, -8);
  EXPECT_EQ(t.ebNotch, -8);
}

TEST_F(BrakeTest, TypeZeroCylindersDoNotRespondUntilThePipeHasDroppedMoreThanElbr) {
  v.BrakeType = 0;
  v.BrakeUp = 460;  // the pipe falls 460 / (4.6 x 30) = 3.333 kPa per event at "apply"
  v.ELBR = 15;
  rig.rebuild();
  t.mrPressure = Fixed::fromInt(880);
  t.bpPressure = 490;
  t.erPressure = Fixed::fromInt(490);
  t.brakeNotch = -3;
  events(5);  // reductions seen: 0, 3.3, 6.7, 10, 13.3 — never above 15
  EXPECT_EQ(t.bcTrailer, Fixed());
  EXPECT_EQ(t.bcMotor, Fixed());
  EXPECT_NEAR(t.bpPressure, 490 - 5 * 460 / 138.0, 1e-9);
  events(1);  // 16.7 > 15: both cylinders rise by 460 / 30
  EXPECT_EQ(t.bcTrailer, Fixed::fromDouble(460 / 30.0));
  EXPECT_EQ(t.bcMotor, Fixed::fromDouble(460 / 30.0));
}

TEST_F(BrakeTest, TypeZeroForcesFourPositionsAndEmergencyEmptiesThePipe) {
  v.BrakeType = 0;
  v.Brake = 9;
  rig.rebuild();
  EXPECT_EQ(ctx.nB(), 4);
  t.mrPressure = Fixed::fromInt(880);
  t.bpPressure = 490;
  t.brakeNotch = -4;
  events(200);
  EXPECT_EQ(t.bpPressure, 0.0);
  EXPECT_GE(t.bcTrailer, Fixed::fromInt(v.EBPress));
}

TEST_F(BrakeTest, TypeOneTargetsMaxPressTimesStepOverNbMinusOne) {
  // nB = 8, step 4: T = 440 / 7 x 4 = 251.43; the trailer cylinder rises 10 kPa per event while
  // it is more than 10 below T, so it settles at 250.
  t.brakeNotch = -4;
  t.sapNotch = -4;
  events(60);
  EXPECT_EQ(t.bcTrailer, Fixed::fromInt(250));
  EXPECT_EQ(t.bcMotor, Fixed::fromInt(250));  // no electric current: the motor cars brake by air
  // The straight-air pipe: S = 440 / 7 x 4 as well, rising 400 / 30 per event.
  EXPECT_LE(t.sapPressure.toDouble(), 251.43);
  EXPECT_GE(t.sapPressure.toDouble(), 251.43 - 10 - 400 / 30.0);
}

TEST_F(BrakeTest, TypeTwoTargetsMaxPressTimesStepOverNb) {
  v.BrakeType = 2;
  rig.rebuild();
  t.brakeNotch = -4;  // T = 440 / 8 x 4 = 220
  events(400);
  EXPECT_GE(t.bcTrailer.toDouble(), 210.0);
  EXPECT_LT(t.bcTrailer.toDouble(), 220.0);
  // Type 2 leaves the equalising reservoir and the pipe alone.
  EXPECT_EQ(t.erPressure, Fixed());
  EXPECT_EQ(t.bpPressure, 0.0);
}

TEST_F(BrakeTest, TheMotorCylinderGivesWayToTheElectricBrake) {
  t.brakeNotch = -4;
  t.bcMotor = Fixed::fromInt(200);
  t.elecBrakeCurrent = 300;  // carrying the load: falls towards [ELBR] + 5
  events(200);
  EXPECT_LT(t.bcMotor.toDouble(), 55.0 + 1);
  EXPECT_GE(t.bcMotor.toDouble(), 50.0);
}

TEST_F(BrakeTest, PressuresNeverGoBelowZeroAndTheMainReservoirLeaks) {
  t.mrPressure = Fixed::fromInt(800);
  t.brakeNotch = -8;  // type 1 emergency takes from every pipe
  events(30);
  EXPECT_GE(t.erPressure, Fixed());
  EXPECT_GE(t.sapPressure, Fixed());
  EXPECT_GE(t.bpPressure, 0.0);
  // 30 events: 30 x 0.2 / 30 leak plus 30 x 300 / (5 x 30) taken by the trailer rise (while below 500).
  const double rises = std::ceil(500 / (3 * 300 / 30.0));
  EXPECT_NEAR(t.mrPressure.toDouble(), 800 - 0.2 - rises * 300 / 150.0, 1e-3);
}

TEST_F(BrakeTest, FrictionFactorIsB1AtRestTheCurveBelowB3AndOneFromB3Up) {
  v.BrakeRate2 = 0.02;
  // mu(x) = 0.25 (1 + 0.01 x) / (1 + 0.02 x): mu(15) / mu(30) = (1.15 / 1.3) / (1.3 / 1.6) = 1.088757.
  EXPECT_EQ(brakes::frictionFactorAt(v, 0), 4.0);
  EXPECT_NEAR(brakes::frictionFactorAt(v, 15), 1.088757, 1e-6);
  EXPECT_NEAR(brakes::frictionFactorAt(v, -15), 1.088757, 1e-6);
  EXPECT_EQ(brakes::frictionFactorAt(v, 30), 1.0);  // at B3 itself the curve has reached 1
  EXPECT_EQ(brakes::frictionFactorAt(v, 45), 1.0);
}

TEST_F(BrakeTest, BrakeForceOfTheThreeForms) {
  t.speed = 40;  // f = 1
  t.bcMotor = Fixed::fromInt(250);
  t.bcTrailer = Fixed::fromInt(250);
  // Form 1: 4 / 3.6 x 1000 x (120 x 250 + (60 + 60) x 250) / 500 = 133 333.33 N, and the electric
  // brake at 250 of 500 A: 250 / 500 x 3 / 3.6 x 1000 x 120 = 50 000 N.
  t.elecBrakeCurrent = 250;
  brakes::updateBrakeForce(ctx);
  EXPECT_EQ(t.brakeForce, Fixed::fromDouble(4 / 3.6 * 1000 * 60000 / 500 + 50000));
  // Form 0: no electric part; trailers only by [Tt].
  v.BrakeType2 = 0;
  brakes::updateBrakeForce(ctx);
  EXPECT_EQ(t.brakeForce, Fixed::fromDouble(4 / 3.6 * 1000 * (120 * 250 + 60 * 250) / 500));
  // Form 2: motor cylinders act on motor and trailer cars, the electric brake on both.
  v.BrakeType2 = 2;
  t.bcTrailer = Fixed::fromInt(100);
  brakes::updateBrakeForce(ctx);
  EXPECT_EQ(t.brakeForce, Fixed::fromDouble(4 / 3.6 * 1000 * (180 * 250 + 60 * 100) / 500 +
                                            250.0 / 500 * 3 / 3.6 * 1000 * 180));
  // [EBPress] and [EBrakeCurr] of 0 give no force of their kind instead of dividing by zero.
  v.EBPress = 0;
  v.EBrakeCurr = 0;
  brakes::updateBrakeForce(ctx);
  EXPECT_EQ(t.brakeForce, Fixed());
}

TEST_F(BrakeTest, ElectricBrakeRateModelRisesAboveAndFadesBelowLoseElec) {
  t.ebNotch = -3;  // J = 500 / 7 x 3 = 214 A
  t.speed = 50;
  brakes::updateElectricBrake(ctx);
  EXPECT_EQ(t.elecBrakeCurrent, 100);  // [EBrakeUp] / 10 per tick
  brakes::updateElectricBrake(ctx);
  EXPECT_EQ(t.elecBrakeCurrent, 200);
  brakes::updateElectricBrake(ctx);
  EXPECT_EQ(t.elecBrakeCurrent, 200);  // within 50 A of J
  EXPECT_EQ(t.ammeter, -200);
  t.speed = 7;  // below [Lose_elec] 8: [EBrakeDown] / 10 per tick
  brakes::updateElectricBrake(ctx);
  EXPECT_EQ(t.elecBrakeCurrent, 100);
  brakes::updateElectricBrake(ctx);
  brakes::updateElectricBrake(ctx);
  EXPECT_EQ(t.elecBrakeCurrent, 0);
  // Release: falls by 3 x [EBrakeDown] / R as well.
  t.speed = 50;
  t.elecBrakeCurrent = 200;
  t.ebNotch = 0;
  brakes::updateElectricBrake(ctx);
  EXPECT_EQ(t.elecBrakeCurrent, 0);
}

TEST_F(BrakeTest, ElectricBrakeTableModelTreatsUnder100AAsNothing) {
  v.Brake_Type = 0;
  v.BrakeCurr = {400, 400, 400, 400, 400, 400, 400, 400};
  v.CurrentB = {{0.5, 0, 0}, {0.1, 0, 0}};  // I = (|v| - b) / a
  t.ebNotch = -3;
  t.speed = 40;
  brakes::updateElectricBrake(ctx);
  // Row 0 gives 40 / 0.5 = 80 A, below the limit of position 3, so the step moves on; 80 A
  // counts as nothing.
  EXPECT_EQ(t.elecBrakeStep, 1);
  EXPECT_EQ(t.elecBrakeCurrent, 0);
  brakes::updateElectricBrake(ctx);  // row 1: 40 / 0.1 = 400 A, not below the limit: stays
  EXPECT_EQ(t.elecBrakeStep, 1);
  EXPECT_EQ(t.elecBrakeCurrent, 400);
  EXPECT_EQ(t.ammeter, -400);
  v.BrakeCurr[2] = 0;  // no current for this position
  brakes::updateElectricBrake(ctx);
  EXPECT_EQ(t.elecBrakeStep, 0);
  EXPECT_EQ(t.elecBrakeCurrent, 0);
  t.ebNotch = 0;
  t.elecBrakeStep = 1;
  brakes::updateElectricBrake(ctx);
  EXPECT_EQ(t.elecBrakeStep, 0);
}

TEST_F(BrakeTest, TheCompressorChargesFromLowToHighAirPressWithItsSounds) {
  rig.addWave(v.CP_Start);
  rig.addWave(v.CP_Cnt);
  rig.addWave(v.CP_End);
  t.mrPressure = Fixed::fromDouble(779.5);
  brakes::runCompressor(ctx);
  EXPECT_TRUE(t.compressorOn);
  EXPECT_TRUE(rig.mixer.isLooping(v.CP_Cnt));
  EXPECT_EQ(rig.mixer.operationsOn(v.CP_Start, RecordingMixer::Op::PlayOnce).size(), 1u);
  EXPECT_EQ(t.mrPressure, Fixed::fromDouble(779.8));  // 0.3 kPa per tick, electric
  int ticks = 0;
  while (t.compressorOn && ticks < 1000) {
    brakes::runCompressor(ctx);
    ++ticks;
  }
  EXPECT_FALSE(t.compressorOn);
  EXPECT_FALSE(rig.mixer.isPlaying(v.CP_Cnt));
  EXPECT_EQ(rig.mixer.operationsOn(v.CP_End, RecordingMixer::Op::PlayOnce).size(), 1u);
  // It never passes [HighAirPress] by more than one tick's charge.
  EXPECT_GE(t.mrPressure, Fixed::fromInt(880));
  EXPECT_LT(t.mrPressure, Fixed::fromDouble(880.3));
}

}  // namespace
}  // namespace kestrel
