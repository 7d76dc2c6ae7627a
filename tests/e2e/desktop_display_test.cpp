// The cab display in the desktop program under Xvfb, on the quick demo's rapid line with the 313:
// screenshots of the screen after the start, after ten seconds at the filming speed (Shift+F1),
// in text mode and at the end of the line, each checked against what the test works out from
// the demo — the route movie frame the trace names, the panel picture, the digital speed's cell,
// the speed needle's footprint, the labels.
#include <gtest/gtest.h>

#include <fstream>
#include <iostream>
#include <sstream>
#include <thread>

#include "core/present/needle_rules.h"
#include "core/util/rounding.h"
#include "e2e/display_checks.h"
#include "e2e/x_session.h"
#include "support/test_paths.h"

namespace kestrel::e2e {
namespace {

namespace fs = std::filesystem;

using kestrel::test::slurp;

// The last row of the drive's trace, by column.
std::map<std::string, std::string> lastRow(const fs::path& trace) {
  std::istringstream in(slurp(trace));
  std::string header, line, last;
  std::getline(in, header);
  while (std::getline(in, line))
    if (!line.empty()) last = line;
  std::map<std::string, std::string> row;
  std::stringstream h(header), v(last);
  std::string column, value;
  while (std::getline(h, column, ',') && std::getline(v, value, ',')) row[column] = value;
  return row;
}

const char* kRapidLine = "鷹見線";  // the cab window's caption

struct DesktopDisplayTest : ::testing::Test {
  fs::path dir = test::scratchDir(std::string("e2e_display_") +
                                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
  fs::path config = dir / "config";
  fs::path trace = dir / "trace.csv";
  fs::path err = dir / "stderr.txt";
  XSession x{dir};
  unsigned long cab = 0;

  // The drive starts from the command line; `textMode` is stored as the user's preference.
  void start(bool textMode, int station = 0) {
    fs::create_directories(config / "Railvane");
    std::ofstream(config / "Railvane" / "kestrel.conf")
        << "[General]\nKanko=1\nInformation=1\nATS=0\nTunnel=0\nMoji=" << (textMode ? 1 : 0) << "\n";
    x.startProgram(
        {"--data", KESTREL_QUICK_DEMO_DIR, "--line", "line_rapid.dat", "--train", "train_313-1000_8cars.dat",
         "--station", std::to_string(station), "--trace", trace.string()},
        config, err);
    const auto window = x.findWindow(kRapidLine, 20s);
    ASSERT_TRUE(window) << slurp(err) << x.describeScreen("no_cab_window");
    cab = *window;
    ASSERT_TRUE(XSession::waitUntil([&] { return !lastRow(trace).empty(); }, 10s)) << slurp(err);
  }
  int traced(const std::string& column) { return std::stoi(lastRow(trace)[column]); }
  double tracedSpeed() { return std::stod(lastRow(trace)["speed_kmh"]); }

  // The client area of the cab window in a screenshot: below the menu bar, found by the panel.
  QImage view(const std::string& name) {
    return cabView(QImage(QString::fromStdString(x.screenshot(name).string())));
  }
};

TEST_F(DesktopDisplayTest, StartThenTenSecondsAtTheFilmingSpeed) {
  start(false);
  std::this_thread::sleep_for(1s);
  Demo& d = demo();
  const QImage first = view("display_start");
  const PanelMatch panel = panelMatch(first);
  EXPECT_EQ(panel.same, panel.compared);
  ASSERT_EQ(traced("MovieFrame"), d.loaded.line.StartPos);
  expectShowsFrame(first, d.loaded.line.StartPos);
  EXPECT_TRUE(showsCell(first, d.picture("img_digi_speed"), 0));

  x.keys(cab, "shift+F1");  // automatic run: the filming speed, one frame per 33 ms event
  std::this_thread::sleep_for(10s);
  const int frame = traced("MovieFrame");
  const double speed = tracedSpeed();
  const QImage moving = view("display_filming_speed");
  EXPECT_NEAR(frame - d.loaded.line.StartPos, 300, 40);  // thirty frames a second
  // The screen is at most a few frames past the last row of the trace.
  const int shown = bestFrame(moving, frame - 3, frame + 15);
  expectShowsFrame(moving, shown);
  // The digital speed shows the filming speed; the speed needle has turned to it.
  bool digits = false;
  for (int v = roundHalfAway(speed) - 3; v <= roundHalfAway(speed) + 3; ++v)
    digits = digits || showsCell(moving, d.picture("img_digi_speed"), v);
  EXPECT_TRUE(digits) << speed;
  const CatalogPicture& needle = d.picture("img_Needle_speed");
  const auto before = needleFootprint(needle, *needles::speedAngle(d.loaded.panel.Needle_Speed, 0));
  std::vector<QPoint> after;
  for (double v = speed - 3; v <= speed + 3; v += 1) {
    const auto footprint = needleFootprint(needle, *needles::speedAngle(d.loaded.panel.Needle_Speed, v));
    after.insert(after.end(), footprint.begin(), footprint.end());
  }
  const CatalogPicture& digitPicture = d.picture("img_digi_speed");
  const QRect digitsBox(digitPicture.x, digitPicture.y, digitPicture.width, digitPicture.height);
  int changed = 0, onFootprints = 0;
  for (int y = static_cast<int>(needle.y); y < needle.y + needle.height; ++y)
    for (int x2 = static_cast<int>(needle.x); x2 < needle.x + needle.width; ++x2) {
      if (digitsBox.contains(x2, y) || rgbAt(first, x2, y) == rgbAt(moving, x2, y)) continue;
      ++changed;
      if (near(before, {x2, y}, 2) || near(after, {x2, y}, 2)) ++onFootprints;
    }
  EXPECT_GT(changed, 40);
  EXPECT_GT(onFootprints, changed * 85 / 100);
}

TEST_F(DesktopDisplayTest, TextModeShowsTheLabelsInsteadOfTheTextsOnTheMovie) {
  start(true);
  std::this_thread::sleep_for(1s);
  const QImage shot = view("display_text_mode");
  expectShowsFrame(shot, demo().loaded.line.StartPos);
  int bright = 0;  // no speed text over the movie
  for (int y = 504; y < 530; ++y)
    for (int x2 = 640; x2 < 760; ++x2) bright += rgbAt(shot, x2, y) == 0xFFFFFFu;
  EXPECT_EQ(bright, 0);
  expectCardWholeAndLabelsBelowIt(shot);
}

TEST_F(DesktopDisplayTest, TheEndOfTheLineHoldsTheTrainAtItsFrame) {
  start(false, 2);  // 緑町, the last station the menu offers
  const int end = demo().loaded.line.MovieStop.at(0);
  x.keys(cab, "shift+F1");
  ASSERT_TRUE(XSession::waitUntil([&] { return traced("MovieFrame") >= end; }, 40s)) << slurp(err);
  x.keys(cab, "F1");  // the automatic run ends; the train stands at the end
  std::this_thread::sleep_for(500ms);
  const QImage shot = view("display_end_of_line");
  EXPECT_EQ(traced("MovieFrame"), end);
  EXPECT_EQ(tracedSpeed(), 0.0);
  expectShowsFrame(shot, end);
}

}  // namespace
}  // namespace kestrel::e2e
