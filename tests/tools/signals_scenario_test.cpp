// Signals and ATS in whole drives of the quick demo's rapid line, read back from the trace: the
// careful run (scenarios/rapid_run.txt) slows for the home signal that the local train ahead holds
// at stop and is never braked by the ATS; the reckless run (scenarios/red_signal.txt) is braked to
// a stand short of that signal and then reset. Also the trackside pictures along the careful run,
// the careful run restored just past its first platform, and the pattern brake against constant
// speed (scenarios/constant_speed.txt).
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <map>
#include <optional>
#include <set>
#include <sstream>
#include <utility>
#include <vector>

#include "support/test_paths.h"
#include "tools/demo_files.h"

namespace kestrel {
namespace {

namespace fs = std::filesystem;
using Row = std::map<std::string, std::string>;

using kestrel::test::slurp;

// The trace's rows by column name; the demo's texts hold no commas or quotes.
std::vector<Row> readTrace(const fs::path& path) {
  std::istringstream in(slurp(path));
  auto split = [](std::string l) {
    if (!l.empty() && l.back() == '\r') l.pop_back();
    std::vector<std::string> out;
    std::string field;
    std::istringstream f(l);
    while (std::getline(f, field, ',')) out.push_back(field);
    if (!l.empty() && l.back() == ',') out.emplace_back();
    return out;
  };
  std::string line;
  std::getline(in, line);
  const auto header = split(line);
  std::vector<Row> rows;
  while (std::getline(in, line)) {
    const auto f = split(line);
    Row r;
    for (size_t i = 0; i < header.size(); ++i) r[header[i]] = i < f.size() ? f[i] : "";
    rows.push_back(std::move(r));
  }
  return rows;
}

double num(const Row& r, const std::string& column) {
  return std::stod(r.at(column));
}

fs::path scratch() {
  return test::scratchDir(std::string("signals_scenario_") +
                          ::testing::UnitTest::GetInstance()->current_test_info()->name());
}

fs::path scenario(const std::string& name) {
  return test::sourceDir() / "tests/tools/scenarios" / name;
}

// A drive of the rapid line; `extra` are further runner options (a train, a start station).
std::vector<Row> drive(const fs::path& script, const std::string& duration,
                       const std::string& extra = "--train train_313-1000_8cars.dat") {
  const fs::path dir = scratch();
  const std::string command = std::string("'") + KESTREL_RUN + "' --data '" + test::quickDemo().string() +
                              "' --line line_rapid.dat " + extra + " --script '" + script.string() +
                              "' --trace '" + (dir / "trace.csv").string() + "' --duration " + duration +
                              " >'" + (dir / "out").string() + "' 2>'" + (dir / "err").string() + "'";
  const int raw = std::system(command.c_str());
  EXPECT_TRUE(WIFEXITED(raw) && WEXITSTATUS(raw) == 0) << slurp(dir / "err");
  return readTrace(dir / "trace.csv");
}

template <class Pred>
std::optional<size_t> find(const std::vector<Row>& rows, size_t from, Pred pred) {
  for (size_t i = from; i < rows.size(); ++i)
    if (pred(rows[i])) return i;
  return std::nullopt;
}

// The home signal of 東鷹見, signal 1 of the demo line: its frame.
int homeSignalFrame() {
  const auto rows = test::DataLines::read(test::quickDemo() / "line_rapid.dat").table("[Signal]");
  return test::intField(rows.at(1), 6);
}

const std::set<std::string> kStopCodes = {"1", "4", "7", "10", "13", "17", "21", "26", "30", "35"};

TEST(SignalsScenario, TheCarefulRunSlowsForTheSignalHeldByTheLocalAndIsNeverBraked) {
  const auto rows = drive(scenario("rapid_run.txt"), "260");
  ASSERT_EQ(rows.size(), 2600u);
  const int home = homeSignalFrame();
  // The local train waits at 東鷹見 ahead: the starting signal shows caution at first.
  EXPECT_EQ(rows[0].at("preTrainFrame"), "456");
  const auto caution = find(rows, 0, [](const Row& r) { return r.at("currentCode") == "8"; });
  ASSERT_TRUE(caution);
  // Approaching the home signal it shows stop, then restricted once the local has left and
  // clear once it is gone; the train never comes within 15 frames of it while it shows stop.
  const auto stop = find(rows, 0, [](const Row& r) { return r.at("currentCode") == "21"; });
  ASSERT_TRUE(stop);
  const auto restricted = find(rows, *stop, [](const Row& r) { return r.at("currentCode") == "22"; });
  ASSERT_TRUE(restricted);
  const auto clear = find(rows, *restricted, [](const Row& r) { return r.at("currentCode") == "25"; });
  ASSERT_TRUE(clear);
  EXPECT_EQ(rows[*clear].at("preTrainFrame"), "0");
  for (size_t i = *stop; i < *restricted; ++i) EXPECT_LT(num(rows[i], "MovieFrame"), home - 15) << i;
  // The stop pattern towards it was set while it showed stop, and erased once it cleared.
  EXPECT_TRUE(find(rows, *stop, [](const Row& r) { return r.at("patternTarget") == "10"; }));
  // The restricting aspect asks for 25 km/h while the train is faster.
  EXPECT_TRUE(find(rows, *restricted, [](const Row& r) {
    return r.at("noticeText") == "0警戒信号です。25km/h 以下に落としてください";
  }));
  // No ATS brake, alarm or pattern brake in the whole run; it ends at the terminal.
  for (const Row& r : rows) {
    EXPECT_EQ(r.at("autoService"), "0") << r.at("t_s");
    EXPECT_EQ(r.at("autoEmergency"), "0") << r.at("t_s");
    EXPECT_EQ(r.at("atsAlarm"), "0") << r.at("t_s");
    EXPECT_LT(num(r, "patternState"), 2) << r.at("t_s");
  }
  EXPECT_EQ(rows.back().at("runEnded"), "1");
  // The station stop of 緑町 was guarded by its pattern (the stop's value, 15 km/h).
  EXPECT_TRUE(find(rows, 0, [](const Row& r) { return r.at("patternTarget") == "15"; }));
}

TEST(SignalsScenario, TheTracksidePicturesFollowTheRun) {
  const auto rows = drive(scenario("rapid_run.txt"), "260");
  ASSERT_FALSE(rows.empty());
  for (const Row& r : rows) {
    const double d = num(r, "distanceToStop_cm");
    // The stop line and the remaining-distance bar only near the stop.
    if (d >= 10000) {
      EXPECT_EQ(r.at("teimokuM_y"), "-100") << r.at("t_s");
    }
    if (d >= 20000) {
      EXPECT_EQ(r.at("remain_pattern"), "") << r.at("t_s");
    }
    if (d >= 0 && d < 2000) {
      EXPECT_EQ(r.at("remain_pattern"), "2") << r.at("t_s");
    }
    // The signal picture shows the code ahead.
    const std::string& code = r.at("currentCode");
    EXPECT_EQ(r.at("signal_pattern"), code == "999" ? "0" : code) << r.at("t_s");
  }
  // Standing at 緑町 (stopped within a metre) the stop line lies at the foot of the view.
  const auto stopped =
      find(rows, 0, [](const Row& r) { return r.at("clock") > "10:01:00" && r.at("doorsOpen") == "1"; });
  ASSERT_TRUE(stopped);
  EXPECT_LT(std::fabs(num(rows[*stopped], "distanceToStop_cm")), 100.0);
  EXPECT_GT(num(rows[*stopped], "teimokuM_y"), 550);
  // The gradient post goes up and down with the [Slope] rows; the limit post blinks before the
  // 75 km/h limit and stands in it.
  std::set<std::string> slopes, limits;
  for (const Row& r : rows) {
    slopes.insert(r.at("slope_pattern"));
    limits.insert(r.at("limit_pattern"));
  }
  EXPECT_EQ(slopes, (std::set<std::string>{"0", "1", "2", "3"}));
  EXPECT_TRUE(limits.count("1") && limits.count("") && limits.count("2"));
}

TEST(SignalsScenario, TheRecklessRunIsStoppedShortOfTheRedSignalAndReset) {
  const auto rows = drive(scenario("red_signal.txt"), "80");
  ASSERT_EQ(rows.size(), 800u);
  const int home = homeSignalFrame();
  // The stop-pattern brake acts while the signal ahead shows stop.
  const auto braked = find(rows, 0, [](const Row& r) { return r.at("autoService") == "1"; });
  ASSERT_TRUE(braked);
  EXPECT_EQ(rows[*braked].at("patternState"), "3");
  EXPECT_TRUE(kStopCodes.count(rows[*braked].at("currentCode")));
  EXPECT_EQ(rows[*braked].at("patternTarget"), "10");
  EXPECT_EQ(rows[*braked].at("noticeText"), "0ATS のブレーキが動作しています");
  EXPECT_GT(num(rows[*braked], "speed_kmh"), 50);
  // It comes to a stand short of the signal with the brake held, and the notice asks for the reset.
  const auto stood = find(rows, *braked, [](const Row& r) { return r.at("speed_kmh") == "0.000000"; });
  ASSERT_TRUE(stood);
  EXPECT_LT(num(rows[*stood], "MovieFrame"), home);
  for (size_t i = *braked; i < 695; ++i) EXPECT_EQ(rows[i].at("autoService"), "1") << rows[i].at("t_s");
  EXPECT_EQ(rows[690].at("noticeText"),
            "0ATS のブレーキで停車しました。ブレーキを非常にして R キーで復帰してください");
  EXPECT_EQ(rows[690].at("powerHandle"), "4");  // the driver never let go of the power
  // The driver's emergency brake and reset release it.
  EXPECT_EQ(rows.back().at("autoService"), "0");
  EXPECT_EQ(rows.back().at("patternState"), "0");
  EXPECT_EQ(rows.back().at("brakeHandle"), "-8");
  EXPECT_LT(num(rows.back(), "MovieFrame"), home);
}

// The signal codes in the order they came, each change once, up to row `end`.
std::vector<std::string> codeSequence(const std::vector<Row>& rows, size_t end) {
  std::vector<std::string> codes;
  for (size_t i = 0; i < end && i < rows.size(); ++i)
    if (codes.empty() || codes.back() != rows[i].at("currentCode")) codes.push_back(rows[i].at("currentCode"));
  return codes;
}

TEST(SignalsScenario, ARestoreJustPastThePlatformDrivesOnAsBefore) {
  // The careful run, saved and restored 7 s after leaving 鷹見, the power taken up again.
  std::istringstream careful(slurp(scenario("rapid_run.txt")));
  std::vector<std::pair<double, std::string>> inputs = {{20, "20 menu save 1"}, {20.1, "20.1 menu load 1"},
                                                        {20.2, "20.2 key 8"},   {20.3, "20.3 key 8"},
                                                        {20.4, "20.4 key 8"},   {20.5, "20.5 key 8"}};
  for (std::string line; std::getline(careful, line);)
    if (!line.empty() && line[0] != '#') inputs.emplace_back(std::stod(line), line);
  std::stable_sort(inputs.begin(), inputs.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  const fs::path script = test::scratchDir("signals_scenario_restore_script") / "restore.txt";
  std::ofstream out(script);
  for (const auto& input : inputs) out << input.second << "\n";
  out.close();

  const auto plain = drive(scenario("rapid_run.txt"), "100");
  const auto restored = drive(script, "100");
  // The next station, 東鷹見 (passed), beyond the home signal that the local holds at stop.
  const int next = test::intField(test::DataLines::read(test::quickDemo() / "line_rapid.dat").table("[Station]").at(1), 3);
  auto atNext = [next](const std::vector<Row>& rows) {
    const auto i = find(rows, 0, [next](const Row& r) { return std::stoi(r.at("MovieFrame")) >= next; });
    return i ? *i : rows.size();
  };
  const size_t end = atNext(restored);
  ASSERT_LT(end, restored.size()) << "the restored drive never reached 東鷹見";
  for (size_t i = 0; i < end; ++i) {
    EXPECT_EQ(restored[i].at("autoService"), "0") << restored[i].at("t_s");
    EXPECT_EQ(restored[i].at("autoEmergency"), "0") << restored[i].at("t_s");
  }
  EXPECT_EQ(codeSequence(restored, end), codeSequence(plain, atNext(plain)));
}

TEST(SignalsScenario, ThePatternBrakeEndsConstantSpeed) {
  const auto rows = drive(scenario("constant_speed.txt"), "100", "--train train_383.dat --station 2");
  const auto braked = find(rows, 0, [](const Row& r) { return r.at("autoService") == "1"; });
  ASSERT_TRUE(braked);
  ASSERT_GT(*braked, 10u);
  EXPECT_EQ(rows[*braked].at("patternState"), "3");
  // Constant speed held the speed up to the brake ...
  EXPECT_EQ(rows[*braked - 10].at("speed_kmh"), rows[*braked - 1].at("speed_kmh"));
  EXPECT_GT(num(rows[*braked], "speed_kmh"), 60);
  // ... and the brake slows the train within its delays and brings it to a stand short of the
  // line's end.
  ASSERT_LT(*braked + 30, rows.size());
  EXPECT_LT(num(rows[*braked + 30], "speed_kmh"), num(rows[*braked], "speed_kmh") - 5);
  EXPECT_EQ(rows.back().at("speed_kmh"), "0.000000");
  EXPECT_LT(num(rows.back(), "MovieFrame"), 1346);
}

}  // namespace
}  // namespace kestrel
