// The ATS of types 0 and 2, the alarm and its count, the speed-check sections, rollback protection
// and the state "none" at the start and after a jump.
#include "core/sim/ats.h"

#include <gtest/gtest.h>

#include "core/controls/driver_keys.h"
#include "core/sim/ats_alarm.h"
#include "core/sim/ats_cab_signal.h"
#include "core/sim/rollback_protection.h"
#include "core/sim/speed_checks.h"
#include "support/drive_rig.h"
#include "support/signal_line.h"

namespace kestrel {
namespace {

using Op = RecordingMixer::Op;

struct AtsTest : ::testing::Test {
  test::DriveRig rig;
  TrainState& t = rig.train;
  const VehicleParams& v = rig.vehicle;

  void SetUp() override {
    rig.vehicle.ATS_Type = 0;
    rig.vehicle.ATS_Time = 5;
    rig.vehicle.Sound_Atc = 56;
    rig.line.Speed_Signal = {0, 25, 55, 75, 120};
    // Signal 0 always shows stop (mode 2); signal 1 shows stop behind the preceding train at 3500.
    rig.line.Signal = {
        test::signalRow({.kind = 6,
                         .approachStart = 1000,
                         .position = 2000,
                         .beacon1 = 1100,
                         .beacon2 = 1970,
                         .mode = 2}),
        test::signalRow(
            {.kind = 6, .approachStart = 2016, .position = 3000, .beacon1 = 2100, .beacon2 = 2970}),
        test::signalRow(
            {.kind = 6, .approachStart = 3016, .position = 4000, .beacon1 = 3100, .beacon2 = 3970}),
    };
    t.preTrain.preTrainFrame = 3500;
    for (int ch : {53, 54, 55, 56}) rig.addWave(ch, 60000000);
    for (const char* lamp : {"img_Lamp_Ats1", "img_Lamp_Ats2", "img_Lamp_Atsp1", "img_Lamp_Atsp2"})
      rig.addSprite(lamp);
    rig.rebuild();
    resetAts(rig.c());
    rig.control.brakeHandle = 0;
    t.speed = 60;
  }
  void tickAt(int32_t frame) {
    t.MovieFrame = frame;
    runSignalsAndAts(rig.c());
  }
  bool lit(const char* lamp) { return rig.sprites.find(lamp)->visible; }
  // Type 1 without signals, one [SpeedCheck2] section of 45 km/h over frames 1000 to 2000.
  void useSpeedCheckSection() {
    rig.vehicle.ATS_Type = 1;
    rig.line.Signal.clear();
    SpeedCheck2Row row;
    row.f(1) = 45;
    row.f(3) = 1000;
    row.f(4) = 2000;
    rig.line.SpeedCheck2 = {row};
    rig.panel.Lamp_signalPatterns = {0, 15, 25, 35, 45, std::nullopt, 75};
  }
};

TEST_F(AtsTest, AStopWarningAlarmsOnceAndTheAcknowledgementHoldsUntilTheNextSignal) {
  tickAt(1050);
  EXPECT_FALSE(t.atsAlarm);
  tickAt(1100);  // over the long-range beacon of a stop signal
  EXPECT_TRUE(t.atsAlarm);
  EXPECT_FALSE(t.autoEmergency);
  EXPECT_FALSE(lit("img_Lamp_Ats1"));
  EXPECT_TRUE(lit("img_Lamp_Ats2"));
  EXPECT_TRUE(rig.mixer.isLooping(v.Sound_Ats2));
  EXPECT_EQ(t.checkSpeed, kNone999);  // the beacon acts while the train is over it
  // The driver brakes and acknowledges: the chime, the lamps back; over the same beacon nothing new.
  rig.control.brakeHandle = -3;
  atsAcknowledge(rig.c());
  EXPECT_FALSE(t.atsAlarm);
  EXPECT_TRUE(lit("img_Lamp_Ats1"));
  EXPECT_FALSE(lit("img_Lamp_Ats2"));
  EXPECT_FALSE(rig.mixer.isPlaying(v.Sound_Ats2));
  EXPECT_TRUE(rig.mixer.isPlaying(v.Sound_Ats3));
  tickAt(1110);
  EXPECT_FALSE(t.atsAlarm);
  // The next signal at stop warns again.
  tickAt(2100);
  EXPECT_TRUE(t.atsAlarm);
}

TEST_F(AtsTest, TheBeaconBeforeAStopSignalBrakesAtOnceUnlessTheBrakeIsAlreadyAtEmergency) {
  rig.control.brakeHandle = -rig.c().nB();
  tickAt(1970);
  EXPECT_FALSE(t.atsAlarm);
  EXPECT_FALSE(t.autoEmergency);
  rig.control.brakeHandle = -2;
  tickAt(1960);
  EXPECT_TRUE(t.atsAlarm);
  EXPECT_TRUE(t.autoEmergency);
  EXPECT_TRUE(t.brakePending && t.sapPending && t.ebPending);
  EXPECT_TRUE(rig.mixer.isLooping(v.Sound_Ats1));
  // The reset at a stand with the brake at emergency lifts it; the emergency bell stops at once,
  // the alarm bell at the start of the next tick.
  t.speed = 0;
  rig.control.brakeHandle = -rig.c().nB();
  atsReset(rig.c());
  EXPECT_FALSE(t.autoEmergency);
  EXPECT_FALSE(t.atsAlarm);
  EXPECT_FALSE(rig.mixer.isPlaying(v.Sound_Ats1));
  EXPECT_TRUE(rig.mixer.isPlaying(v.Sound_Ats2));
  atsWarningSounds(rig.c());
  EXPECT_FALSE(rig.mixer.isPlaying(v.Sound_Ats2));
}

TEST_F(AtsTest, WithSpeedChecksTheBeaconChecksTheStepOfARestrictingAspect) {
  rig.vehicle.ATS_Alert = 1;
  rig.line.Signal[0].f(9) = 1;  // restricted: code 22, step 25 km/h
  t.speed = 25;
  tickAt(1970);
  EXPECT_FALSE(t.atsAlarm);
  t.speed = 26;
  tickAt(1971);
  EXPECT_TRUE(t.atsAlarm);
  EXPECT_FALSE(t.autoEmergency);  // no emergency for type 0 without acknowledgement time
}

TEST_F(AtsTest, ASpeedCheckSectionBrakesTypesOneAndTwoOnTheNextTick) {
  useSpeedCheckSection();
  t.speed = 45;
  tickAt(1000);  // the section is open at both ends
  EXPECT_EQ(t.signals.speedCheckImage, -1);
  tickAt(1001);
  EXPECT_EQ(t.signals.speedCheckImage, 4);  // the [Lamp_signal] cell whose entry is 45
  EXPECT_FALSE(t.atsAlarm);
  t.speed = 45.5;
  t.powerNotch = 3;
  tickAt(1002);
  EXPECT_TRUE(t.atsAlarm);
  EXPECT_EQ(t.atsAlarmTicks, 50);
  EXPECT_FALSE(t.autoEmergency);
  tickAt(1003);
  EXPECT_TRUE(t.autoEmergency);
  EXPECT_EQ(t.powerNotch, 0);
  tickAt(2000);
  EXPECT_EQ(t.signals.speedCheckImage, -1);
  EXPECT_EQ(t.checkSpeed, kNone999);
}

TEST_F(AtsTest, ASpeedCheckSectionShowsAndAlarmsAlsoWithTheAtsOff) {
  useSpeedCheckSection();
  t.AtsEnabled = false;
  t.speed = 46;
  tickAt(1500);
  EXPECT_EQ(t.signals.speedCheckImage, 4);
  EXPECT_TRUE(t.atsAlarm);
  tickAt(1501);
  EXPECT_FALSE(t.autoEmergency);  // the alarm's count runs only with the ATS on
}

TEST(SpeedLimitLookAhead, DistancesRoundHalfAwayFromZero) {
  EXPECT_EQ(limitNeededCm(60, 2.5), 600);  // round(2.5) x 200
  EXPECT_EQ(limitNeededCm(60, 0.5), 200);
  EXPECT_EQ(limitNeededCm(0, 10.8), 1600);  // 10.8 x 10.8 / 21.6 + 10.8 = 16.2 -> 16 x 100
  EXPECT_EQ(limitRemainingCm(1000.5, 0), 1001);
  EXPECT_EQ(limitRemainingCm(1002.5, 0), 1003);
}

TEST_F(AtsTest, AnAlarmLeftStandingBrakesAfterItsTime) {
  rig.vehicle.ATS_Type = 2;
  rig.line.Signal.clear();
  t.atsAlarm = true;
  for (int i = 0; i < 50; ++i) tickAt(100);
  EXPECT_FALSE(t.autoEmergency);
  tickAt(100);
  EXPECT_TRUE(t.autoEmergency);
  // Type 0 alarms wait for the driver.
  resetAts(rig.c());
  t.autoEmergency = false;
  rig.vehicle.ATS_Type = 0;
  t.atsAlarm = true;
  for (int i = 0; i < 100; ++i) tickAt(100);
  EXPECT_FALSE(t.autoEmergency);
}

TEST_F(AtsTest, CabSignalControlBrakesAboveTheStepLessPointFour) {
  rig.vehicle.ATS_Type = 2;
  t.AtsEnabled = false;  // the cab signal is the line's signalling: the ATS preference does not stop it
  t.currentCode = 23;  // step 1: 25 km/h
  t.speed = 25 - 0.4;
  cabSignalControl(rig.c());
  EXPECT_FALSE(t.autoService);
  EXPECT_FALSE(t.signals.atcBraking);
  t.speed = 24.61;
  rig.control.constSpeed = true;
  cabSignalControl(rig.c());
  EXPECT_TRUE(t.autoService);
  EXPECT_FALSE(t.autoEmergency);
  EXPECT_FALSE(rig.control.constSpeed);  // masconupdate ran with the request: no speed held against it
  EXPECT_TRUE(t.signals.atcBraking);
  EXPECT_TRUE(t.powerPending && t.brakePending && t.sapPending && t.ebPending);
  t.powerPending = t.brakePending = false;
  t.speed = 24;
  cabSignalControl(rig.c());
  EXPECT_FALSE(t.autoService);
  EXPECT_FALSE(t.signals.atcBraking);
  EXPECT_TRUE(t.powerPending && t.brakePending);
  // Code 22 (step 0) brakes at emergency; a code whose step the line lacks checks nothing.
  t.currentCode = 22;
  t.speed = 1;
  cabSignalControl(rig.c());
  EXPECT_TRUE(t.autoEmergency);
  t.autoEmergency = false;
  t.currentCode = 28;  // step 6 of five
  t.speed = 200;
  cabSignalControl(rig.c());
  EXPECT_FALSE(t.autoEmergency || t.autoService);
}

TEST_F(AtsTest, RollingBackAgainstTheReverserFasterThanSevenBrakes) {
  rig.vehicle.Back = 1;
  rig.control.reverser = 1;
  t.speed = -7;
  rollbackProtection(rig.c());
  EXPECT_FALSE(t.autoEmergency);
  t.speed = -7.01;
  rollbackProtection(rig.c());
  EXPECT_TRUE(t.autoEmergency);
  EXPECT_TRUE(t.brakePending);
  EXPECT_EQ(rig.mixer.operationsOn(56, Op::PlayOnce).size(), 1u);
  rollbackProtection(rig.c());
  EXPECT_EQ(rig.mixer.operationsOn(56, Op::PlayOnce).size(), 1u);  // once per brake
  t.autoEmergency = false;
  rig.control.reverser = -1;
  t.speed = 8;
  rollbackProtection(rig.c());
  EXPECT_TRUE(t.autoEmergency);
  t.autoEmergency = false;
  rig.vehicle.Back = 0;
  rollbackProtection(rig.c());
  EXPECT_FALSE(t.autoEmergency);
}

TEST_F(AtsTest, ADriveStartsAndAJumpResetsToNothingChecked) {
  // A fresh state checks nothing: releasing the brakes at the start brakes nobody.
  EXPECT_EQ(TrainState{}.checkSpeed, kNone999);
  EXPECT_EQ(TrainState{}.signals.patternTarget, SignalState::kNoPattern);
  for (int type : {0, 1}) {
    rig.vehicle.ATS_Type = type;
    t.speed = 0;
    tickAt(10);
    EXPECT_FALSE(t.atsAlarm || t.autoEmergency || t.autoService) << type;
  }
  t.checkSpeed = 0;
  t.atsAlarm = true;
  t.autoService = true;
  t.signals.patternTarget = 10;
  t.signals.patternState = 3;
  t.signals.messages = {"停止信号まで275m"};
  rig.sprites.setVisible("img_Lamp_Atsp2", true);
  t.texts.label8 = "275m";
  resetAts(rig.c());
  EXPECT_EQ(t.checkSpeed, kNone999);
  EXPECT_FALSE(t.atsAlarm || t.autoService);
  EXPECT_EQ(t.signals.patternTarget, SignalState::kNoPattern);
  EXPECT_EQ(t.signals.patternState, 0);
  EXPECT_EQ(t.signals.messages.size(), 1u);  // the message list is kept
  EXPECT_FALSE(lit("img_Lamp_Atsp2"));
  EXPECT_TRUE(lit("img_Lamp_Ats1"));
  EXPECT_EQ(t.texts.label8, "");
}

}  // namespace
}  // namespace kestrel
