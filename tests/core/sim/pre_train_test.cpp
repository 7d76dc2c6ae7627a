// The preceding train: it stands until its row's departure time, runs through the frames at its
// row's speed, only while ahead of the player's train, is removed beyond the removal position,
// and is placed at a station on a jump.
#include "core/sim/pre_train.h"

#include <gtest/gtest.h>

#include "support/drive_rig.h"
#include "support/station_line.h"

namespace kestrel {
namespace {

struct PreTrainTest : ::testing::Test {
  test::DriveRig rig;  // [SpeedUnit]: filmed at 36 km/h throughout
  PreTrainState& p = rig.train.preTrain;

  void SetUp() override {
    for (int i = 0; i < 4; ++i)
      rig.line.Station.push_back(test::stationRow({"S" + std::to_string(i), 0, 1000 * i, 0.0}));
    rig.line.Pre_Train = {1000, 2500, {{1, 72, 1080000}, {2, 36, 1083000}, {3, 0, 1086000}}};
    p.preTrainFrame = 1000;
    rig.train.MovieFrame = 0;
  }
  void events(int n) {
    for (int i = 0; i < n; ++i) {
      advancePreTrain(rig.c());
      rig.train.TickCounter += 1;
    }
  }
};

TEST_F(PreTrainTest, ARowThatHasNotReachedItsDepartureTimeStandsStill) {
  rig.train.TickCounter = 1080000 - 100;
  events(100);  // up to and including the departure time itself
  EXPECT_EQ(p.preTrainFrame, 1000);
  EXPECT_EQ(p.preTrainSpeed, 0);
  EXPECT_EQ(p.preTrainAccum, 0);
  events(30);  // then 72 km/h on a movie filmed at 36: two frames per event
  EXPECT_EQ(p.preTrainSpeed, 72);
  EXPECT_EQ(p.preTrainStep, 36);
  EXPECT_EQ(p.preTrainFrame, 1000 + 2 * 29);
}

TEST_F(PreTrainTest, AtTheNextRowsStationItWaitsForThatRowsTime) {
  rig.train.TickCounter = 1081000;
  p.preTrainFrame = 1990;
  events(10);
  EXPECT_EQ(p.preTrainFrame, 2000);
  events(50);  // row 2 departs at 1083000: standing
  EXPECT_EQ(p.preTrainFrame, 2000);
  EXPECT_EQ(p.preTrainSpeed, 0);
}

TEST_F(PreTrainTest, ItMovesOnlyWhileAheadOfThePlayersTrain) {
  rig.train.TickCounter = 1080001;
  rig.train.MovieFrame = 1000;
  events(10);
  EXPECT_EQ(p.preTrainFrame, 1000);
  rig.train.MovieFrame = 999;
  events(1);
  EXPECT_EQ(p.preTrainFrame, 1002);
}

TEST_F(PreTrainTest, BeyondTheRemovalPositionThereIsNoPrecedingTrain) {
  p.preTrainFrame = 2500;
  removePreTrain(rig.c());
  EXPECT_EQ(p.preTrainFrame, 2500);
  p.preTrainFrame = 2501;
  removePreTrain(rig.c());
  EXPECT_EQ(p.preTrainFrame, 0);
  rig.train.TickCounter = 1090000;
  events(10);
  EXPECT_EQ(p.preTrainFrame, 0);  // none: nothing moves
}

TEST_F(PreTrainTest, AZeroThresholdMovesTheAccumulatorOverPointThreeFrames) {
  rig.line.SpeedUnit = {{0, 100000, 0, 0, 0}};
  rig.train.TickCounter = 1080001;
  events(1);
  EXPECT_EQ(p.preTrainStep, 0);
  EXPECT_EQ(p.preTrainFrame, 1000 + 240);  // round(72 / 0.3)
  EXPECT_EQ(p.preTrainAccum, 0);
}

TEST_F(PreTrainTest, AJumpPlacesItAtTheStationOfTheFirstRowStillToDepart) {
  rig.train.TickCounter = 1080000;  // row 1 leaves at 1080000: not later, so row 2's station
  p.preTrainAccum = 20;
  placePreTrain(rig.c());
  EXPECT_EQ(p.preTrainFrame, 2000);
  EXPECT_EQ(p.preTrainAccum, 0);
  rig.train.TickCounter = 1079999;
  placePreTrain(rig.c());
  EXPECT_EQ(p.preTrainFrame, 1000);
  rig.train.TickCounter = 1086000;  // every row has left
  placePreTrain(rig.c());
  EXPECT_EQ(p.preTrainFrame, 0);
  // The start of a drive at the first station takes the header's start position.
  setUpPreTrain(rig.c(), 0);
  EXPECT_EQ(p.preTrainFrame, 1000);
  rig.line.Pre_Train.startPos = 1234;
  setUpPreTrain(rig.c(), 0);
  EXPECT_EQ(p.preTrainFrame, 1234);
  rig.train.TickCounter = 1082000;
  setUpPreTrain(rig.c(), 2);
  EXPECT_EQ(p.preTrainFrame, 2000);
}

}  // namespace
}  // namespace kestrel
