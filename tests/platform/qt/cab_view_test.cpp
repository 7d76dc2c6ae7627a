// The cab view on the quick demo, offscreen: a drive at the filming speed decodes every new frame
// once and composes only what changed; nothing is drawn while paused; the exit fade's frames and
// the close; the still picture; the clicks on `back` and on the view, also when scaled; the labels
// of text mode; the pacing timer.
#include "platform/qt/cab_view.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>
#include <set>

#include "core/present/overlay_layout.h"
#include "demo_cab.h"
#include "platform/qt/qt_picture_loader.h"
#include "support/forwarding_movie_reader.h"

namespace kestrel {
namespace {

struct ViewTest : ::testing::Test {
  test::DemoCab cab;
  CabView view{*cab.session, cab.loaded, &cab.reader};

  void SetUp() override { view.show(); }  // a view that is not shown cannot draw

  // `n` render steps at the display's pace, the drive running at `kmh` between them.
  // kmh < 0: at the filming speed.
  std::set<int32_t> play(int n, double kmh) {
    std::set<int32_t> frames;
    for (int i = 0; i < n; ++i) {
      if (kmh < 0)
        cab.film(1.0 / 60);
      else
        cab.drive(1.0 / 60, kmh);
      view.renderStep();
      frames.insert(cab.train().LastShownFrame);
    }
    return frames;
  }
  static bool sameIn(const QImage& a, const QImage& b, const QRect& area) {
    return a.copy(area) == b.copy(area);
  }
};

TEST_F(ViewTest, AtTheFilmingSpeedEveryFrameIsDecodedOnceAndShown) {
  cab.session->start();
  cab.drive(0.034, 0);  // the first event finds the filming speed of the start frame
  view.renderStep();
  const int32_t start = cab.train().MovieFrame;
  EXPECT_EQ(cab.train().LastShownFrame, start);
  cab.reader.resetCounters();
  const auto before = view.counters();
  ASSERT_GT(cab.train().UnitsPerFrame, 0);
  std::set<int32_t> frames = play(120, -1);  // two seconds at the filming speed
  frames.insert(start);
  const auto after = view.counters();
  const int64_t decodes = after.decodes - before.decodes;
  EXPECT_NEAR(cab.train().MovieFrame - start, 60, 2);  // one frame per 33 ms event
  EXPECT_EQ(decodes, static_cast<int64_t>(frames.size()) - 1);
  EXPECT_EQ(cab.reader.counters().framesDecoded, decodes);  // played forward: nothing decoded twice
  EXPECT_EQ(cab.reader.counters().seeks, 0);
  EXPECT_LT(after.composed - before.composed, 120);  // steps without a change draw nothing
  EXPECT_GE(after.composed - before.composed, decodes);
  // What is on the view is the frame the drive is at (decoded at the movie area's size).
  const Picture shown = test::demoFrame(cab.train().LastShownFrame);
  const double match = test::movieMatch(view.viewImage(), shown);
  EXPECT_GT(match, 0.8);
  for (int other : {start, cab.train().LastShownFrame - 15, cab.train().LastShownFrame + 15})
    EXPECT_GT(match, test::movieMatch(view.viewImage(), test::demoFrame(other)) + 0.05) << other;
}

TEST_F(ViewTest, StandingStillTheMovieIsNotDecodedAgain) {
  cab.session->start();
  play(3, 0);
  const auto before = view.counters();
  play(60, 0);
  EXPECT_EQ(view.counters().decodes, before.decodes);
}

TEST_F(ViewTest, NothingIsDrawnWhilePausedButTheMarkAndAJumpShowAtOnce) {
  cab.session->start();
  play(10, 100);
  cab.session->start1Click();  // pause
  const auto before = view.counters();
  const QImage shown = view.viewImage().copy();
  for (int i = 0; i < 30; ++i) view.renderStep();
  EXPECT_EQ(view.counters().composed, before.composed);
  EXPECT_EQ(view.counters().decodes, before.decodes);
  EXPECT_EQ(view.viewImage(), shown);
  // The pause mark: a small box at the top right of the driver's view, nothing else.
  const QImage unmarked = view.grab().toImage();
  view.setPausedMark(true);
  const QImage marked = view.grab().toImage();
  EXPECT_FALSE(sameIn(marked, unmarked, QRect(640, 0, 160, 50)));
  EXPECT_TRUE(sameIn(marked, unmarked, QRect(0, 60, 1202, 698)));
  // A jump while paused is shown at once: the station's frame, composed once.
  ASSERT_TRUE(cab.session->StationClick(2));
  view.redrawPaused();
  EXPECT_EQ(view.counters().composed, before.composed + 1);
  EXPECT_EQ(cab.train().LastShownFrame, cab.train().MovieFrame);
  const Picture station = test::demoFrame(cab.train().MovieFrame);
  EXPECT_GT(test::movieMatch(view.viewImage(), station), 0.8);
  EXPECT_GT(test::movieMatch(view.viewImage(), station), test::movieMatch(shown, station) + 0.2);
  // Resuming decodes the frame anew (LastShownFrame was lowered by one).
  const auto jumped = view.counters();
  cab.session->start1Click();
  view.renderStep();
  EXPECT_EQ(view.counters().decodes, jumped.decodes + 1);
}

// The demo's reader, still decoding for the first requests it is asked (as the desktop
// program's reader answers while its thread works).
class SlowReader final : public test::ForwardingMovieReader {
 public:
  using ForwardingMovieReader::ForwardingMovieReader;
  int pendingAnswers = 0;
  FrameState requestFrame(int n, const MovieTravel& travel, Picture& out) override {
    if (pendingAnswers > 0 && pendingAnswers--) return FrameState::kPending;
    return reader_.requestFrame(n, travel, out);
  }
};

TEST_F(ViewTest, APausedJumpStillBeingDecodedShowsWhenItIsThere) {
  SlowReader slow(cab.reader);
  CabView slowView(*cab.session, cab.loaded, &slow);
  slowView.show();
  cab.session->start();
  cab.drive(0.1, 0);
  slowView.renderStep();
  cab.session->start1Click();  // paused
  const auto paused = slowView.counters();
  for (int i = 0; i < 5; ++i) slowView.renderStep();
  EXPECT_EQ(slowView.counters().composed, paused.composed) << "nothing drawn while paused";
  ASSERT_TRUE(cab.session->StationClick(2));
  const Picture station = test::demoFrame(cab.train().MovieFrame);
  slow.pendingAnswers = 1;
  slowView.redrawPaused();  // the frame is being decoded: the movie picture stays
  EXPECT_NE(cab.train().LastShownFrame, cab.train().MovieFrame);
  const double meanwhile = test::movieMatch(slowView.viewImage(), station);
  slowView.renderStep();  // the paused view's next look: the frame is there now
  EXPECT_EQ(cab.train().LastShownFrame, cab.train().MovieFrame);
  EXPECT_GT(test::movieMatch(slowView.viewImage(), station), meanwhile + 0.2);
  const auto shown = slowView.counters();
  for (int i = 0; i < 5; ++i) slowView.renderStep();
  EXPECT_EQ(slowView.counters().composed, shown.composed) << "nothing more to show while paused";
}

TEST_F(ViewTest, TheExitFadeDarkensOverTwentySixFramesThenAsksToClose) {
  QSignalSpy finished(&view, &CabView::fadeFinished);
  cab.session->start();  // no tick has run: visual effects are still on
  ASSERT_EQ(cab.loaded.settings.preferences.VisualEffectsOff, 0);
  view.renderStep();
  const uint32_t before = test::rgbAt(view.viewImage(), 400, 300);
  cab.train().FadeLevel = 1;
  std::vector<int> green;
  for (int i = 0; i < 26; ++i) {
    EXPECT_EQ(finished.count(), 0) << i;
    view.renderStep();
    green.push_back(qGreen(view.viewImage().pixel(400, 300)));
  }
  EXPECT_EQ(finished.count(), 1);
  EXPECT_NEAR(green.front(), qGreen(before) * 254 / 255.0, 1.5);  // alpha 1
  EXPECT_NEAR(green.back(), qGreen(before) * 4 / 255.0, 1.5);     // alpha 251
  EXPECT_TRUE(std::is_sorted(green.rbegin(), green.rend()));
}

TEST_F(ViewTest, AfterATickTheFadeIsOneBlackFrame) {
  QSignalSpy finished(&view, &CabView::fadeFinished);
  cab.session->start();
  cab.drive(0.1, 0);  // one tick: VisualEffectsOff := 1, in the window's preferences
  EXPECT_EQ(cab.loaded.settings.preferences.VisualEffectsOff, 1);
  cab.train().FadeLevel = 1;
  view.renderStep();
  EXPECT_EQ(finished.count(), 1);
  const QImage& shown = view.viewImage();
  for (auto [x, y] : {std::pair{0, 0}, {400, 300}, {799, 759}, {100, 700}})
    EXPECT_EQ(test::rgbAt(shown, x, y), 0u);
}

TEST_F(ViewTest, TheStillPictureShowsBeforeTheDriveAndNotDuringIt) {
  view.showStill();
  QtPictureLoader loader;
  const auto still =
      loader.load(std::filesystem::path(KESTREL_QUICK_DEMO_DIR) / "image/staf/rapid_still.bmp");
  ASSERT_TRUE(still);
  ASSERT_EQ(still->width, 800);
  for (auto [x, y] : {std::pair{10, 10}, {400, 300}, {790, 590}})
    EXPECT_EQ(test::rgbAt(view.viewImage(), x, y), still->at(x, y) & 0xFFFFFFu);
  const auto panel = cab.loaded.pictures.find("img_Panel");
  EXPECT_EQ(test::rgbAt(view.viewImage(), 5, 755), panel->picture->at(5, 155) & 0xFFFFFFu);
  cab.session->start();
  view.renderStep();
  const QImage drive = view.viewImage().copy();
  view.showStill();  // the drive runs: nothing changes
  EXPECT_EQ(view.viewImage(), drive);
}

TEST_F(ViewTest, ClicksOnBackAndOnTheViewAlsoWhenScaled) {
  QSignalSpy back(&view, &CabView::backClicked);
  QSignalSpy display(&view, &CabView::displayClicked);
  view.resize(1202, 758);
  QTest::mouseClick(&view, Qt::LeftButton, {}, QPoint(1178, 737));
  QTest::mouseClick(&view, Qt::LeftButton, {}, QPoint(300, 200));
  QTest::mouseClick(&view, Qt::LeftButton, {}, QPoint(1000, 300));  // the staff card: nothing
  EXPECT_EQ(back.count(), 1);
  EXPECT_EQ(display.count(), 1);
  // Half the size, letterboxed: the client area is 601 x 379, centred vertically in 601 x 500.
  view.resize(601, 500);
  const int top = (500 - 379) / 2;
  QTest::mouseClick(&view, Qt::LeftButton, {}, QPoint(589, top + 368));
  QTest::mouseClick(&view, Qt::LeftButton, {}, QPoint(589, 10));  // the black band above
  EXPECT_EQ(back.count(), 2);
  EXPECT_EQ(display.count(), 1);
}

TEST_F(ViewTest, ShiftUpMovesTheDriversViewUpAlsoWhilePaused) {
  cab.session->start();
  play(2, 0);
  cab.session->start1Click();  // paused
  const QImage before = view.grab().toImage();
  cab.session->keydowns(VirtualKey::Up, KeyModifiers::shifted());
  view.renderStep();
  const QImage after = view.grab().toImage();
  EXPECT_EQ(after.copy(0, 0, 798, 700), before.copy(0, 50, 798, 700));     // sub_disp overlaps at 798
  EXPECT_EQ(after.copy(800, 0, 402, 758), before.copy(800, 0, 402, 758));  // the rest stays
}

TEST_F(ViewTest, TextModeLabelsFollowTheTickAndTheMenuHidesTwoAndLeaveTheCardFree) {
  const auto row = [this](size_t i) { return view.labelRect(i); };
  cab.session->start();
  cab.drive(0.2, 0);
  view.renderStep();
  const QImage plain = view.grab().toImage();  // text mode off: no labels
  cab.loaded.settings.preferences.TextMode = 1;
  view.applyTextMode(true);
  cab.drive(0.1, 0);
  view.renderStep();  // the labels take the texts of this tick
  const auto texts = labelTexts(cab.session->context());
  ASSERT_FALSE(texts[4].empty());
  ASSERT_FALSE(texts[5].empty());
  QImage shown = view.grab().toImage();
  EXPECT_FALSE(sameIn(shown, plain, row(4)));  // station
  EXPECT_FALSE(sameIn(shown, plain, row(5)));  // doors: shown at the start of a drive
  // The timetable card stays as it was, every label beside the driver's view and apart.
  ASSERT_TRUE(cab.loaded.pictures.stafCard);
  const Picture& card = *cab.loaded.pictures.stafCard->picture;
  const QRect cardRect(cab.loaded.settings.Disp.StafX, 0, card.width, card.height);
  EXPECT_TRUE(sameIn(shown, plain, cardRect));
  for (size_t i = 0; i < kLabelCount; ++i) {
    EXPECT_FALSE(row(i).intersects(cardRect)) << i;
    EXPECT_GE(row(i).left(), 800) << i;
    for (size_t k = i + 1; k < kLabelCount; ++k) EXPECT_FALSE(row(i).intersects(row(k))) << i << " " << k;
  }
  view.applyTextMode(false);  // from the menu: Label5 and Label6 stay hidden, the rest close up
  shown = view.grab().toImage();
  const QRect station = row(4);
  EXPECT_FALSE(sameIn(shown, plain, station));
  EXPECT_TRUE(row(5).isEmpty());
  EXPECT_TRUE(row(6).isEmpty());
  cab.loaded.settings.preferences.TextMode = 0;
  view.applyTextMode(false);
  shown = view.grab().toImage();
  EXPECT_TRUE(sameIn(shown, plain, station));
}

TEST_F(ViewTest, ThePacingTimerRunsRenderStepsUntilStopped) {
  cab.session->start();
  view.show();
  view.startRendering();
  QTest::qWait(300);
  view.stopRendering();
  const auto steps = view.counters().steps;
  EXPECT_GE(steps, 3);
  EXPECT_GT(view.measuredRate(), 0);
  QTest::qWait(100);
  EXPECT_EQ(view.counters().steps, steps);
}

}  // namespace
}  // namespace kestrel
