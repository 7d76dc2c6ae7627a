// The render step on a fake movie reader: what it decodes and when (only a new frame number, the
// main movie up to its last frame, the sub-frame of a switched movie, nothing while switching,
// paused or held at the end of the line), the branch's spare frame, the measured rate, the exit
// fade, the tunnel darkening and the still picture.
#include "core/present/cab_display.h"

#include <gtest/gtest.h>

#include <memory>

#include "core/present/frame_selection.h"
#include "core/present/frame_signature.h"
#include "core/present/movie_playback.h"
#include "support/drive_rig.h"
#include "support/fake_movie.h"
#include "support/fake_text_metrics.h"

namespace kestrel {
namespace {

struct DisplayTest : ::testing::Test {
  test::DriveRig rig;
  TrainState& t = rig.train;
  Preferences preferences;
  test::MovieLog log;
  test::FakeMovieReader reader{log};
  test::FakeTimer timer{log};
  test::FakeTextMetrics metrics;
  std::unique_ptr<MoviePlayback> playback;
  std::unique_ptr<CabDisplay> display;

  void SetUp() override {
    rig.settings.Disp = {30, 1, 800, 800, 600, 160};
    rig.settings.Path = "movie\\";
    rig.line.DataName = "line";
    rig.line.MovieStop = {5000};
    reader.files = {{"line.avi", 9000}, {"branch.avi", 300}};
    reader.open("line.avi");
    rig.rebuild();
    playback = std::make_unique<MoviePlayback>(MovieSource{&reader, "/nonexistent"}, timer);
    playback->setUp(rig.c());
    make("train_kiha25.dat");
    log.entries.clear();
  }
  void make(const std::string& vehicle, MovieReader* movie = nullptr) {
    display = std::make_unique<CabDisplay>(rig.c(), preferences, movie ? movie : &reader, playback.get(),
                                           vehicle, metrics);
  }
  const CabFrame* step(int64_t ms = 0, bool running = true) { return display->step(ms, running); }
  std::vector<std::string> decodes() {
    std::vector<std::string> d;
    for (const auto& e : std::exchange(log.entries, {}))
      if (e.rfind("decode", 0) == 0) d.push_back(e);
    return d;
  }
  uint32_t shownPixel() const { return display->frameBitmap().pixels.at(0); }
};

TEST_F(DisplayTest, DecodesOnlyANewFrameNumber) {
  t.MovieFrame = 100;
  ASSERT_TRUE(step());
  EXPECT_EQ(decodes(), (std::vector<std::string>{"decode 100"}));
  EXPECT_EQ(t.LastShownFrame, 100);
  EXPECT_EQ(shownPixel(), 100u);
  step();
  step();
  EXPECT_TRUE(decodes().empty());  // the same frame is not decoded again
  t.MovieFrame = 99;               // rolling back
  step();
  EXPECT_EQ(decodes(), (std::vector<std::string>{"decode 99"}));
  // Pause and resume lower LastShownFrame by one: the frame is decoded anew.
  t.LastShownFrame -= 1;
  step();
  EXPECT_EQ(decodes(), (std::vector<std::string>{"decode 99"}));
  EXPECT_EQ(display->counters().decodes, 3);
}

TEST_F(DisplayTest, AFrameStillBeingDecodedIsAskedForAgainWhileTheLastOneStays) {
  t.MovieFrame = 100;
  step();
  t.MovieFrame = 103;
  t.speed = -45;
  t.UnitsPerFrame = 60;
  reader.pendingAnswers = 2;
  reader.standInAnswers = 1;
  reader.standIn = 102;
  ASSERT_TRUE(step());  // drawn, with the picture it has
  step();
  EXPECT_EQ(t.LastShownFrame, 100);
  EXPECT_EQ(shownPixel(), 100u);
  const uint64_t revision = display->step(0, true)->movieRevision;  // a stand-in: shown, asked for again
  EXPECT_EQ(t.LastShownFrame, 100);
  EXPECT_EQ(shownPixel(), 102u);
  const CabFrame* last = step();
  EXPECT_NE(last->movieRevision, revision);
  EXPECT_EQ(log.entries, (std::vector<std::string>{"decode 100", "pending 103", "pending 103", "stand-in 102 for 103",
                                                   "decode 103"}));
  EXPECT_EQ(t.LastShownFrame, 103);
  EXPECT_EQ(shownPixel(), 103u);
  EXPECT_EQ(display->counters().decodes, 2);
  EXPECT_EQ(display->counters().pending, 2);
  EXPECT_EQ(display->counters().standIns, 1);
  // The reader is told where the movie heads: backwards, 45/60 frames per 33 ms event.
  EXPECT_EQ(reader.lastTravel.direction, -1);
  EXPECT_NEAR(reader.lastTravel.framesPerSecond, 0.75 * 1000 / 33, 1e-9);
}

TEST(MovieTravel, FollowsTheSpeedTheStationMovieRateOrStands) {
  LineData line;
  line.FrameRate = 15;
  TrainState t;
  t.UnitsPerFrame = 60;
  // Direction, and frames per 33 ms event.
  const auto expectTravel = [&](int32_t mode, double speed, int direction, double perEvent) {
    t.MovieMode = mode;
    t.speed = speed;
    const MovieTravel m = movieTravel(t, line);
    EXPECT_EQ(m.direction, direction) << mode << " " << speed;
    EXPECT_NEAR(m.framesPerSecond * 0.033, perEvent, 1e-9) << mode << " " << speed;
  };
  expectTravel(0, 60, 1, 1.0);
  expectTravel(2, 120.4, 1, 2.0);
  expectTravel(0, -30, -1, 0.5);
  expectTravel(0, 0.4, 0, 0.0);  // rounds to 0: the movie stands
  expectTravel(9, 60, 0, 0.0);
  expectTravel(1, 0, 1, 15 * 0.033);
  t.UnitsPerFrame = 0;  // a row filmed at 0 km/h: twice the rounded speed per event
  expectTravel(0, 10, 1, 20.0);
}

TEST_F(DisplayTest, NothingIsDrawnOrDecodedWhileTheDriveDoesNotRun) {
  t.MovieFrame = 100;
  EXPECT_EQ(step(0, false), nullptr);
  EXPECT_TRUE(decodes().empty());
  EXPECT_EQ(t.LastShownFrame, -1);
  EXPECT_EQ(display->counters().steps, 0);
}

TEST_F(DisplayTest, TheMainMovieIsDecodedUpToItsLastFrame) {
  EXPECT_EQ(t.movie.movieLastFrame, 9000);
  t.MovieFrame = 9000;  // the last frame counts; the reader hands out its last picture again
  step();
  EXPECT_EQ(decodes(), (std::vector<std::string>{"decode 9000"}));
  t.MovieFrame = 9001;
  step();
  EXPECT_TRUE(decodes().empty());
  EXPECT_EQ(t.LastShownFrame, 9000);
  t.MovieFrame = -1;
  step();
  EXPECT_TRUE(decodes().empty());
}

TEST_F(DisplayTest, AFrameTheMovieLacksLeavesTheLastPictureAndCountsAsShown) {
  t.MovieFrame = 10;
  step();
  t.MovieFrame = 9000;  // beyond the fake movie's 9000 frames (0 .. 8999)
  step();
  EXPECT_EQ(decodes(), (std::vector<std::string>{"decode 10", "decode 9000"}));
  EXPECT_EQ(shownPixel(), 10u);
  EXPECT_EQ(t.LastShownFrame, 9000);
  step();
  EXPECT_TRUE(decodes().empty());
}

TEST_F(DisplayTest, SwitchedMoviesShowTheirSubFrameAndASwitchShowsNothingNew) {
  t.MovieFrame = 2000;
  t.MovieMode = 1;
  t.SubFrame = 5;
  step();
  EXPECT_EQ(decodes(), (std::vector<std::string>{"decode 5"}));
  t.SubFrame = 6;
  t.MovieMode = 2;
  step();
  EXPECT_EQ(decodes(), (std::vector<std::string>{"decode 6"}));
  t.SubFrame = 7;
  t.MovieMode = 9;
  ASSERT_TRUE(step());  // drawn, with the last picture
  EXPECT_TRUE(decodes().empty());
  EXPECT_EQ(shownPixel(), 6u);
  // In a switched movie the main frame's bound does not apply; a negative main frame stops all.
  t.MovieMode = 1;
  t.SubFrame = 9500;
  step();
  EXPECT_EQ(decodes(), (std::vector<std::string>{"decode 9500"}));
  t.SubFrame = 3;
  t.MovieFrame = -1;
  step();
  EXPECT_TRUE(decodes().empty());
}

TEST_F(DisplayTest, ABranchSwitchShowsItsSpareFrameFirst) {
  rig.line.MovieSwitch = {{0, 2000, 2030, "branch", 300, 2320, 0, 0, 0}};
  playback->setUp(rig.c());
  t.MovieFrame = 2010;
  t.speed = 30;
  playback->switchMovies(rig.c());
  ASSERT_EQ(t.MovieMode, 2);
  EXPECT_EQ(playback->spareFrame().pixels.at(0), 1u);  // frame 1 of the branch movie
  log.entries.clear();
  reader.files.clear();  // the branch's frames do not decode: the spare frame stays
  reader.close();
  step();
  EXPECT_EQ(decodes(), (std::vector<std::string>{"decode 10"}));
  EXPECT_EQ(shownPixel(), 1u);
}

TEST(StopFrameHold, HoldsWithinFiveHundredFramesBeyondTheEnd) {
  LineData line;
  line.MovieStop = {5000};
  TrainState t;
  t.speed = 10;
  t.MovieFrame = 5001;
  EXPECT_TRUE(holdsStopFrame(t, line));
  t.MovieFrame = 5499;
  EXPECT_TRUE(holdsStopFrame(t, line));
  t.MovieFrame = 5500;
  EXPECT_FALSE(holdsStopFrame(t, line));
  t.MovieFrame = 5000;
  EXPECT_FALSE(holdsStopFrame(t, line));
  t.MovieFrame = 5100;
  t.speed = 0;
  EXPECT_FALSE(holdsStopFrame(t, line));  // the tick has stopped the train: drawn again
  t.speed = 10;
  t.MovieMode = 2;
  EXPECT_FALSE(holdsStopFrame(t, line));
  // After turning back, backing towards the end.
  t.MovieMode = 0;
  t.MovieDirection = 1;
  EXPECT_FALSE(holdsStopFrame(t, line));
  t.speed = -10;
  t.MovieFrame = 4600;
  EXPECT_TRUE(holdsStopFrame(t, line));
  t.MovieFrame = 4500;
  EXPECT_FALSE(holdsStopFrame(t, line));
  t.MovieFrame = 5002;  // beyond the end after turning back: driven freely
  EXPECT_FALSE(holdsStopFrame(t, line));
  line.MovieStop.clear();
  t.MovieFrame = 4600;
  EXPECT_FALSE(holdsStopFrame(t, line));
}

TEST_F(DisplayTest, TheHoldLeavesThePictureAsItIs) {
  t.MovieFrame = 4999;
  t.speed = 30;
  step();
  decodes();
  t.MovieFrame = 5001;
  EXPECT_EQ(step(), nullptr);
  EXPECT_TRUE(decodes().empty());
  EXPECT_EQ(display->counters().held, 1);
  EXPECT_EQ(shownPixel(), 4999u);
}

TEST_F(DisplayTest, TheMeasuredRateFollowsTheStepsAndSurvivesAZeroInterval) {
  step(1000);
  EXPECT_EQ(display->measuredRate(), 0);  // no interval yet
  step(1016);
  EXPECT_EQ(display->measuredRate(), 62);  // 62.5, ties to even
  step(1016);
  EXPECT_EQ(display->measuredRate(), 62);  // 0 ms: kept
  step(1049);
  EXPECT_EQ(display->measuredRate(), 30);  // 30.3
  step(1082, false);                       // paused: not measured
  step(1115);
  EXPECT_EQ(display->measuredRate(), 15);  // 1000 / 66 = 15.2
}

std::vector<int32_t> fadeAlphas(CabDisplay& display, int maxSteps, bool& closed) {
  std::vector<int32_t> alphas;
  closed = false;
  for (int i = 0; i < maxSteps && !closed; ++i) {
    const CabFrame* f = display.step(i * 16, true);
    if (!f || !f->fadeAlpha) break;
    alphas.push_back(*f->fadeAlpha);
    closed = f->closeAfter;
  }
  return alphas;
}

TEST_F(DisplayTest, TheExitFadeTakesTwentySixFramesOrOneWithoutVisualEffects) {
  t.FadeLevel = 1;  // BackClick
  bool closed = false;
  const auto alphas = fadeAlphas(*display, 40, closed);
  ASSERT_EQ(alphas.size(), 26u);
  EXPECT_EQ(alphas.front(), 1);
  EXPECT_EQ(alphas[1], 11);
  EXPECT_EQ(alphas.back(), 251);
  EXPECT_TRUE(closed);
  EXPECT_EQ(t.FadeLevel, 0);
  EXPECT_EQ(step(1000)->fadeAlpha, std::nullopt);

  preferences.VisualEffectsOff = 1;
  t.FadeLevel = 1;
  const auto once = fadeAlphas(*display, 40, closed);
  EXPECT_EQ(once, (std::vector<int32_t>{255}));  // level 256: all black
  EXPECT_TRUE(closed);
  const CabFrame* f = step(2000);
  EXPECT_EQ(f->fadeHeight, 760);  // H + PanelHeight
}

TEST_F(DisplayTest, WithoutASurfaceTheFadeWaitsButTheNeedlesMove) {
  rig.panel.Needle_I.file = "i.bmp";
  rig.panel.Needle_I.k = 1;
  rig.addSprite("img_Needle_I");
  rig.train.ammeter = 100;
  rig.control.reverser = 1;
  t.FadeLevel = 1;
  EXPECT_EQ(display->step(0, true, false), nullptr);
  EXPECT_EQ(t.FadeLevel, 1);
  EXPECT_EQ(rig.sprites.find("img_Needle_I")->angle, 53);  // one approach step: 75 A
}

TEST_F(DisplayTest, TunnelsDarkenTheMovieOnlyWithVisualEffectsOn) {
  rig.line.Tunnel = {{0, 0, 160, 10000, 40000}};
  t.distanceRun = 10750;  // 750 cm inside: half the level
  EXPECT_EQ(step()->tunnelAlpha, 80);
  t.distanceRun = 25000;
  EXPECT_EQ(step()->tunnelAlpha, 160);
  t.distanceRun = 39700;  // 300 cm before the exit: 160 x 300 / 1500
  EXPECT_EQ(step()->tunnelAlpha, 32);
  t.distanceRun = 40000;  // the exit itself is outside
  EXPECT_EQ(step()->tunnelAlpha, 0);
  rig.line.Tunnel = {{0, 0, 900, 10000, 40000}};  // a level above 255 is all black
  t.distanceRun = 25000;
  EXPECT_EQ(step()->tunnelAlpha, 255);
  preferences.VisualEffectsOff = 1;
  EXPECT_EQ(step()->tunnelAlpha, 0);
}

TEST_F(DisplayTest, TheFrameCarriesTheClockAndTheKilometrePostOfItsTrain) {
  t.stations.clockFace.drawn = true;
  t.stations.clockFace.revision = 7;
  rig.panel.Clock = {550, 606, 20};
  const CabFrame* f = step();
  ASSERT_TRUE(f->clock);
  EXPECT_EQ(f->clock->revision, 7);
  EXPECT_EQ(f->clockX, 550);
  EXPECT_FALSE(f->kilometrePost);  // not a 313 or 383
  make("train_313-1000_8cars.dat");
  t.distanceRun = 10000;
  f = step();
  ASSERT_TRUE(f->kilometrePost);
  EXPECT_EQ(f->kilometrePost->text, "396.8");
}

TEST_F(DisplayTest, TheStillPictureReplacesTheFrameBitmap) {
  Picture still{2, 1, {0xFF0000FFu, 0xFF00FF00u}};
  const CabFrame& f = display->showStill(still);
  EXPECT_TRUE(f.still);
  EXPECT_TRUE(f.texts.empty());
  EXPECT_EQ(f.movie->pixels, still.pixels);
  const uint64_t stillRevision = f.movieRevision;
  // After resuming, the next step decodes the frame anew.
  t.MovieFrame = 40;
  const CabFrame* next = step();
  EXPECT_FALSE(next->still);
  EXPECT_NE(next->movieRevision, stillRevision);
  EXPECT_EQ(shownPixel(), 40u);
}

TEST_F(DisplayTest, WithoutAReaderNothingIsDecodedButTheViewIsDescribed) {
  display = std::make_unique<CabDisplay>(rig.c(), preferences, nullptr, playback.get(), "x.dat", metrics);
  t.MovieFrame = 12;
  const CabFrame* f = step();
  ASSERT_TRUE(f);
  EXPECT_TRUE(f->movie->empty());
  EXPECT_EQ(t.LastShownFrame, -1);
}

}  // namespace
}  // namespace kestrel

namespace kestrel {
namespace {

TEST_F(DisplayTest, TheSignatureChangesWithWhatIsDrawnOnly) {
  rig.addSprite("img_Needle_speed");
  Sprite& hidden = rig.addSprite("img_Lamp_EB", 1, false);
  t.MovieFrame = 5;
  const uint64_t a = frameSignature(*step(), rig.sprites);
  EXPECT_EQ(frameSignature(*step(), rig.sprites), a);  // nothing changed
  hidden.pattern = 3;
  EXPECT_EQ(frameSignature(*step(), rig.sprites), a);  // a hidden sprite is not drawn
  rig.sprites.find("img_Needle_speed")->angle = 12;    // as the tick sets it
  const uint64_t b = frameSignature(*step(), rig.sprites);
  EXPECT_NE(b, a);
  t.MovieFrame = 6;  // a new movie frame
  EXPECT_NE(frameSignature(*step(), rig.sprites), b);
  t.stations.clockText = "10:00:01";
  const uint64_t c = frameSignature(*step(), rig.sprites);
  t.stations.clockText = "10:00:02";
  EXPECT_NE(frameSignature(*step(), rig.sprites), c);
}

}  // namespace
}  // namespace kestrel
