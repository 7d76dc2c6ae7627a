// The desktop program as a user meets it, under an X server of its own: the opening, the title
// and the line menu, a drive picked there, a typed power notch seen in the trace, pause and
// resume, a saved slot in the preferences file and its restore, the close back to the menu, the
// value display opened and closed with F3, and the command line. Each state is photographed;
// the paths are printed for the test log.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>
#include <thread>

#include "e2e/display_checks.h"
#include "e2e/x_session.h"
#include "support/test_paths.h"

namespace kestrel::e2e {
namespace {

namespace fs = std::filesystem;

using kestrel::test::slurp;

// The trace's rows, each a map from column to value.
struct Trace {
  std::vector<std::string> header;
  std::vector<std::vector<std::string>> rows;

  static Trace read(const fs::path& path) {
    Trace t;
    std::istringstream in(slurp(path));
    std::string line;
    auto fields = [](const std::string& l) {
      std::vector<std::string> out;
      std::stringstream s(l);
      std::string f;
      while (std::getline(s, f, ',')) out.push_back(f);
      return out;
    };
    if (std::getline(in, line)) t.header = fields(line);
    while (std::getline(in, line))
      if (!line.empty()) t.rows.push_back(fields(line));
    return t;
  }
  std::string last(const std::string& column) const {
    for (size_t i = 0; i < header.size(); ++i)
      if (header[i] == column && !rows.empty() && i < rows.back().size()) return rows.back()[i];
    return {};
  }
  int lastInt(const std::string& column) const {
    const std::string v = last(column);
    return v.empty() ? -99999 : std::stoi(v);
  }
};

const char* kTitle = "^鉄道運転シミュレータ$";
const char* kRapidLine = "鷹見線";  // the caption of the cab window: the line name
// The other windows, whose captions the application title follows.
const char* kVehicleDialog = "^この路線を任意の列車で運転することができます";
const char* kHelpWindow = "^操作説明";
const char* kEasyCabWindow = "^かんたん運転台";
constexpr int kScreenWidth = 1280, kScreenHeight = 1024;  // the X server's screen

struct DesktopTest : ::testing::Test {
  fs::path dir =
      test::scratchDir(std::string("e2e_") + ::testing::UnitTest::GetInstance()->current_test_info()->name());
  fs::path config = dir / "config";
  fs::path trace = dir / "trace.csv";
  fs::path err = dir / "stderr.txt";
  XSession x{dir};

