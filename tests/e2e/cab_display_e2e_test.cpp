// The cab display end to end: the cab view in a window of its own under Xvfb on the quick demo's
// rapid line with the 313, screenshots read back from the X server, each checked against what
// the test works out itself — the route movie frame the drive is at (decoded here), the panel
// picture, the digital speed's cell, the speed needle's footprint at its angle, the labels of
// text mode, and the end of the line. The view is driven by kestrel-cab-harness, which sets the
// train's speed itself; the desktop program's own drives by keyboard are the window's tests.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QImage>
#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
#include <sstream>
#include <string>

#include "core/present/needle_rules.h"
#include "e2e/display_checks.h"
#include "e2e/x_session.h"
#include "support/test_paths.h"

namespace kestrel {
namespace {

using namespace e2e;

namespace fs = std::filesystem;

// An X server of our own for the whole program.
class Xvfb {
 public:
  Xvfb() {
    int fds[2];
    if (pipe(fds) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
      close(fds[0]);
      const std::string fd = std::to_string(fds[1]);
      const int devnull = open("/dev/null", O_WRONLY);
      dup2(devnull, 2);
      execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1280x1024x24", "-nolisten", "tcp",
             static_cast<char*>(nullptr));
      _exit(127);
    }
    close(fds[1]);
    // Read up to the newline, and keep the pipe open: the server may write its number in pieces,
    // and a write into a closed pipe would end it.
    pipe_ = fds[0];
    std::string number;
    char c = 0;
    while (read(pipe_, &c, 1) == 1 && c != '\n') number += c;
    if (number.empty()) return;
    // The number may come before the server takes connections: wait until its socket does.
    const std::string socketPath = "/tmp/.X11-unix/X" + number;
    for (int i = 0; i < 100; ++i) {
      if (socketAccepts(socketPath)) {
        display_ = ":" + number;
        return;
      }
      usleep(50000);
    }
  }
  ~Xvfb() {
    if (pipe_ >= 0) close(pipe_);
    if (pid_ > 0) {
      kill(pid_, SIGTERM);
      waitpid(pid_, nullptr, 0);
    }
  }
  const std::string& display() const { return display_; }

