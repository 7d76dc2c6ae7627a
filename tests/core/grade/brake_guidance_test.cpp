// Brake guidance: the distance predicted for a step is the distance the drive runs when the
// driver takes that step, and predicting it leaves the drive as it was.
#include "core/grade/brake_guidance.h"

#include <gtest/gtest.h>

#include "core/front/cab_session.h"
#include "support/drive_rig.h"

namespace kestrel::grade {
namespace {

struct GuidanceTest : ::testing::Test {
  test::DriveRig rig;
  std::unique_ptr<CabSession> session;

  void SetUp() override {
    session = std::make_unique<CabSession>(
        CabSession::Records{rig.settings, rig.vehicle, rig.panel, rig.line, rig.pictures}, rig.mixer, rig.program);
    rig.mixer.setClock([this] { return session->scheduler().now(); });
    session->start();
    type(U'5');
    for (int i = 0; i < 4; ++i) type(U'8');
    while (session->train().speed < 60) ticks(1);
    type(U'5');  // coasting
    ticks(5);
  }
  void type(char32_t key) {
    session->AsciiDown(key);
    session->deliverPosted();
  }
  void ticks(int n) { session->scheduler().advanceBy(100000 * n); }
};

TEST_F(GuidanceTest, EachStepStopsWhereThePredictionSaidAndHigherStepsStopShorter) {
  for (int step : {2, 5}) {
    SetUp();
    const TrainState before = session->train();
    const Scheduler& clock = session->scheduler();
    const ClockPhase phase{clock.nextDue(Scheduler::Timer::Multimedia) - clock.now(),
                           clock.nextDue(Scheduler::Timer::Tick) - clock.now()};
    const auto predicted = stoppingDistance(session->context(), -step, 1e9, phase);
    ASSERT_TRUE(predicted) << step;
    EXPECT_EQ(session->train().distanceRun, before.distanceRun);  // the drive is not touched
    EXPECT_EQ(session->train().bcTrailer, before.bcTrailer);
    EXPECT_EQ(session->control().brakeHandle, 0);

    const double from = session->train().distanceRun;
    for (int i = 0; i < step; ++i) type(U'2');
    while (session->train().speed > 0) ticks(1);
    EXPECT_NEAR(session->train().distanceRun - from, *predicted, 0.01) << "step " << step;
  }
  SetUp();
  const auto b2 = stoppingDistance(session->context(), -2, 1e9);
  const auto b7 = stoppingDistance(session->context(), -7, 1e9);
  ASSERT_TRUE(b2 && b7);
  EXPECT_GT(*b2, *b7 * 2);
  EXPECT_FALSE(stoppingDistance(session->context(), -1, *b7));  // not within the reach asked
}

TEST_F(GuidanceTest, TheGuidanceListsEveryServiceStepForTheStopAhead) {
  EXPECT_FALSE(brakeGuidance(session->context()));  // no stop on this line
  TrainState& t = session->context().train;
  t.stopTarget = t.distanceRun + 30000;
  t.distanceToStop = 30000;
  const auto g = brakeGuidance(session->context());
  ASSERT_TRUE(g);
  EXPECT_EQ(g->steps.size(), 7u);  // 8 positions, the eighth emergency
  EXPECT_EQ(g->currentStep, 0);
  EXPECT_FALSE(g->currentStopCm);  // released: no stand
  EXPECT_DOUBLE_EQ(g->remainingCm, 30000);
  for (size_t i = 1; i < g->steps.size(); ++i) {
    if (g->steps[i].stopCm && g->steps[i - 1].stopCm) {
      EXPECT_LT(*g->steps[i].stopCm, *g->steps[i - 1].stopCm);
    }
  }
  EXPECT_TRUE(g->steps.back().stopCm);  // the highest service step stands within 300 + 200 m
}

}  // namespace
}  // namespace kestrel::grade
