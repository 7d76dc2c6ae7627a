// kestrel-run's drive mode on the quick demo: a scripted drive that accelerates, coasts, brakes and
// stops, read back from its trace; determinism, pause, trace thinning, and the exit statuses.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <sstream>

#include "support/test_paths.h"
#include "tools/demo_files.h"

namespace kestrel {
namespace {

namespace fs = std::filesystem;

struct Result {
  int status = -1;
  std::string out, err;
};

using kestrel::test::slurp;

struct Trace {
  std::vector<std::string> header;
  std::vector<std::map<std::string, std::string>> rows;
  double num(size_t row, const std::string& column) const { return std::stod(rows.at(row).at(column)); }
};

// The trace's rows by column name (the demo's texts hold no commas or quotes).
Trace readTrace(const fs::path& path) {
  Trace t;
  std::istringstream in(slurp(path));
  std::string line;
  auto fields = [](std::string l) {
    if (!l.empty() && l.back() == '\r') l.pop_back();
    std::vector<std::string> out;
    std::stringstream s(l);
    std::string f;
    while (std::getline(s, f, ',')) out.push_back(f);
    if (!l.empty() && l.back() == ',') out.emplace_back();
    return out;
  };
  std::getline(in, line);
  t.header = fields(line);
  while (std::getline(in, line)) {
    const auto f = fields(line);
    std::map<std::string, std::string> row;
    for (size_t i = 0; i < t.header.size() && i < f.size(); ++i) row[t.header[i]] = f[i];
    t.rows.push_back(row);
  }
  return t;
}

struct DriveTest : ::testing::Test {
  fs::path dir;
  void SetUp() override {
    dir = test::scratchDir(std::string("kestrel_run_drive_") +
                           ::testing::UnitTest::GetInstance()->current_test_info()->name());
  }
  fs::path write(const std::string& name, const std::string& text) {
    std::ofstream(dir / name, std::ios::binary) << text;
    return dir / name;
  }
  Result run(std::vector<std::string> args) {
    std::string command = std::string("'") + KESTREL_RUN + "'";
    for (const auto& a : args) command += " '" + a + "'";
    command += " >'" + (dir / "out").string() + "' 2>'" + (dir / "err").string() + "'";
    const int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, slurp(dir / "out"), slurp(dir / "err")};
  }
  std::vector<std::string> driveArgs(const std::string& train = "train_313-1000_10cars.dat") {
    return {"--data", test::quickDemo().string(), "--line", "line_local.dat", "--train", train};
  }
};

// The doors closed (the drive begins at a platform with them open, and the line is one-man),
// brake released and full power at once, coasting from 20 s, full service from 35 s — short of
// the next station, whose ATS stop pattern would otherwise brake the train.
constexpr const char* kPowerCoastBrake =
    "0 key d\n"
    "0 key 5\n"
    "0.1 key 8\n0.2 key 8\n0.3 key 8\n0.4 key 8   # P4\n"
    "20 key 5     # coast\n"
    "35 key 2\n35.1 key 2\n35.2 key 2\n35.3 key 2\n35.4 key 2\n35.5 key 2\n35.6 key 2  # B7\n";

TEST_F(DriveTest, TheTrainAcceleratesCoastsBrakesAndStopsAtExactlyZero) {
  auto args = driveArgs();
  for (const std::string& a :
       std::vector<std::string>{"--script", write("drive.txt", kPowerCoastBrake).string(), "--trace",
                                (dir / "trace.csv").string(), "--duration", "150"})
    args.push_back(a);
  const Result r = run(args);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out.rfind("drive: 150.000000 s virtual in ", 0), 0u) << r.out;
  EXPECT_NE(r.out.find("speed 0.00 km/h"), std::string::npos) << r.out;

