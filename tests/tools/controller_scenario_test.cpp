// The serial master controller and a game controller in kestrel-run: the script lines, and a
// notch and a brake step driven through each, read back from the trace.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <fstream>
#include <sstream>

#include "core/front/drive_script.h"
#include "support/test_paths.h"
#include "tools/demo_files.h"

namespace kestrel::run {
namespace {

namespace fs = std::filesystem;

TEST(ControllerScript, SerialPadAndControllerLines) {
  auto parsed = parseDriveScript(
      "1 serial AB\n2 serial CDE\\r\n3 serial a\\sb\\\\\\n\n4 pad 0 -6000 -\n5 pad -3 12 0,4,15\n"
      "6 menu controller 3\n");
  ASSERT_TRUE(std::holds_alternative<std::vector<ScriptInput>>(parsed))
      << std::get<ScriptError>(parsed).message;
  const auto& in = std::get<std::vector<ScriptInput>>(parsed);
  ASSERT_EQ(in.size(), 6u);
  EXPECT_EQ(in[0].kind, ScriptInput::Kind::Serial);
  EXPECT_EQ(in[0].bytes, "AB");
  EXPECT_EQ(in[1].bytes, "CDE\r");
  EXPECT_EQ(in[2].bytes, "a b\\\n");
  EXPECT_EQ(in[3].kind, ScriptInput::Kind::Pad);
  EXPECT_EQ(in[3].pad.y, -6000);
  EXPECT_EQ(in[3].pad.buttons, (std::array<bool, 16>{}));
  EXPECT_EQ(in[4].pad.x, -3);
  for (size_t b = 0; b < 16; ++b) EXPECT_EQ(in[4].pad.buttons[b], b == 0 || b == 4 || b == 15) << b;
  EXPECT_EQ(in[5].kind, ScriptInput::Kind::MenuController);
  EXPECT_EQ(in[5].item, CabMenuItem::ControllerOhc);
  for (const char* bad : {"0 serial\n", "0 serial A\\q\n", "0 serial A B\n", "0 pad 0 0\n", "0 pad x 0 -\n",
                          "0 pad 0 0 16\n", "0 pad 0 0 1,\n", "0 menu controller 4\n", "0 menu controller\n"})
    EXPECT_TRUE(std::holds_alternative<ScriptError>(parseDriveScript(bad))) << bad;
}

struct ControllerRunTest : ::testing::Test {
  fs::path dir = test::scratchDir("kestrel_run_controllers");

  // Runs the script on the quick demo's local line; the trace's rows, one per tick (row i is the
  // tick at (i + 1) / 10 s), as name -> values.
  std::map<std::string, std::vector<std::string>> run(const std::string& script) {
    std::ofstream(dir / "script.txt", std::ios::binary) << script;
    const std::string command = std::string("'") + KESTREL_RUN + "' --data '" + test::quickDemo().string() +
                                "' --line line_local.dat --train train_313-1000_10cars.dat --script '" +
                                (dir / "script.txt").string() + "' --trace '" + (dir / "trace.csv").string() +
                                "' >/dev/null 2>'" + (dir / "err").string() + "'";
    const int raw = std::system(command.c_str());
    EXPECT_TRUE(WIFEXITED(raw) && WEXITSTATUS(raw) == 0) << test::slurp(dir / "err");
    std::istringstream in(test::slurp(dir / "trace.csv"));
    std::string line, field;
    std::getline(in, line);
    std::vector<std::string> names;
    for (std::stringstream header(line); std::getline(header, field, ',');) names.push_back(field);
    std::map<std::string, std::vector<std::string>> columns;
    while (std::getline(in, line)) {
      std::stringstream row(line);
      for (size_t i = 0; i < names.size() && std::getline(row, field, ','); ++i)
        columns[names[i]].push_back(field);
    }
    return columns;
  }
};

TEST_F(ControllerRunTest, ANotchAndABrakeStepThroughTheSerialControllerAndAGameController) {
  auto trace =
      run("1 serial MC\n"
          "1 serial P02\\r\n"    // notch 2, split over two receive events
          "3 serial MCB03\\r\n"  // brake step 3
          "5 pad 0 -6000 -\n"    // not polled yet: the standard kind is in force
          "6 menu controller 1\n"
          "7 pad 5000 1 -\n"    // the Windows controller: X 5000 is step 3, Y > 0 power off
          "8 pad 0 -13000 -\n"  // notch 3, brake released
          "9 menu controller 0\n"
          "9 pad 0 0 -\n");  // no longer polled
  const auto& power = trace["powerHandle"];
  const auto& brake = trace["brakeHandle"];
  ASSERT_GE(power.size(), 150u);
  EXPECT_EQ(brake[8], "-8");  // the drive starts at emergency
  EXPECT_EQ(power[9], "0");   // the tick at 1 s runs before the commands
  EXPECT_EQ(power[10], "2");
  EXPECT_EQ(brake[10], "0");
  EXPECT_EQ(power[30], "0");
  EXPECT_EQ(brake[30], "-3");
  EXPECT_EQ(power[55], "0");  // the pad's state waits for a game-controller kind
  EXPECT_EQ(power[60], "2");  // the first poll after the kind is chosen: Y -6000 is notch 2 ...
  EXPECT_EQ(brake[60], "0");  // ... and X 0 releases the brake
  EXPECT_EQ(power[70], "0");
  EXPECT_EQ(brake[70], "-3");
  EXPECT_EQ(power[80], "3");
  EXPECT_EQ(brake[80], "0");
  EXPECT_EQ(power.back(), "3");  // where the controller left it
  EXPECT_EQ(brake.back(), "0");
}

}  // namespace
}  // namespace kestrel::run
