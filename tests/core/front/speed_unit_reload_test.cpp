// "SU再読込": the [SpeedUnit] table read again from the line file on disk during a drive, the
// distances derived again, and the train, its stop and its ATS pattern carried over to the new
// table; a file that cannot be read or a table that cannot be read whole.
#include "core/front/speed_unit_reload.h"

#include <gtest/gtest.h>

#include "core/data/line_distances.h"
#include "core/sim/frame_advance.h"
#include "support/cp932_files.h"
#include "support/drive_rig.h"
#include "support/station_line.h"
#include "support/test_paths.h"

namespace kestrel {
namespace {

// The level line filmed at 36 km/h throughout, with stations at frames 3000 and 9000 and a signal
// at frame 6000: 36 km/h is 1000 cm a second, 30 frames: 3000 frames are 100 000 cm.
struct SpeedUnitReloadTest : ::testing::Test {
  test::DriveRig rig;
  DriveContext& ctx = rig.c();
  TrainState& t = rig.train;
  // One folder per test: ctest runs the tests of this fixture side by side.
  std::filesystem::path file =
      test::scratchDir(std::string("speed_unit_reload_") +
                       ::testing::UnitTest::GetInstance()->current_test_info()->name()) /
      "line_local.dat";

  void SetUp() override {
    rig.line.Station = {test::stationRow({"A", 0, 3000}), test::stationRow({"B", 0, 9000})};
    SignalRow signal;
    signal.f(4) = 1;
    signal.f(6) = 6000;
    rig.line.Signal = {signal};
    convertLineDistances(rig.line);
    // At frame 1500 heading for A, with a stop pattern drawn towards the signal.
    t.MovieFrame = 1500;
    motion::lookUpSpeedUnit(ctx);
    t.distanceRun = 50000;
    t.gradientSampleAt = 49000;
    t.stations.nextStopStation = 0;
    t.stopTarget = 100000;
    t.signals.patternKind = PatternKind::Signal;
    t.signals.patternTarget = 10;
    t.signals.patternEntry = 0;
    t.signals.patternDistance = rig.line.events[0].distanceCm;
  }

