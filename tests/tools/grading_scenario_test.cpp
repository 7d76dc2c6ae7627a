// kestrel-run --report and --plot on the quick demo's rapid line: the careful drive graded stop by
// stop, the same report for the same inputs, a drive that the grading does not change, and an SVG
// whose series are one curve each with the axes labelled; the red-signal drive's ATS brake.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <map>
#include <nlohmann/json.hpp>
#include <pugixml.hpp>
#include <regex>

#include "support/test_paths.h"
#include "tools/demo_files.h"

namespace kestrel {
namespace {

namespace fs = std::filesystem;
using kestrel::test::slurp;

struct GradingScenario : ::testing::Test {
  fs::path dir = test::scratchDir(std::string("grading_scenario_") +
                                  ::testing::UnitTest::GetInstance()->current_test_info()->name());

  // The rapid line driven by `script` with `extra` options; the runner's stderr must stay empty.
  void run(const std::string& script, const std::string& extra, const std::string& duration = "260") {
    const std::string command = std::string("'") + KESTREL_RUN + "' --data '" + test::quickDemo().string() +
                                "' --line line_rapid.dat --train train_313-1000_8cars.dat --script '" +
                                (test::sourceDir() / "tests/tools/scenarios" / script).string() +
                                "' --duration " + duration + " " + extra + " >/dev/null 2>'" +
                                (dir / "err").string() + "'";
    const int raw = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(raw) && WEXITSTATUS(raw) == 0) << slurp(dir / "err");
    EXPECT_EQ(slurp(dir / "err"), "");
  }
  std::string path(const char* name) const { return "'" + (dir / name).string() + "'"; }
};

TEST_F(GradingScenario, TheCarefulRapidDriveIsGradedStopByStopTheSameEveryTimeWithoutChangingTheDrive) {
  run("rapid_run.txt", "--trace " + path("plain.csv"));
  run("rapid_run.txt", "--trace " + path("graded.csv") + " --report " + path("a.json") + " --plot " + path("a.svg"));
  run("rapid_run.txt", "--report " + path("b.json"));
  EXPECT_EQ(slurp(dir / "plain.csv"), slurp(dir / "graded.csv"));
  const std::string report = slurp(dir / "a.json");
  EXPECT_EQ(report, slurp(dir / "b.json"));

  const auto j = nlohmann::json::parse(report);
  EXPECT_EQ(j["mode"], "practice");
  ASSERT_TRUE(j["score"].is_number_integer());
  EXPECT_GE(j["score"].get<int>(), 80);  // ATS warnings and a good stop at most
  ASSERT_EQ(j["stations"].size(), 3u);   // the passing station is no stop
  const std::vector<std::string> names{"鷹見", "緑町", "鳥羽台"};
  for (size_t i = 0; i < names.size(); ++i) EXPECT_EQ(j["stations"][i]["name"], names[i]);
  EXPECT_TRUE(j["stations"][0]["stopErrorCm"].is_null());  // the drive began there
  EXPECT_TRUE(j["stations"][0]["departureDeltaS"].is_number_integer());
  for (size_t i : {1u, 2u}) {
    const auto& s = j["stations"][i];
    ASSERT_TRUE(s["stopErrorCm"].is_number_integer()) << s;
    EXPECT_LE(std::abs(s["stopErrorCm"].get<int>()), 500) << "inside the platform window";
    EXPECT_TRUE(s["stop"] == "stop-excellent" || s["stop"] == "stop-good" || s["stop"] == "stop-acceptable");
  }
  int points = 0;
  for (const auto& e : j["events"]) {
    for (const char* key : {"t", "frame", "distanceCm", "kind", "points", "text"}) EXPECT_TRUE(e.contains(key)) << e;
    points += e["points"].get<int>();
  }
  EXPECT_EQ(j["score"].get<int>(), 100 + points);
}

// The SVG as drawn: every line series one connected curve in its own colour, the signals as
// markers, the axes with their titles.
TEST_F(GradingScenario, ThePlotHasOneCurvePerSeriesAndLabelledAxes) {
  run("rapid_run.txt", "--plot " + path("plot.svg"));
  pugi::xml_document svg;
  ASSERT_TRUE(svg.load_file((dir / "plot.svg").c_str())) << "not XML";

  std::vector<std::string> texts;
  for (const auto& t : svg.select_nodes("//text")) texts.push_back(t.node().child_value());
  for (const char* title : {"Distance (m)", "Speed (km/h)", "Notch", "Stations", "鷹見", "緑町", "鳥羽台"})
    EXPECT_NE(std::find(texts.begin(), texts.end(), std::string(title)), texts.end()) << title;

  // Segments drawn with each stroke colour; a curve is a chain of segments end to start.
  std::map<std::string, std::vector<std::vector<std::string>>> strokes;
  for (const auto& g : svg.select_nodes("//g[@stroke]")) {
    const std::string color = g.node().attribute("stroke").value();
    for (const auto& p : g.node().children("polyline")) {
      std::vector<std::string> points;
      std::istringstream in(p.attribute("points").value());
      for (std::string xy; in >> xy;) points.push_back(xy);
      if (!points.empty()) strokes[color].push_back(points);
    }
  }
  const auto curves = [&](const std::string& color) {
    int n = 0;
    const std::vector<std::string>* last = nullptr;
    for (const auto& segment : strokes[color]) {
      if (!last || last->back() != segment.front()) ++n;
      last = &segment;
    }
    return n;
  };
  EXPECT_EQ(curves("#1f77b4"), 1) << "speed";
  EXPECT_EQ(curves("#d62728"), 1) << "speed limit";
  EXPECT_EQ(curves("#2ca02c"), 1) << "power notch";
  EXPECT_EQ(curves("#9467bd"), 1) << "brake step";
  EXPECT_GE(curves("#ff7f0e"), 3) << "an ATS pattern for each target met";
  EXPECT_GT(strokes["#1f77b4"].size(), 100u);
  int clearSignals = 0;
  for (const auto& g : svg.select_nodes("//g[@fill='#00a651'][@stroke='#ffffff']")) clearSignals += !g.node().empty();
  EXPECT_GE(clearSignals, 3);
}

TEST_F(GradingScenario, TheAtsStopsTheTrainThatNeverBrakesAndTheReportSaysSo) {
  run("red_signal.txt", "--report " + path("red.json"), "120");
  const auto j = nlohmann::json::parse(slurp(dir / "red.json"));
  std::vector<std::string> kinds;
  for (const auto& e : j["events"]) kinds.push_back(e["kind"]);
  EXPECT_NE(std::find(kinds.begin(), kinds.end(), "ats-pattern-brake"), kinds.end()) << j.dump(1);
  EXPECT_EQ(std::find(kinds.begin(), kinds.end(), "signal-passed-at-stop"), kinds.end());
  EXPECT_LT(j["score"].get<int>(), 100);
}

}  // namespace
}  // namespace kestrel
