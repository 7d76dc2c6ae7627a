// The quick demo's rapid line driven from its first station to the terminal by kestrel-run with a
// careful script (scenarios/rapid_run.txt, made by scenarios/tune_rapid_run.py): the doors open
// and close at every stop, the train leaves at the scheduled times, passes the passing station,
// runs through the loop's branch movie and ends the run. Also the "Move" menu's jump.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cmath>
#include <fstream>
#include <map>
#include <optional>
#include <set>
#include <sstream>

#include "core/ports/avi_frame_count_reader.h"
#include "core/ports/recording_mixer.h"
#include "platform/ffmpeg/ffmpeg_movie_reader.h"
#include "support/test_paths.h"
#include "tools/demo_files.h"

namespace kestrel {
namespace {

namespace fs = std::filesystem;

constexpr double kHalfWidthCm = 500;  // the demo's platform windows: [Station] field 4

// The doors count as closed once the door-close sound has ended: its length in 1/30 s, rounded up.
int32_t doorCloseTicks() {
  const auto us = waveDurationUs(test::quickDemo() / "sound" / "train" / "doorclose.wav");
  return us ? static_cast<int32_t>((*us * 30 + 999999) / 1000000) : 0;
}

using kestrel::test::slurp;

using Row = std::map<std::string, std::string>;

// The trace's rows by column name (the demo's texts hold no commas or quotes).
std::vector<Row> readTrace(const fs::path& path) {
  std::istringstream in(slurp(path));
  auto split = [](std::string l) {
    if (!l.empty() && l.back() == '\r') l.pop_back();
    std::vector<std::string> out;
    size_t start = 0;
    for (size_t i = 0; i <= l.size(); ++i)
      if (i == l.size() || l[i] == ',') {
        out.push_back(l.substr(start, i - start));
        start = i + 1;
      }
    return out;
  };
  std::string line;
  std::getline(in, line);
  const auto header = split(line);
  std::vector<Row> rows;
  while (std::getline(in, line)) {
    const auto f = split(line);
    Row r;
    for (size_t i = 0; i < header.size() && i < f.size(); ++i) r[header[i]] = f[i];
    rows.push_back(std::move(r));
  }
  return rows;
}

double num(const Row& r, const std::string& column) {
  return std::stod(r.at(column));
}

struct RapidRunTest : ::testing::Test {
  fs::path dir;
  std::string summary;