  // Frames moved in `events` multimedia events at `kmh`.
  int32_t framesIn(int events, double kmh) {
    const int32_t from = t.MovieFrame;
    t.speed = kmh;
    for (int i = 0; i < events; ++i) motion::advanceFrame(ctx);
    return t.MovieFrame - from;
  }
};

TEST_F(SpeedUnitReloadTest, TheEditedTableChangesTheMovieSpeedAndEveryDistanceOnTheFly) {
  ASSERT_EQ(rig.line.Station[0].stopDistanceCm, 100000);
  ASSERT_EQ(rig.line.events[0].distanceCm, 200000);
  EXPECT_EQ(framesIn(10, 36), 10);  // one frame per event at the filming speed

  // The author films the first 6000 frames at 72 km/h.
  test::writeCp932File(
      file, "[LineName]\n東海道線\n[SpeedUnit]\n0,6000,72,72\n6000,100000,36,36\n#\n[StartPos]\n0\n");
  const SpeedUnitReload r = Button1Click(file, rig.line, ctx);
  EXPECT_TRUE(r.opened);
  EXPECT_TRUE(r.replaced);
  EXPECT_EQ(r.rows, 2);
  EXPECT_EQ(reloadReport(r), "SU再読込: [SpeedUnit] 2行");

  // 72 km/h is 2000 cm a second: row 0 ends at 400 000 cm; A (frame 3000) at 200 000, the signal
  // at 400 000, B three thousand frames into the 36 km/h row at 500 000.
  EXPECT_EQ(rig.line.SpeedUnit[0].endDistanceCm, 400000);
  EXPECT_EQ(rig.line.Station[0].stopDistanceCm, 200000);
  EXPECT_EQ(rig.line.Station[1].stopDistanceCm, 500000);
  EXPECT_EQ(rig.line.Station[0].platformEndCm, 200500);
  EXPECT_EQ(rig.line.events[0].distanceCm, 400000);
  // The train keeps its frame (1510) and stands where that frame now lies.
  EXPECT_EQ(t.MovieFrame, 1510);
  EXPECT_EQ(t.UnitsPerFrame, 72);
  EXPECT_EQ(t.distanceRun, 100667);  // round(20 x 1510 / 30 x 100)
  EXPECT_EQ(t.stopTarget, 200000);
  EXPECT_EQ(t.distanceToStop, 200000 - t.distanceRun);
  EXPECT_EQ(t.gradientSampleAt, 49000 + t.distanceRun - 50000);
  EXPECT_EQ(t.signals.patternEntry, 0);
  EXPECT_EQ(t.signals.patternDistance, 400000);

  // Half the filming speed now: one frame every second event.
  EXPECT_EQ(framesIn(10, 36), 5);
  // Crossing into the next row starts it where the new table says the row before ends.
  t.MovieFrame = 5999;
  motion::lookUpSpeedUnit(ctx);
  framesIn(2, 72);
  EXPECT_EQ(t.frameRow, 1);
  EXPECT_EQ(t.distanceRun, 400000);
}

TEST_F(SpeedUnitReloadTest, AFileThatCannotBeReadKeepsTheTable) {
  const LineData before = rig.line;
  const SpeedUnitReload r = Button1Click(file.parent_path() / "missing.dat", rig.line, ctx);
  EXPECT_FALSE(r.opened);
  EXPECT_FALSE(r.replaced);
  EXPECT_EQ(reloadReport(r), "SU再読込: 路線ファイルを開けません");
  EXPECT_EQ(rig.line.SpeedUnit.size(), before.SpeedUnit.size());
  EXPECT_EQ(rig.line.SpeedUnit[0].vStart, 36);
  EXPECT_EQ(t.distanceRun, 50000);
  EXPECT_EQ(t.UnitsPerFrame, 36);
}

TEST_F(SpeedUnitReloadTest, AFaultEndsTheReadingAndLeavesWhatWasRead) {
  // The last section wins; its third row is mistyped.
  test::writeCp932File(file,
                       "[SpeedUnit]\n0,100000,50,50\n#\n[SpeedUnit]\n0,3000,72,72\n3000,6000,60,60\n"
                       "6000,9000,6O,60\n9000,100000,36,36\n#\n");
  const SpeedUnitReload r = Button1Click(file, rig.line, ctx);
  EXPECT_TRUE(r.replaced);
  EXPECT_EQ(r.rows, 2);
  EXPECT_EQ(r.stoppedAt, "6000,9000,6O,60");
  EXPECT_EQ(reloadReport(r), "SU再読込: [SpeedUnit] 2行 (読み込みを中断: 6000,9000,6O,60)");
  ASSERT_EQ(rig.line.SpeedUnit.size(), 2u);
  EXPECT_EQ(rig.line.SpeedUnit[1].vEnd, 60);
  // The signal at frame 6000 lies on the end of the last row read: it keeps its entry. Station B
  // (frame 9000) lies beyond every row now; its distance is 0 and it enters no event.
  EXPECT_EQ(rig.line.events.size(), 1u);
  EXPECT_EQ(rig.line.Station[1].stopDistanceCm, 0);
  EXPECT_EQ(t.signals.patternDistance, rig.line.events[0].distanceCm);
}

TEST_F(SpeedUnitReloadTest, ATableThatLosesItsPatternEntryEndsThePattern) {
  test::writeCp932File(file, "[SpeedUnit]\n0,5000,36,36\n#\n");
  Button1Click(file, rig.line, ctx);
  EXPECT_TRUE(rig.line.events.empty());
  EXPECT_EQ(t.signals.patternKind, PatternKind::None);
  EXPECT_EQ(t.signals.patternEntry, -1);
  EXPECT_EQ(t.signals.patternTarget, SignalState::kNoPattern);
}

TEST_F(SpeedUnitReloadTest, NoRowReadKeepsTheTable) {
  for (const char* text : {"[SpeedUnit]\nx,3000,72,72\n#\n", "[SpeedUnit]\n#\n", "[LineName]\nA\n"}) {
    test::writeCp932File(file, text);
    const SpeedUnitReload r = Button1Click(file, rig.line, ctx);
    EXPECT_TRUE(r.opened) << text;
    EXPECT_FALSE(r.replaced) << text;
    EXPECT_EQ(rig.line.SpeedUnit[0].vStart, 36) << text;
    EXPECT_EQ(rig.line.Station[0].stopDistanceCm, 100000) << text;
  }
  EXPECT_EQ(reloadReport(Button1Click(file, rig.line, ctx)), "SU再読込: [SpeedUnit] 0行 変更なし");
}

}  // namespace
}  // namespace kestrel
