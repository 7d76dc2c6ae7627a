// Signal aspects behind the preceding train, the control modes, the code table and the code of
// the signal ahead.
#include "core/sim/signals.h"

#include <gtest/gtest.h>

#include "support/drive_rig.h"
#include "support/signal_line.h"
#include "support/station_line.h"

namespace kestrel {
namespace {

struct SignalsTest : ::testing::Test {
  test::DriveRig rig;
  TrainState& t = rig.train;

  void SetUp() override { rig.line.Speed_Signal = {0, 25, 55, 75, 120}; }
  // Signals i = 0 .. kinds.size() - 1 at frames 1000 (i + 1), each approached from 500 frames before.
  void signalsOfKinds(std::vector<int32_t> kinds) {
    rig.line.Signal.clear();
    for (size_t i = 0; i < kinds.size(); ++i) {
      const int32_t at = 1000 * static_cast<int32_t>(i + 1);
      rig.line.Signal.push_back(
          test::signalRow({.kind = kinds[i], .approachStart = at - 500, .position = at}));
    }
  }
  std::vector<int32_t> aspectsWithPreTrainAt(int32_t frame) {
    t.preTrain.preTrainFrame = frame;
    updateSignalAspects(rig.c());
    return t.signals.aspect;
  }
  int32_t codeAt(int32_t frame) {
    t.MovieFrame = frame;
    updateSignalCodes(rig.c());
    return t.currentCode;
  }
};

using V = std::vector<int32_t>;

TEST_F(SignalsTest, WithoutAPrecedingTrainOrWithItBeyondTheLastSignalAllShowClear) {
  signalsOfKinds({6, 6, 6, 6});
  EXPECT_EQ(aspectsWithPreTrainAt(0), (V{4, 4, 4, 4}));
  EXPECT_EQ(aspectsWithPreTrainAt(4001), (V{4, 4, 4, 4}));
  EXPECT_EQ(aspectsWithPreTrainAt(800), (V{4, 4, 4, 4}));  // still short of the first signal
  // At a signal's position the preceding train is still behind it: the one before shows stop.
  EXPECT_EQ(aspectsWithPreTrainAt(4000), (V{2, 1, 0, 4}));
}

TEST_F(SignalsTest, SignalsBehindThePrecedingTrainStepUpOneAspectEach) {
  signalsOfKinds({6, 6, 6, 6, 6, 6, 6});
  EXPECT_EQ(aspectsWithPreTrainAt(6500), (V{4, 4, 3, 2, 1, 0, 4}));
  // The first signal is held too when the preceding train is just past it.
  EXPECT_EQ(aspectsWithPreTrainAt(1500), (V{0, 4, 4, 4, 4, 4, 4}));
}

TEST_F(SignalsTest, KindsLimitTheStepsTheirHeadsCanShow) {
  // From the stop signal back: kind 2 shows 2 for a first or second step and 4 beyond.
  signalsOfKinds({2, 6, 2, 6, 6});
  EXPECT_EQ(aspectsWithPreTrainAt(4500), (V{4, 3, 2, 0, 4}));
  // Kind 1 always shows 2; kind 3 shows 2 for the first steps; kind 4 jumps to 4 from 3.
  signalsOfKinds({6, 4, 3, 1, 6, 6});
  EXPECT_EQ(aspectsWithPreTrainAt(5500), (V{4, 4, 3, 2, 0, 4}));
  // With six steps kinds below 6 stop at 4, kind 6 and above go on to 5.
  rig.line.Speed_Signal = {0, 25, 45, 55, 75, 120};
  signalsOfKinds({5, 5, 5, 5, 5, 6, 6});
  EXPECT_EQ(aspectsWithPreTrainAt(6500), (V{4, 4, 3, 2, 1, 0, 5}));
  signalsOfKinds({6, 6, 6, 6, 6, 6, 6, 6});
  EXPECT_EQ(aspectsWithPreTrainAt(7500), (V{5, 5, 4, 3, 2, 1, 0, 5}));
}

TEST_F(SignalsTest, RowsWithoutAHeadCopyTheAspectAhead) {
  signalsOfKinds({6, 6, -1, 0, 6, 6});
  // Behind the stop signal the headless rows copy the aspect of the row ahead of them.
  EXPECT_EQ(aspectsWithPreTrainAt(5500), (V{2, 1, 0, 0, 0, 4}));
  // A preceding train just past headless rows: the stop falls on the first head behind them.
  EXPECT_EQ(aspectsWithPreTrainAt(4500), (V{1, 0, 4, 4, 4, 4}));
}

TEST_F(SignalsTest, ControlModesFixTheAspect) {
  signalsOfKinds({6, 6, 6});
  rig.line.Station.push_back(test::stationRow({"鷹見"}));
  auto& s = rig.line.Signal;
  s[0].f(1) = 1;  // fixed (stop) until the time in field 10
  s[0].f(10) = 1080000;
  s[1].f(1) = 2;  // always its field 9
  s[1].f(9) = 2;
  s[2].f(1) = 3;  // stop until station 0 is ready to depart
  t.stations.visits.assign(1, {});
  t.TickCounter = 1079999;
  EXPECT_EQ(aspectsWithPreTrainAt(0), (V{0, 2, 0}));
  t.TickCounter = 1080000;
  t.stations.visits[0].departureReady = true;
  EXPECT_EQ(aspectsWithPreTrainAt(0), (V{4, 2, 4}));
  // A station movie holds every signal at its field 9.
  t.MovieMode = 1;
  EXPECT_EQ(aspectsWithPreTrainAt(0), (V{0, 2, 0}));
}

TEST(SignalCodeTable, AspectFiveOfKindsSevenAndEightDependsOnTheTopSpeed) {
  EXPECT_EQ(signalCodeFor(6, 0, 120), 21);
  EXPECT_EQ(signalCodeFor(6, 4, 120), 25);
  EXPECT_EQ(signalCodeFor(4, 3, 120), 15);
  EXPECT_EQ(signalCodeFor(7, 5, 160), 28);
  EXPECT_EQ(signalCodeFor(7, 5, 161), 29);
  EXPECT_EQ(signalCodeFor(8, 5, 160), 33);
  EXPECT_EQ(signalCodeFor(8, 5, 161), 34);
  EXPECT_EQ(signalCodeFor(8, 4, 161), 33);
  EXPECT_EQ(signalCodeFor(9, 5, 120), 40);
  EXPECT_EQ(signalCodeFor(10, 0, 120), std::nullopt);
  EXPECT_EQ(signalCodeFor(-1, 0, 120), std::nullopt);
  EXPECT_EQ(signalCodeFor(6, 6, 120), std::nullopt);
}

TEST_F(SignalsTest, TheCodeAheadIsThatOfTheApproachSectionUntilFifteenFramesShort) {
  signalsOfKinds({6, 6, -1});
  aspectsWithPreTrainAt(1500);       // signal 0 at stop
  EXPECT_EQ(codeAt(400), kNone999);  // in no approach section
  EXPECT_EQ(t.signals.currentSignal, -1);
  EXPECT_EQ(codeAt(500), 21);
  EXPECT_EQ(t.signals.currentSignal, 0);
  EXPECT_EQ(codeAt(985), 21);
  EXPECT_EQ(codeAt(986), kNone999);  // passing the signal: the pictures are cleared
  EXPECT_EQ(t.signals.currentSignal, 0);
  EXPECT_EQ(codeAt(1600), 25);
  // Outside its section a signal's code is 12, or 0 at stop; a kind outside the table keeps that.
  EXPECT_EQ(t.signals.signalCode, (V{0, 25, 12}));
  EXPECT_EQ(codeAt(2700), 12);
}

}  // namespace
}  // namespace kestrel
