// The 33 ms event's frame advance, [SpeedUnit] row changes, distance step and auto-run.
#include "core/sim/frame_advance.h"

#include <gtest/gtest.h>

#include "core/sim/gradient.h"
#include "support/drive_rig.h"

namespace kestrel {
namespace {

using motion::advanceFrame;

struct FrameAdvanceTest : ::testing::Test {
  test::DriveRig rig;
  DriveContext& ctx = rig.c();
  TrainState& t = rig.train;

  // A worked example: rows (0, 3000, 60, 60) and (3000, 6000, 60, 120); the first ends at
  // round(120 x 3000 / 2.16) = 166 667 cm, the second adds round(180 x 3000 / 2.16) = 250 000.
  void useTwoRows() {
    rig.line.SpeedUnit = {
        {0, 3000, 60, 60, 166667}, {3000, 6000, 60, 120, 416667}, {6000, 9000, 120, 120, 583334}};
  }
};

TEST_F(FrameAdvanceTest, AtTheFilmingSpeedOneFramePerEventAtHalfOfItOneEverySecondEvent) {
  t.MovieFrame = 100;
  advanceFrame(ctx);  // first lookup: 36 km/h filmed
  EXPECT_EQ(t.UnitsPerFrame, 36);
  t.speed = 36;
  for (int i = 0; i < 30; ++i) advanceFrame(ctx);
  EXPECT_EQ(t.MovieFrame, 130);
  EXPECT_EQ(t.FrameStepAccumulator, 0);

  t.speed = 18;
  advanceFrame(ctx);
  EXPECT_EQ(t.MovieFrame, 130);
  EXPECT_EQ(t.FrameStepAccumulator, 18);  // the remainder is kept
  advanceFrame(ctx);
  EXPECT_EQ(t.MovieFrame, 131);
  EXPECT_EQ(t.FrameStepAccumulator, 0);

  t.speed = -36;  // backwards one frame per event
  advanceFrame(ctx);
  EXPECT_EQ(t.MovieFrame, 130);
}

TEST_F(FrameAdvanceTest, TheRoundedSpeedFeedsTheAccumulatorAndTheDistanceKeepsWithTheFrame) {
  t.MovieFrame = 100;
  for (double creep : {0.4, -0.4}) {
    t.speed = creep;  // rounds to 0: the movie stands, and so does the distance
    for (int i = 0; i < 100; ++i) {
      advanceFrame(ctx);
      motion::advanceDistance(ctx);
    }
    EXPECT_EQ(t.MovieFrame, 100);
    EXPECT_EQ(t.distanceRun, 0.0);
  }
  t.speed = 0.5;  // rounds to 1: both move
  motion::advanceDistance(ctx);
  EXPECT_NEAR(t.distanceRun, 0.5 / 36000 * 33333, 1e-9);
}

TEST_F(FrameAdvanceTest, AFilmingSpeedOfZeroJumpsTwiceTheAccumulatedSpeed) {
  rig.line.SpeedUnit = {{0, 1000, 0, 0, 0}};
  t.MovieFrame = 10;
  advanceFrame(ctx);
  EXPECT_EQ(t.UnitsPerFrame, 0);
  t.speed = 7;
  advanceFrame(ctx);
  EXPECT_EQ(t.MovieFrame, 24);
  EXPECT_EQ(t.FrameStepAccumulator, 0);
}

TEST_F(FrameAdvanceTest, CrossingARowForwardsSetsTheDistanceToTheRowsStart) {
  useTwoRows();
  t.MovieFrame = 2999;
  t.distanceRun = 123;  // whatever it was
  advanceFrame(ctx);    // first lookup: no reset
  EXPECT_EQ(t.distanceRun, 123);
  EXPECT_EQ(t.frameRow, 0);
  t.speed = 60;
  advanceFrame(ctx);
  EXPECT_EQ(t.MovieFrame, 3000);
  EXPECT_EQ(t.frameRow, 1);
  EXPECT_EQ(t.distanceRun, 166667);
  EXPECT_EQ(t.UnitsPerFrame, 60);
  // Half way through the second row the filming speed is round(60 + 60 / 3000 x 1500) = 90.
  t.MovieFrame = 4500;
  advanceFrame(ctx);
  EXPECT_EQ(t.UnitsPerFrame, 90);
}

TEST_F(FrameAdvanceTest, CrossingARowBackwardsSetsTheDistanceToTheEndOfTheRowEntered) {
  useTwoRows();
  t.MovieFrame = 6000;
  advanceFrame(ctx);
  t.speed = -120;
  advanceFrame(ctx);
  EXPECT_EQ(t.MovieFrame, 5999);
  EXPECT_EQ(t.distanceRun, 416667);
  // Into the first row too: its own end, not 0.
  t.MovieFrame = 3000;
  t.speed = 0;
  advanceFrame(ctx);  // row 1 again
  t.speed = -60;
  advanceFrame(ctx);
  EXPECT_EQ(t.MovieFrame, 2999);
  EXPECT_EQ(t.frameRow, 0);
  EXPECT_EQ(t.distanceRun, 166667);
}

TEST_F(FrameAdvanceTest, OutsideTheTableTheLastRowStaysInForce) {
  useTwoRows();
  t.MovieFrame = 8999;
  advanceFrame(ctx);
  t.MovieFrame = 9500;
  t.speed = 0;
  advanceFrame(ctx);
  EXPECT_EQ(t.frameRow, 2);
  EXPECT_EQ(t.UnitsPerFrame, 120);
}

TEST_F(FrameAdvanceTest, DistanceStepIsOneThirtiethOfASecondOfTravel) {
  t.speed = 36;  // 10 m/s: 33.333 cm per event
  t.stopTarget = 1000;
  motion::advanceDistance(ctx);
  EXPECT_NEAR(t.distanceRun, 33.333, 1e-9);
  EXPECT_NEAR(t.distanceToStop, 1000 - 33.333, 1e-9);
  t.speed = -36;
  motion::advanceDistance(ctx);
  EXPECT_NEAR(t.distanceRun, 0, 1e-9);
}

TEST_F(FrameAdvanceTest, ClockCountsEventsAndAutoRunSetsTheFilmingSpeed) {
  t.TickCounter = 5;
  t.UnitsPerFrame = 36;
  motion::advanceClock(ctx);
  EXPECT_EQ(t.TickCounter, 6);
  EXPECT_EQ(t.speed, 0);
  rig.keys.autoRun = true;
  motion::advanceClock(ctx);
  EXPECT_EQ(t.speed, 36);
}

TEST_F(FrameAdvanceTest, TheEffectiveGradientIsTheMeanOfTheHeadGradientSampledEvery20m) {
  rig.line.Slope = {{Fixed::fromInt(12), 100, 200}};
  t.gradientSamples.assign(6, 0);
  t.MovieFrame = 100;  // at the row's start the previous gradient (0) stays in force
  t.distanceRun = 2001;
  motion::sampleGradient(ctx);
  EXPECT_EQ(t.headGradient, Fixed());
  EXPECT_EQ(t.gradientSampleAt, 2001);

  t.MovieFrame = 101;
  t.distanceRun = 4001;  // not more than 20 m on: no sample
  motion::sampleGradient(ctx);
  EXPECT_EQ(t.headGradient, Fixed::fromInt(12));
  EXPECT_EQ(t.gradient, Fixed());
  t.distanceRun = 4002;
  motion::sampleGradient(ctx);
  EXPECT_EQ(t.gradient, Fixed::fromInt(2));  // 12 / 6 cars
  for (int i = 1; i <= 5; ++i) {
    t.distanceRun += 2001;
    motion::sampleGradient(ctx);
  }
  EXPECT_EQ(t.gradient, Fixed::fromInt(12));
  t.MovieFrame = 200;  // the end is outside too: 12 stays
  t.distanceRun += 2001;
  motion::sampleGradient(ctx);
  EXPECT_EQ(t.gradient, Fixed::fromInt(12));
}

}  // namespace
}  // namespace kestrel
