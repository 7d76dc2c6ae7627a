// The runner's script format: every action, comments, times, and the line number of a fault.
#include "core/front/drive_script.h"

#include <gtest/gtest.h>

namespace kestrel {
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
      {"0 vkey Meta+F1\n", 1},
      {"0 vkey Shift+Shift+F1\n", 1},
      {"0 wheel left\n", 1},
      {"0 menu jump\n", 1},
      {"0 menu jump -2\n", 1},
      {"0 menu quit\n", 1},
      {"0 press 8\n", 1},  // unknown action
      {"0 serial A\\q\n", 1},
      {"0 values stop 100\n", 1},
      {"0 end now\n", 1},
      {"kestrel-recording 2\n", 1},  // a format this program does not read
      {"0 key 8\nline x.dat sha256:12\n", 2},
      {"preferences Kanko=0\n", 1},
      {"program swapKeys=2 controllerKind=0 padSignature=0\n", 1},
      {"score 101\n", 1},
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

// Every kind of input written as the recorder writes it reads back as the same line, also the
// texts that need escapes: blanks, "#", control characters and bytes that are not UTF-8.
TEST(DriveScript, EveryInputWrittenAsALineReadsBackTheSame) {
  const char* lines[] = {
      "0.000000 key 8",
      "0.100000 key space",
      "0.200000 key 前",
      "0.300000 key U+0023",  // "#" would start a comment
      "0.400000 keyup U+0009",
      "1.000000 vkey Shift+F1",
      "1.000000 vkeyup PageDown",
      "1.000000 vkey Shift+Ctrl+Alt+F12",
      "2.000000 wheel up",
      "2.000001 wheel down",
      "3.000000 menu start",
      "4.000000 menu jump 2",
      "5.000000 menu save 3",
      "6.000000 menu load 1",
      "6.000000 menu load 1 line_local.dat,2,0,1234,1079733,56789,0",
      "6.000000 menu load 2 -",  // the slot was empty
      "6.000000 menu load 2 \\x2D",
      "7.000000 menu callouts",
      "7.000000 menu debug",
      "7.000000 menu visualeffects",
      "7.000000 menu controller 3",
      "8.000000 serial P5\\x23\\s\\x82\\xA0\\r",
      "9.099999 pad -32768 4 0,15",
      "9.199999 pad 0 0 -",
      "10.000000 values reload",
      "10.000000 values jump 1200\\s\\x23",
      "10.000000 values jump -",
      "10.000000 values resistance",
      "10.000000 values stop 99",
      "11.000000 back",
      "12.000000 end",
  };
  std::string text;
  for (const char* l : lines) text += std::string(l) + "\n";
  const auto in = parseOk(text);
  ASSERT_EQ(in.size(), std::size(lines));
  for (size_t i = 0; i < in.size(); ++i) EXPECT_EQ(formatScriptInput(in[i]), lines[i]);
  EXPECT_EQ(in[3].character, U'#');
  EXPECT_TRUE(in[7].modifiers.ctrl && in[7].modifiers.alt && in[7].modifiers.shift);
  EXPECT_FALSE(in[13].slotText.has_value());
  EXPECT_EQ(in[15].slotText, "");
  EXPECT_EQ(in[16].slotText, "-");
  EXPECT_EQ(in[21].bytes, std::string("P5# \x82\xA0\r"));
  EXPECT_EQ(in[25].bytes, "1200 #");
  EXPECT_EQ(in[26].bytes, "");
}

TEST(DriveScript, ARecordingsHeaderReadsBackAndAScriptHasNone) {
  RecordingHeader h;
  h.format = kRecordingFormat;
  h.line = {"line local.dat", "sha256:" + std::string(64, 'a')};
  h.train = {"/trains/my #1.dat", "sha256:" + std::string(64, '0')};
  h.station = 2;
  h.seed = 1714550400123;
  h.preferences = {1, 0, 1, 1, 2};
  h.gradeMode = 1;
  h.controller.P = {1, 2, 3, 4, 5, 6};
  h.controller.B[8] = -9;
  h.controller.EB = 77;
  h.program = {true, ControllerKind::PsGo, -12};
  h.started = "2024-05-01T10:00:00";
  std::string text;
  for (const std::string& line : formatRecordingHeader(h)) text += line + "\n";
  text += "0.500000 key 5\n" + formatScoreEntry(87) + "\n";
  const auto parsed = parseDriveRecording(text);
  ASSERT_TRUE(std::holds_alternative<DriveRecording>(parsed)) << std::get<ScriptError>(parsed).message;
  const DriveRecording& r = std::get<DriveRecording>(parsed);
  EXPECT_EQ(r.header.line.name, h.line.name);
  EXPECT_EQ(r.header.train.name, h.train.name);
  EXPECT_EQ(r.header.train.hash, h.train.hash);
  EXPECT_EQ(r.header.station, 2);
  EXPECT_EQ(r.header.seed, h.seed);
  EXPECT_EQ(r.header.preferences.TextMode, 2);
  EXPECT_EQ(r.header.preferences.NoCommentary, 0);
  EXPECT_EQ(r.header.gradeMode, 1);
  EXPECT_EQ(r.header.controller.P, h.controller.P);
  EXPECT_EQ(r.header.controller.B, h.controller.B);
  EXPECT_EQ(r.header.controller.EB, 77);
  EXPECT_TRUE(r.header.program.swapKeys);
  EXPECT_EQ(r.header.program.controllerKind, ControllerKind::PsGo);
  EXPECT_EQ(r.header.program.lastPadSignature, -12);
  EXPECT_EQ(r.header.started, h.started);
  EXPECT_EQ(r.header.score, 87);
  ASSERT_EQ(r.inputs.size(), 1u);
  // The script reader reads the same file for its inputs.
  EXPECT_EQ(std::get<std::vector<ScriptInput>>(parseDriveScript(text)).size(), 1u);
  EXPECT_EQ(std::get<DriveRecording>(parseDriveRecording("1 key 5\n")).header.format, 0);
}

// A recording cut while a line was written (a crash, a kill) plays up to its last complete line.
TEST(DriveScript, ARecordingCutInALineLeavesThatLineOut) {
  const std::string whole = "kestrel-recording 1\n1.000000 key 8\n2.000000 key 5\n";
  for (size_t cut = whole.find("2.0"); cut < whole.size(); ++cut) {
    const auto parsed = parseDriveRecording(whole.substr(0, cut));
    ASSERT_TRUE(std::holds_alternative<DriveRecording>(parsed)) << cut;
    const DriveRecording& r = std::get<DriveRecording>(parsed);
    ASSERT_EQ(r.inputs.size(), 1u) << cut;
    EXPECT_EQ(r.inputs[0].character, U'8');
    EXPECT_EQ(r.cut, cut > whole.find("2.0")) << cut;
  }
  EXPECT_EQ(std::get<DriveRecording>(parseDriveRecording(whole)).inputs.size(), 2u);
}

}  // namespace
}  // namespace kestrel
