// The serial master controller: the receive buffer, the five-character comparison with the
// mascon.dat table and the effects of its entries.
#include "core/controls/serial_commands.h"

#include <gtest/gtest.h>

#include "core/controls/key_handlers.h"
#include "support/drive_rig.h"

namespace kestrel {
namespace {

// The 23 entries in the order of their meanings: notches 1-6, neutral, brake steps 1-9, reverser
// forward/neutral/reverse, ATS, horn, door, announcement.
std::vector<std::string> fullTable() {
  std::vector<std::string> t;
  for (int i = 1; i <= 6; ++i) t.push_back("MCP0" + std::to_string(i));
  t.push_back("MCN00");
  for (int i = 1; i <= 9; ++i) t.push_back("MCB0" + std::to_string(i));
  for (const char* c : {"MCRF0", "MCRN0", "MCRB0", "MCATS", "MCHRN", "MCDOR", "MCANN"}) t.push_back(c);
  return t;
}

struct SerialTest : ::testing::Test {
  test::DriveRig rig;
  DriveContext& ctx = rig.c();
  ControlState& c = rig.control;
  TrainState& t = rig.train;

  void SetUp() override {
    rig.settings.mascon = fullTable();
    c.reverser = 1;
  }
  void command(const std::string& text) { SerialCommand(ctx, text); }
};

TEST(SerialReceiveBuffer, ACommandSplitOverTwoEventsIsHandedOverOnceWhole) {
  SerialReceiveBuffer buffer;
  EXPECT_FALSE(buffer.RxChar("AB"));
  EXPECT_EQ(buffer.pending(), "AB");
  EXPECT_EQ(buffer.RxChar("CDE\r"), "ABCDE\r");
  EXPECT_EQ(buffer.pending(), "");
  // What follows the carriage return in the same chunk belongs to this command, not the next.
  EXPECT_EQ(buffer.RxChar("MCP01\rMC"), "MCP01\rMC");
  EXPECT_EQ(buffer.pending(), "");
  EXPECT_EQ(buffer.RxChar("N00\r"), "N00\r");
}

TEST(SerialReceiveBuffer, NoiseWithoutACarriageReturnIsKeptOnlyUpToItsLimit) {
  SerialReceiveBuffer buffer;
  EXPECT_FALSE(buffer.RxChar("MCP01"));
  const std::string noise(1000, 'x');
  for (int i = 0; i < 10; ++i) EXPECT_FALSE(buffer.RxChar(noise));
  EXPECT_EQ(buffer.pending().size(), SerialReceiveBuffer::kMaxPending);
  const auto command = buffer.RxChar("\r");
  ASSERT_TRUE(command);
  EXPECT_EQ(command->size(), SerialReceiveBuffer::kMaxPending + 1);
  EXPECT_EQ(command->substr(0, 6), "MCP01x");
  EXPECT_EQ(command->back(), '\r');
  EXPECT_EQ(buffer.pending(), "");
}

TEST_F(SerialTest, NotchCommandsClampToTheModesTopNotchAndReleaseTheBrake) {
  c.brakeHandle = -3;
  command("MCP02\r");
  EXPECT_EQ(c.powerHandle, 2);
  EXPECT_EQ(c.brakeHandle, 0);
  EXPECT_EQ(c.powerText, "P2");
  EXPECT_TRUE(t.powerPending && t.brakePending && t.sapPending && t.ebPending);
  command("MCP06\r");  // the train has four notches
  EXPECT_EQ(c.powerHandle, 4);
  EXPECT_EQ(c.powerText, "P4");

  // Neutral: both handles off, the hold position as it was.
  rig.vehicle.Hold = 1;
  c.holdEngaged = true;
  command("MCN00\r");
  EXPECT_EQ(c.powerHandle, 0);
  EXPECT_EQ(c.brakeHandle, 0);
  EXPECT_TRUE(c.holdEngaged);
}

TEST_F(SerialTest, BrakeCommandsTakePowerOffAndStopAtEmergency) {
  c.powerHandle = 3;
  command("MCB05\r");
  EXPECT_EQ(c.powerHandle, 0);
  EXPECT_EQ(c.brakeHandle, -5);
  EXPECT_EQ(c.brakeText, "B5");
  rig.vehicle.Brake = 4;
  rig.rebuild();
  command("MCB05\r");  // brake step 5 on a four-position brake: emergency
  EXPECT_EQ(c.brakeHandle, -4);
  EXPECT_EQ(c.brakeText, "非常");
  command("MCB09\r");
  EXPECT_EQ(c.brakeHandle, -4);
}

TEST_F(SerialTest, TheReverserIsRefusedWhileMovingButTheTextsAreRefreshed) {
  t.speed = 3;
  c.reverserText.clear();
  command("MCRB0\r");
  EXPECT_EQ(c.reverser, 1);
  EXPECT_EQ(c.reverserText, "前");
  t.speed = -0.8;
  command("MCRB0\r");
  EXPECT_EQ(c.reverser, -1);
  command("MCRN0\r");
  EXPECT_EQ(c.reverser, 0);
  EXPECT_EQ(c.reverserText, "中");
  command("MCRF0\r");
  EXPECT_EQ(c.reverser, 1);
}

TEST_F(SerialTest, ButtonsPostTheirKeysWhichArriveOnlyWhenDelivered) {
  for (const char* code : {"MCATS\r", "MCHRN\r", "MCDOR\r", "MCANN\r"}) command(code);
  EXPECT_EQ(rig.keys.postedCharacters, (std::deque<char32_t>{U' ', U'3', U'7', U'1'}));
  rig.addWave(rig.vehicle.Sound_Horn);
  deliverPostedCharacters(ctx);
  EXPECT_TRUE(rig.keys.postedCharacters.empty());
  EXPECT_TRUE(rig.mixer.isPlaying(rig.vehicle.Sound_Horn));  // "3" sounded the horn
}

TEST_F(SerialTest, OnlyTheFirstFiveCharactersAreComparedAndWholeEntriesMustEqualThem) {
  command("MCP03 and more\r");
  EXPECT_EQ(c.powerHandle, 3);
  // A command shorter than five characters compares with its carriage return: a four-character
  // entry never matches.
  rig.settings.mascon[0] = "MCP1";
  command("MCP1\r");
  EXPECT_EQ(c.powerHandle, 3);
  // Case-sensitive.
  command("mcn00\r");
  EXPECT_EQ(c.powerHandle, 3);
  EXPECT_EQ(firstFiveCharacters("ブレーキ５段\r"), "ブレーキ５");
  EXPECT_EQ(firstFiveCharacters("AB"), "AB");
}

TEST_F(SerialTest, ASevenLineTableDrivesOnlyPowerAndNeutral) {
  rig.settings.mascon.resize(7);
  command("MCP04\r");
  EXPECT_EQ(c.powerHandle, 4);
  for (const char* code : {"MCB03\r", "MCRN0\r", "MCATS\r"}) command(code);
  EXPECT_EQ(c.brakeHandle, 0);
  EXPECT_EQ(c.reverser, 1);
  EXPECT_TRUE(rig.keys.postedCharacters.empty());
  command("MCN00\r");
  EXPECT_EQ(c.powerHandle, 0);
  // Entries 24 to 26 are kept and do nothing.
  rig.settings.mascon = fullTable();
  rig.settings.mascon.push_back("MCX24");
  command("MCX24\r");
  EXPECT_EQ(c.powerHandle, 0);
  EXPECT_EQ(c.brakeHandle, 0);
}

TEST_F(SerialTest, EveryCommandCountsAsDriverActivityAndIsKeptForTheCaption) {
  rig.addWave(rig.vehicle.Sound_EBring);
  rig.mixer.playLooped(rig.vehicle.Sound_EBring);
  rig.addSprite("img_Lamp_EB");
  t.vigilanceTicks = 620;
  command("??\r\n");  // matches nothing
  EXPECT_EQ(t.vigilanceTicks, 0);
  EXPECT_FALSE(rig.mixer.isPlaying(rig.vehicle.Sound_EBring));
  EXPECT_FALSE(rig.sprites.find("img_Lamp_EB")->visible);
  EXPECT_EQ(rig.keys.serialCommandText, "??\r\n");
  command("\x83\x75\x83\x8C\r");  // Shift-JIS from the controller, UTF-8 for the caption
  EXPECT_EQ(rig.keys.serialCommandText, "ブレ\r");
}

TEST_F(SerialTest, ATableThatRepeatsACodePerformsEachOfItsEntries) {
  rig.settings.mascon[7] = "MCP01";  // brake step 1 shares the code of notch 1
  command("MCP01\r");
  EXPECT_EQ(c.powerHandle, 0);  // the brake entry, later in the table, took power off again
  EXPECT_EQ(c.brakeHandle, -1);
}

}  // namespace
}  // namespace kestrel
