// The gap to the ghost at the driver's place: negative while the driver is ahead, positive behind,
// any moment of a stand counting as being there; and its text.
#include "core/front/ghost_track.h"

#include <gtest/gtest.h>

namespace kestrel {
namespace {

TEST(GhostTrack, TheGapIsTheDriversTimeLessTheGhostsAtTheSamePlace) {
  GhostTrack g;
  EXPECT_EQ(g.deltaAt(0, 0), std::nullopt);
  // 10 m/s for 10 s, a stand of 5 s at 100 m, then on at 10 m/s.
  g.add({0, 0, 0});
  g.add({10'000'000, 10'000, 100});
  g.add({15'000'000, 10'000, 100});
  g.add({20'000'000, 15'000, 150});
  EXPECT_DOUBLE_EQ(*g.deltaAt(8'000'000, 5'000), 3.0);    // behind: the ghost was here at 5 s
  EXPECT_DOUBLE_EQ(*g.deltaAt(2'000'000, 5'000), -3.0);   // ahead
  EXPECT_DOUBLE_EQ(*g.deltaAt(12'000'000, 10'000), 0.0);  // the ghost stood here then
  EXPECT_DOUBLE_EQ(*g.deltaAt(18'000'000, 10'000), 3.0);  // it had left 3 s before
  EXPECT_EQ(g.deltaAt(18'000'000, 20'000), std::nullopt);  // never got this far
  EXPECT_EQ(g.at(12'000'000)->frame, 100);
  EXPECT_EQ(g.at(-1)->frame, 0);
  EXPECT_DOUBLE_EQ(g.farthest(), 15'000);
}

TEST(GhostTrack, GapText) {
  EXPECT_EQ(ghostDeltaText(3.24), "+3.2 s");
  EXPECT_EQ(ghostDeltaText(-3.25), "-3.3 s");
  EXPECT_EQ(ghostDeltaText(0.04), "0.0 s");
  EXPECT_EQ(ghostDeltaText(-0.04), "0.0 s");
  EXPECT_EQ(ghostDeltaText(65.0), "+65.0 s");
}

}  // namespace
}  // namespace kestrel
