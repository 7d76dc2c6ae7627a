// The line-side pictures in a running session: the tick shows the traffic light, the animation
// and the crossing picture where the train is, and the station jump and the restore take them
// away until the next tick draws the new place.
#include <gtest/gtest.h>

#include <memory>

#include "core/front/cab_session.h"
#include "core/front/drive_restore.h"
#include "support/drive_rig.h"
#include "support/station_line.h"

namespace kestrel {
namespace {

struct SessionLinesideTest : ::testing::Test {
  test::DriveRig rig;
  std::unique_ptr<CabSession> session;

  void SetUp() override {
    rig.line.StartPos = 100;
    rig.line.Station = {test::stationRow({"A", 0, 100, 10000}), test::stationRow({"B", 0, 1000, 40000})};
    rig.line.soundLengths = {2, 5};
    // A light over both stations (pictures 1 and 2), an animation and a crossing at the first.
    TrafficSignalRow light;
    light.field = {0, 3000, 50, 3000, 1, 30, 0, 2, 30, 0};
    rig.line.TrafficSignal = {light};
    AnimRow anim;
    anim.field = {0, 0, 200, 0, 1};
    rig.line.Anim = {anim};
    IntRow<5> cross;
    cross.field = {0, 50, 200, 1, 22, 200};
    rig.line.Cross = {cross};
    auto list = [](PictureList& l, const char* name, int n) {
      for (int i = 0; i < n; ++i)
        l.pictures.push_back({.name = name + std::to_string(i), .width = 20, .height = 40});
    };
    list(rig.pictures.TrafficSignalImageList, kTrafficSignalListName, 3);
    list(rig.pictures.AnimImageList, kAnimListName, 15);
    list(rig.pictures.CrossImageList, kCrossListName, 2);
    session = std::make_unique<CabSession>(
        CabSession::Records{rig.settings, rig.vehicle, rig.panel, rig.line, rig.pictures}, rig.mixer,
        rig.program);
    session->start();
  }
  const Sprite& sprite(const char* name) { return *session->sprites().find(name); }
  bool shown(const char* name) { return sprite(name).visible; }
  void tick() { session->scheduler().advanceBy(100000); }
};

TEST_F(SessionLinesideTest, TheTickShowsThePicturesOfThePlaceAndAJumpClearsThemUntilTheNextTick) {
  EXPECT_FALSE(shown(kTrafficSignalListName));
  tick();
  EXPECT_TRUE(shown(kTrafficSignalListName));
  EXPECT_EQ(sprite(kTrafficSignalListName).pattern, 1);
  EXPECT_TRUE(shown(kAnimListName));
  EXPECT_EQ(sprite(kAnimListName).pattern, 2);  // a step on the first tick: field 3 is 0
  EXPECT_TRUE(shown(kCrossListName));
  EXPECT_EQ(sprite(kCrossListName).pattern, 1);

  ASSERT_TRUE(session->StationClick(1));
  EXPECT_FALSE(shown(kTrafficSignalListName));
  EXPECT_FALSE(shown(kAnimListName));
  EXPECT_FALSE(shown(kCrossListName));
  tick();
  EXPECT_TRUE(shown(kTrafficSignalListName));  // the light stands at B too
  EXPECT_FALSE(shown(kAnimListName));
  EXPECT_FALSE(shown(kCrossListName));
}

TEST_F(SessionLinesideTest, ARestoreClearsThePicturesAndRestartsTheAnimation) {
  for (int i = 0; i < 5; ++i) tick();
  ASSERT_EQ(session->train().lineside.animations.at(0).step, 5);
  SavedDrive d;
  d.MovieFrame = 120;
  d.distanceRun = 12000;
  restoreSavedDrive(*session, d);
  EXPECT_FALSE(shown(kAnimListName));
  EXPECT_FALSE(shown(kCrossListName));
  EXPECT_EQ(session->train().lineside.animations.at(0).step, 0);
  tick();
  EXPECT_EQ(sprite(kAnimListName).pattern, 2);
  EXPECT_TRUE(shown(kCrossListName));
}

}  // namespace
}  // namespace kestrel
