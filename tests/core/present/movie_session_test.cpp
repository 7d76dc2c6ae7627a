// The movie switching inside a cab session: the switch stops and restarts the 33 ms event (its
// phase restarting), a branch movie at the filming speed advances one frame per event, the
// station jump returns to the main movie, and closing the session closes the movie.
#include <gtest/gtest.h>

#include <memory>

#include "core/front/cab_session.h"
#include "support/drive_rig.h"
#include "support/fake_movie.h"
#include "support/station_line.h"

namespace kestrel {
namespace {

struct MovieSessionTest : ::testing::Test {
  test::DriveRig rig;  // its records; filmed at 36 km/h throughout
  test::MovieLog log;
  test::FakeMovieReader reader{log};
  std::unique_ptr<CabSession> session;

  void SetUp() override {
    rig.settings.Path = "movie\\";
    rig.settings.Disp.MovieFrameFactor = 1;
    rig.line.DataName = "kestrel_line";
    rig.line.StartPos = 100;
    rig.line.Station = {test::stationRow({"A", 2, 100, 100 * 1000.0 / 30, 500}),
                        test::stationRow({"B", 2, 900, 900 * 1000.0 / 30, 500})};
    rig.line.MovieSwitch = {{0, 200, 230, "kestrel_loop", 300, 520, 0, 0, 0}};
    reader.files = {{"kestrel_line.avi", 9000}, {"kestrel_loop.avi", 300}};
    reader.open("/nonexistent/movie/kestrel_line.avi");
    session = std::make_unique<CabSession>(
        CabSession::Records{rig.settings, rig.vehicle, rig.panel, rig.line, rig.pictures}, rig.mixer,
        rig.program, StartOptions{}, 0, MovieSource{&reader, "/nonexistent"});
    rig.mixer.setClock([this] { return session->scheduler().now(); });
    log.entries.clear();
  }
};

TEST_F(MovieSessionTest, ABranchSwitchRestartsTheEventAndItsMovieRunsOneFramePerEvent) {
  CabSession& s = *session;
  EXPECT_EQ(s.train().movie.movieLastFrame, 9000);
  s.start();
  s.AsciiDown(U'5');                                    // brakes released
  s.keydowns(VirtualKey::F1, KeyModifiers::shifted());  // auto-run: the filming speed
  Scheduler& clock = s.scheduler();
  while (s.train().MovieMode != 2 && clock.now() < 60000000) clock.advanceBy(100000);
  ASSERT_EQ(s.train().MovieMode, 2);
  // The tick that switched stopped the event and started it again: its next one is 33 ms on.
  EXPECT_EQ(clock.now() % 100000, 0);
  EXPECT_EQ(clock.nextDue(Scheduler::Timer::Multimedia), clock.now() + 33000);
  EXPECT_EQ(log.entries, (std::vector<std::string>{"close", "open kestrel_loop.avi", "decode 1"}));
  int32_t sub = s.train().SubFrame;
  for (int i = 0; i < 20; ++i) {
    clock.advanceBy(33000);
    EXPECT_EQ(s.train().SubFrame, sub + 1) << i;
    EXPECT_EQ(s.train().SubFrame, s.train().MovieFrame - 200);
    sub = s.train().SubFrame;
  }
}

TEST_F(MovieSessionTest, TheStationJumpReturnsToTheMainMovieAndTheRowsPlayAgain) {
  CabSession& s = *session;
  s.start();
  s.AsciiDown(U'5');
  s.keydowns(VirtualKey::F1, KeyModifiers::shifted());
  Scheduler& clock = s.scheduler();
  while (s.train().MovieMode != 2 && clock.now() < 60000000) clock.advanceBy(100000);
  ASSERT_EQ(s.train().MovieMode, 2);
  log.entries.clear();
  EXPECT_FALSE(s.StationClick(2));
  EXPECT_EQ(s.train().MovieMode, 2);
  ASSERT_TRUE(s.StationClick(0));
  EXPECT_EQ(log.entries, (std::vector<std::string>{"close", "open kestrel_line.avi"}));
  EXPECT_EQ(s.train().MovieMode, 0);
  EXPECT_EQ(s.train().MovieFrame, 100);
  EXPECT_TRUE(clock.isRunning(Scheduler::Timer::Multimedia));
  // Played to its end, the branch may play again after a jump.
  s.AsciiDown(U'5');
  while (!s.train().movie.rowDone[0] && clock.now() < 120000000) clock.advanceBy(100000);
  ASSERT_TRUE(s.train().movie.rowDone[0]);
  EXPECT_EQ(s.train().MovieMode, 0);
  ASSERT_TRUE(s.StationClick(0));
  EXPECT_EQ(s.train().movie.rowDone, std::vector<bool>{false});
}

TEST_F(MovieSessionTest, ClosingTheSessionClosesTheMovie) {
  session->close();
  EXPECT_EQ(log.entries, (std::vector<std::string>{"close"}));
  EXPECT_FALSE(reader.isOpen());
}

}  // namespace
}  // namespace kestrel
