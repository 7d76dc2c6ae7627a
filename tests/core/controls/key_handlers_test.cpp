// The key map: typed characters, virtual keys, the wheel, and the handle sounds.
#include "core/controls/key_handlers.h"

#include <gtest/gtest.h>

#include "support/drive_rig.h"

namespace kestrel {
namespace {

using Op = RecordingMixer::Op;

struct KeysTest : ::testing::Test {
  test::DriveRig rig;
  DriveContext& ctx = rig.c();
  ControlState& c = rig.control;
  TrainState& t = rig.train;
  KeyState& k = rig.keys;

  void SetUp() override { c.reverser = 1; }
  void type(const char32_t* keys) {
    for (; *keys; ++keys) AsciiDown(ctx, *keys);
  }
  void press(VirtualKey key, bool shift = false) {
    keydowns(ctx, key, shift ? KeyModifiers::shifted() : KeyModifiers::none());
  }
  size_t plays(int channel) { return rig.mixer.operationsOn(channel, Op::PlayOnce).size(); }
};

TEST_F(KeysTest, WithTheSwapFlagSetTyping2PowersUp) {
  press(VirtualKey::ScrollLock);
  EXPECT_TRUE(rig.program.swapKeys);
  type(U"2");
  EXPECT_EQ(c.powerHandle, 1);
  type(U"8");
  EXPECT_EQ(c.powerHandle, 0);
  press(VirtualKey::ScrollLock);
  type(U"2");
  EXPECT_EQ(c.brakeHandle, -1);
}

TEST_F(KeysTest, ReverserKeysOnlyAtStandstill) {
  t.speed = 1.2;
  type(U"b");
  EXPECT_EQ(c.reverser, 1);
  t.speed = 0.5;
  type(U"n");
  EXPECT_EQ(c.reverser, 0);
  EXPECT_EQ(c.reverserText, "中");
  type(U"b");
  EXPECT_EQ(c.reverser, -1);
}

TEST_F(KeysTest, OneHandleAndTwoHandleKeys) {
  type(U"zz");
  EXPECT_EQ(c.powerHandle, 2);
  type(U"q");
  EXPECT_EQ(c.powerHandle, 0);
  EXPECT_EQ(c.brakeHandle, -8);
  type(U"5");
  EXPECT_EQ(c.brakeHandle, 0);

  rig.vehicle.Handle = 1;
  type(U"zz");
  EXPECT_EQ(c.powerHandle, 2);
  type(U"q");  // no one-handle emergency on a two-handle controller
  EXPECT_EQ(c.brakeHandle, 0);
  type(U"/");  // brake to emergency, the power handle stays
  EXPECT_EQ(c.brakeHandle, -8);
  EXPECT_EQ(c.powerHandle, 2);
  type(U",.");
  EXPECT_EQ(c.brakeHandle, -7);
  type(U"a0");  // "0" is the combined emergency on either controller
  EXPECT_EQ(c.powerHandle, 0);
}

TEST_F(KeysTest, TheWheelPostsCharactersThatArriveAfterTheCurrentMessage) {
  WheelD(ctx);
  EXPECT_EQ(c.powerHandle, 0);  // not yet
  ASSERT_EQ(k.postedCharacters.size(), 1u);
  EXPECT_EQ(k.postedCharacters.front(), U'8');
  deliverPostedCharacters(ctx);
  EXPECT_EQ(c.powerHandle, 1);
  // Up from any position but the highest service step posts "2"; from it, "0" (emergency).
  type(U"5");
  WheelU(ctx);
  EXPECT_EQ(k.postedCharacters.back(), U'2');
  deliverPostedCharacters(ctx);
  c.brakeHandle = -7;
  WheelU(ctx);
  EXPECT_EQ(k.postedCharacters.back(), U'0');
  deliverPostedCharacters(ctx);
  EXPECT_EQ(c.brakeHandle, -8);
  EXPECT_TRUE(k.postedCharacters.empty());
}

TEST_F(KeysTest, EveryTypedCharacterResetsTheVigilanceDevice) {
  rig.addWave(rig.vehicle.Sound_EBring);
  rig.mixer.playLooped(rig.vehicle.Sound_EBring);
  rig.addSprite("img_Lamp_EB", 1, true);
  t.vigilanceTicks = 620;
  type(U"x");
  EXPECT_EQ(t.vigilanceTicks, 0);
  EXPECT_FALSE(rig.mixer.isPlaying(rig.vehicle.Sound_EBring));
  EXPECT_FALSE(rig.sprites.find("img_Lamp_EB")->visible);
}

TEST_F(KeysTest, CabDisplayMovesInStepsOf50Within150Up) {
  for (int i = 0; i < 4; ++i) press(VirtualKey::Up, true);
  EXPECT_EQ(k.cabDisplayTop, -150);
  press(VirtualKey::Up);  // without Shift: nothing
  EXPECT_EQ(k.cabDisplayTop, -150);
  for (int i = 0; i < 4; ++i) press(VirtualKey::Down, true);
  EXPECT_EQ(k.cabDisplayTop, 0);
}

TEST_F(KeysTest, DebugKeys) {
  press(VirtualKey::F1, true);
  EXPECT_TRUE(k.autoRun);
  press(VirtualKey::F1);
  EXPECT_FALSE(k.autoRun);
  t.speed = 15;
  press(VirtualKey::F11, true);
  EXPECT_EQ(t.speed, 5);
  press(VirtualKey::F11, true);  // not at 10 km/h or below
  EXPECT_EQ(t.speed, 5);
  press(VirtualKey::F12, true);
  EXPECT_EQ(t.speed, 15);
  t.TickCounter = 10000;
  t.MovieFrame = 5000;
  press(VirtualKey::F10, true);
  press(VirtualKey::F8, true);
  press(VirtualKey::F5, true);
  EXPECT_EQ(t.TickCounter, 10000 + 900 + 900 - 90);
  EXPECT_EQ(t.MovieFrame, 5000 + 1000 - 100);
  press(VirtualKey::F8);  // without Shift: nothing
  EXPECT_EQ(t.MovieFrame, 5900);
  const KeyModifiers ctrlShift{true, true, false};
  keydowns(ctx, VirtualKey::F10, ctrlShift);  // Shift alone, not with Ctrl
  EXPECT_EQ(t.TickCounter, 11710);

  // The frame keys keep the train within the main movie, and leave a switched movie alone.
  t.movie.movieLastFrame = 6500;
  press(VirtualKey::F8, true);
  EXPECT_EQ(t.MovieFrame, 6500);
  t.MovieFrame = 950;
  press(VirtualKey::F7, true);
  EXPECT_EQ(t.MovieFrame, 0);
  EXPECT_EQ(t.TickCounter, 11710 + 900 - 900);
  t.MovieMode = 1;
  press(VirtualKey::F6, true);
  EXPECT_EQ(t.MovieFrame, 0);
  EXPECT_EQ(t.TickCounter, 11710);
}

TEST_F(KeysTest, EngineKeyIsHeldFromF2DownToF2Up) {
  press(VirtualKey::F2);
  EXPECT_EQ(t.engineKey, 1);
  keyups(ctx, VirtualKey::F2);
  EXPECT_EQ(t.engineKey, 0);
  press(VirtualKey::F2, true);
  EXPECT_EQ(t.engineKey, 2);
}

TEST_F(KeysTest, BackspaceTurnsBackOnlyNearTheEndOfTheLineAtStandstill) {
  rig.line.MovieStop = {10000};
  t.MovieFrame = 10000 - 250;
  press(VirtualKey::Backspace);
  EXPECT_EQ(t.MovieDirection, 0);
  t.MovieFrame = 10000 - 150;
  t.speed = 0.2;
  press(VirtualKey::Backspace);
  EXPECT_EQ(t.MovieDirection, 0);
  t.speed = 0;
  press(VirtualKey::Backspace);
  EXPECT_EQ(t.MovieDirection, 1);
  EXPECT_EQ(t.MovieFrame, 10002);
}

TEST_F(KeysTest, DoorSideOnlyWithTheDoorsClosed) {
  rig.addSprite("img_other2", 1, false);
  t.doorsOpen = true;
  press(VirtualKey::PageDown);
  EXPECT_EQ(k.doorSide, 0);
  EXPECT_EQ(k.oneManText, "");
  t.doorsOpen = false;
  press(VirtualKey::PageDown);
  EXPECT_EQ(k.doorSide, 1);
  EXPECT_EQ(k.oneManText, "右");
  EXPECT_TRUE(rig.sprites.find("img_other2")->visible);
  press(VirtualKey::PageUp);
  EXPECT_EQ(k.doorSide, 0);
  EXPECT_EQ(k.oneManText, "左");
  EXPECT_FALSE(rig.sprites.find("img_other2")->visible);
}

TEST_F(KeysTest, F3TogglesTheValueDisplayAndTheKeysOfLaterRulesDoNothingYet) {
  press(VirtualKey::F3);
  EXPECT_TRUE(k.valueDisplayVisible);
  // Shift+F3 (signal skip) and Enter (call-out key) are wired to rules that are not built:
  // apart from F3's own toggle, the drive is unchanged.
  t.MovieFrame = 4321;
  const TrainState before = t;
  press(VirtualKey::F3, true);
  EXPECT_FALSE(k.valueDisplayVisible);
  press(VirtualKey::Enter);
  EXPECT_EQ(t.MovieFrame, before.MovieFrame);
  EXPECT_EQ(t.TickCounter, before.TickCounter);
  EXPECT_TRUE(rig.mixer.operations().empty());
}

TEST_F(KeysTest, TheDoorKeyWorksOnlyOnOneManLines) {
  t.speed = 0;
  type(U"d");
  EXPECT_FALSE(t.doorsOpen);
  rig.line.OneMan = 1;
  type(U"7");
  EXPECT_TRUE(t.doorsOpen);
  EXPECT_TRUE(t.doorsCommandedOpen);
}

TEST_F(KeysTest, AtsResetOnlyAtEmergencyAndStandstill) {
  rig.addSprite("img_Lamp_Ats1", 1, false);
  rig.addSprite("img_Lamp_Ats2", 1, true);
  t.autoEmergency = true;
  t.atsAlarm = true;
  t.speed = 0;
  c.brakeHandle = -7;
  type(U"r");
  EXPECT_TRUE(t.autoEmergency);
  c.brakeHandle = -8;
  t.brakePending = false;
  AsciiDown(ctx, U'r');
  EXPECT_FALSE(t.autoEmergency);
  EXPECT_FALSE(t.atsAlarm);
  EXPECT_TRUE(t.atsAcknowledged);
  EXPECT_TRUE(t.brakePending);  // the notches follow the handle again after their delays
  EXPECT_TRUE(rig.sprites.find("img_Lamp_Ats1")->visible);
  EXPECT_FALSE(rig.sprites.find("img_Lamp_Ats2")->visible);
}

TEST_F(KeysTest, AtsAcknowledgementStopsTheAlarmAndNeedsTheBrakeApplied) {
  const int alarm = rig.vehicle.Sound_Ats2, chime = rig.vehicle.Sound_Ats3;
  rig.addWave(alarm);
  rig.addWave(chime);
  rig.mixer.playLooped(alarm);
  t.atsAlarm = true;
  type(U" ");  // brake released: the alarm stays
  EXPECT_TRUE(t.atsAlarm);
  EXPECT_FALSE(rig.mixer.isPlaying(alarm));
  EXPECT_EQ(plays(chime), 1u);
  c.brakeHandle = -2;
  type(U" ");
  EXPECT_FALSE(t.atsAlarm);
  EXPECT_TRUE(t.atsAcknowledged);
  EXPECT_TRUE(t.atsAckLatch);
  // With an automatic air brake the lap position (-1) does not count.
  rig.vehicle.BrakeType = 0;
  rig.rebuild();
  t.atsAcknowledged = false;
  t.atsAlarm = true;
  c.brakeHandle = -1;
  type(U" ");
  EXPECT_TRUE(t.atsAlarm);
}

TEST_F(KeysTest, AnnouncementsStepThroughTheTableOnOneManLines) {
  rig.line.OneMan = 1;
  rig.line.AnnounceTable = {5, {{6, 0, 1, 0}, {7, 0, 2, 0}}};
  const int n1 = static_cast<int>(rig.vehicle.DriveSound.size());
  for (int s : {5, 6, 7}) rig.addWave(n1 + s, 3000000);
  type(U"c");
  EXPECT_EQ(k.announceIndex, 1);
  EXPECT_TRUE(rig.mixer.isPlaying(n1 + 5));
  type(U"c");  // announcement 1 starts; 0 is stopped
  EXPECT_EQ(k.announceIndex, 2);
  EXPECT_FALSE(rig.mixer.isPlaying(n1 + 5));
  EXPECT_TRUE(rig.mixer.isPlaying(n1 + 6));
  type(U"-");
  EXPECT_EQ(k.announceIndex, 1);
  EXPECT_FALSE(rig.mixer.isPlaying(n1 + 5));
  rig.line.OneMan = 0;
  type(U"c");
  EXPECT_EQ(k.announceIndex, 1);
}

TEST_F(KeysTest, HandleSoundsFollowTheDelayedNotches) {
  for (int ch = 0; ch < 50; ++ch) rig.addWave(ch, 500000);
  // Power up from off: [Sound_PA] entry 1.
  type(U"8");
  EXPECT_EQ(plays(31), 1u);
  // Back to 0 while the delayed notch is still 1: the power-off sound (first [Sound_PR] entry).
  t.powerNotch = 1;
  type(U"2");
  EXPECT_EQ(plays(41), 1u);
  // A brake step past the delayed notch stops the brake sounds, then plays [Sound_BA] entry
  // |brakeNotch| (from 0): the notch is still 0 here.
  t.powerNotch = 0;
  rig.mixer.clearOperations();
  type(U"2");
  EXPECT_EQ(c.brakeHandle, -1);
  EXPECT_EQ(rig.mixer.operationsOn(20, Op::Stop).size(), 2u);  // stopped, then restarted
  EXPECT_EQ(plays(20), 1u);
  // Automatic air brake: release from a delayed notch of -3 plays [Sound_BK] entry 3 (from 1).
  rig.vehicle.BrakeType = 0;
  rig.rebuild();
  c.brakeHandle = -1;
  t.brakeNotch = -3;
  type(U"8");
  EXPECT_EQ(c.brakeHandle, 0);
  EXPECT_EQ(plays(3), 1u);
}

}  // namespace
}  // namespace kestrel
