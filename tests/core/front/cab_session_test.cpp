// The cab session: initial state, the start command, pause and resume with the sounds, the order
// of the stages as the drive shows it, and whole drives on the level.
#include "core/front/cab_session.h"

#include <gtest/gtest.h>

#include <memory>

#include "core/util/fatal_error.h"
#include "support/drive_rig.h"

namespace kestrel {
namespace {

struct SessionTest : ::testing::Test {
  test::DriveRig rig;  // for its records and mixer; the session has a state of its own
  std::unique_ptr<CabSession> session;

  CabSession& make(StartOptions options = {}) {
    session = std::make_unique<CabSession>(
        CabSession::Records{rig.settings, rig.vehicle, rig.panel, rig.line, rig.pictures}, rig.mixer,
        rig.program, options);
    rig.mixer.setClock([this] { return session->scheduler().now(); });
    return *session;
  }
  void seconds(double s) { session->scheduler().advanceBy(static_cast<int64_t>(s * 1e6)); }
  void type(char32_t key) {
    session->AsciiDown(key);
    session->deliverPosted();
  }
};

TEST_F(SessionTest, ADriveStartsAtEmergencyWithTheInitialPressures) {
  CabSession& s = make();
  EXPECT_EQ(s.control().reverser, 1);
  EXPECT_EQ(s.control().powerHandle, 0);
  EXPECT_EQ(s.control().brakeHandle, -8);
  EXPECT_EQ(s.train().brakeNotch, -8);
  EXPECT_EQ(s.train().sapNotch, -8);
  EXPECT_EQ(s.train().bcTrailer, Fixed::fromInt(500));
  EXPECT_EQ(s.train().mrPressure, Fixed::fromInt(880));
  EXPECT_EQ(s.train().bcMotor, Fixed());
  EXPECT_EQ(s.train().engineState, 1);
  EXPECT_EQ(s.train().lineVoltage, Fixed());
  EXPECT_EQ(s.train().lineVoltageTarget, Fixed::fromInt(1500));
  EXPECT_EQ(s.train().checkSpeed, 999);
  EXPECT_EQ(s.train().frameRow, -1);
  EXPECT_EQ(s.control().brakeText, "非常");
  EXPECT_EQ(s.control().reverserText, "前");
  EXPECT_FALSE(s.running());
}

TEST_F(SessionTest, AutomaticAirBrakeStartsAtItsFourthPosition) {
  rig.vehicle.BrakeType = 0;
  rig.vehicle.Brake = 6;
  CabSession& s = make();
  EXPECT_EQ(s.control().brakeHandle, -4);
  EXPECT_EQ(s.constants().nB, 4);
}

TEST_F(SessionTest, ANotchedBrakeWithFewerThanThreeStepsIsRefused) {
  rig.vehicle.Brake = 2;
  try {
    make();
    FAIL() << "no error";
  } catch (const FatalError& e) {
    EXPECT_EQ(e.message(), "ブレーキの段数を3段以上に設定してください");
  }
}

TEST_F(SessionTest, StartStationSetsPositionClockAndDistance) {
  rig.line.StartPos = 120;
  rig.line.soundLengths = {4, 6};
  StationRow a, b;
  a.field[3] = 150;  // stop frame
  a.field[6] = 1;    // departure sound: 6 s
  a.field[8] = 30000;
  a.stopDistanceCm = 5000;
  b.field[3] = 900;
  b.field[5] = 0;  // arrival sound: 4 s
  b.field[6] = 1;
  b.field[8] = 90000;
  b.stopDistanceCm = 30000;
  rig.line.Station = {a, b};
  CabSession& first = make();
  EXPECT_EQ(first.train().MovieFrame, 120);
  EXPECT_EQ(first.train().TickCounter, 30000 - 30 * 6);
  EXPECT_EQ(first.train().distanceRun, 5000);
  EXPECT_EQ(first.train().distanceToStop, 0);
  CabSession& second = make({1});
  EXPECT_EQ(second.train().MovieFrame, 900);
  EXPECT_EQ(second.train().TickCounter, 90000 - 30 * (6 + 4));
  EXPECT_EQ(second.train().distanceRun, 30000);
}

TEST_F(SessionTest, StartRunsTheClocksWithAtsOnUnlessThePreferenceSwitchesItOff) {
  rig.pictures.pictures.push_back({.name = "img_Lamp_Ats1", .visible = false});
  CabSession& s = make();
  s.start();
  EXPECT_TRUE(s.running());
  EXPECT_TRUE(s.train().AtsEnabled);
  EXPECT_TRUE(s.sprites().find("img_Lamp_Ats1")->visible);
  EXPECT_EQ(s.startCaption(), "一時停止(&S)");
  seconds(1.0);
  EXPECT_EQ(s.train().tickCount, 10);
  EXPECT_EQ(s.train().TickCounter, 30);  // 1000 / 33

  rig.settings.preferences.AtsOff = 1;
  CabSession& off = make();
  off.start();
  EXPECT_FALSE(off.train().AtsEnabled);
}

TEST_F(SessionTest, PauseRemembersPlayingSoundsAndResumeRestartsThemInTheirMode) {
  CabSession& s = make();
  rig.addWave(10, 5000000);
  rig.addWave(11, 5000000);
  rig.addWave(12, 5000000);
  s.start();
  rig.mixer.playLooped(10);
  rig.mixer.playOnce(11);
  const int lastShown = s.train().LastShownFrame;
  s.start1Click();
  EXPECT_FALSE(s.running());
  EXPECT_EQ(s.startCaption(), "運転再開(&S)");
  EXPECT_EQ(s.resumeMode(10), ChannelResumeMode::Looping);
  EXPECT_EQ(s.resumeMode(11), ChannelResumeMode::Once);
  EXPECT_EQ(s.resumeMode(12), ChannelResumeMode::None);
  EXPECT_FALSE(rig.mixer.isPlaying(10));
  EXPECT_FALSE(rig.mixer.isPlaying(11));
  EXPECT_TRUE(rig.mixer.outputSuspended()) << "a paused drive leaves the output mixing";
  const int ticks = s.train().tickCount;
  seconds(10);  // paused: neither handler runs
  EXPECT_EQ(s.train().tickCount, ticks);
  rig.mixer.clearOperations();
  s.start1Click();
  EXPECT_TRUE(s.running());
  EXPECT_FALSE(rig.mixer.outputSuspended());
  EXPECT_TRUE(rig.mixer.isLooping(10));
  EXPECT_TRUE(rig.mixer.isPlaying(11));
  EXPECT_FALSE(rig.mixer.isLooping(11));
  EXPECT_TRUE(rig.mixer.operationsOn(12, RecordingMixer::Op::PlayOnce).empty());
  EXPECT_EQ(s.train().LastShownFrame, lastShown - 2);  // both ways
}

TEST_F(SessionTest, TheTickSeesTheForcesOfTheLastEventAndTheDistanceFollowsTheFrame) {
  rig.line.SpeedUnit = {{0, 3000, 60, 60, 166667}, {3000, 6000, 60, 60, 333333}};
  rig.line.StartPos = 2999;
  CabSession& s = make();
  DriveContext& ctx = s.context();
  ctx.control.brakeHandle = 0;
  ctx.train.brakeNotch = 0;
  ctx.train.bcTrailer = Fixed();
  s.start();
  seconds(0.033);  // at rest: the first lookup of the row
  ctx.train.speed = 60;
  seconds(0.033);  // one event: frame 3000, the new row's distance, then this event's step
  EXPECT_EQ(s.train().MovieFrame, 3000);
  EXPECT_NEAR(s.train().distanceRun, 166667 + 60 / 36000.0 * 33333, 1e-9);
}

TEST_F(SessionTest, PowerThenBrakeToAStandstillThatEndsAtExactlyZero) {
  CabSession& s = make();
  s.start();
  for (char32_t key : {U'8', U'8', U'8', U'8', U'8', U'8', U'8', U'8', U'8', U'8', U'8', U'8'}) type(key);
  EXPECT_EQ(s.control().brakeHandle, 0);
  EXPECT_EQ(s.control().powerHandle, 4);
  // Released from emergency, the cylinders empty only once the equalising reservoir has
  // recharged; then the train pulls away.
  seconds(60);
  const double top = s.train().speed;
  EXPECT_GT(top, 40) << s.train().bcTrailer.toString();
  EXPECT_GT(s.train().MovieFrame, 1000);
  for (int i = 0; i < 4; ++i) type(U'2');  // notch off
  for (int i = 0; i < 7; ++i) type(U'2');  // B7, full service
  EXPECT_EQ(s.control().brakeHandle, -7);
  double lowest = top;
  for (int i = 0; i < 600 && s.train().speed != 0; ++i) {
    seconds(0.1);
    lowest = std::min(lowest, s.train().speed);
  }
  EXPECT_EQ(s.train().speed, 0.0);
  EXPECT_GE(lowest, 0.0);
  const int frame = s.train().MovieFrame;
  seconds(10);
  EXPECT_EQ(s.train().speed, 0.0);  // held by the brake
  EXPECT_EQ(s.train().MovieFrame, frame);
}

TEST_F(SessionTest, TheSameInputsGiveTheSameDriveBitForBit) {
  auto drive = [this] {
    CabSession& s = make();
    s.start();
    for (int i = 0; i < 10; ++i) type(U'8');
    seconds(30);
    for (int i = 0; i < 6; ++i) type(U'2');
    seconds(20);
    return std::make_tuple(s.train().speed, s.train().distanceRun, s.train().MovieFrame,
                           s.train().bcMotor.raw());
  };
  EXPECT_EQ(drive(), drive());
}

TEST_F(SessionTest, CloseStopsTheClocksAndResetsWhatTheNextWindowMustNotInherit) {
  CabSession& s = make();
  s.start();
  s.context().train.autoEmergency = true;
  s.context().train.engineSpeed = 40;
  s.context().train.distanceToStop = 1234;
  s.close();
  EXPECT_FALSE(s.running());
  EXPECT_FALSE(s.train().autoEmergency);
  EXPECT_EQ(s.train().engineSpeed, 0);
  EXPECT_EQ(s.train().distanceToStop, 0);
}

}  // namespace
}  // namespace kestrel