 private:
  pid_t pid_ = -1;
  int pipe_ = -1;
  std::string display_;
};

Xvfb& xvfb() {
  static Xvfb server;
  return server;
}

struct Shot {
  QImage image;
  std::map<std::string, std::string> values;
  int get(const std::string& key) const { return std::stoi(values.at(key)); }
};

// Runs the harness on the rapid line with the 313 and returns its shots by file name.
std::map<std::string, Shot> runHarness(const std::string& name, const std::string& args) {
  const fs::path dir = test::scratchDir("cab_display_e2e_" + name);
  const std::string command = "cd '" + dir.string() + "' && DISPLAY=" + xvfb().display() +
                              " QT_QPA_PLATFORM=xcb '" KESTREL_CAB_HARNESS "' --data '" KESTREL_QUICK_DEMO_DIR
                              "' --line line_rapid.dat --train train_313-1000_8cars.dat " +
                              args + " 2>harness.log";
  std::map<std::string, Shot> shots;
  FILE* out = popen(command.c_str(), "r");
  if (!out) return shots;
  char line[1024];
  while (std::fgets(line, sizeof line, out)) {
    std::istringstream words(line);
    std::string word;
    words >> word;
    if (word != "shot") continue;
    Shot shot;
    while (words >> word) {
      const size_t eq = word.find('=');
      if (eq != std::string::npos) shot.values[word.substr(0, eq)] = word.substr(eq + 1);
    }
    const std::string file = shot.values["file"];
    shot.image = QImage(QString::fromStdString((dir / file).string())).convertToFormat(QImage::Format_RGB32);
    shots[file] = std::move(shot);
  }
  EXPECT_EQ(pclose(out), 0) << command;
  return shots;
}

class CabDisplayE2e : public ::testing::Test {
 protected:
  void SetUp() override {
    if (xvfb().display().empty()) GTEST_SKIP() << "Xvfb does not start here";
  }
};

TEST_F(CabDisplayE2e, AfterTheStartTheViewShowsTheStartFrameAndThePanel) {
  auto shots = runHarness("start", "--drive stand --seconds 2 --shot-at 0.5 start.png");
  ASSERT_TRUE(shots.count("start.png"));
  const Shot& s = shots["start.png"];
  ASSERT_EQ(s.image.size(), QSize(1202, 758));
  Demo& d = demo();
  EXPECT_EQ(s.get("shown"), d.loaded.line.StartPos);
  expectShowsFrame(s.image, s.get("shown"));
  const PanelMatch panel = panelMatch(s.image);
  EXPECT_GT(panel.compared, 100);
  EXPECT_EQ(panel.same, panel.compared);
  EXPECT_TRUE(showsCell(s.image, d.picture("img_digi_speed"), 0));
  EXPECT_EQ(s.get("needle"), *needles::speedAngle(d.loaded.panel.Needle_Speed, 0));
}

TEST_F(CabDisplayE2e, DrivingAtTheFilmingSpeedMovesTheMovieAndTheSpeedDisplays) {
  auto shots = runHarness("drive", "--drive forward --seconds 13 --shot-at 0.5 a.png --shot-at 10.5 b.png");
  ASSERT_TRUE(shots.count("a.png") && shots.count("b.png"));
  const Shot &a = shots["a.png"], &b = shots["b.png"];
  Demo& d = demo();
  // Ten seconds at the filming speed: thirty frames a second.
  EXPECT_NEAR(b.get("shown") - a.get("shown"), 300, 3);
  expectShowsFrame(a.image, a.get("shown"));
  expectShowsFrame(b.image, b.get("shown"));
  // The digital speed shows the filming speed in its cell.
  EXPECT_GE(b.get("digits"), 139);
  EXPECT_TRUE(showsCell(b.image, d.picture("img_digi_speed"), b.get("digits")));
  EXPECT_FALSE(showsCell(b.image, d.picture("img_digi_speed"), 0));
  // The speed needle turned: the pixels that changed lie on its two footprints, and its new
  // footprint changed.
  ASSERT_NE(a.get("needle"), b.get("needle"));
  const CatalogPicture& needle = d.picture("img_Needle_speed");
  const auto before = needleFootprint(needle, a.get("needle"));
  const auto after = needleFootprint(needle, b.get("needle"));
  const CatalogPicture& digits = d.picture("img_digi_speed");
  const QRect digitsBox(digits.x, digits.y, digits.width, digits.height);
  int changed = 0, onFootprints = 0;
  for (int y = static_cast<int>(needle.y); y < needle.y + needle.height; ++y)
    for (int x = static_cast<int>(needle.x); x < needle.x + needle.width; ++x) {
      if (digitsBox.contains(x, y) || rgbAt(a.image, x, y) == rgbAt(b.image, x, y)) continue;
      ++changed;
      if (near(before, {x, y}, 2) || near(after, {x, y}, 2)) ++onFootprints;
    }
  EXPECT_GT(changed, 40);
  EXPECT_GT(onFootprints, changed * 85 / 100);
  int newChanged = 0;
  for (const QPoint& p : after) newChanged += rgbAt(a.image, p.x(), p.y()) != rgbAt(b.image, p.x(), p.y());
  EXPECT_GT(newChanged, static_cast<int>(after.size()) / 3);
}

TEST_F(CabDisplayE2e, TextModeShowsTheLabelsInsteadOfTheTextsOnTheMovie) {
  auto shots = runHarness("text", "--drive stand --text-mode --seconds 2 --shot-at 1 text.png");
  ASSERT_TRUE(shots.count("text.png"));
  const Shot& s = shots["text.png"];
  // Nothing written over the movie: the speed text's place shows the frame.
  expectShowsFrame(s.image, s.get("shown"));
  int bright = 0;
  for (int y = 504; y < 530; ++y)
    for (int x = 640; x < 760; ++x) bright += rgbAt(s.image, x, y) == 0xFFFFFFu;
  EXPECT_EQ(bright, 0);
  expectCardWholeAndLabelsBelowIt(s.image);
}

TEST_F(CabDisplayE2e, TheEndOfTheLineHoldsTheTrainAtItsFrame) {
  auto shots = runHarness("end", "--drive forward --start-frame 1300 --seconds 5 --shot-at 4 end.png");
  ASSERT_TRUE(shots.count("end.png"));
  const Shot& s = shots["end.png"];
  Demo& d = demo();
  const int end = d.loaded.line.MovieStop.at(0);
  EXPECT_EQ(s.get("frame"), end);
  EXPECT_EQ(s.get("shown"), end);
  EXPECT_EQ(std::stod(s.values.at("speed")), 0.0);
  expectShowsFrame(s.image, end);
  EXPECT_TRUE(showsCell(s.image, d.picture("img_digi_speed"), 0));
}

}  // namespace
}  // namespace kestrel
