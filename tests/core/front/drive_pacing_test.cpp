// The desktop clock's sleep until the next event of the drive.
#include "core/front/drive_pacing.h"

#include <gtest/gtest.h>

namespace kestrel {
namespace {

TEST(DrivePacing, SleepsUntilTheNextEventRoundedUpWithinOneAndTheIdleTime) {
  Scheduler s;
  EXPECT_EQ(msUntilNextEvent(s, 0), 50);  // nothing runs: the idle time
  s.start();
  EXPECT_EQ(msUntilNextEvent(s, 0), 33);
  EXPECT_EQ(msUntilNextEvent(s, 32500), 1);  // 0.5 ms rounds up
  EXPECT_EQ(msUntilNextEvent(s, 40000), 1);  // overdue: at once, never 0
  s.advanceTo(33000);
  EXPECT_EQ(msUntilNextEvent(s, 33000), 33);  // 66 000 next, before the tick at 100 000
  s.advanceTo(99000);
  EXPECT_EQ(msUntilNextEvent(s, 99000), 1);  // the tick at 100 000
  // After a stall the dropped time shifts the drive's clock against the wall clock.
  s.advanceTo(2000000);
  EXPECT_GT(s.droppedUs(), 0);
  const int64_t wall = s.now() + s.droppedUs();
  EXPECT_EQ(msUntilNextEvent(s, wall),
            static_cast<int>((s.nextDue(Scheduler::Timer::Multimedia) - s.now() + 999) / 1000));
  EXPECT_EQ(msUntilNextEvent(s, 0, 20), 20);  // far ahead: at most the idle time
}

}  // namespace
}  // namespace kestrel
