// The gap to the ghost at the driver's place: negative while the driver is ahead, positive behind,
// any moment of a stand counting as being there; and its text.
#include "core/front/ghost_track.h"

#include <gtest/gtest.h>

#include "core/present/trackside_pictures.h"
#include "support/drive_rig.h"

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

// The ghost's mark on the remaining-distance bar stands where the bar's lower end would stand for
// the ghost's distance: at the driver's own place, on the bar's lower end.
TEST(GhostTrack, TheMarkOnTheRemainingBarIsWhereItsEndWouldBeForTheGhost) {
  test::DriveRig rig;
  rig.settings.Disp.MovieHeight = 600;
  Sprite& bar = rig.addSprite("img_unten_remain", 50);
  bar.height = 1200;  // a bar twice the movie's height, as the bar pictures are
  bar.width = 12;
  rig.rebuild();
  rig.train.distanceRun = 100'000;
  for (const double d : {5000.0, 1500.0}) {
    rig.train.distanceToStop = d;
    trackside::updateRemainingBar(rig.c());
    const auto here = ghostMark(rig.c(), rig.train.distanceRun);
    ASSERT_TRUE(here) << d;
    EXPECT_DOUBLE_EQ(here->y, bar.y + bar.height) << d;
    EXPECT_EQ(here->width, 12);
    // A ghost 5 m nearer the stop: its end of the bar stands lower.
    EXPECT_GT(ghostMark(rig.c(), rig.train.distanceRun + 500)->y, here->y) << d;
  }
  EXPECT_EQ(ghostMark(rig.c(), rig.train.distanceRun + 1'000'000), std::nullopt);  // off the bar's scale
  bar.visible = false;
  EXPECT_EQ(ghostMark(rig.c(), rig.train.distanceRun), std::nullopt);
}

}  // namespace
}  // namespace kestrel