  const Trace t = readTrace(dir / "trace.csv");
  ASSERT_EQ(t.rows.size(), 1500u);
  EXPECT_EQ(t.header.front(), "t_s");
  EXPECT_NE(std::find(t.header.begin(), t.header.end(), "playing"), t.header.end());
  // One row per tick, at the tick's time.
  EXPECT_EQ(t.rows[0].at("t_s"), "0.100000");
  EXPECT_EQ(t.rows[1499].at("t_s"), "150.000000");
  double lastFrame = 0;
  for (size_t i = 0; i < t.rows.size(); ++i) {
    const double v = t.num(i, "speed_kmh");
    EXPECT_GE(v, 0.0) << t.rows[i].at("t_s");  // never rolls back
    EXPECT_GE(t.num(i, "MovieFrame"), lastFrame);
    lastFrame = t.num(i, "MovieFrame");
  }
  // Powering: the speed rises through the first 20 s.
  EXPECT_GT(t.num(199, "speed_kmh"), t.num(99, "speed_kmh"));
  EXPECT_GT(t.num(199, "speed_kmh"), 20.0);
  EXPECT_EQ(t.rows[199].at("powerNotch"), "4");
  // Coasting: no tractive force, the resistance slows it a little.
  EXPECT_EQ(t.num(300, "netForce_N"), 0.0);
  EXPECT_LT(t.num(340, "speed_kmh"), t.num(210, "speed_kmh"));
  // Braking: the delayed notch reaches B7, the cylinders fill, the train stops and stays.
  EXPECT_EQ(t.rows[400].at("brakeNotch"), "-7");
  EXPECT_GT(t.num(400, "bcTrailer_kPa"), 100.0);
  // All by the driver's hand: the ATS never braked.
  for (size_t i = 0; i < t.rows.size(); ++i)
    EXPECT_EQ(t.rows[i].at("autoService"), "0") << t.rows[i].at("t_s");
  EXPECT_EQ(t.rows[1499].at("speed_kmh"), "0.000000");
  EXPECT_EQ(t.rows[1400].at("distanceRun_cm"), t.rows[1499].at("distanceRun_cm"));
}

TEST_F(DriveTest, TheSameScriptGivesTheSameTraceBitForBit) {
  const auto script = write("drive.txt", kPowerCoastBrake);
  std::string traces[2];
  for (int i = 0; i < 2; ++i) {
    auto args = driveArgs("train_kiha25.dat");
    for (const std::string& a : std::vector<std::string>{"--script", script.string(), "--trace",
                                                         (dir / "t.csv").string(), "--duration", "120"})
      args.push_back(a);
    ASSERT_EQ(run(args).status, 0);
    traces[i] = slurp(dir / "t.csv");
  }
  EXPECT_EQ(traces[0], traces[1]);
  EXPECT_GT(traces[0].size(), 100000u);
}

