// The drive's clock: order of events, same-instant order, pause, catch-up cap, and timers
// restarted from inside a handler.
#include "core/sim/scheduler.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace kestrel {
namespace {

using Timer = Scheduler::Timer;

struct Log {
  std::vector<std::string> entries;
  void add(const Scheduler& s, const char* name) {
    entries.push_back(std::string(name) + "@" + std::to_string(s.now()));
  }
};

struct SchedulerTest : ::testing::Test {
  Scheduler s;
  Log log;
  void SetUp() override {
    s.setHandler(Timer::Multimedia, [this] { log.add(s, "mm"); });
    s.setHandler(Timer::Tick, [this] { log.add(s, "tick"); });
  }
};

TEST_F(SchedulerTest, EventsRunInTimeOrderAtTheirPeriods) {
  s.start();
  s.advanceBy(200000);
  EXPECT_EQ(log.entries, (std::vector<std::string>{"mm@33000", "mm@66000", "mm@99000", "tick@100000",
                                                   "mm@132000", "mm@165000", "mm@198000", "tick@200000"}));
  EXPECT_EQ(s.now(), 200000);
}

TEST_F(SchedulerTest, TheMultimediaEventRunsFirstWhenBothAreDueAtOneInstant) {
  s.start();
  s.advanceBy(3300000);  // 100 x 33 ms = 33 x 100 ms
  ASSERT_GE(log.entries.size(), 2u);
  EXPECT_EQ(log.entries[log.entries.size() - 2], "mm@3300000");
  EXPECT_EQ(log.entries.back(), "tick@3300000");
  EXPECT_EQ(std::count(log.entries.begin(), log.entries.end(), "tick@3300000"), 1);
}

TEST_F(SchedulerTest, NothingRunsBeforeStartAndTheClockStillMoves) {
  s.advanceBy(500000);
  EXPECT_TRUE(log.entries.empty());
  EXPECT_EQ(s.now(), 500000);
  s.start();
  s.advanceBy(33000);
  EXPECT_EQ(log.entries, (std::vector<std::string>{"mm@533000"}));
}

TEST_F(SchedulerTest, PauseInTheMiddleStopsBothAndResumeRestartsTheirPhase) {
  s.start();
  s.advanceBy(150000);  // mm 33, 66, 99, 132; tick 100
  s.pause();
  EXPECT_FALSE(s.running());
  s.advanceBy(1000000);
  EXPECT_EQ(log.entries.size(), 5u);
  s.resume();  // at 1 150 000
  log.entries.clear();
  s.advanceBy(100000);
  EXPECT_EQ(log.entries,
            (std::vector<std::string>{"mm@1183000", "mm@1216000", "mm@1249000", "tick@1250000"}));
}

TEST_F(SchedulerTest, AdvanceToCatchesUpAtMost250MsAndDropsTheRest) {
  s.start();
  s.advanceTo(100000);
  EXPECT_EQ(s.now(), 100000);
  s.advanceTo(2100000);  // a two-second stall
  EXPECT_EQ(s.now(), 350000);
  EXPECT_EQ(s.droppedUs(), 1750000);
  // Later wall times keep the dropped offset: no second catch-up.
  s.advanceTo(2200000);
  EXPECT_EQ(s.now(), 450000);
  size_t ticks = 0;
  for (const auto& e : log.entries) ticks += e.rfind("tick@", 0) == 0;
  EXPECT_EQ(ticks, 4u);  // 100, 200, 300, 400 ms of drive time
  // A wall clock that goes back moves nothing.
  s.advanceTo(2000000);
  EXPECT_EQ(s.now(), 450000);
}

TEST_F(SchedulerTest, AHandlerThatRestartsTheMultimediaEventRestartsItsPhaseWhileTheTickKeepsRunning) {
  // A movie switch inside the tick stops the 33 ms event, changes the movie and starts it again.
  s.setHandler(Timer::Tick, [this] {
    log.add(s, "tick");
    if (s.now() == 100000) {
      s.stopTimer(Timer::Multimedia);
      s.startTimer(Timer::Multimedia);
    }
  });
  s.start();
  s.advanceBy(300000);
  EXPECT_EQ(log.entries, (std::vector<std::string>{"mm@33000", "mm@66000", "mm@99000", "tick@100000",
                                                   "mm@133000", "mm@166000", "mm@199000", "tick@200000",
                                                   "mm@232000", "mm@265000", "mm@298000", "tick@300000"}));
}

TEST_F(SchedulerTest, AHandlerThatStopsATimerEndsItAndAHandlerCannotAdvanceTheClock) {
  s.setHandler(Timer::Multimedia, [this] {
    log.add(s, "mm");
    if (s.now() == 66000) s.stopTimer(Timer::Multimedia);
  });
  s.setHandler(Timer::Tick, [this] { EXPECT_THROW(s.advanceBy(1), std::logic_error); });
  s.start();
  s.advanceBy(400000);
  EXPECT_EQ(log.entries, (std::vector<std::string>{"mm@33000", "mm@66000"}));
  EXPECT_FALSE(s.isRunning(Timer::Multimedia));
  EXPECT_TRUE(s.isRunning(Timer::Tick));
}

TEST_F(SchedulerTest, AnEventExactlyAtTheTargetRunsAndOneAfterItWaits) {
  s.start();
  s.advanceBy(33000);
  EXPECT_EQ(log.entries, (std::vector<std::string>{"mm@33000"}));
  s.advanceBy(32999);
  EXPECT_EQ(log.entries.size(), 1u);
  s.advanceBy(1);
  EXPECT_EQ(log.entries.back(), "mm@66000");
}

}  // namespace
}  // namespace kestrel
