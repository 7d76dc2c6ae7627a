// The sound rules of the tick on the recording mixer: environment sounds with their windows,
// pitch and attenuation, points, Doppler sources, the squeal, the motor and engine sounds, the
// section sound, stopping all sounds, and the held horn and buzzer.
#include "core/present/sound_rules.h"

#include <gtest/gtest.h>

#include <cmath>

#include "core/controls/key_handlers.h"
#include "support/drive_rig.h"

namespace kestrel {
namespace {

using Op = RecordingMixer::Op;

template <int N>
IntRow<N> row(std::initializer_list<int32_t> values) {
  IntRow<N> r;
  int i = 1;
  for (int32_t v : values) r.f(i++) = v;
  return r;
}

struct SoundRulesTest : ::testing::Test {
  test::DriveRig rig;
  // 70 vehicle sounds (the rig's train), then four environment sounds from channel 70.
  static constexpr int kEnv = 70;

  SoundRulesTest() {
    rig.line.SoundData.assign(4, "env.wav");
    rig.rebuild();
  }
  DriveContext& c() { return rig.c(); }
  void at(int32_t frame, double speed) {
    rig.train.MovieFrame = frame;
    rig.train.speed = speed;
  }
  size_t count(int channel, Op op) const { return rig.mixer.operationsOn(channel, op).size(); }
  double last(int channel, Op op) const { return rig.mixer.operationsOn(channel, op).back().value; }
  void advance(double seconds) { rig.nowUs += static_cast<int64_t>(seconds * 1e6); }
};

TEST_F(SoundRulesTest, LoopedEnvironmentSoundStartsNearItsStartStopsNearItsEndAndIsSilentStanding) {
  rig.line.Sound = {row<8>({0, 1000, 2000, 60, 1, 1, 1, 0})};
  rig.addWave(kEnv);
  at(985, 30);
  sound::environmentSounds(c());
  EXPECT_FALSE(rig.mixer.isPlaying(kEnv)) << "15 frames before the start is still outside";
  at(986, 30);
  sound::environmentSounds(c());
  EXPECT_TRUE(rig.mixer.isLooping(kEnv));

  at(1500, 0.5);
  sound::environmentSounds(c());
  EXPECT_EQ(rig.mixer.volume(kEnv), Mixer::kSilent);
  at(1500, 0);
  sound::environmentSounds(c());
  EXPECT_EQ(rig.mixer.volume(kEnv), Mixer::kSilent);
  at(1500, 60);  // at the reference speed: full volume
  sound::environmentSounds(c());
  EXPECT_EQ(rig.mixer.volume(kEnv), 0);

  at(1990, 60);
  sound::environmentSounds(c());
  EXPECT_TRUE(rig.mixer.isPlaying(kEnv)) << "10 frames before the end is still playing";
  at(1991, 60);
  sound::environmentSounds(c());
  EXPECT_FALSE(rig.mixer.isPlaying(kEnv));
  at(995, 60);  // back near the start on the same pass: it started already
  sound::environmentSounds(c());
  EXPECT_FALSE(rig.mixer.isPlaying(kEnv));
  EXPECT_EQ(count(kEnv, Op::PlayLooped), 1u);
}

TEST_F(SoundRulesTest, PitchFollowsTheReferenceSpeedAndVolumeTheAttenuation) {
  rig.line.Sound = {row<8>({1, 1000, 2000, 60, 1, 1, 1, 0})};
  rig.line.Atten = {row<4>({900, 3000, 0, 50})};
  rig.addWave(kEnv + 1);
  at(1500, 30);
  sound::attenuation(c());
  sound::environmentSounds(c());
  EXPECT_DOUBLE_EQ(last(kEnv + 1, Op::SetFrequency), 0.5);
  // log10(30 x 0.5 / 60) x 5000
  EXPECT_EQ(rig.mixer.volume(kEnv + 1), -3010);

  // Outside every [Atten] row the factor keeps its value.
  at(3500, 30);
  sound::attenuation(c());
  EXPECT_DOUBLE_EQ(rig.train.sound.attenuation, 0.5);
}

TEST_F(SoundRulesTest, OneShotAndSlowPassSoundsPlayOncePerPass) {
  rig.line.Sound = {row<8>({0, 1000, 2000, 60, 0, 0, 0, 0}),   // once near its start
                    row<8>({1, 3000, 4000, 25, 0, 0, 0, 1})};  // once in its window at 25 km/h or less
  rig.addWave(kEnv, 5000000);
  rig.addWave(kEnv + 1, 5000000);
  for (int f = 980; f < 1030; f += 5) {
    at(f, 40);
    sound::environmentSounds(c());
  }
  EXPECT_EQ(count(kEnv, Op::PlayOnce), 1u);
  EXPECT_FALSE(rig.mixer.isLooping(kEnv));

  at(3100, 26);
  sound::environmentSounds(c());
  EXPECT_FALSE(rig.mixer.isPlaying(kEnv + 1));
  at(3200, 25.4);  // rounds to 25
  sound::environmentSounds(c());
  at(3300, 10);
  sound::environmentSounds(c());
  EXPECT_EQ(count(kEnv + 1, Op::PlayOnce), 1u);

  sound::clearPositionFlags(c());  // a station jump: the row may sound again
  sound::environmentSounds(c());
  EXPECT_EQ(count(kEnv + 1, Op::PlayOnce), 2u);
}

TEST_F(SoundRulesTest, PointsSoundOnceWithTheFirstRowOfTheirKindBelowItsThreshold) {
  rig.line.Switch = {row<2>({500, 1}), row<2>({800, 2})};
  rig.vehicle.SwitchSound = {{10, 40, 1}, {11, 999, 1}, {12, 999, 2}};
  for (int ch : {10, 11, 12}) rig.addWave(ch);
  for (int f = 480; f <= 520; f += 2) {
    at(f, 30);
    sound::pointSounds(c());
  }
  EXPECT_EQ(count(10, Op::PlayOnce), 1u);
  for (int f = 480; f <= 520; f += 2) {  // passed again without a reset
    at(f, 30);
    sound::pointSounds(c());
  }
  EXPECT_EQ(count(10, Op::PlayOnce), 1u);
  EXPECT_EQ(count(11, Op::PlayOnce), 0u);

  at(790, 60);
  sound::pointSounds(c());
  EXPECT_EQ(count(12, Op::PlayOnce), 1u);

  sound::clearPositionFlags(c());
  at(500, 50);  // too fast for the first row of kind 1
  sound::pointSounds(c());
  EXPECT_EQ(count(11, Op::PlayOnce), 1u);
}

TEST_F(SoundRulesTest, DopplerSourceShiftsThePitchWhileInRangeAndStopsOutOfIt) {
  DopplerRow source;
  source.field = {0, 2, 0, 25000, 0, 0};
  source.positionCm = 100000;
  rig.line.Doppler = {source};
  const int ch = kEnv + 2;
  rig.addWave(ch);

  rig.train.distanceRun = 100000 - 20000;  // approaching head-on: c = cos(atan(300 / 20000))
  rig.train.speed = 100;
  sound::dopplerSounds(c());
  EXPECT_TRUE(rig.mixer.isLooping(ch));
  EXPECT_NEAR(last(ch, Op::SetFrequency), 1220.0 / 1120.0, 2e-5);
  EXPECT_EQ(rig.mixer.volume(ch), -1398);  // log10(5000 / 25000) x 2000

  rig.train.distanceRun = 100000 + 20000;  // receding
  sound::dopplerSounds(c());
  EXPECT_NEAR(last(ch, Op::SetFrequency), 1220.0 / 1320.0, 2e-5);

  rig.train.distanceRun = 100000 + 25001;
  sound::dopplerSounds(c());
  EXPECT_FALSE(rig.mixer.isPlaying(ch));
}

TEST_F(SoundRulesTest, SquealIsLouderAtLowSpeedAndFadesWhenTheBrakeIsReleased) {
  const int s = 56;
  rig.vehicle.Sound_squeak = s;
  rig.vehicle.Lose_elec = 8;
  rig.addWave(s);
  rig.train.bcTrailer = Fixed::fromInt(300);
  rig.train.speed = 30;
  sound::brakeSqueal(c());
  EXPECT_TRUE(rig.mixer.isLooping(s));
  EXPECT_EQ(rig.mixer.volume(s), -3125);  // 30 x 500 / 8 / 300 x -500
  rig.train.speed = 10;
  sound::brakeSqueal(c());
  EXPECT_EQ(rig.mixer.volume(s), -1042);

  rig.train.elecBrakeCurrent = 200;  // the electric brake carries the train: left as it is
  sound::brakeSqueal(c());
  EXPECT_EQ(rig.mixer.volume(s), -1042);

  rig.train.bcTrailer = Fixed();  // released: 100 per tick until below -5000
  int ticks = 0;
  while (rig.mixer.isPlaying(s) && ticks < 100) {
    sound::brakeSqueal(c());
    ++ticks;
  }
  EXPECT_EQ(ticks, 40);  // -1042 - 40 x 100 = -5042
  EXPECT_EQ(rig.mixer.volume(s), -5042);
}

TEST_F(SoundRulesTest, SquealStopsQuicklyWhenTheTrainStands) {
  const int s = 56;
  rig.vehicle.Sound_squeak = s;
  rig.vehicle.Lose_elec = 8;
  rig.addWave(s);
  rig.train.bcTrailer = Fixed::fromInt(300);
  rig.train.speed = 5;
  sound::brakeSqueal(c());  // -521
  rig.train.speed = 0;
  for (int i = 0; i < 4; ++i) sound::brakeSqueal(c());
  EXPECT_TRUE(rig.mixer.isPlaying(s));
  sound::brakeSqueal(c());  // -5521
  EXPECT_FALSE(rig.mixer.isPlaying(s));
}

TEST_F(SoundRulesTest, ASquealStartedSilentStopsOnceTheBrakeIsReleased) {
  const int s = 56;
  rig.vehicle.Sound_squeak = s;
  rig.vehicle.Lose_elec = 8;
  rig.addWave(s);
  rig.train.bcTrailer = Fixed::fromDouble(0.01);  // a low pressure: the formula gives silence
  rig.train.speed = 30;
  sound::brakeSqueal(c());
  ASSERT_TRUE(rig.mixer.isLooping(s));
  ASSERT_EQ(rig.mixer.volume(s), Mixer::kSilent);
  rig.train.bcTrailer = Fixed();
  sound::brakeSqueal(c());
  EXPECT_FALSE(rig.mixer.isPlaying(s));
  sound::brakeSqueal(c());
  EXPECT_EQ(count(s, Op::Stop), 1u) << "a stopped squeal is not stopped again every tick";
}

struct MotorSoundTest : SoundRulesTest {
  static constexpr int kMotor = kEnv + 4;  // after the four environment sounds
  MotorSoundTest() {
    // Percent factors: 30 % at standstill, 100 % at 40 km/h, 80 % at 130 km/h.
    rig.vehicle.EngineSound1 = {{"motor.wav", 0, 0, 40, 130, 0.35, 1.0, 2.6, 30, 100, 80},
                                {"regen.wav", 1, 0, 40, 130, 0.35, 1.0, 2.6, 20, 80, 70}};
    rig.rebuild();
    rig.addWave(kMotor);
    rig.addWave(kMotor + 1);
  }
};

TEST_F(MotorSoundTest, PitchAndFactorFollowTheSpeedBetweenTheBreakpoints) {
  at(0, 20);
  sound::motorSounds(c());
  EXPECT_DOUBLE_EQ(last(kMotor, Op::SetFrequency), 0.675);
  EXPECT_DOUBLE_EQ(rig.train.sound.motorSpeedFactor[0], 65);
  at(0, 85);
  sound::motorSounds(c());
  EXPECT_DOUBLE_EQ(last(kMotor, Op::SetFrequency), 1.8);
  EXPECT_DOUBLE_EQ(rig.train.sound.motorSpeedFactor[0], 90);
  const size_t pitches = count(kMotor, Op::SetFrequency);
  at(0, 140);  // beyond the last breakpoint: pitch left, factor 1
  sound::motorSounds(c());
  EXPECT_EQ(count(kMotor, Op::SetFrequency), pitches);
  EXPECT_DOUBLE_EQ(rig.train.sound.motorSpeedFactor[0], 1);
  rig.vehicle.EngineSound1[0].w0 = 0;  // a factor below 1 % counts as 1 %
  at(0, 0);
  sound::motorSounds(c());
  EXPECT_DOUBLE_EQ(rig.train.sound.motorSpeedFactor[0], 1);
}

TEST_F(MotorSoundTest, PoweringRowIsSilencedOnTheNinthTickAfterPowerOffAndKeepsPlaying) {
  rig.control.brakeHandle = -1;  // keeps the master level up
  rig.train.powerNotch = 1;
  at(0, 40);
  for (int i = 0; i < 5; ++i) sound::motorSounds(c());
  EXPECT_EQ(rig.train.sound.motorMaster, 100);
  EXPECT_EQ(rig.mixer.volume(kMotor), 0);  // 100 % x 100 x 100 / 1 000 000
  EXPECT_TRUE(rig.mixer.isLooping(kMotor));

  rig.train.powerNotch = 0;
  for (int tick = 1; tick <= 8; ++tick) {
    sound::motorSounds(c());
    EXPECT_GT(rig.mixer.volume(kMotor), Mixer::kSilent) << "tick " << tick;
  }
  EXPECT_EQ(rig.mixer.volume(kMotor), -1160);  // level 20: log10(0.2) x 1660
  sound::motorSounds(c());
  EXPECT_EQ(rig.train.sound.motorLevel[0], 10);
  EXPECT_EQ(rig.mixer.volume(kMotor), Mixer::kSilent);
  for (int i = 0; i < 50; ++i) sound::motorSounds(c());
  EXPECT_EQ(rig.train.sound.motorLevel[0], 10);
  EXPECT_TRUE(rig.mixer.isLooping(kMotor));
}

TEST_F(MotorSoundTest, BrakingRowSoundsUnderServiceBrakeButNotAtEmergency) {
  at(0, 40);
  rig.control.brakeHandle = -3;
  for (int i = 0; i < 5; ++i) sound::motorSounds(c());
  EXPECT_EQ(rig.train.sound.motorLevel[1], 100);
  EXPECT_EQ(rig.mixer.volume(kMotor + 1), -161);  // 80 % x 100 x 100
  rig.control.brakeHandle = -8;                   // emergency
  sound::motorSounds(c());
  EXPECT_EQ(rig.train.sound.motorLevel[1], 90);
}

TEST_F(MotorSoundTest, MasterLevelFallsWithTheHandlesAtRestAndRisesWithHold) {
  rig.control.brakeHandle = -1;
  for (int i = 0; i < 5; ++i) sound::motorSounds(c());
  rig.control.brakeHandle = 0;
  for (int i = 0; i < 20; ++i) sound::motorSounds(c());
  EXPECT_EQ(rig.train.sound.motorMaster, 10);  // 100, 90 ... 20, then one more step from 20
  rig.control.holdEngaged = true;
  sound::motorSounds(c());
  EXPECT_EQ(rig.train.sound.motorMaster, 30);
}

struct EngineSoundTest : SoundRulesTest {
  static constexpr int kEngine = kEnv + 4;
  EngineSoundTest() {
    rig.vehicle = test::dieselRailcar();
    rig.vehicle.DriveSound.assign(70, "x.wav");
    // Gear 1 row and an always-on row, between engine speeds 30 and 90.
    rig.vehicle.EngineSound1 = {{"gear1.wav", 1, 30, 60, 90, 0.5, 1.0, 1.5, 40, 70, 100},
                                {"engine.wav", -1, 30, 60, 90, 0.5, 1.0, 1.5, 40, 70, 100}};
    rig.rebuild();
    rig.addWave(kEngine);
    rig.addWave(kEngine + 1);
    rig.addWave(63);  // [EngineSound2] idle
  }
};

TEST_F(EngineSoundTest, FollowsTheEngineSpeedWithFadedEdges) {
  rig.train.engineSpeed = 60;
  sound::engineSounds(c());
  EXPECT_DOUBLE_EQ(last(kEngine + 1, Op::SetFrequency), 1.0);
  EXPECT_DOUBLE_EQ(rig.train.sound.motorSpeedFactor[1], 70);
  rig.train.engineSpeed = 25;  // 5 below s0: half of w0, pitch on the extended line
  sound::engineSounds(c());
  EXPECT_DOUBLE_EQ(rig.train.sound.motorSpeedFactor[1], 20);
  EXPECT_NEAR(last(kEngine + 1, Op::SetFrequency), 5.0 / 12, 1e-12);
  rig.train.engineSpeed = 98;  // 8 above s2
  sound::engineSounds(c());
  EXPECT_NEAR(rig.train.sound.motorSpeedFactor[1], 20, 1e-9);
  rig.train.engineSpeed = 15;
  sound::engineSounds(c());
  EXPECT_DOUBLE_EQ(rig.train.sound.motorSpeedFactor[1], 1);
  EXPECT_TRUE(rig.mixer.isLooping(kEngine));
  EXPECT_TRUE(rig.mixer.isLooping(kEngine + 1));
}

TEST_F(EngineSoundTest, GearRowsAreLoudOnlyInTheirGearAndTheMasterRisesWhilePowering) {
  rig.train.engineSpeed = 60;
  rig.train.gear = 2;
  sound::engineSounds(c());
  EXPECT_EQ(rig.train.sound.motorLevel[0], 1);
  rig.train.gear = 1;
  rig.train.powerNotch = 2;
  for (int i = 0; i < 30; ++i) sound::engineSounds(c());
  EXPECT_EQ(rig.train.sound.motorLevel[0], 100);
  EXPECT_EQ(rig.train.sound.motorMaster, 95);
  EXPECT_EQ(rig.mixer.volume(kEngine), -294);  // log10(70 x 100 x 95 / 1e6) x 1660
  rig.train.shifting = 1;                      // a gear change takes the power off the engine note
  sound::engineSounds(c());
  EXPECT_EQ(rig.train.sound.motorMaster, 90);
}

TEST_F(EngineSoundTest, IdleSoundRunsWithTheEngine) {
  rig.train.engineState = 1;
  sound::engineSounds(c());
  EXPECT_TRUE(rig.mixer.isLooping(63));
  rig.train.engineState = -2;  // the stop key is held: still running
  sound::engineSounds(c());
  EXPECT_TRUE(rig.mixer.isLooping(63));
  rig.train.engineState = 0;
  sound::engineSounds(c());
  EXPECT_FALSE(rig.mixer.isPlaying(63));
  rig.train.engineState = -1;  // cranking: the start sound plays, not the idle
  sound::engineSounds(c());
  EXPECT_FALSE(rig.mixer.isPlaying(63));

  rig.vehicle.EngineSound2 = {};  // no [EngineSound2]: no idle sound, channel 0 stays quiet
  rig.addWave(0);
  rig.train.engineState = 1;
  sound::engineSounds(c());
  EXPECT_FALSE(rig.mixer.isPlaying(0));
}

TEST_F(SoundRulesTest, SectionSoundRunsFromTheDoorsClosingToTheLastStation) {
  rig.line.Sound2 = {row<3>({3, 1, 4})};
  rig.addWave(kEnv + 3);
  rig.train.stations.currentStation = 0;
  sound::sectionSound(c(), 5);
  EXPECT_FALSE(rig.mixer.isPlaying(kEnv + 3));
  rig.train.stations.currentStation = 1;
  sound::sectionSound(c(), 5);
  EXPECT_TRUE(rig.mixer.isLooping(kEnv + 3));
  rig.train.stations.currentStation = 2;
  sound::sectionSound(c(), 1);  // a stop on the way does not stop it
  EXPECT_TRUE(rig.mixer.isLooping(kEnv + 3));
  rig.train.stations.currentStation = 4;
  sound::sectionSound(c(), 1);
  EXPECT_FALSE(rig.mixer.isPlaying(kEnv + 3));

  rig.line.Sound2.push_back(row<3>({2, 0, 9}));  // two rows: the table is not used
  rig.train.stations.currentStation = 1;
  sound::sectionSound(c(), 5);
  EXPECT_FALSE(rig.mixer.isPlaying(kEnv + 3));
}

TEST_F(SoundRulesTest, StoppingAllSoundsLeavesChannelZero) {
  for (int ch : {0, 5, kEnv, 319}) {
    rig.addWave(ch);
    rig.mixer.playLooped(ch);
  }
  sound::stopAllSounds(rig.mixer);
  EXPECT_TRUE(rig.mixer.isPlaying(0));
  for (int ch : {5, kEnv, 319}) EXPECT_FALSE(rig.mixer.isPlaying(ch)) << ch;
}

struct HeldKeyTest : SoundRulesTest {
  static constexpr int kAttack = 56, kSustain = 57, kRelease = 58, kBuzzer = 59;
  HeldKeyTest() {
    rig.vehicle.Sound_Horn4 = {kAttack, kSustain, kRelease, 0, 0};
    rig.vehicle.Buzzer = kBuzzer;
    rig.rebuild();
    rig.addWave(kAttack, 300000);
    rig.addWave(kSustain, 1000000);
    rig.addWave(kRelease, 400000);
    rig.addWave(kBuzzer, 500000);
  }
  void tick() {
    sound::brakeAndAirSounds(c());
    advance(0.1);
  }
};

TEST_F(HeldKeyTest, HeldHornPlaysAttackThenSustainsUntilReleased) {
  AsciiDown(c(), U'3');
  tick();
  EXPECT_TRUE(rig.mixer.isPlaying(kAttack));
  for (int i = 0; i < 4; ++i) tick();
  EXPECT_TRUE(rig.mixer.isLooping(kSustain));
  for (int i = 0; i < 30; ++i) tick();
  EXPECT_TRUE(rig.mixer.isLooping(kSustain));
  keyupChar(c(), U'3');
  tick();
  EXPECT_FALSE(rig.mixer.isPlaying(kSustain));
  EXPECT_TRUE(rig.mixer.isPlaying(kRelease));
  EXPECT_EQ(count(kAttack, Op::PlayOnce), 1u);
}

TEST_F(HeldKeyTest, HornTappedBetweenTwoTicksPlaysAttackAndRelease) {
  AsciiDown(c(), U'3');
  keyupChar(c(), U'3');
  tick();
  EXPECT_TRUE(rig.mixer.isPlaying(kAttack));
  for (int i = 0; i < 5; ++i) tick();
  EXPECT_EQ(count(kSustain, Op::PlayLooped), 0u);
  EXPECT_EQ(count(kRelease, Op::PlayOnce), 1u);
  for (int i = 0; i < 10; ++i) tick();  // nothing more until the key comes again
  EXPECT_EQ(count(kAttack, Op::PlayOnce), 1u);
}

TEST_F(HeldKeyTest, BuzzerLoopsWhileItsKeyIsHeld) {
  AsciiDown(c(), U'4');
  for (int i = 0; i < 10; ++i) tick();
  EXPECT_TRUE(rig.mixer.isLooping(kBuzzer));
  EXPECT_EQ(count(kBuzzer, Op::PlayLooped), 1u);
  keyupChar(c(), U'4');
  tick();
  EXPECT_FALSE(rig.mixer.isPlaying(kBuzzer));

  AsciiDown(c(), U'4');  // a tap still buzzes for one tick
  keyupChar(c(), U'4');
  tick();
  EXPECT_TRUE(rig.mixer.isLooping(kBuzzer));
  tick();
  EXPECT_FALSE(rig.mixer.isPlaying(kBuzzer));
}

TEST_F(SoundRulesTest, EmergencySoundPlaysWhenTheAutomaticEmergencyBrakeComesOn) {
  rig.vehicle.Sound_EB = {3, 0};
  rig.addWave(3, 2000000);
  sound::emergencySound(c());
  rig.train.autoEmergency = true;
  sound::emergencySound(c());
  sound::emergencySound(c());
  EXPECT_EQ(count(3, Op::PlayOnce), 1u);
  rig.train.autoEmergency = false;
  sound::emergencySound(c());
  rig.train.autoEmergency = true;
  sound::emergencySound(c());
  EXPECT_EQ(count(3, Op::PlayOnce), 2u);
}

}  // namespace
}  // namespace kestrel
