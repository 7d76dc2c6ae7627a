// kestrel-run's menu actions: the script lines, and saved drives and check items kept in a
// --prefs file from one run to the next, read back from the traces and the file.
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

using kestrel::test::slurp;

TEST(MenuActions, ScriptLines) {
  auto parsed = parseDriveScript(
      "1 menu save 1\n2 menu load 3\n3 menu callouts\n4 menu commentary\n5 menu stoplines\n6 menu "
      "textmode\n");
  ASSERT_TRUE(std::holds_alternative<std::vector<ScriptInput>>(parsed));
  const auto& in = std::get<std::vector<ScriptInput>>(parsed);
  ASSERT_EQ(in.size(), 6u);
  EXPECT_EQ(in[0].kind, ScriptInput::Kind::MenuSave);
  EXPECT_EQ(in[0].slot, 1);
  EXPECT_EQ(in[1].kind, ScriptInput::Kind::MenuLoad);
  EXPECT_EQ(in[1].slot, 3);
  const CabMenuItem items[] = {CabMenuItem::CalloutsOff, CabMenuItem::NoCommentary,
                               CabMenuItem::StopLinesHidden, CabMenuItem::TextMode};
  for (size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(in[2 + i].kind, ScriptInput::Kind::MenuToggle);
    EXPECT_EQ(in[2 + i].item, items[i]);
  }
  for (const char* bad : {"0 menu save\n", "0 menu save 4\n", "0 menu load 0\n", "0 menu load 1 a b\n",
                          "0 menu callouts 1\n", "0 menu sound\n"})
    EXPECT_TRUE(std::holds_alternative<ScriptError>(parseDriveScript(bad))) << bad;
}

struct PrefsRunTest : ::testing::Test {
  fs::path dir = test::scratchDir("kestrel_run_prefs");
  fs::path prefs = dir / "prefs.ini";

  std::string run(const std::string& script, const std::string& trace, int* status = nullptr) {
    std::ofstream(dir / "script.txt", std::ios::binary) << script;
    const std::string command = std::string("'") + KESTREL_RUN + "' --data '" + test::quickDemo().string() +
                                "' --line line_local.dat --train train_313-1000_10cars.dat --script '" +
                                (dir / "script.txt").string() + "' --trace '" + (dir / trace).string() +
                                "' --prefs '" + prefs.string() + "' >'" + (dir / "out").string() + "' 2>'" +
                                (dir / "err").string() + "'";
    const int raw = std::system(command.c_str());
    if (status) *status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return slurp(dir / "err");
  }
  // The column's values, one per row.
  std::vector<std::string> column(const std::string& trace, const std::string& name) {
    std::istringstream in(slurp(dir / trace));
    std::string line;
    std::getline(in, line);
    size_t index = 0;
    for (size_t start = 0, n = 0;; ++n) {
      const size_t comma = line.find(',', start);
      if (line.substr(start, comma - start) == name) index = n;
      if (comma == std::string::npos) break;
      start = comma + 1;
    }
    std::vector<std::string> out;
    while (std::getline(in, line)) {
      std::stringstream s(line);
      std::string f;
      for (size_t n = 0; n <= index; ++n) std::getline(s, f, ',');
      out.push_back(f);
    }
    return out;
  }
};

TEST_F(PrefsRunTest, ASlotSavedInOneRunRestoresInTheNextAndTheChecksAreKept) {
  fs::remove(prefs);
  // Doors shut, away from the platform, save at 40 s, tick "喚呼なし".
  int status = 0;
  std::string err =
      run("0 key d\n0 key 5\n0.1 key 8\n0.2 key 8\n0.3 key 8\n0.4 key 8\n30 key 5\n40 menu save 2\n40 menu "
          "callouts\n",
          "first.csv", &status);
  ASSERT_EQ(status, 0) << err;
  EXPECT_EQ(err, "40.000000 運転状態を保存しました\n");
  const std::string file = slurp(prefs);
  EXPECT_NE(file.find("Kanko=1"), std::string::npos) << file;
  EXPECT_NE(file.find("Tunnel=1"), std::string::npos) << file;  // every tick sets it, as in the desktop program
  EXPECT_NE(file.find("Save2=\"line_local.dat,"), std::string::npos) << file;
  const auto frames = column("first.csv", "MovieFrame");
  ASSERT_GE(frames.size(), 400u);
  const std::string savedFrame = frames[399];  // the tick at 40 s, before the save
  ASSERT_NE(savedFrame, frames[0]);

  // The next run starts at the line's start and jumps back to the saved place at 5 s.
  err = run("5 menu load 2\n6 menu load 1\n", "second.csv", &status);
  ASSERT_EQ(status, 0) << err;
  EXPECT_EQ(err, "6.000000 運転状態が保存されていません\n");
  const auto again = column("second.csv", "MovieFrame");
  ASSERT_GE(again.size(), 60u);
  EXPECT_EQ(again[0], frames[0]);
  EXPECT_EQ(again[49], frames[49]);  // the tick at 5 s runs before the restore
  // The tick after it: a few frames on from the saved one, handles at rest, brakes released.
  EXPECT_GE(std::stoi(again[50]), std::stoi(savedFrame));
  EXPECT_LT(std::stoi(again[50]), std::stoi(savedFrame) + 10);
  EXPECT_EQ(column("second.csv", "powerHandle")[50], "0");
  EXPECT_EQ(column("second.csv", "brakeHandle")[50], "0");
  // The preference ticked in the first run is read at the start of the second and kept.
  EXPECT_NE(slurp(prefs).find("Kanko=1"), std::string::npos);

  // A slot saved on another line is refused.
  err = run("1 menu save 3\n", "third.csv", &status);
  ASSERT_EQ(status, 0) << err;
  const std::string other = std::string("'") + KESTREL_RUN + "' --data '" + test::quickDemo().string() +
                            "' --line line_rapid.dat --train train_313-1000_8cars.dat --script '" +
                            (dir / "load3.txt").string() + "' --prefs '" + prefs.string() +
                            "' >/dev/null 2>'" + (dir / "err").string() + "'";
  std::ofstream(dir / "load3.txt") << "1 menu load 3\n";
  ASSERT_EQ(std::system(other.c_str()), 0);
  EXPECT_EQ(slurp(dir / "err"), "1.000000 運転状態を保存したダイヤではありません\n");
}

}  // namespace
}  // namespace kestrel::run