  void start(std::vector<std::string> extra = {}, const fs::path& sound = {}) {
    fs::create_directories(config);
    std::vector<std::string> args{"--data", KESTREL_QUICK_DEMO_DIR, "--trace", trace.string()};
    args.insert(args.end(), extra.begin(), extra.end());
    x.startProgram(args, config, err, sound);
  }
  Trace traceNow() const { return Trace::read(trace); }
  size_t rows() const { return traceNow().rows.size(); }
  std::string prefs() const { return slurp(config / "Railvane" / "kestrel.conf"); }
  // The menu bar: Alt highlights its first item; Left wraps round to "Save(&S)".
  void saveMenu(unsigned long cab, const std::string& path) { x.keys(cab, "alt Left Down " + path); }
  // The cab window closed, then the title window: the program ends.
  void closeAndQuit(unsigned long cab) {
    x.closeWindow(cab);
    const auto menu = x.findWindow(kTitle, 10s);
    ASSERT_TRUE(menu);
    x.closeWindow(*menu);
    ASSERT_EQ(x.waitForExit(10s), 0) << slurp(err);
  }
};

// The loudest sample written so far into a WAVE file of 16-bit samples that is still being written
// (its header's sizes are not yet filled in).
int loudestSample(const fs::path& wave) {
  const std::string bytes = slurp(wave);
  const size_t data = bytes.find("data");
  int loudest = 0;
  for (size_t i = data == std::string::npos ? bytes.size() : data + 8; i + 1 < bytes.size(); i += 2) {
    const auto v =
        static_cast<int16_t>(static_cast<uint8_t>(bytes[i]) | (static_cast<uint8_t>(bytes[i + 1]) << 8));
    loudest = std::max(loudest, std::abs(static_cast<int>(v)));
  }
  return loudest;
}

TEST_F(DesktopTest, FromTheOpeningThroughADriveWithPauseSaveAndRestoreBackToTheMenu) {
  const fs::path sound = dir / "sound.wav";
  start({}, sound);
  auto title = x.findWindow(kTitle);
  ASSERT_TRUE(title) << slurp(err);
  EXPECT_EQ(x.geometry(*title).width, 640);  // the opening movie's window
  x.screenshot("01_opening");

  // The opening movie plays with its soundtrack and, when it ends, the title picture follows.
  ASSERT_TRUE(XSession::waitUntil([&] { return x.geometry(*title).width == 800; }, 15s));
  EXPECT_EQ(x.geometry(*title).height, 600);
  EXPECT_GT(loudestSample(sound), 1000);
  x.screenshot("02_title");
  x.click(*title, 400, 300);  // the title picture: the line menu, revealed tick by tick
  std::this_thread::sleep_for(1500ms);
  x.screenshot("03_menu");

  x.click(*title, 150, 270);  // the rapid line, whose train 1 stands on its row
  std::this_thread::sleep_for(300ms);
  x.screenshot("04_line_chosen");
  // The right button on the local line opens the vehicle dialog in the content folder; cancelled,
  // it leaves the rapid line chosen.
  x.click(*title, 150, 360, 3);
  auto dialog = x.findWindow(kVehicleDialog, 5s);
  ASSERT_TRUE(dialog) << x.describeScreen("no_vehicle_dialog");
  std::this_thread::sleep_for(300ms);
  x.screenshot("04a_vehicle_dialog");
  x.keys(*dialog, "Escape");
  ASSERT_TRUE(XSession::waitUntil([&] { return !x.findWindow(kVehicleDialog, 100ms); }, 5s));
  // Picked on the rapid line: the train's button names the file it will drive.
  x.click(*title, 150, 270, 3);
  dialog = x.findWindow(kVehicleDialog, 5s);
  ASSERT_TRUE(dialog) << x.describeScreen("no_vehicle_dialog");
  x.type(*dialog, (fs::path(KESTREL_QUICK_DEMO_DIR) / "train_313-1000_8cars.dat").string());
  x.keys(*dialog, "Return");
  ASSERT_TRUE(XSession::waitUntil([&] { return !x.findWindow(kVehicleDialog, 100ms); }, 5s));
  std::this_thread::sleep_for(300ms);
  x.screenshot("04b_vehicle_picked");
  x.click(*title, 550, 270);  // train 1, on the rapid line's row
  auto cab = x.findWindow(kRapidLine, 20s);
  ASSERT_TRUE(cab) << slurp(err) << x.describeScreen("no_cab_window");
  EXPECT_NE(x.name(*cab).find("快速"), std::string::npos) << x.name(*cab);
  ASSERT_TRUE(XSession::waitUntil([&] { return rows() >= 5; }, 10s)) << slurp(err);
  x.screenshot("05_cab");
  const std::string timing = slurp(err);
  EXPECT_NE(timing.find("ms after the train click"), std::string::npos) << timing;
  std::cout << timing;  // for the test log
  const XSession::Geometry cabPlace = x.geometry(*cab);
  EXPECT_EQ(cabPlace.x, 0);
  EXPECT_EQ(cabPlace.y, 0);

  // The help and easy cab windows from the "Display" menu: beside the cab window, on the screen,
  // off its menu bar and apart.
  x.keys(*cab, "alt Right Right Down Return");
  auto help = x.findWindow(kHelpWindow, 5s);
  ASSERT_TRUE(help) << x.describeScreen("no_help_window");
  x.keys(*cab, "alt Right Right Down Down Down Return");
  auto easyCab = x.findWindow(kEasyCabWindow, 5s);
  ASSERT_TRUE(easyCab) << x.describeScreen("no_easy_cab_window");
  std::this_thread::sleep_for(300ms);
  x.screenshot("05a_help_and_easy_cab");
  const auto inside = [](const XSession::Geometry& g) {
    return g.x >= 0 && g.y >= 0 && g.x + g.width <= kScreenWidth && g.y + g.height <= kScreenHeight;
  };
  const auto apart = [](const XSession::Geometry& a, const XSession::Geometry& b) {
    return a.x + a.width <= b.x || b.x + b.width <= a.x || a.y + a.height <= b.y || b.y + b.height <= a.y;
  };
  // The menu bar: what the window holds above its 758 rows of client area.
  const XSession::Geometry menuBar{cabPlace.x, cabPlace.y, cabPlace.width, cabPlace.height - 758};
  EXPECT_GT(menuBar.height, 10);
  for (const unsigned long w : {*help, *easyCab}) {
    const XSession::Geometry g = x.geometry(w);
    EXPECT_TRUE(inside(g)) << x.name(w);
    EXPECT_TRUE(apart(g, menuBar)) << x.name(w);
  }
  EXPECT_TRUE(apart(x.geometry(*help), x.geometry(*easyCab)));

  // "5" releases the brake, "8" takes the first power notch.
  EXPECT_EQ(traceNow().lastInt("powerHandle"), 0);
  x.keys(*cab, "5 8");
  ASSERT_TRUE(XSession::waitUntil([&] { return traceNow().lastInt("powerHandle") == 1; }, 5s));
  EXPECT_EQ(traceNow().lastInt("brakeHandle"), 0);
  x.screenshot("06_power_notch_1");

  // The "Start" menu pauses: no tick runs, so no row is written.
  x.click(*cab, 25, 8);
  std::this_thread::sleep_for(400ms);
  const size_t paused = rows();
  std::this_thread::sleep_for(1000ms);
  EXPECT_EQ(rows(), paused);
  x.screenshot("07_paused");
  x.click(*cab, 25, 8);  // and resumes
  ASSERT_TRUE(XSession::waitUntil([&] { return rows() > paused + 5; }, 5s));

  // Save into slot 1: a message box, and the slot in the preferences file.
  std::this_thread::sleep_for(1500ms);
  saveMenu(*cab, "Down Right Return");
  auto box = x.findWindow(kTitle, 5s);
  ASSERT_TRUE(box);
  x.screenshot("08_saved_message");
  x.keys(*box, "Return");
  ASSERT_TRUE(XSession::waitUntil([&] { return prefs().find("Save1=") != std::string::npos; }, 5s));
  const std::string file = prefs();
  const size_t at = file.find("Save1=\"line_rapid.dat,");
  ASSERT_NE(at, std::string::npos) << file;
  EXPECT_NE(file.find("Save1Title="), std::string::npos) << file;
  // Fields: line, station, speed, frame, clock, distance, preceding train.
  std::stringstream fields(file.substr(at + 7, file.find('"', at + 7) - at - 7));
  std::vector<std::string> f;
  for (std::string s; std::getline(fields, s, ',');) f.push_back(s);
  ASSERT_EQ(f.size(), 7u) << file;
  const int savedFrame = std::stoi(f[3]);

  // Drive on, pause, then restore: the paused view shows the saved place at once. Resumed, the
  // drive goes on from the saved frame with the handles at rest.
  ASSERT_TRUE(XSession::waitUntil([&] { return traceNow().lastInt("MovieFrame") > savedFrame + 5; }, 20s));
  x.click(*cab, 25, 8);
  std::this_thread::sleep_for(400ms);
  const int before = traceNow().lastInt("MovieFrame");
  x.screenshot("09_paused_before_restore");
  saveMenu(*cab, "Right Return");
  std::this_thread::sleep_for(500ms);
  const QImage restoredView =
      cabView(QImage(QString::fromStdString(x.screenshot("09_restored_while_paused").string())));
  EXPECT_EQ(traceNow().lastInt("MovieFrame"), before);  // still paused: no tick has run
  expectShowsFrame(restoredView, savedFrame);
  x.click(*cab, 25, 8);
  ASSERT_TRUE(XSession::waitUntil([&] { return traceNow().lastInt("MovieFrame") < before; }, 5s));
  const Trace restored = traceNow();
  EXPECT_LT(restored.lastInt("MovieFrame"), savedFrame + 5);
  EXPECT_GE(restored.lastInt("MovieFrame"), savedFrame);
  EXPECT_EQ(restored.lastInt("powerHandle"), 0);

  // The close box: back at the menu as it was left, the help and easy cab windows gone with the
  // drive; the preferences written.
  x.closeWindow(*cab);
  auto back = x.findWindow(kTitle, 10s);
  ASSERT_TRUE(back) << slurp(err);
  EXPECT_FALSE(x.findWindow(kHelpWindow, 500ms));
  EXPECT_FALSE(x.findWindow(kEasyCabWindow, 100ms));
  EXPECT_EQ(x.geometry(*back).width, 800);
  EXPECT_EQ(x.geometry(*back).height, 600);
  std::this_thread::sleep_for(300ms);
  x.screenshot("10_back_at_the_menu");
  EXPECT_NE(prefs().find("Kanko="), std::string::npos) << prefs();
  EXPECT_NE(prefs().find("Moji="), std::string::npos);

  // The title window's close ends the program.
  x.closeWindow(*back);
  EXPECT_EQ(x.waitForExit(10s), 0) << slurp(err);
}

TEST_F(DesktopTest, ADriveFromTheCommandLineReturnsToTheMenuAndKeepsItsSlotsAfterARestart) {
  start({"--line", "line_local.dat", "--train", "train_313-1000_10cars.dat", "--station", "1"});
  auto cab = x.findWindow(kRapidLine, 20s);
  ASSERT_TRUE(cab) << slurp(err) << x.describeScreen("no_cab_window");
  ASSERT_TRUE(XSession::waitUntil([&] { return rows() >= 3; }, 10s)) << slurp(err);
  x.screenshot("01_cab_from_the_command_line");
  // The wheel posts characters: down is "8", towards power.
  const int brake = traceNow().lastInt("brakeHandle");
  x.keys(*cab, "");
  std::system(("DISPLAY=" + x.display() + " xdotool click 5").c_str());
  ASSERT_TRUE(XSession::waitUntil([&] { return traceNow().lastInt("brakeHandle") == brake + 1; }, 5s));
  saveMenu(*cab, "Down Right Down Down Return");  // slot 3
  auto box = x.findWindow(kTitle, 5s);
  ASSERT_TRUE(box);
  x.keys(*box, "Return");
  ASSERT_TRUE(
      XSession::waitUntil([&] { return prefs().find("Save3=\"line_local.dat,1,") != std::string::npos; }, 5s))
      << prefs();
  x.closeWindow(*cab);
  auto menu = x.findWindow(kTitle, 10s);
  ASSERT_TRUE(menu);
  x.closeWindow(*menu);
  ASSERT_EQ(x.waitForExit(10s), 0) << slurp(err);

  // After a restart the slot is there: restoring it on the same line brings its frame back.
  const std::string saved = prefs();
  fs::remove(trace);
  start({"--line", "line_local.dat", "--train", "train_313-1000_10cars.dat"});
  cab = x.findWindow(kRapidLine, 20s);
  ASSERT_TRUE(cab) << slurp(err) << x.describeScreen("no_cab_window");
  ASSERT_TRUE(XSession::waitUntil([&] { return rows() >= 3; }, 10s));
  const size_t at = saved.find("Save3=\"line_local.dat,1,");
  std::stringstream fields(saved.substr(at + 7));
  std::vector<std::string> f;
  for (std::string s; f.size() < 4 && std::getline(fields, s, ',');) f.push_back(s);
  const int frame = std::stoi(f[3]);
  saveMenu(*cab, "Right Down Down Return");
  ASSERT_TRUE(XSession::waitUntil([&] { return traceNow().lastInt("MovieFrame") == frame; }, 5s))
      << "restored frame " << traceNow().lastInt("MovieFrame") << ", saved " << frame;
  x.screenshot("02_restored_after_a_restart");
  x.closeWindow(*cab);
  menu = x.findWindow(kTitle, 10s);
  ASSERT_TRUE(menu);
  x.closeWindow(*menu);
  EXPECT_EQ(x.waitForExit(10s), 0);
}

// Two traces of one drive: the same in every column but the one the screen decides (the frame the
// view last decoded).
void expectSameDrive(const Trace& a, const Trace& b, const std::string& recording) {
  ASSERT_EQ(a.header, b.header);
  ASSERT_EQ(a.rows.size(), b.rows.size()) << recording;
  for (size_t r = 0; r < a.rows.size(); ++r)
    for (size_t c = 0; c < a.header.size(); ++c) {
      if (a.header[c] == "LastShownFrame") continue;
      ASSERT_EQ(a.rows[r].at(c), b.rows[r].at(c)) << a.header[c] << " at " << a.rows[r].at(0) << "\n" << recording;
    }
}

// A drive driven by hand is recorded in the user's data folder; kestrel-run replays the recording
// to the same trace in every column the drive decides.
TEST_F(DesktopTest, AHandDrivenDriveIsRecordedAndItsReplayGivesTheSameTrace) {
  start({"--line", "line_local.dat", "--train", "train_313-1000_10cars.dat", "--station", "1"});
  auto cab = x.findWindow(kRapidLine, 20s);
  ASSERT_TRUE(cab) << slurp(err) << x.describeScreen("no_cab_window");
  ASSERT_TRUE(XSession::waitUntil([&] { return rows() >= 3; }, 10s)) << slurp(err);
  x.keys(*cab, "d 5 8 8 8");  // doors closed, brake released, P3
  ASSERT_TRUE(XSession::waitUntil([&] { return traceNow().lastInt("powerHandle") == 3; }, 5s)) << slurp(err);
  std::this_thread::sleep_for(2s);
  std::system(("DISPLAY=" + x.display() + " xdotool click 4").c_str());  // the wheel: a notch back
  ASSERT_TRUE(XSession::waitUntil([&] { return traceNow().lastInt("powerHandle") == 2; }, 5s));
  std::this_thread::sleep_for(1s);
  closeAndQuit(*cab);
  if (HasFatalFailure()) return;

  std::vector<fs::path> recordings;
  for (const auto& e : fs::directory_iterator(dir / "data" / "kestrel" / "drives")) recordings.push_back(e.path());
  ASSERT_EQ(recordings.size(), 1u);
  const fs::path replayed = dir / "replayed.csv";
  const std::string command = std::string("'") + KESTREL_RUN + "' --data '" + KESTREL_QUICK_DEMO_DIR +
                              "' --replay '" + recordings[0].string() + "' --trace '" + replayed.string() +
                              "' >/dev/null 2>'" + (dir / "replay_err.txt").string() + "'";
  ASSERT_EQ(std::system(command.c_str()), 0) << slurp(dir / "replay_err.txt") << slurp(recordings[0]);
  ASSERT_GT(traceNow().rows.size(), 30u);
  expectSameDrive(traceNow(), Trace::read(replayed), slurp(recordings[0]));

  // Replayed over the movie, the drive is the same again, and its window closes at its end.
  const Trace drove = traceNow();
  fs::remove(trace);
  start({"--replay", recordings[0].string()});
  cab = x.findWindow(kRapidLine, 20s);
  ASSERT_TRUE(cab) << slurp(err);
  auto menu = x.findWindow(kTitle, 20s);  // the replay's end closed the cab window
  ASSERT_TRUE(menu) << slurp(err);
  x.closeWindow(*menu);
  ASSERT_EQ(x.waitForExit(10s), 0) << slurp(err);
  expectSameDrive(drove, traceNow(), slurp(recordings[0]));
  for (const auto& e : fs::directory_iterator(dir / "data" / "kestrel" / "drives"))
    EXPECT_EQ(e.path(), recordings[0]);  // a replay is not recorded

  // The next drive of the line and train races the best-graded one: the gap at the same place.
  fs::remove(trace);
  start({"--line", "line_local.dat", "--train", "train_313-1000_10cars.dat", "--station", "1"});
  cab = x.findWindow(kRapidLine, 20s);
  ASSERT_TRUE(cab) << slurp(err);
  x.keys(*cab, "d 5 8 8 8 8");
  ASSERT_TRUE(XSession::waitUntil([&] { return !traceNow().last("ghostFrame").empty(); }, 10s)) << slurp(err);
  EXPECT_NE(slurp(err).find("kestrel: racing against " + recordings[0].string()), std::string::npos) << slurp(err);
  x.screenshot("ghost_gap");
  closeAndQuit(*cab);
}

// A replay's "Move" menu runs the recorded drive on to the station, silently and flat out; a
// recording whose line file differs is played only after the driver agrees.
TEST_F(DesktopTest, AReplayJumpsOnToAStationAndAsksFirstWhenItsFilesDiffer) {
  const fs::path script = test::sourceDir() / "tests/tools/scenarios/rapid_run.txt";
  const fs::path recording = dir / "rapid.drive";
  const std::string command = std::string("'") + KESTREL_RUN + "' --data '" + KESTREL_QUICK_DEMO_DIR +
                              "' --line line_rapid.dat --train train_313-1000_8cars.dat --script '" +
                              script.string() + "' --duration 260 --record '" + recording.string() + "' >/dev/null";
  ASSERT_EQ(std::system(command.c_str()), 0);
  start({"--replay", recording.string()});
  auto cab = x.findWindow("快速", 20s);
  ASSERT_TRUE(cab) << slurp(err) << x.describeScreen("no_cab_window");
  ASSERT_TRUE(XSession::waitUntil([&] { return rows() >= 3; }, 10s)) << slurp(err);
  const int from = traceNow().lastInt("currentStation");
  x.keys(*cab, "alt+m Down Return");  // the "Move" menu: its second station, 緑町
  ASSERT_TRUE(XSession::waitUntil([&] { return traceNow().lastInt("currentStation") > from; }, 10s))
      << slurp(err) << x.describeScreen("no_jump");
  EXPECT_LT(std::stod(traceNow().last("t_s")), 200.0);
  x.screenshot("replay_jumped");
  closeAndQuit(*cab);
  if (HasFatalFailure()) return;

  // Recorded on another line file: the program says so and asks; "No" leaves it at the menu.
  std::string other = slurp(recording);
  other.replace(other.find("line_rapid.dat sha256:") + 22, 4, "0000");
  const fs::path mismatch = dir / "other.drive";
  std::ofstream(mismatch, std::ios::binary) << other;
  start({"--replay", mismatch.string()});
  const auto box = x.findWindow(kTitle, 20s);
  ASSERT_TRUE(box) << slurp(err);
  x.screenshot("replay_asks");
  x.keys(*box, "Escape");
  ASSERT_TRUE(XSession::waitUntil([&] {
    const auto menu = x.findWindow(kTitle, 1s);
    return menu && x.geometry(*menu).width >= 800;
  }, 10s)) << x.describeScreen("no_menu_after_no");
  EXPECT_FALSE(x.findWindow("快速", 1s));
  x.closeWindow(*x.findWindow(kTitle, 1s));
  EXPECT_EQ(x.waitForExit(10s), 0) << slurp(err);
}

TEST_F(DesktopTest, F3OpensTheValueDisplayWhoseKeysDriveTheTrainAndF3ThereClosesIt) {
  start({"--line", "line_local.dat", "--train", "train_313-1000_10cars.dat"});
  auto cab = x.findWindow(kRapidLine, 20s);
  ASSERT_TRUE(cab) << slurp(err) << x.describeScreen("no_cab_window");
  ASSERT_TRUE(XSession::waitUntil([&] { return rows() >= 3; }, 10s)) << slurp(err);
  x.keys(*cab, "F3");
  auto values = x.findWindow("^Value Display", 5s);
  ASSERT_TRUE(values) << slurp(err);
  std::this_thread::sleep_for(300ms);
  x.screenshot("01_value_display");
  x.keys(*values, "5 8");
  ASSERT_TRUE(XSession::waitUntil([&] { return traceNow().lastInt("powerHandle") == 1; }, 5s));
  x.keys(*values, "F3");
  EXPECT_TRUE(XSession::waitUntil([&] { return !x.findWindow("^Value Display", 100ms); }, 5s));
  x.closeWindow(*cab);
  auto menu = x.findWindow(kTitle, 10s);
  ASSERT_TRUE(menu);
  x.closeWindow(*menu);
  EXPECT_EQ(x.waitForExit(10s), 0);
}

TEST_F(DesktopTest, AFolderWithoutRailvaneDatIsRefusedWithItsMessage) {
  const fs::path empty = dir / "empty";
  fs::create_directories(empty);
  fs::create_directories(config);
  x.startProgram({"--data", empty.string()}, config, err);
  auto box = x.findWindow(kTitle, 10s);
  ASSERT_TRUE(box);
  x.screenshot("01_misplaced_program");
  // A box that has just been mapped may not take the key yet: press again until it goes.
  std::optional<int> status;
  for (int attempt = 0; attempt < 5 && !status; ++attempt) {
    x.keys(*box, "Return");
    status = x.waitForExit(2s);
  }
  EXPECT_EQ(status, 2);
}

TEST(DesktopCommandLine, HelpVersionAndBadUsage) {
  const auto run = [](const std::string& args) {
    const int raw =
        std::system((std::string("'") + KESTREL_DESKTOP + "' " + args + " >/dev/null 2>&1").c_str());
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  };
  EXPECT_EQ(run("--help"), 0);
  EXPECT_EQ(run("--version"), 0);
  EXPECT_EQ(run("--line line_local.dat"), 64);  // a line without a train
  EXPECT_EQ(run("--station 2"), 64);
  EXPECT_EQ(run("--frobnicate"), 64);
  EXPECT_EQ(run("--replay r.drive --line line_local.dat --train t.dat"), 64);  // the recording names them
  EXPECT_EQ(run("--replay r.drive --speed 3"), 64);                           // 1, 2 or 4
  EXPECT_EQ(run("--ghost g.drive --speed 2"), 64);                            // --speed needs a script
}

}  // namespace
}  // namespace kestrel::e2e