// A scripted drive recorded as it goes, with a pause and a restore (whose slot the recording
// carries): its replay gives the same trace, a recording cut in the middle of a line replays up to
// its last complete input, a file whose hash differs is refused unless forced, and the drive raced
// against its own recording is level with it throughout.
TEST_F(DriveTest, ARecordingReplaysItsDriveAndRacesItselfLevel) {
  const auto script = write("drive.txt", std::string(kPowerCoastBrake) +
                                             "50 menu start\n55 menu start\n60 menu save 2\n70 menu load 2\n80 end\n");
  const auto recording = dir / "rec.drive";
  const auto drive = [&](std::vector<std::string> extra, const std::string& trace) {
    auto args = extra.front() == "--replay" ? std::vector<std::string>{"--data", test::quickDemo().string()}
                                            : driveArgs();
    args.insert(args.end(), extra.begin(), extra.end());
    args.push_back("--trace");
    args.push_back((dir / trace).string());
    return run(args);
  };
  Result r = drive({"--script", script.string(), "--record", recording.string()}, "a.csv");
  ASSERT_EQ(r.status, 0) << r.err;
  const std::string recorded = slurp(recording);
  EXPECT_NE(recorded.find("\nkestrel-recording 1\n"), std::string::npos) << recorded;
  EXPECT_NE(recorded.find("\n70.000000 menu load 2 line_local.dat,"), std::string::npos) << recorded;
  // The grading's score after the end, as the drive library reads it to pick a ghost.
  const std::string tail = recorded.substr(recorded.rfind("\n80.000000 end\n") + 15);
  EXPECT_EQ(tail.substr(0, 6), "score ") << tail;
  EXPECT_GT(std::stoi(tail.substr(6)), 0) << tail;

  r = drive({"--replay", recording.string()}, "b.csv");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out.rfind("drive: 80.000000 s virtual", 0), 0u) << r.out;
  EXPECT_EQ(slurp(dir / "b.csv"), slurp(dir / "a.csv"));
  // A recording is a script too: its header is read and left aside.
  ASSERT_EQ(drive({"--script", recording.string()}, "e.csv").status, 0);
  EXPECT_EQ(slurp(dir / "e.csv"), slurp(dir / "a.csv"));

  // Cut after the B6 input, in the middle of the B7 one: the drive up to there is the same.
  const std::string cutText = recorded.substr(0, recorded.find("35.600000 key 2") + 8);
  r = drive({"--replay", write("cut.drive", cutText).string()}, "c.csv");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.err.find("cut.drive: cut short; it is played up to its last complete line"), std::string::npos);
  const Trace whole = readTrace(dir / "a.csv"), cut = readTrace(dir / "c.csv");
  ASSERT_EQ(cut.rows.size(), 455u);  // to the last input's time and 10 s
  for (size_t i = 0; i < 356; ++i) ASSERT_EQ(cut.rows[i], whole.rows[i]) << i;
  EXPECT_NE(cut.rows[400].at("brakeNotch"), whole.rows[400].at("brakeNotch"));

  std::string otherLine = recorded;
  otherLine.replace(otherLine.find("line_local.dat sha256:") + 22, 4, "0000");
  const auto mismatch = write("other.drive", otherLine);
  r = drive({"--replay", mismatch.string()}, "d.csv");
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("The line file line_local.dat is not the one this drive was recorded on."),
            std::string::npos)
      << r.err;
  EXPECT_EQ(drive({"--replay", mismatch.string(), "--force"}, "d.csv").status, 0);
  EXPECT_EQ(slurp(dir / "d.csv"), slurp(dir / "a.csv"));

  r = drive({"--script", script.string(), "--ghost", recording.string()}, "g.csv");
  ASSERT_EQ(r.status, 0) << r.err;
  const Trace raced = readTrace(dir / "g.csv");
  size_t level = 0;
  for (const auto& row : raced.rows) {
    EXPECT_EQ(row.at("ghostFrame"), row.at("MovieFrame")) << row.at("t_s");
    if (row.at("ghostDeltaS").empty()) continue;
    EXPECT_EQ(row.at("ghostDeltaS"), "0.000") << row.at("t_s");
    ++level;
  }
  EXPECT_GT(level, 700u);
}

TEST_F(DriveTest, MenuStartPausesTheDriveAndTraceEveryThinsTheRows) {
  auto args = driveArgs();
  const auto script =
      write("pause.txt", "0 key d\n0 key 5\n0.1 key 8\n0.2 key 8\n20 menu start\n30 menu start\n");
  for (const std::string& a : std::vector<std::string>{"--script", script.string(), "--trace",
                                                       (dir / "t.csv").string(), "--trace-every", "10"})
    args.push_back(a);
  const Result r = run(args);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out.rfind("drive: 40.000000 s virtual", 0), 0u) << r.out;  // the last input + 10 s
  const Trace t = readTrace(dir / "t.csv");
  // 200 ticks before the pause and 100 after it; every tenth is written: ticks 1, 11, ... 291.
  ASSERT_EQ(t.rows.size(), 30u);
  EXPECT_EQ(t.rows[19].at("t_s"), "19.100000");
  EXPECT_EQ(t.rows[20].at("t_s"), "30.100000");  // no tick ran while paused
  EXPECT_GT(t.num(20, "speed_kmh"), 0.0);
}