  void SetUp() override {
    dir = test::scratchDir(std::string("stations_scenario_") +
                           ::testing::UnitTest::GetInstance()->current_test_info()->name());
  }
  std::vector<Row> drive(const fs::path& script, const std::string& duration) {
    const std::string command = std::string("'") + KESTREL_RUN + "' --data '" + test::quickDemo().string() +
                                "' --line line_rapid.dat --train train_313-1000_8cars.dat --script '" +
                                script.string() + "' --trace '" + (dir / "trace.csv").string() +
                                "' --duration " + duration + " >'" + (dir / "out").string() + "' 2>'" +
                                (dir / "err").string() + "'";
    const int raw = std::system(command.c_str());
    EXPECT_TRUE(WIFEXITED(raw) && WEXITSTATUS(raw) == 0) << slurp(dir / "err");
    EXPECT_EQ(slurp(dir / "err"), "");
    summary = slurp(dir / "out");
    return readTrace(dir / "trace.csv");
  }
};

// The first row from `from` on that meets `pred`.
template <class Pred>
std::optional<size_t> find(const std::vector<Row>& rows, size_t from, Pred pred) {
  for (size_t i = from; i < rows.size(); ++i)
    if (pred(rows[i])) return i;
  return std::nullopt;
}

TEST_F(RapidRunTest, EveryStopOpensAndClosesTheDoorsOnTimeAndTheRunEnds) {
  const auto rows = drive(test::sourceDir() / "tests/tools/scenarios/rapid_run.txt", "260");
  ASSERT_EQ(rows.size(), 2600u);
  EXPECT_NE(summary.find("real time"), std::string::npos);

  // 鷹見: the drive begins at the platform with the doors open; the departure sound has started.
  EXPECT_EQ(rows[0].at("stationText"), "ただいま 鷹見");
  EXPECT_EQ(rows[0].at("doorsOpen"), "1");
  EXPECT_EQ(rows[0].at("nextStopStation"), "2");
  EXPECT_EQ(rows[0].at("preTrainFrame"), "456");  // the local train ahead, waiting at 東鷹見

  // Stop k: the station, its scheduled departure (1/30 s; 0 at the terminal) and stop distance.
  struct Stop {
    int station;
    const char* name;
    int32_t departure;
    double stopCm;
  };
  const auto terminal = find(rows, 0, [](const Row& r) { return r.at("nextStopStation") == "3"; });
  ASSERT_TRUE(terminal);
  const double stop2 = num(rows[0], "stopTarget_cm");
  const std::vector<Stop> stops = {{0, "鷹見", 1080000, num(rows[0], "distanceRun_cm")},
                                   {2, "緑町", 1084200, stop2},
                                   {3, "鳥羽台", 0, num(rows[*terminal], "stopTarget_cm")}};
  size_t at = 0;
  for (const Stop& s : stops) {
    SCOPED_TRACE(s.name);
    // The doors open standing inside the platform window (at the first station they are open).
    if (s.station != 0) {
      const auto opened = find(rows, at, [](const Row& r) { return r.at("doorsOpen") == "1"; });
      ASSERT_TRUE(opened);
      at = *opened;
      EXPECT_LT(std::fabs(num(rows[at], "speed_kmh")), 0.1);
      EXPECT_LE(std::fabs(num(rows[at], "distanceRun_cm") - s.stopCm), kHalfWidthCm);
      EXPECT_EQ(rows[at].at("stationText"), std::string("ただいま ") + s.name);
      EXPECT_EQ(rows[at].at("currentStation"), std::to_string(s.station));
    }
    if (s.departure == 0) break;
    // They close at the scheduled departure time, shut once the door-close sound has ended
    // (within the second), and the train moves off within ten seconds of it (the brakes take
    // some seconds to release).
    const auto closed = find(rows, at, [](const Row& r) { return r.at("doorsOpen") == "0"; });
    ASSERT_TRUE(closed);
    const double closedAt = num(rows[*closed], "TickCounter");
    EXPECT_GE(closedAt, s.departure + doorCloseTicks());
    EXPECT_LT(closedAt, s.departure + doorCloseTicks() + 30);
    const auto left = find(rows, *closed, [](const Row& r) { return num(r, "speed_kmh") > 0; });
    ASSERT_TRUE(left);
    EXPECT_LT(num(rows[*left], "TickCounter") - s.departure, 10 * 30);
    at = *left;
  }
  // The terminal: the run has ended, standing inside the window with the doors open.
  const Row& last = rows.back();
  EXPECT_EQ(last.at("runEnded"), "1");
  EXPECT_EQ(last.at("doorsOpen"), "1");
  EXPECT_EQ(last.at("speed_kmh"), "0.000000");
  EXPECT_LE(std::fabs(num(last, "distanceRun_cm") - stops[2].stopCm), kHalfWidthCm);
  EXPECT_EQ(last.at("stationText"), "ただいま 鳥羽台");

  // The running noise: the environment channels (after the train's [DriveSound] rows) of the line's
  // run*.wav sounds.
  std::set<std::string> runningNoise;
  const size_t driveSounds =
      test::DataLines::read(test::quickDemo() / "train_313-1000_8cars.dat").table("[DriveSound]").size();
  const auto soundData = test::DataLines::read(test::quickDemo() / "line_rapid.dat").table("[SoundData]");
  for (size_t i = 0; i < soundData.size(); ++i)
    if (soundData[i].find("\\run") != std::string::npos) runningNoise.insert(std::to_string(driveSounds + i));
  ASSERT_FALSE(runningNoise.empty());

  // Along the way: never moving with the doors open, the running noise playing whenever the train
  // runs faster than 10 km/h, the passing station passed, the loop's branch movie played and left,
  // the preceding train removed ahead of the train.
  bool passNoted = false, branch = false;
  int silent = 0;
  std::string firstSilent;
  for (const Row& r : rows) {
    if (r.at("doorsOpen") == "1") {
      EXPECT_LT(std::fabs(num(r, "speed_kmh")), 0.1) << r.at("t_s");
    }
    if (num(r, "speed_kmh") > 10) {
      std::istringstream playing(r.at("playing"));
      bool noise = false;
      for (std::string ch; playing >> ch;) noise |= runningNoise.count(ch) > 0;
      if (!noise && silent++ == 0) firstSilent = r.at("t_s") + " s at " + r.at("speed_kmh") + " km/h";
    }
    EXPECT_NE(r.at("stationText"), "ただいま 東鷹見") << r.at("t_s");
    passNoted |= r.at("stationText") == "次は 東鷹見通過";
    branch |= r.at("MovieMode") == "2";
    EXPECT_NE(r.at("MovieMode"), "9");
  }
  EXPECT_EQ(silent, 0) << "ticks above 10 km/h without the running noise, the first " << firstSilent;
  EXPECT_TRUE(passNoted);
  EXPECT_TRUE(branch);
  EXPECT_EQ(last.at("MovieMode"), "0");
  EXPECT_EQ(last.at("preTrainFrame"), "0");
  // The run ends at the terminal stop, not before.
  const auto ended = find(rows, 0, [](const Row& r) { return r.at("runEnded") == "1"; });
  ASSERT_TRUE(ended);
  EXPECT_GE(*ended, at);
}

TEST_F(RapidRunTest, TheMoveMenuPutsTheTrainAtItsStationOnTheTimetable) {
  const fs::path script = dir / "jump.txt";
  std::ofstream(script) << "5 menu jump 2\n";
  const auto rows = drive(script, "40");
  ASSERT_EQ(rows.size(), 400u);
  const Row& jumped = rows[50];  // the tick after the jump
  EXPECT_EQ(jumped.at("currentStation"), "2");
  EXPECT_EQ(jumped.at("MovieFrame"), "908");
  EXPECT_EQ(jumped.at("stationText"), "ただいま 緑町");
  // 10:02:20 less the arrival (3 s) and departure (9 s) sounds, and one tick on.
  EXPECT_EQ(jumped.at("clock"), "10:02:08");
  EXPECT_EQ(jumped.at("speed_kmh"), "0.000000");
  EXPECT_EQ(jumped.at("brakeHandle"), "-7");
  EXPECT_EQ(jumped.at("doorsOpen"), "1");  // the stop is made at once
  // The departure sound ends at 10:02:20, when the doors close; they are shut once the
  // door-close sound has ended.
  const auto closed = find(rows, 50, [](const Row& r) { return r.at("doorsOpen") == "0"; });
  ASSERT_TRUE(closed);
  const double shutAt = std::stod(rows[*closed].at("TickCounter"));
  EXPECT_GE(shutAt, 1084200 + doorCloseTicks());
  EXPECT_LT(shutAt, 1084200 + doorCloseTicks() + 30);
  EXPECT_EQ(rows[*closed].at("nextStopStation"), "3");
  // The preceding train has left every station by then.
  EXPECT_EQ(jumped.at("preTrainFrame"), "0");
}

TEST(DemoMovieFrameCounts, TheHeaderCountAgreesWithTheVideoLibrary) {
  for (const char* name : {"kestrel_line.avi", "kestrel_loop.avi", "kestrel_overtake.avi"}) {
    const fs::path path = test::quickDemo() / "movie" / name;
    AviFrameCountReader header;
    FfmpegMovieReader decoder;
    ASSERT_TRUE(header.open(path)) << name;
    ASSERT_TRUE(decoder.open(path)) << name;
    EXPECT_EQ(header.frameCount(), decoder.frameCount()) << name;
    EXPECT_GT(header.frameCount(), 100) << name;
  }
}

}  // namespace
}  // namespace kestrel
