// The line-side pictures of the picture lists: the traffic lights' cycle, picture, cab indicator
// and notice; the animations' steps; the level-crossing picture; the places and the resets.
#include "core/present/lineside_pictures.h"

#include <gtest/gtest.h>

#include <vector>

#include "core/present/trackside_pictures.h"
#include "core/sim/notices.h"
#include "support/drive_rig.h"

namespace kestrel {
namespace {

// A light at frame 1000 shown from 500; phases (pattern, duration, flag): (1, 3, 0), (2, 2, 1)
// and four unused phases of duration 0 whose pattern 5 must never show.
TrafficSignalRow light(int32_t start = 500, int32_t end = 1000) {
  TrafficSignalRow r;
  r.f(1) = end;
  r.f(2) = start;
  r.f(3) = end;
  const int32_t phases[6][3] = {{1, 3, 0}, {2, 2, 1}, {5, 0, 0}, {5, 0, 0}, {5, 0, 1}, {5, 0, 0}};
  for (int p = 0; p < 6; ++p)
    for (int k = 0; k < 3; ++k) r.f(4 + 3 * p + k) = phases[p][k];
  return r;
}

struct LinesideTest : ::testing::Test {
  test::DriveRig rig;
  TrainState& t = rig.train;

  void SetUp() override {
    rig.settings.Disp.DisplayWidth = 800;
    rig.settings.Disp.MovieHeight = 600;
    for (const char* name : {kTrafficSignalListName, kAnimListName, kCrossListName})
      rig.addSprite(name, 20, false).pictureList = true;
    rig.addSprite("img_cabsignal", 8, false);
  }
  const Sprite& sprite(const char* name) { return *rig.sprites.find(name); }
  // The light picture after one tick: its pattern, or -1 while hidden.
  int lightAfterTick() {
    lineside::updateTrafficLights(rig.c());
    const Sprite& s = sprite(kTrafficSignalListName);
    return s.visible ? s.pattern : -1;
  }
};

TEST_F(LinesideTest, PlacesFollowTheViewAndTheSignalPicturesOffsetAndNothingShowsAtStart) {
  rig.line.SignalImageList[0].x = 10;
  rig.line.SignalImageList[0].y = -4;
  rig.sprites.find(kCrossListName)->visible = true;
  lineside::setUpLineside(rig.c());
  EXPECT_EQ(sprite(kTrafficSignalListName).x, 210);  // 10 + 0.25 x 800
  EXPECT_EQ(sprite(kTrafficSignalListName).y, 56);   // -4 + 0.1 x 600
  EXPECT_EQ(sprite(kAnimListName).x, 320);
  EXPECT_EQ(sprite(kAnimListName).y, 60);
  EXPECT_EQ(sprite(kCrossListName).x, 0);
  EXPECT_EQ(sprite(kCrossListName).y, 330);
  for (const char* name : {kTrafficSignalListName, kAnimListName, kCrossListName})
    EXPECT_FALSE(sprite(name).visible) << name;
}

// --- Traffic lights -------------------------------------------------------------------------

TEST_F(LinesideTest, TheLightCyclesThroughItsPhasesAndAPhaseOfDurationZeroKeepsThePicture) {
  rig.line.TrafficSignal = {light()};
  lineside::setUpLineside(rig.c());
  EXPECT_EQ(t.lineside.lights.at(0).phase, 0);
  EXPECT_EQ(t.lineside.lights.at(0).remaining, 3);
  t.MovieFrame = 700;
  // Phase 1 lasts 3 ticks, phase 2 two; each unused phase takes one tick of its own with the
  // picture of phase 2 left standing; then phase 1 again.
  std::vector<int> seen;
  for (int i = 0; i < 13; ++i) seen.push_back(lightAfterTick());
  EXPECT_EQ(seen, (std::vector<int>{1, 1, 2, 2, 2, 2, 2, 2, 1, 1, 1, 2, 2}));
}

TEST_F(LinesideTest, TheLightShowsOnlyInItsRangeAndIsClearedWithin15FramesOfItsEnd) {
  rig.line.TrafficSignal = {light()};
  lineside::setUpLineside(rig.c());
  t.MovieFrame = 499;
  EXPECT_EQ(lightAfterTick(), -1);
  // Entering the range mid-phase shows the phase at once.
  t.MovieFrame = 500;
  EXPECT_EQ(lightAfterTick(), 1);
  t.MovieFrame = 985;
  EXPECT_EQ(lightAfterTick(), 2);
  t.MovieFrame = 986;
  EXPECT_EQ(lightAfterTick(), -1);
  t.MovieFrame = 1000;
  EXPECT_EQ(lightAfterTick(), -1);
  // Backing out of the range takes the picture away too.
  t.MovieFrame = 700;
  EXPECT_NE(lightAfterTick(), -1);
  t.MovieFrame = 400;
  EXPECT_EQ(lightAfterTick(), -1);
}

TEST_F(LinesideTest, TheCycleRunsWhereverTheTrainIsAndTheFirstLightHoldingTheTrainIsShown) {
  TrafficSignalRow second = light(600, 2000);
  second.f(4) = 7;  // phase 1 shows picture 7
  rig.line.TrafficSignal = {light(), second};
  lineside::setUpLineside(rig.c());
  t.MovieFrame = 100;
  for (int i = 0; i < 3; ++i) EXPECT_EQ(lightAfterTick(), -1);
  // Three ticks away from the lights: both are in phase 2 now.
  t.MovieFrame = 700;
  EXPECT_EQ(lightAfterTick(), 2);
  EXPECT_EQ(t.lineside.lights.at(1).phase, 1);
  t.MovieFrame = 1500;  // only the second holds the train
  for (int i = 0; i < 5; ++i) lightAfterTick();
  EXPECT_EQ(t.lineside.lights.at(1).phase, 0);
  EXPECT_EQ(lightAfterTick(), 7);
}

struct IndicatorTest : LinesideTest {
  void SetUp() override {
    LinesideTest::SetUp();
    rig.settings.InfoLabel.assign(22, "");
    rig.settings.InfoLabel[21] = "道路信号が赤です";
    TrafficSignalRow r = light();
    r.f(22) = 1;
    r.f(23) = 1100;  // the indicator is driven past the light
    r.f(24) = 3;     // phases whose flag is not 1, with the notice
    r.f(25) = 6;     // phases whose flag is 1
    rig.line.TrafficSignal = {r};
    lineside::setUpLineside(rig.c());
  }
  void tick() {
    lineside::updateTrafficLights(rig.c());
    trackside::updateSignalPictures(rig.c());
    updateNotices(rig.c());
  }
  int cabCell() {
    const Sprite& s = sprite("img_cabsignal");
    return s.visible ? s.pattern : -1;
  }
};

TEST_F(IndicatorTest, TheCabIndicatorFollowsThePhaseFlagAndTheNoticeComesWithTheOtherPhases) {
  t.MovieFrame = 700;
  tick();  // phase 1, flag 0
  EXPECT_EQ(cabCell(), 3);
  EXPECT_EQ(t.noticeText, "0道路信号が赤です");
  EXPECT_EQ(t.texts.message, "道路信号が赤です");
  tick();
  tick();  // phase 2, flag 1
  EXPECT_EQ(cabCell(), 6);
  EXPECT_EQ(t.noticeText, "");
  // The unused phases (one of them flagged) change nothing: the indicator follows phase 2.
  for (int i = 0; i < 3; ++i) tick();
  EXPECT_EQ(cabCell(), 6);
}

TEST_F(IndicatorTest, TheNoticeIsClearedNearTheIndicatorsEndAndTheIndicatorGoesDarkBeyondIt) {
  t.MovieFrame = 1080;  // past the light's picture, still before field 23
  tick();
  EXPECT_EQ(sprite(kTrafficSignalListName).visible, false);
  EXPECT_EQ(cabCell(), 3);
  EXPECT_EQ(t.noticeText, "0道路信号が赤です");
  t.MovieFrame = 1086;  // within 15 frames of field 23
  tick();
  EXPECT_EQ(cabCell(), 3);
  EXPECT_EQ(t.noticeText, "");
  t.MovieFrame = 1100;
  tick();
  EXPECT_EQ(cabCell(), -1);
  EXPECT_EQ(t.lineside.indicatorCell, -1);
}

TEST_F(IndicatorTest, AShownSpeedCheckOutranksTheLightAndALightWithoutField22DrivesNothing) {
  t.MovieFrame = 700;
  t.signals.speedCheckImage = 5;
  tick();
  EXPECT_EQ(cabCell(), 5);
  t.signals.speedCheckImage = -1;
  TrafficSignalRow r = rig.line.TrafficSignal[0];
  r.f(22) = 0;
  rig.line.TrafficSignal = {r};
  tick();
  EXPECT_EQ(cabCell(), -1);
  EXPECT_EQ(t.noticeText, "");
  EXPECT_EQ(sprite(kTrafficSignalListName).visible, true);  // the light itself still shows
}

// --- Animations and level crossings ---------------------------------------------------------

AnimRow anim(int32_t start, int32_t end, int32_t ticksPerStep, int32_t first) {
  AnimRow r;
  r.f(1) = start;
  r.f(2) = end;
  r.f(3) = ticksPerStep;
  r.f(4) = first;
  return r;
}

TEST_F(LinesideTest, AnAnimationStepsAfterMoreThanItsTicksAndRunsFrom0To13AndBack) {
  rig.line.Anim = {anim(100, 200, 2, 3)};
  lineside::setUpLineside(rig.c());
  t.MovieFrame = 100;
  std::vector<int> seen;
  for (int i = 0; i < 45; ++i) {
    lineside::updateAnimations(rig.c());
    ASSERT_TRUE(sprite(kAnimListName).visible);
    seen.push_back(sprite(kAnimListName).pattern);
  }
  // A step every third tick: pictures 3 to 16, then 3 again.
  EXPECT_EQ(seen[0], 3);
  EXPECT_EQ(seen[1], 3);
  EXPECT_EQ(seen[2], 4);
  EXPECT_EQ(seen[38], 16);
  EXPECT_EQ(seen[41], 3);
  EXPECT_EQ(seen[44], 4);
  // Out of its range the animation is hidden and stands still.
  t.MovieFrame = 200;
  lineside::updateAnimations(rig.c());
  EXPECT_FALSE(sprite(kAnimListName).visible);
  EXPECT_EQ(t.lineside.animations.at(0).step, 1);
  EXPECT_EQ(t.lineside.animations.at(0).ticks, 0);
}

TEST_F(LinesideTest, AnAnimationWithNoTicksStepsEveryTickAndTheFirstRowHoldingTheTrainShows) {
  rig.line.Anim = {anim(100, 200, 0, 20), anim(150, 300, 0, 40)};
  lineside::setUpLineside(rig.c());
  t.MovieFrame = 160;
  for (int i = 0; i < 3; ++i) lineside::updateAnimations(rig.c());
  EXPECT_EQ(sprite(kAnimListName).pattern, 23);
  EXPECT_EQ(t.lineside.animations.at(1).step, 3);  // both run while they hold the train
  t.MovieFrame = 250;
  lineside::updateAnimations(rig.c());
  EXPECT_EQ(sprite(kAnimListName).pattern, 44);
}

TEST_F(LinesideTest, TheCrossingPictureShowsWhileACrossingsRangeHoldsTheTrain) {
  IntRow<5> near, far;
  near.field = {0, 300, 600, 1, 23, 600};
  far.field = {0, 500, 900, 0, 23, 900};
  rig.line.Cross = {near, far};
  lineside::setUpLineside(rig.c());
  auto shown = [&](int32_t frame) {
    t.MovieFrame = frame;
    lineside::updateCrossingPicture(rig.c());
    const Sprite& s = sprite(kCrossListName);
    return s.visible ? s.pattern : -1;
  };
  EXPECT_EQ(shown(299), -1);
  EXPECT_EQ(shown(300), 1);
  EXPECT_EQ(shown(550), 1);  // the first row holding the train
  EXPECT_EQ(shown(600), 0);
  EXPECT_EQ(shown(900), -1);
}

TEST_F(LinesideTest, AResetHidesThePicturesAndRestartsTheAnimationsButKeepsTheLightsCycles) {
  rig.line.TrafficSignal = {light()};
  rig.line.Anim = {anim(100, 2000, 0, 0)};
  IntRow<5> cross;
  cross.field = {0, 600, 800, 0, 23, 800};
  rig.line.Cross = {cross};
  TrafficSignalRow& r = rig.line.TrafficSignal[0];
  r.f(22) = 1;
  r.f(23) = 1000;
  lineside::setUpLineside(rig.c());
  t.MovieFrame = 700;
  for (int i = 0; i < 2; ++i) {
    lineside::updateTrafficLights(rig.c());
    lineside::updateAnimations(rig.c());
    lineside::updateCrossingPicture(rig.c());
  }
  for (const char* name : {kTrafficSignalListName, kAnimListName, kCrossListName})
    ASSERT_TRUE(sprite(name).visible) << name;
  ASSERT_TRUE(t.lineside.indicatorNotice);
  lineside::resetLineside(rig.c());
  for (const char* name : {kTrafficSignalListName, kAnimListName, kCrossListName})
    EXPECT_FALSE(sprite(name).visible) << name;
  EXPECT_EQ(t.lineside.indicatorCell, -1);
  EXPECT_FALSE(t.lineside.indicatorNotice);
  EXPECT_EQ(t.lineside.animations.at(0).step, 0);
  EXPECT_EQ(t.lineside.lights.at(0).remaining, 1);  // two ticks into phase 1, as before
}

}  // namespace
}  // namespace kestrel
