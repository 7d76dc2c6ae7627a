// The clock: its text at the hour boundaries, the hands of the analogue clock, and when the face
// is redrawn.
#include "core/sim/clock.h"

#include <gtest/gtest.h>

#include "support/drive_rig.h"

namespace kestrel {
namespace {

TEST(ClockTest, TheTextTurnsTheHourAt108000) {
  EXPECT_EQ(clockTextOf(107999), "00:59:59");
  EXPECT_EQ(clockTextOf(108000), "01:00:00");
  EXPECT_EQ(clockTextOf(0), "00:00:00");
  EXPECT_EQ(clockTextOf(29), "00:00:00");
  EXPECT_EQ(clockTextOf(30), "00:00:01");
  EXPECT_EQ(clockTextOf(1080000 + 2 * 1800 + 15 * 30), "10:02:15");
  EXPECT_EQ(clockTextOf(24 * 108000 + 30), "24:00:01");  // no wrap at midnight
}

TEST(ClockTest, HandsEndWhereTheirAnglesPoint) {
  test::DriveRig rig;
  rig.panel.Clock = {100, 200, 20};
  StationState& st = rig.train.stations;
  timecalc(rig.c(), 3 * 108000);  // 03:00:00
  EXPECT_TRUE(st.clockFace.drawn);
  // Hour at 90 degrees, round(0.6 x 20) = 12 long; the others straight up, 20 long.
  EXPECT_EQ(st.clockFace.hour.x, 37);
  EXPECT_EQ(st.clockFace.hour.y, 25);
  EXPECT_EQ(st.clockFace.minute.x, 25);
  EXPECT_EQ(st.clockFace.minute.y, 5);
  EXPECT_EQ(st.clockFace.second.x, 25);
  EXPECT_EQ(st.clockFace.second.y, 5);
  // 09:30:45: hour 285 degrees, minute 184.5, second 270.
  timecalc(rig.c(), 9 * 108000 + 30 * 1800 + 45 * 30);
  EXPECT_EQ(st.clockText, "09:30:45");
  EXPECT_EQ(st.clockFace.hour.x, 13);    // 25 + round(-11.6)
  EXPECT_EQ(st.clockFace.hour.y, 22);    // 25 - round(3.1)
  EXPECT_EQ(st.clockFace.minute.x, 23);  // 25 + round(-1.57)
  EXPECT_EQ(st.clockFace.minute.y, 45);  // 25 - round(-19.94)
  EXPECT_EQ(st.clockFace.second.x, 5);
  EXPECT_EQ(st.clockFace.second.y, 25);
}

TEST(ClockTest, TheFaceIsRedrawnOnlyWhenTheSecondsChange) {
  test::DriveRig rig;
  rig.panel.Clock = {100, 200, 20};
  StationState& st = rig.train.stations;
  timecalc(rig.c(), 1080000);
  const int32_t drawn = st.clockFace.revision;
  timecalc(rig.c(), 1080029);  // the same second
  EXPECT_EQ(st.clockFace.revision, drawn);
  timecalc(rig.c(), 1080030);
  EXPECT_EQ(st.clockFace.revision, drawn + 1);
  EXPECT_EQ(st.clockText, "10:00:01");
  // A vehicle without a [Clock] picture (x or y 0) still has the text.
  test::DriveRig bare;
  bare.panel.Clock = {0, 200, 20};
  timecalc(bare.c(), 1080030);
  EXPECT_EQ(bare.train.stations.clockText, "10:00:01");
  EXPECT_FALSE(bare.train.stations.clockFace.drawn);
  EXPECT_EQ(bare.train.stations.clockFace.revision, 0);
}

}  // namespace
}  // namespace kestrel
