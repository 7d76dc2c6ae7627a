// The cab session's sound and call-out stages: the call-out queue runs in the tick, the motor
// sounds follow the drive, and closing the window frees the sound.
#include <gtest/gtest.h>

#include <memory>

#include "core/front/cab_session.h"
#include "support/drive_rig.h"

namespace kestrel {
namespace {

using Op = RecordingMixer::Op;

struct SessionSoundTest : ::testing::Test {
  test::DriveRig rig;
  SoundBank bank;
  std::unique_ptr<CabSession> session;
  static constexpr int kCallout = 70 + 1 + 1;  // 70 vehicle sounds, one motor row, the free channel

  SessionSoundTest() {
    rig.vehicle.EngineSound1 = {{"motor.wav", 0, 0, 40, 130, 0.35, 1.0, 2.6, 30, 100, 80}};
    rig.addWave(70);  // the motor row
    for (int n = 0; n < 22; ++n) bank.clips.table.push_back(rig.mixer.registerWave("k", 500000));
    rig.line.StationKanko = {{{0, 0, 0, 3}}};  // station 0, kind 0 (doors opened): clip 3
    session = std::make_unique<CabSession>(
        CabSession::Records{rig.settings, rig.vehicle, rig.panel, rig.line, rig.pictures, &bank}, rig.mixer,
        rig.program);
    rig.mixer.setClock([this] { return session->scheduler().now(); });
  }
  void seconds(double s) { session->scheduler().advanceBy(static_cast<int64_t>(s * 1e6)); }
};

TEST_F(SessionSoundTest, StationCalloutPlaysOnTheCalloutChannelInTheNextTick) {
  session->start();
  session->context().callouts.StationKanko(1);
  EXPECT_FALSE(rig.mixer.isPlaying(kCallout));
  seconds(0.1);
  EXPECT_TRUE(rig.mixer.isPlaying(kCallout));
  EXPECT_EQ(session->calloutQueue().size(), 1u);
  seconds(1.0);
  EXPECT_EQ(session->calloutQueue().size(), 0u);
  EXPECT_TRUE(session->train().departureCalloutRequest);  // the doors-opened call-out arms the first notch
}

TEST_F(SessionSoundTest, MotorSoundRunsInTheTickAndPauseResumesIt) {
  session->start();
  seconds(0.5);
  EXPECT_TRUE(rig.mixer.isLooping(70));  // the powering row starts at level 100 and fades
  session->start1Click();
  EXPECT_FALSE(rig.mixer.isPlaying(70));
  EXPECT_EQ(session->resumeMode(70), ChannelResumeMode::Looping);
  session->start1Click();
  EXPECT_TRUE(rig.mixer.isLooping(70));
}

TEST_F(SessionSoundTest, ClosingStopsEveryChannelFreesTheWavesAndInitialisesTheMixer) {
  session->start();
  session->context().callouts.kanko_queue_add(2);
  seconds(0.1);
  ASSERT_TRUE(rig.mixer.isPlaying(kCallout));
  rig.mixer.clearOperations();
  EXPECT_TRUE(session->close());
  const auto& ops = rig.mixer.operations();
  ASSERT_GE(ops.size(), 2u);
  EXPECT_EQ(ops[ops.size() - 2].op, Op::FreeAllWaves);
  EXPECT_EQ(ops.back().op, Op::Reinitialise);
  EXPECT_EQ(rig.mixer.operationsOn(kCallout, Op::Stop).size(), 1u);
  EXPECT_EQ(rig.mixer.operationsOn(70, Op::Stop).size(), 1u);
  EXPECT_EQ(session->calloutQueue().size(), 0u);
  EXPECT_FALSE(session->running());
}

TEST_F(SessionSoundTest, HornHeldThroughTheSessionsKeyEntries) {
  rig.vehicle.Sound_Horn4 = {60, 61, 62, 0, 0};
  for (int ch : {60, 61, 62}) rig.addWave(ch, 200000);
  session->start();
  session->AsciiDown(U'3');
  seconds(0.5);
  EXPECT_TRUE(rig.mixer.isLooping(61));
  session->keyupChar(U'3');
  seconds(0.1);
  EXPECT_FALSE(rig.mixer.isPlaying(61));
  EXPECT_TRUE(rig.mixer.isPlaying(62));
}

}  // namespace
}  // namespace kestrel
