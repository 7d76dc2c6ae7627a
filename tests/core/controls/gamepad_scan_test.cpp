// USBScan: the words and signature of a poll, the three controller kinds with their boundaries
// and combinations, and the signature test that makes an unchanged controller cost nothing.
#include "core/controls/gamepad_scan.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <utility>

#include "support/drive_rig.h"
#include "support/fake_gamepad.h"

namespace kestrel {
namespace {

struct PadTest : ::testing::Test {
  test::DriveRig rig;
  DriveContext& ctx = rig.c();
  ControlState& c = rig.control;
  test::FakeGamepad pad;

  void use(ControllerKind kind) { rig.program.controllerKind = kind; }
  // Polls the controller in the given state.
  void scan(int x, int y, std::initializer_list<int> pressed = {}) {
    pad.set(x, y, pressed);
    USBScan(ctx, pad);
  }
  std::deque<char32_t> takePosted() { return std::exchange(rig.keys.postedCharacters, {}); }
};

TEST(PadWords, ButtonAndLeverWordsAndTheSignature) {
  GamepadState s{-300, 1200, {}};
  for (int b : {0, 3, 4, 7, 8, 15}) s.buttons[static_cast<size_t>(b)] = true;
  const PadWords w = padWords(s);
  EXPECT_EQ(w.B, 1 + 8 + 16 + 2048);
  EXPECT_EQ(w.L, 1 + 8);
  EXPECT_EQ(w.S, -300 + 1200 + w.B + w.L);
  EXPECT_EQ(padWords(GamepadState{}).S, 0);
  EXPECT_EQ(padDebugCaption(s), "X:-300 Y:1200");
}

TEST_F(PadTest, WindowsControllerPowerFromYWhereTheBoundariesChangeNothing) {
  use(ControllerKind::WindowsGo);
  rig.vehicle.Notch.push_back(rig.vehicle.Notch.back());  // five notches, one per band
  rig.vehicle.Power = 5;
  const std::pair<int, int> steps[] = {{-4999, 1},  {-5000, 1},  {-6000, 2},  {-12000, 2}, {-12001, 3},
                                       {-20000, 3}, {-25000, 4}, {-30000, 4}, {-30001, 5}, {0, 0}};
  c.powerHandle = 3;
  for (auto [y, expected] : steps) {
    scan(0, y);
    EXPECT_EQ(c.powerHandle, expected) << "Y = " << y;
  }
  scan(0, -5000);  // from off, the first boundary keeps the handle off
  EXPECT_EQ(c.powerHandle, 0);
  EXPECT_TRUE(rig.train.powerPending);
  EXPECT_EQ(c.powerText, "ノッチオフ");
}

TEST_F(PadTest, WindowsControllerBrakeFromXUpToEmergency) {
  use(ControllerKind::WindowsGo);
  rig.vehicle.Brake = 10;  // room for all nine steps
  rig.rebuild();
  const std::pair<int, int> steps[] = {{500, -1},   {1000, -1},  {2000, -2},  {5000, -3},  {7000, -4},
                                       {9000, -5},  {9500, -5},  {10000, -6}, {11500, -7}, {12500, -8},
                                       {13000, -8}, {20000, -9}, {0, 0},      {-40, 0}};
  for (auto [x, expected] : steps) {
    scan(x, 1);  // Y > 0: power off throughout
    EXPECT_EQ(c.brakeHandle, expected) << "X = " << x;
  }
  // Step 9 on an eight-position brake is emergency, shown as such.
  rig.vehicle.Brake = 8;
  rig.rebuild();
  scan(20000, 2);
  EXPECT_EQ(c.brakeHandle, -8);
  EXPECT_EQ(c.brakeText, "非常");
}

TEST_F(PadTest, WindowsControllerButtonsPostTheirKeysOncePerChange) {
  use(ControllerKind::WindowsGo);
  scan(0, 1, {0, 1, 2, 3, 4, 5});
  EXPECT_EQ(takePosted(), (std::deque<char32_t>{U'9', U'1', U'3', U'7', U'\r', U's'}));
  scan(0, 1, {0, 1, 2, 3, 4, 5});  // still held: the same signature, nothing posted
  EXPECT_TRUE(takePosted().empty());
  EXPECT_EQ(pad.polls, 2);
  scan(0, 1, {2});
  EXPECT_EQ(takePosted(), (std::deque<char32_t>{U'3'}));
}

TEST_F(PadTest, StatesWithTheSameSignatureAreNotNoticed) {
  use(ControllerKind::WindowsGo);
  scan(500, -6000);
  ASSERT_EQ(c.powerHandle, 2);
  ASSERT_EQ(c.brakeHandle, -1);
  // X and Y change by opposite amounts: the sum is the same, so this poll changes nothing.
  rig.train.vigilanceTicks = 40;
  scan(5500, -11000);
  EXPECT_EQ(c.powerHandle, 2);
  EXPECT_EQ(c.brakeHandle, -1);
  EXPECT_EQ(rig.train.vigilanceTicks, 40);
}

TEST_F(PadTest, AChangedPollIsDriverActivityAndShowsTheDebugCaptionOnlyWhileChecked) {
  use(ControllerKind::WindowsGo);
  rig.addWave(rig.vehicle.Sound_EBring);
  rig.mixer.playLooped(rig.vehicle.Sound_EBring);
  rig.addSprite("img_Lamp_EB");
  rig.train.vigilanceTicks = 620;
  scan(0, -100);
  EXPECT_EQ(rig.train.vigilanceTicks, 0);
  EXPECT_FALSE(rig.mixer.isPlaying(rig.vehicle.Sound_EBring));
  EXPECT_FALSE(rig.sprites.find("img_Lamp_EB")->visible);
  EXPECT_FALSE(rig.keys.padDebugCaption);
  rig.keys.padDebug = true;
  scan(300, -100);
  EXPECT_EQ(rig.keys.padDebugCaption, "X:300 Y:-100");
}

TEST_F(PadTest, PlayStationControllerReadsTheRegistryCodes) {
  use(ControllerKind::PsGo);
  ControllerCodes& codes = rig.settings.controller;
  codes.P = {100, 200, 300, 400, 500, 600};
  codes.B = {0, 1, 2, 3, 4, 5, 6, 7, 8};
  codes.EB = 15;
  scan(250, 50);  // C = 300: notch 2; L = 0: brake step 0
  EXPECT_EQ(c.powerHandle, 2);
  EXPECT_EQ(c.brakeHandle, 0);
  scan(80, 0, {1, 5, 6});  // C = X + Y + B = 80 + 2 = 82 matches nothing; L = 2 + 4 = 6
  EXPECT_EQ(c.powerHandle, 2);
  EXPECT_EQ(c.brakeHandle, -6);
  EXPECT_EQ(takePosted(), (std::deque<char32_t>{U'3'}));
  scan(0, 0, {4, 5, 6, 7});  // L = 15: the emergency code, step 9, clamped to -nB
  EXPECT_EQ(c.brakeHandle, -8);
  // The buttons in their order: announcement, horn, doors, power mode, ATS reset.
  scan(1, 0, {1, 2, 3, 8, 9});
  EXPECT_EQ(takePosted(), (std::deque<char32_t>{U'1', U'3', U'7', U'9', U'r'}));
}

TEST_F(PadTest, CodesNeverStoredAreZeroAndMatchTheNeutralController) {
  use(ControllerKind::PsGo);
  scan(7, 0);  // matches no power code
  c.powerHandle = 3;
  c.brakeHandle = -4;
  scan(5, -5);  // C = 0 and L = 0: P0 and B0, both 0
  EXPECT_EQ(c.powerHandle, 0);
  EXPECT_EQ(c.brakeHandle, 0);
}

TEST_F(PadTest, OhcReadsTheHandleFromButtonCombinations) {
  use(ControllerKind::Ohc);
  c.powerHandle = 3;
  c.brakeHandle = -3;
  scan(0, 0, {6, 8});  // L = 4, B = 16: both power 0 and brake 0
  EXPECT_EQ(c.powerHandle, 0);
  EXPECT_EQ(c.brakeHandle, 0);
  EXPECT_EQ(takePosted(), (std::deque<char32_t>{U'n'}));
  scan(0, -1, {6, 7, 9});  // L = 12, B = 32: notch 3; no brake row
  EXPECT_EQ(c.powerHandle, 3);
  EXPECT_EQ(c.brakeHandle, 0);
  EXPECT_EQ(takePosted(), (std::deque<char32_t>{U'f'}));
  scan(0, 1, {7, 8, 9});  // L = 8, B = 48: brake step 3; no power row
  EXPECT_EQ(c.powerHandle, 3);
  EXPECT_EQ(c.brakeHandle, -3);
  EXPECT_EQ(takePosted(), (std::deque<char32_t>{U'b'}));
  scan(0, 1, {9});  // L = 0, B = 32: step 9, emergency
  EXPECT_EQ(c.brakeHandle, -8);
  scan(0, 1, {12, 13});  // a combination no table lists changes nothing
  EXPECT_EQ(c.powerHandle, 3);
  EXPECT_EQ(c.brakeHandle, -8);
}

TEST_F(PadTest, OhcHornIsHeldWhileButtonZeroIsDownAndButtonTwoIsTheDoorKey) {
  use(ControllerKind::Ohc);
  scan(0, 0, {0, 2});
  EXPECT_TRUE(rig.keys.hornHeld);
  EXPECT_EQ(takePosted(), (std::deque<char32_t>{U'7', U'n'}));
  scan(0, 0, {2});
  EXPECT_FALSE(rig.keys.hornHeld);
}

TEST_F(PadTest, TheStandardKindPollsNothingAndLeavesTheHandlesWhereTheyStand) {
  use(ControllerKind::WindowsGo);
  scan(5000, -6000);
  ASSERT_EQ(c.powerHandle, 2);
  use(ControllerKind::Standard);
  scan(0, 0);
  EXPECT_EQ(pad.polls, 1);
  EXPECT_EQ(c.powerHandle, 2);
  EXPECT_EQ(c.brakeHandle, -3);
  EXPECT_EQ(rig.program.lastPadSignature, 5000 - 6000);
}

}  // namespace
}  // namespace kestrel