TEST_F(DriveTest, AMalformedScriptStopsTheRunnerWithItsLineNumber) {
  auto args = driveArgs();
  const auto script = write("bad.txt", "# comment\n0 key 8\n1.5 vkey F13\n");
  args.push_back("--script");
  args.push_back(script.string());
  Result r = run(args);
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.err, script.string() + ":3: unknown virtual key \"F13\"\n");
  EXPECT_EQ(r.out, "");

  // The local line's last station has no entry in the "Move" menu.
  args.back() = write("jump.txt", "0 menu jump 1\n5 menu jump 3\n").string();
  r = run(args);
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.err, (dir / "jump.txt").string() + ":2: the \"Move\" menu has no station 3\n");

  args.back() = (dir / "missing.txt").string();
  EXPECT_EQ(run(args).status, 2);
}

TEST_F(DriveTest, SoundLogAndThePlayingColumnShowWhatWouldHaveSounded) {
  auto args = driveArgs();
  // The buzzer ([Buzzer] = sound 14 of the demo trains) held for two seconds, then power.
  const auto script = write("buzz.txt", "0 key 4\n2 keyup 4\n3 key 5\n3.1 key 8\n3.2 key 8\n");
  for (const std::string& a :
       std::vector<std::string>{"--script", script.string(), "--trace", (dir / "t.csv").string(),
                                "--sound-log", (dir / "sound.log").string(), "--duration", "6"})
    args.push_back(a);
  const Result r = run(args);
  ASSERT_EQ(r.status, 0) << r.err;

  const std::string log = slurp(dir / "sound.log");
  EXPECT_EQ(log.rfind("0.000000 loadWave -1 0 ", 0), 0u) << log.substr(0, 200);
  EXPECT_NE(log.find("\n0.100000 playLooped 14\n"), std::string::npos);
  EXPECT_NE(log.find("\n2.100000 stop 14\n"), std::string::npos);

  auto playing = [](const std::string& field) {
    std::vector<int> channels;
    std::istringstream in(field);
    for (int ch; in >> ch;) channels.push_back(ch);
    return channels;
  };
  auto has = [](const std::vector<int>& v, int ch) { return std::find(v.begin(), v.end(), ch) != v.end(); };
  const Trace t = readTrace(dir / "t.csv");
  ASSERT_EQ(t.rows.size(), 60u);
  EXPECT_TRUE(has(playing(t.rows[10].at("playing")), 14));   // 1.1 s: held
  EXPECT_FALSE(has(playing(t.rows[25].at("playing")), 14));  // 2.6 s: released
  // What the column shows at the end was started by an operation in the log.
  const auto last = playing(t.rows.back().at("playing"));
  EXPECT_FALSE(last.empty());
  for (int ch : last) {
    const std::string c = std::to_string(ch) + "\n";
    EXPECT_TRUE(log.find(" playLooped " + c) != std::string::npos ||
                log.find(" playOnce " + c) != std::string::npos)
        << ch;
  }
}

TEST_F(DriveTest, UsageAndDataFaults) {
  auto args = driveArgs();
  args.push_back("--trace-every");
  args.push_back("0");
  EXPECT_EQ(run(args).status, 64);
  args = driveArgs();
  args.push_back("--check");
  args.push_back("--duration");
  args.push_back("5");
  EXPECT_EQ(run(args).status, 64);
  EXPECT_EQ(run({"--data", test::quickDemo().string(), "--line", "line_local.dat"}).status, 64);
  args = driveArgs();
  args.push_back("--station");
  args.push_back("999");
  const Result r = run(args);
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.err, "kestrel-run: the line has no station 999\n");
  // A faulty data file: the loader's exact message.
  EXPECT_EQ(
      run({"--data", (dir / "nothing").string(), "--line", "line_local.dat", "--train", "t.dat"}).status, 2);
}

}  // namespace
}  // namespace kestrel
