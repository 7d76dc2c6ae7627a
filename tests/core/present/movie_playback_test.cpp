// The movie switching on a fake reader and timer: station movies while standing, branch movies
// while moving, the sub-frame, the done flags, a switch that must wait, the return to the main
// movie, and the ends of the line.
#include "core/present/movie_playback.h"

#include <gtest/gtest.h>

#include <memory>

#include "core/controls/key_handlers.h"
#include "support/drive_rig.h"
#include "support/fake_movie.h"
#include "support/station_line.h"

namespace kestrel {
namespace {

using Log = std::vector<std::string>;

constexpr int32_t kAfter = 1080000;
constexpr double kCmPerFrame = 1000.0 / 30;  // 36 km/h filmed at 30 frames a second

struct MovieTest : ::testing::Test {
  test::DriveRig rig;
  TrainState& t = rig.train;
  test::MovieLog log;
  test::FakeMovieReader reader{log};
  test::FakeTimer timer{log};
  std::unique_ptr<MoviePlayback> movie;

  void SetUp() override {
    rig.settings.Path = "movie\\";
    rig.settings.Disp.MovieFrameFactor = 1;
    rig.line.DataName = "kestrel_line";
    rig.line.FrameRate = 30;
    rig.line.Station = {test::stationRow({"A", 0, 5000, 5000 * kCmPerFrame, 500})};
    rig.line.MovieSwitch = {
        {0, 2000, 2030, "kestrel_loop", 300, 2320, 0, 0, 0},
        {2, 0, 0, "kestrel_overtake", 120, 0, kAfter, 40, 3},
    };
    reader.files = {{"kestrel_line.avi", 9000}, {"kestrel_loop.avi", 300}, {"kestrel_overtake.avi", 120}};
    rig.line.MovieStop = {8000};
    rig.rebuild();
    reader.open(mainMoviePath("/nonexistent", rig.settings, rig.line));
    log.entries.clear();
    movie = std::make_unique<MoviePlayback>(MovieSource{&reader, "/nonexistent"}, timer);
    movie->setUp(rig.c());
  }
  bool tick() { return movie->switchMovies(rig.c()); }
  void events(int n) {
    for (int i = 0; i < n; ++i) {
      t.TickCounter += 1;
      movie->updateSubFrame(rig.c());
    }
  }
  Log takeLog() { return std::exchange(log.entries, {}); }
  void standAtTheStation() {
    t.speed = 0.4;  // rounds to 0
    t.MovieFrame = 4990;
    t.distanceRun = 5000 * kCmPerFrame + 300;
  }
};

TEST_F(MovieTest, TheMovieLastFrameIsTheMainMoviesLengthTimesTheFactor) {
  EXPECT_EQ(t.movie.movieLastFrame, 9000);
  EXPECT_EQ(t.MovieMode, 0);
  EXPECT_EQ(t.movie.rowDone, (std::vector<bool>{false, false}));
  rig.settings.Disp.MovieFrameFactor = 2;
  movie->setUp(rig.c());
  EXPECT_EQ(t.movie.movieLastFrame, 18000);
  MoviePlayback none({nullptr, "/nonexistent"}, timer);
  none.setUp(rig.c());
  EXPECT_EQ(t.movie.movieLastFrame, 0);
}

TEST_F(MovieTest, AStationMovieStartsStandingAfterItsTimePlaysByTimeAndOnce) {
  movie->keepJumpTargetsReady(rig.c(), {4000, 5000});
  EXPECT_EQ(takeLog(), (Log{"ready 4000 5000"}));
  standAtTheStation();
  t.TickCounter = kAfter;  // not yet after the row's time
  tick();
  EXPECT_EQ(t.MovieMode, 0);
  t.TickCounter = kAfter + 1;
  tick();
  EXPECT_EQ(takeLog(), (Log{"stop", "close", "open kestrel_overtake.avi", "start"}));
  EXPECT_EQ(t.MovieMode, 1);
  EXPECT_EQ(t.MovieFrame, 5000);  // the station's frame and stop position
  EXPECT_EQ(t.distanceRun, 5000 * kCmPerFrame);
  EXPECT_EQ(t.SubFrame, 0);
  EXPECT_EQ(t.LastShownFrame, -1);
  EXPECT_EQ(t.movie.switchLimit, 120);
  // The station movie's sound starts past its sound frame (40), not at it.
  const int sound = rig.constants.vehicleSoundCount + 3;
  events(40);
  tick();
  EXPECT_TRUE(rig.mixer.operationsOn(sound, RecordingMixer::Op::PlayOnce).empty());
  events(1);
  tick();
  EXPECT_EQ(rig.mixer.operationsOn(sound, RecordingMixer::Op::PlayOnce).size(), 1u);
  // [FrameRate] 30 at 30 events a second: one movie frame per event, whatever the speed.
  events(78);
  EXPECT_EQ(t.SubFrame, 119);
  tick();
  EXPECT_EQ(t.MovieMode, 1);
  takeLog();
  events(1);
  tick();
  // The main movie opened anew is told again where jumps land.
  EXPECT_EQ(takeLog(), (Log{"stop", "close", "open kestrel_line.avi", "ready 4000 5000", "start"}));
  EXPECT_EQ(t.MovieMode, 0);
  EXPECT_EQ(t.SubFrame, 0);
  EXPECT_TRUE(t.movie.rowDone[1]);
  // Played once: standing on starts nothing.
  tick();
  EXPECT_TRUE(takeLog().empty());
}

TEST_F(MovieTest, AStationMovieNeedsTheTrainToStandInsideTheRange) {
  t.TickCounter = kAfter + 1;
  standAtTheStation();
  t.speed = 0.5;  // rounds to 1
  tick();
  t.speed = 0;
  t.distanceRun = 5000 * kCmPerFrame + 501;
  tick();
  EXPECT_EQ(t.MovieMode, 0);
  EXPECT_TRUE(takeLog().empty());
}

TEST_F(MovieTest, TheStationMovieAdvancesAtItsFrameRate) {
  t.MovieMode = 1;
  rig.line.FrameRate = 15;  // every second event
  t.TickCounter = 1000;
  events(10);
  EXPECT_EQ(t.SubFrame, 5);
  rig.line.FrameRate = 0;  // no rate: every event rather than a division by zero
  events(10);
  EXPECT_EQ(t.SubFrame, 15);
  rig.line.FrameRate = 60;  // faster than the events: every event
  events(10);
  EXPECT_EQ(t.SubFrame, 25);
}

TEST_F(MovieTest, ABranchMoviePlaysInStepWithTheMainFrameAndReturnsAtItsResumeFrame) {
  t.speed = 36;
  t.MovieFrame = 2010;
  tick();
  EXPECT_EQ(takeLog(), (Log{"stop", "close", "open kestrel_loop.avi", "decode 1", "start"}));
  EXPECT_EQ(t.MovieMode, 2);
  EXPECT_EQ(t.SubFrame, 10);
  EXPECT_EQ(t.movie.branchBaseFrame, 2000);
  EXPECT_EQ(t.LastShownFrame, -1);
  EXPECT_EQ(movie->spareFrame().pixels, (std::vector<uint32_t>{1}));
  t.MovieFrame = 2299;
  events(1);
  EXPECT_EQ(t.SubFrame, 299);
  tick();
  EXPECT_EQ(t.MovieMode, 2);
  t.MovieFrame = 2300;
  events(1);
  tick();
  EXPECT_EQ(takeLog(), (Log{"stop", "close", "open kestrel_line.avi", "start"}));
  EXPECT_EQ(t.MovieMode, 0);
  EXPECT_EQ(t.MovieFrame, 2320);
  EXPECT_EQ(t.SubFrame, 0);
  EXPECT_TRUE(t.movie.rowDone[0]);
  // Played: backing into the window again switches nothing.
  t.MovieFrame = 2020;
  tick();
  EXPECT_EQ(t.MovieMode, 0);
  EXPECT_TRUE(takeLog().empty());
}

TEST_F(MovieTest, TheBranchReturnsOnlyWithinSixtyFramesAndWithItsResumeFrameAhead) {
  t.MovieFrame = 2000;
  tick();
  t.MovieFrame = 2361;  // 61 frames past the branch movie's end
  events(1);
  tick();
  EXPECT_EQ(t.MovieMode, 2);
  rig.line.MovieSwitch[0].resumeOrStation = 2330;
  t.MovieFrame = 2330;  // 30 past, but the resume frame is not ahead
  events(1);
  tick();
  EXPECT_EQ(t.MovieMode, 2);
  t.MovieFrame = 2329;
  events(1);
  tick();
  EXPECT_EQ(t.MovieMode, 0);
  EXPECT_EQ(t.MovieFrame, 2330);
}

TEST_F(MovieTest, BackingOutOfABranchBeforeItsFirstFrameReturnsToTheMainMovieThere) {
  t.MovieFrame = 2005;
  tick();
  ASSERT_EQ(t.MovieMode, 2);
  takeLog();
  t.speed = -20;
  t.MovieFrame = 1999;
  events(1);
  EXPECT_EQ(t.SubFrame, -1);
  tick();
  EXPECT_EQ(takeLog(), (Log{"stop", "close", "open kestrel_line.avi", "start"}));
  EXPECT_EQ(t.MovieMode, 0);
  EXPECT_EQ(t.MovieFrame, 1999);
  EXPECT_FALSE(t.movie.rowDone[0]);
  // Forwards into the window again, the branch plays.
  t.speed = 20;
  t.MovieFrame = 2001;
  tick();
  EXPECT_EQ(t.MovieMode, 2);
}

TEST_F(MovieTest, ASwitchIsNotBegunWhileTheEventIsStoppedAndIsTriedAgain) {
  t.MovieFrame = 2010;
  timer.runs = false;
  EXPECT_TRUE(tick());  // the rest of the tick is skipped
  EXPECT_EQ(t.MovieMode, 0);
  EXPECT_TRUE(takeLog().empty());
  timer.runs = true;
  EXPECT_FALSE(tick());
  EXPECT_EQ(t.MovieMode, 2);
  // The same for a station movie.
  movie->setUp(rig.c());
  standAtTheStation();
  t.TickCounter = kAfter + 1;
  timer.runs = false;
  EXPECT_TRUE(tick());
  EXPECT_EQ(t.MovieMode, 0);
}

TEST_F(MovieTest, AMovieThatCannotBeOpenedStillSwitchesByFrameCount) {
  reader.files.erase("kestrel_loop.avi");
  t.MovieFrame = 2000;
  tick();
  EXPECT_EQ(t.MovieMode, 2);
  EXPECT_FALSE(reader.isOpen());
  t.MovieFrame = 2300;
  events(1);
  tick();
  EXPECT_EQ(t.MovieMode, 0);
  EXPECT_TRUE(reader.isOpen());
}

TEST_F(MovieTest, AStationMovieThatEndsAfterTheTrainMovedOffStillReturns) {
  standAtTheStation();
  t.TickCounter = kAfter + 1;
  tick();
  t.speed = 12;
  t.distanceRun += 5000;
  events(120);
  tick();
  EXPECT_EQ(t.MovieMode, 0);
  EXPECT_TRUE(t.movie.rowDone[1]);
}

TEST_F(MovieTest, BackToTheMainMovieKeepsAStoppedEventStopped) {
  t.MovieFrame = 2010;
  tick();
  takeLog();
  timer.runs = false;  // paused
  movie->returnToMainMovie(rig.c());
  EXPECT_EQ(takeLog(), (Log{"close", "open kestrel_line.avi"}));
  EXPECT_EQ(t.MovieMode, 0);
  EXPECT_EQ(t.LastShownFrame, -1);
  movie->returnToMainMovie(rig.c());  // in the main movie already: nothing
  EXPECT_TRUE(takeLog().empty());
  movie->clearDoneFlags(rig.c());
  EXPECT_EQ(t.movie.rowDone, (std::vector<bool>{false, false}));
}

TEST_F(MovieTest, TheEndsOfTheLineHoldTheTrain) {
  rig.addWave(0, 60000000);
  rig.addWave(1, 60000000);
  rig.mixer.playLooped(0);
  rig.mixer.playLooped(1);
  rig.control.powerHandle = 2;
  t.powerNotch = 2;
  // Backing below frame 1: the distance goes back to frame 1's (36 km/h filmed: 33 cm).
  t.speed = -3;
  t.MovieFrame = 0;
  t.distanceRun = -500;
  EXPECT_TRUE(holdAtLineEnds(rig.c()));
  EXPECT_EQ(t.MovieFrame, 1);
  EXPECT_EQ(t.distanceRun, 33);
  EXPECT_EQ(t.speed, 0);
  EXPECT_EQ(rig.control.powerHandle, 0);
  EXPECT_EQ(t.powerNotch, 0);
  EXPECT_FALSE(rig.mixer.isPlaying(1));
  EXPECT_TRUE(rig.mixer.isPlaying(0));
  // Past the first [MovieStop] frame by fewer than 500.
  for (auto [frame, held] : {std::pair{8000, false}, {8001, true}, {8499, true}, {8500, false}}) {
    t.speed = 20;
    t.MovieFrame = frame;
    EXPECT_EQ(holdAtLineEnds(rig.c()), held) << frame;
    EXPECT_EQ(t.MovieFrame, held ? 8000 : frame);
  }
  EXPECT_EQ(t.distanceRun, 266667);  // 8000 frames at 10 m/s
  // Turned back with the Backspace key: on beyond the stop, backing stops beyond it.
  t.speed = 0;
  t.MovieFrame = 7850;
  keydowns(rig.c(), VirtualKey::Backspace, {});
  EXPECT_EQ(t.MovieFrame, 8002);
  EXPECT_EQ(t.MovieDirection, 1);
  t.speed = 20;
  t.MovieFrame = 8100;
  EXPECT_FALSE(holdAtLineEnds(rig.c()));
  t.speed = -5;
  t.MovieFrame = 7999;
  EXPECT_TRUE(holdAtLineEnds(rig.c()));
  EXPECT_EQ(t.MovieFrame, 8001);
  // Onwards after turning back, the movie's last frame is the end.
  t.movie.movieLastFrame = 9000;
  for (auto [frame, held] : {std::pair{9000, false}, {9001, true}, {20000, true}}) {
    t.speed = 20;
    t.MovieFrame = frame;
    EXPECT_EQ(holdAtLineEnds(rig.c()), held) << frame;
    EXPECT_EQ(t.MovieFrame, held ? 9000 : frame);
  }
  t.movie.movieLastFrame = 0;  // a drive without a movie
  // Not in a switched movie, and not on a line without [MovieStop].
  t.MovieMode = 2;
  t.speed = -5;
  t.MovieFrame = 0;
  EXPECT_FALSE(holdAtLineEnds(rig.c()));
  t.MovieMode = 0;
  rig.line.MovieStop.clear();
  t.MovieDirection = 0;
  t.speed = 20;
  t.MovieFrame = 100;
  EXPECT_FALSE(holdAtLineEnds(rig.c()));
}

}  // namespace
}  // namespace kestrel
