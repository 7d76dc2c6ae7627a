// The runner's script format: every action, comments, times, and the line number of a fault.
#include "tools/run/drive_script.h"

#include <gtest/gtest.h>

namespace kestrel::run {
namespace {

std::vector<ScriptInput> parseOk(std::string_view text) {
  auto parsed = parseDriveScript(text);
  if (auto* e = std::get_if<ScriptError>(&parsed)) ADD_FAILURE() << "line " << e->line << ": " << e->message;
  return std::get<std::vector<ScriptInput>>(parsed);
}

ScriptError parseBad(std::string_view text) {
  auto parsed = parseDriveScript(text);
  if (!std::holds_alternative<ScriptError>(parsed)) {
    ADD_FAILURE() << "accepted: " << text;
    return {};
  }
  return std::get<ScriptError>(parsed);
}

TEST(DriveScript, EveryActionWithCommentsAndBlankLines) {
  const auto in = parseOk(
      "# a drive\n"
      "0 key 8\r\n"
      "\n"
      "1.5 key space   # the blank\n"
      "2 key 前\n"
      "2.25 vkey Shift+F1\n"
      "3 vkey Enter\n"
      "3 vkeyup F2\n"
      "4 wheel up\n"
      "4.000001 wheel down\n"
      "5 menu start\n"
      "6 menu jump 3\n"
      "7 keyup 3\n");
  ASSERT_EQ(in.size(), 11u);
  EXPECT_EQ(in[0].kind, ScriptInput::Kind::Key);
  EXPECT_EQ(in[0].character, U'8');
  EXPECT_EQ(in[0].timeUs, 0);
  EXPECT_EQ(in[0].line, 2);
  EXPECT_EQ(in[1].character, U' ');
  EXPECT_EQ(in[1].timeUs, 1500000);
  EXPECT_EQ(in[2].character, U'前');
  EXPECT_EQ(in[3].kind, ScriptInput::Kind::VirtualKeyDown);
  EXPECT_EQ(in[3].key, VirtualKey::F1);
  EXPECT_TRUE(in[3].modifiers.shiftOnly());
  EXPECT_EQ(in[3].timeUs, 2250000);
  EXPECT_FALSE(in[4].modifiers.shift);
  EXPECT_EQ(in[5].kind, ScriptInput::Kind::VirtualKeyUp);
  EXPECT_EQ(in[5].key, VirtualKey::F2);
  EXPECT_TRUE(in[6].wheelUp);
  EXPECT_FALSE(in[7].wheelUp);
  EXPECT_EQ(in[7].timeUs, 4000001);
  EXPECT_EQ(in[8].kind, ScriptInput::Kind::MenuStart);
  EXPECT_EQ(in[9].kind, ScriptInput::Kind::MenuJump);
  EXPECT_EQ(in[9].station, 3);
  EXPECT_EQ(in[9].line, 12);
  EXPECT_EQ(in[10].kind, ScriptInput::Kind::KeyUp);
  EXPECT_EQ(in[10].character, U'3');
}

TEST(DriveScript, AMalformedLineIsReportedWithItsNumber) {
  const std::pair<const char*, int> cases[] = {
      {"0 key 8\nx key 8\n", 2},   // not a time
      {"0 key 8\n-1 key 8\n", 2},  // negative
      {"1.1234567 key 8\n", 1},    // finer than a microsecond
      {"1. key 8\n", 1},
      {"0 key\n", 1},       // missing argument
      {"0 key ab\n", 1},    // more than one character
      {"0 key 8 9\n", 1},   // too many
      {"0 vkey F13\n", 1},  // unknown key
      {"0 vkey Ctrl+F1\n", 1},
      {"0 wheel left\n", 1},
      {"0 menu jump\n", 1},
      {"0 menu jump -2\n", 1},
      {"0 menu quit\n", 1},
      {"0 press 8\n", 1},  // unknown action
      {"0\n", 1},
      {"\n\n5 key 8\n4 key 8\n", 4},  // time goes back
  };
  for (auto [text, line] : cases) EXPECT_EQ(parseBad(text).line, line) << text;
  EXPECT_NE(parseBad("0 press 8").message.find("press"), std::string::npos);
}

TEST(DriveScript, EqualTimesKeepTheirOrder) {
  const auto in = parseOk("1 key 8\n1 key 2\n1 key 5");
  ASSERT_EQ(in.size(), 3u);
  EXPECT_EQ(in[2].character, U'5');  // a last line without a line break counts
}

}  // namespace
}  // namespace kestrel::run
