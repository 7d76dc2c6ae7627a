// The debrief as a driver meets it: the quick demo's rapid scenario played in the desktop program
// (--script, ten times real time) ends at the terminal, the cab window closes and the debrief
// shows the score that kestrel-run reports for the same inputs.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <regex>

#include "e2e/x_session.h"
#include "support/test_paths.h"

namespace kestrel::e2e {
namespace {

namespace fs = std::filesystem;
using kestrel::test::slurp;

TEST(DebriefE2e, TheRapidScenarioEndsInTheDebriefWithTheScoreOfTheRunner) {
  const fs::path dir = test::scratchDir("e2e_debrief");
  const fs::path script = test::sourceDir() / "tests/tools/scenarios/rapid_run.txt";
  const std::vector<std::string> drive{"--data", KESTREL_QUICK_DEMO_DIR, "--line", "line_rapid.dat",
                                       "--train", "train_313-1000_8cars.dat", "--script", script.string()};
  std::string command = std::string("'") + KESTREL_RUN + "'";
  for (const auto& a : drive) command += " '" + a + "'";
  command += " --duration 260 --report '" + (dir / "report.json").string() + "' >/dev/null";
  ASSERT_EQ(std::system(command.c_str()), 0);
  std::smatch m;
  const std::string report = slurp(dir / "report.json");
  ASSERT_TRUE(std::regex_search(report, m, std::regex("\"score\": ([0-9]+),\\n  \"mode\": \"practice\",\\n  "
                                                      "\"examVoid\": false,\\n  \"line\": \"([^\"]+)\"")))
      << report;
  const std::string expected = "Debrief — " + m[2].str() + " — " + m[1].str() + " points";

  XSession x{dir};
  if (x.display().empty()) GTEST_SKIP() << "Xvfb does not start here";
  const fs::path err = dir / "stderr.txt";
  fs::create_directories(dir / "config");
  std::vector<std::string> args = drive;
  args.insert(args.end(), {"--speed", "10"});
  x.startProgram(args, dir / "config", err);
  const auto debrief = x.findWindow("^Debrief — ", 120s);
  ASSERT_TRUE(debrief) << slurp(err) << x.describeScreen("no_debrief");
  // Qt appends the application's name to the captions of its other windows.
  EXPECT_EQ(x.name(*debrief), expected + " — 鉄道運転シミュレータ");
  x.screenshot("debrief_after_the_rapid_run");

  x.closeWindow(*debrief);
  const auto title = x.findWindow("^鉄道運転シミュレータ$", 10s);
  ASSERT_TRUE(title) << x.describeScreen("no_title_after_the_debrief");
  x.closeWindow(*title);
  EXPECT_EQ(x.waitForExit(10s), 0) << slurp(err);
}

}  // namespace
}  // namespace kestrel::e2e
