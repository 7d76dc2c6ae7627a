// The value display: its label texts worked by hand, the tick writing only while the window is
// shown, the sound grid, the memo's lines, and the "jump" and "抵抗解除" buttons.
#include "core/present/value_display.h"

#include <gtest/gtest.h>

#include "core/controls/key_handlers.h"
#include "core/sim/ats_pattern.h"
#include "core/sim/motion.h"
#include "support/drive_rig.h"

namespace kestrel {
namespace {

struct ValueDisplayTest : ::testing::Test {
  test::DriveRig rig;
  DriveContext& ctx = rig.c();
  TrainState& t = rig.train;
  ValueDisplay display;

  void SetUp() override {
    rig.keys.valueDisplayVisible = true;
    display.setRateSource([] { return 58; });
  }
  const ValueDisplayTexts& tick() {
    display.update(ctx);
    return display.texts();
  }
};

TEST_F(ValueDisplayTest, MotionForcesAndPressuresWithTheirUnits) {
  t.speed = 36.04;
  // (100 000 - 3556.028) N / (240 t x 1000) x 3.6 = 1.4467 km/h/s.
  t.netForce = Fixed::fromInt(100000);
  t.resistForce = Fixed::fromDouble(-3556.028);
  t.gradient = Fixed::fromDouble(25.0 / 3);  // stored as 8.3333
  t.motorCurrent = 250;
  t.engineSpeed = 812.5;
  rig.control.modeText = "直結";
  t.gear = 2;
  t.targetGear = 3;
  t.slipText = "空転";
  t.adhesionCoeff = Fixed::fromDouble(0.2468);
  t.adhesionLimit = Fixed::fromDouble(12345.9);
  // Pressures and forces show their whole part: cut, not rounded, and never "-0".
  t.bcMotor = Fixed::fromDouble(439.9999);
  t.bcTrailer = Fixed::fromInt(612);
  t.bpPressure = 489.97;
  t.erPressure = Fixed::fromDouble(-0.4);
  t.mrPressure = Fixed::fromInt(880);
  t.elecBrakeCurrent = 123.6;

  const ValueDisplayTexts& v = tick();
  EXPECT_EQ(v.Label1, "36.0 km/h");
  EXPECT_EQ(v.Label6, "1.4 km/h/s");
  EXPECT_EQ(v.Label27, "8.3333 Permil");
  EXPECT_EQ(v.Label7, "100000 N");
  EXPECT_EQ(v.Label25, "-3556 N");
  EXPECT_EQ(v.Label50, "250 A");
  EXPECT_EQ(v.Label40, "813");
  EXPECT_EQ(v.Label52, "直結 Gp 2Gn 3");
  EXPECT_EQ(v.Label65, "空転 0.25 12345N");
  EXPECT_EQ(v.Label2, "439k");
  EXPECT_EQ(v.Label11, "612k");
  EXPECT_EQ(v.Label71, "489 kPa");
  EXPECT_EQ(v.Label3, "0 kPa");
  EXPECT_EQ(v.Label4, "0 kPa");
  EXPECT_EQ(v.Label5, "880 kPa");
  EXPECT_EQ(v.Label69, "123A");
  // The bars run 0 .. 500.
  EXPECT_EQ(v.Bar_Press0, 439);
  EXPECT_EQ(v.Bar_Press1, 500);
  EXPECT_EQ(v.Bar_Press6, 123);

  // A level stretch and a falling one; no slip leaves no gap in front.
  t.gradient = Fixed::fromInt(10);
  t.slipText.clear();
  t.speed = -0.26;
  EXPECT_EQ(tick().Label27, "10 Permil");
  EXPECT_EQ(display.texts().Label65, "0.25 12345N");
  EXPECT_EQ(display.texts().Label1, "-0.3 km/h");
  t.gradient = Fixed::fromDouble(-2.5);
  EXPECT_EQ(tick().Label27, "-2.5 Permil");
}

TEST_F(ValueDisplayTest, MovieCountersNotchesSoundSetsAndSignalState) {
  t.MovieFrame = 1234;
  t.UnitsPerFrame = 60;
  t.SubFrame = 7;
  t.LastShownFrame = 1233;
  t.MovieMode = 2;
  t.distanceToStop = 12345.6;
  t.distanceRun = 123456.7;
  rig.control.powerHandle = 2;
  t.powerNotch = 1;
  t.powerDelayCount = 2;
  rig.control.brakeHandle = 0;
  t.brakeNotch = -1;
  t.brakeDelayCount = 4;
  t.signals.currentSignal = 3;
  t.currentCode = 12;
  t.trackside.signRow = 4;
  rig.line.SoundData = {"a.wav", "b.wav", "c.wav"};
  rig.vehicle.EngineSound1.resize(2);

  const ValueDisplayTexts& v = tick();
  EXPECT_EQ(v.Label30, "1234");
  EXPECT_EQ(v.Label31, "60 km/h");
  EXPECT_EQ(v.Label46, "7");
  EXPECT_EQ(v.Label48, "1233");
  EXPECT_EQ(v.Label54, "2");
  EXPECT_EQ(v.Label63, "58");
  EXPECT_EQ(v.Label33, "12346 cm");
  EXPECT_EQ(v.Label35, "1235 m");
  EXPECT_EQ(v.Label44, "P 2 1 2 B 0 -1 0 0 4");
  EXPECT_EQ(v.Label57, "Sound D:70 L:3 M:2 K:1");
  EXPECT_EQ(v.Label21, "Signal now:3 now2:12 lim_now:999");
  EXPECT_EQ(v.Label56, "4");
  // Without a rate source the rate shows 0.
  ValueDisplay bare;
  bare.update(ctx);
  EXPECT_EQ(bare.texts().Label63, "0");
}

TEST_F(ValueDisplayTest, WhatLiesAheadOnTheLine) {
  // Stations at frames 1000, 3000, 6000; signals every 1000 frames from 1000 to 7000.
  for (int32_t frame : {1000, 3000, 6000}) {
    StationRow s;
    s.field[3] = frame;
    s.stopDistanceCm = frame * 100.0;
    rig.line.Station.push_back(s);
  }
  for (int32_t i = 0; i < 7; ++i) {
    SignalRow s;
    s.f(6) = 1000 * (i + 1);
    rig.line.Signal.push_back(s);
    t.signals.aspect.push_back(i % 4);
    t.signals.signalCode.push_back(10 + i);
  }
  rig.line.Pre_Train.removePos = 9000;
  rig.line.Pre_Train.rows = {{0, 60, 0}, {2, 45, 0}};
  SpeedCheck1Row behind, ahead;
  behind.positionCm = 100000;
  ahead.positionCm = 150000;
  ahead.f(1) = 55;
  rig.line.SpeedCheck1 = {behind, ahead};

  t.distanceRun = 123456.7;
  t.stations.nextStopStation = 2;
  t.MovieFrame = 2500;
  t.preTrain.preTrainFrame = 4000;
  t.signals.patternKind = PatternKind::Signal;
  t.signals.patternTarget = 10;
  t.signals.patternDistance = 200000;
  t.signals.brakePattern = 45;
  t.signals.warningPattern = 35;
  t.signals.lookAhead[0] = {0, 45, 20000, 35049};

  const ValueDisplayTexts& v = tick();
  EXPECT_EQ(v.Label37, "2 m 4765");  // (600 000 - 123 456.7) cm
  EXPECT_EQ(v.Label23, "4000");
  EXPECT_EQ(v.Label42, "(1000～6000)");
  EXPECT_EQ(v.Label8, "765");
  EXPECT_EQ(v.Label9, "10");
  EXPECT_EQ(v.Label20, "45/35");
  EXPECT_EQ(v.Label60, "350");
  EXPECT_EQ(v.Label61, "45");
  EXPECT_EQ(v.Label19, "265");
  EXPECT_EQ(v.Label41, "55");
  // The section from signal 1 (frame 2000): signals 2 to 6.
  EXPECT_EQ(v.signal, (std::array<std::string, 5>{"2 12", "3 13", "0 14", "1 15", "2 16"}));

  // The last [Pre_Train] row's stretch ends at the removal position; nothing holds frame 500.
  // Near the end of the signal table the rest stay empty; no pattern, limit or check ahead.
  t.preTrain.preTrainFrame = 7000;
  t.MovieFrame = 5500;
  t.signals.patternKind = PatternKind::None;
  t.signals.patternTarget = SignalState::kNoPattern;
  t.signals.lookAhead[0] = {};
  t.distanceRun = 160000;
  t.stations.nextStopStation = 3;
  tick();
  EXPECT_EQ(v.Label42, "(6000～9000)");
  EXPECT_EQ(v.signal, (std::array<std::string, 5>{"1 15", "2 16", "", "", ""}));
  EXPECT_EQ(v.Label8, "");
  EXPECT_EQ(v.Label9, "999");
  EXPECT_EQ(v.Label60, "");
  EXPECT_EQ(v.Label19, "");
  EXPECT_EQ(v.Label37, "");
  t.preTrain.preTrainFrame = 500;
  EXPECT_EQ(tick().Label42, "");
}

TEST_F(ValueDisplayTest, WhileHiddenTheTickWritesNothing) {
  rig.keys.valueDisplayVisible = false;
  t.speed = 20;
  display.update(ctx);
  EXPECT_EQ(display.revision(), 0u);
  EXPECT_EQ(display.texts().Label1, "");

  keydowns(ctx, VirtualKey::F3, KeyModifiers::none());  // shown
  display.update(ctx);
  EXPECT_EQ(display.revision(), 1u);
  EXPECT_EQ(display.texts().Label1, "20.0 km/h");

  keydowns(ctx, VirtualKey::F3, KeyModifiers::none());  // hidden again
  t.speed = 30;
  display.update(ctx);
  EXPECT_EQ(display.revision(), 1u);
  EXPECT_EQ(display.texts().Label1, "20.0 km/h");
}

TEST_F(ValueDisplayTest, TheSoundGridShowsPlayingChannelsWithTheirVolume) {
  rig.addWave(5);
  rig.addWave(12);
  rig.addWave(100);  // beyond the grid
  rig.mixer.setVolume(5, -1200);
  rig.mixer.playLooped(5);
  rig.mixer.playLooped(100);
  const auto& grid = tick().grid;
  EXPECT_EQ(grid[5], (SoundCell{SoundCell::Kind::Playing, -1200}));
  EXPECT_EQ(grid[12].kind, SoundCell::Kind::Idle);  // column 2, row 1
  EXPECT_EQ(grid[0].kind, SoundCell::Kind::NoWave);
  EXPECT_EQ(grid[99].kind, SoundCell::Kind::NoWave);

  // A click on the cyan cell stops its channel; the next tick shows it in the window colour.
  sc(rig.mixer, 5);
  EXPECT_FALSE(rig.mixer.isPlaying(5));
  EXPECT_EQ(tick().grid[5].kind, SoundCell::Kind::Idle);
}

TEST_F(ValueDisplayTest, TheMemoTakesEachAtsMessageAndNoticeOnceShownOrNot) {
  rig.keys.valueDisplayVisible = false;
  logAtsMessage(t.signals, "停止信号まで600m");
  t.noticeText = "0ブレーキを緩めてください";
  t.texts.message = "ブレーキを緩めてください";
  display.update(ctx);
  EXPECT_EQ(display.takeMemoLines(),
            (std::vector<std::string>{"停止信号まで600m", "ブレーキを緩めてください"}));
  display.update(ctx);
  EXPECT_TRUE(display.takeMemoLines().empty());

  // More messages between two ticks than the list holds: the memo gets those it still holds.
  for (int i = 0; i < 150; ++i) logAtsMessage(t.signals, std::to_string(i));
  display.addMemoLine("own line");
  display.update(ctx);
  const auto lines = display.takeMemoLines();
  ASSERT_EQ(lines.size(), 1 + SignalState::kMessageCapacity);
  EXPECT_EQ(lines.front(), "own line");
  EXPECT_EQ(lines[1], "50");
  EXPECT_EQ(lines.back(), "149");

  // A notice that goes away adds nothing; one that comes back adds it again.
  t.noticeText.clear();
  t.texts.message.clear();
  display.update(ctx);
  t.noticeText = "0ブレーキを緩めてください";
  t.texts.message = "ブレーキを緩めてください";
  display.update(ctx);
  EXPECT_EQ(display.takeMemoLines(), (std::vector<std::string>{"ブレーキを緩めてください"}));
}

TEST_F(ValueDisplayTest, TheCaptionIsTheLastSerialCommandWithoutItsLineEnd) {
  EXPECT_EQ(display.caption(ctx), "");
  rig.keys.serialCommandText = "AB1CD\rX";
  EXPECT_EQ(display.caption(ctx), "AB1CDX");
}

TEST_F(ValueDisplayTest, JumpSetsTheFrameOnlyForAnInteger) {
  t.MovieFrame = 100;
  EXPECT_EQ(Button2Click(ctx, "1500"), std::nullopt);
  EXPECT_EQ(t.MovieFrame, 1500);
  EXPECT_EQ(Button2Click(ctx, " -20 "), std::nullopt);
  EXPECT_EQ(t.MovieFrame, -20);
  for (const char* bad : {"12a", "", "1.5", "99999999999"}) {
    EXPECT_EQ(Button2Click(ctx, bad), "'" + std::string(bad) + "' is not a valid integer value");
    EXPECT_EQ(t.MovieFrame, -20) << bad;
  }
}

TEST_F(ValueDisplayTest, ResistanceOffTogglesTheRunningResistanceOfTheMotion) {
  // Coasting at 50 km/h on the level: only the running resistance slows the train.
  auto coastOneTick = [&] {
    t.speed = 50;
    t.netForce = Fixed();
    t.resistForce = Fixed();
    motion::runTickMotion(ctx);
    return t.speed;
  };
  EXPECT_LT(coastOneTick(), 50);
  EXPECT_TRUE(Button3Click(ctx));
  EXPECT_TRUE(rig.keys.resistanceOff);
  EXPECT_EQ(coastOneTick(), 50);
  EXPECT_FALSE(Button3Click(ctx));
  EXPECT_LT(coastOneTick(), 50);
}

}  // namespace
}  // namespace kestrel
