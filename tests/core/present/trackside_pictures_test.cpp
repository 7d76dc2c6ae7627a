// The trackside pictures: the signal and cab-signal pictures, the stop marker, the stop lines in
// perspective, the remaining-distance bar, the gradient, speed-limit and other-signs posts.
#include "core/present/trackside_pictures.h"

#include <gtest/gtest.h>

#include "support/drive_rig.h"
#include "support/signal_line.h"
#include "support/station_line.h"

namespace kestrel {
namespace {

using Op = RecordingMixer::Op;

struct TracksideTest : ::testing::Test {
  test::DriveRig rig;
  TrainState& t = rig.train;

  void SetUp() override {
    rig.settings.Disp.MovieHeight = 600;
    for (const char* name :
         {"img_unten_signal", "img_unten_signal_S", "img_unten_signal_L", "img_unten_signal_R",
          "img_cabsignal", "img_unten_teimoku", "img_unten_teimokuS", "img_unten_teimokuM",
          "img_unten_teimokuE", "img_unten_remain", "img_unten_slope", "img_unten_limit", "img_unten_other"})
      rig.addSprite(name, 50);
    rig.rebuild();
  }
  const Sprite& sprite(const char* name) { return *rig.sprites.find(name); }
};

// --- Signal pictures ------------------------------------------------------------------------

struct SignalPicturesTest : TracksideTest {
  void SetUp() override {
    TracksideTest::SetUp();
    rig.vehicle.Sound_Atc = 56;
    rig.addWave(56);
    rig.line.SignalImageList[0].x = 10;
    rig.line.SignalImageList[0].y = 20;
    SignalRow row = test::signalRow({.kind = 6, .position = 1000});
    row.f(2) = 3;  // sub-signal plate
    // Fields 12 to 21: the signal, the left plate (with its cell), the right plate, the sub-signal.
    const int32_t places[] = {100, 50, 1, 40, 30, 0, 160, 30, 100, 180};
    for (int f = 12; f <= 21; ++f) row.f(f) = places[f - 12];
    rig.line.Signal = {row};
    t.signals.currentSignal = 0;
  }
  void draw(int32_t code) {
    t.currentCode = code;
    trackside::updateSignalPictures(rig.c());
  }
};

TEST_F(SignalPicturesTest, ANewCodeMovesAndSetsThePicturesAnUnchangedOneLeavesThem) {
  draw(21);
  EXPECT_EQ(sprite("img_unten_signal").x, 110);
  EXPECT_EQ(sprite("img_unten_signal").y, 70);
  EXPECT_EQ(sprite("img_unten_signal").pattern, 21);
  EXPECT_EQ(sprite("img_unten_signal_S").pattern, 3);
  EXPECT_EQ(sprite("img_unten_signal_S").y, 200);
  EXPECT_EQ(sprite("img_unten_signal_L").pattern, 1);
  EXPECT_EQ(sprite("img_unten_signal_L").x, 50);
  EXPECT_EQ(sprite("img_unten_signal_R").pattern, 0);  // field 17 is 0: no plate
  EXPECT_EQ(sprite("img_unten_signal_R").x, 170);
  // The same code again: nothing is moved or redrawn.
  rig.sprites.find("img_unten_signal")->x = 0;
  rig.sprites.find("img_unten_signal")->pattern = 7;
  draw(21);
  EXPECT_EQ(sprite("img_unten_signal").x, 0);
  EXPECT_EQ(sprite("img_unten_signal").pattern, 7);
  // Passing the signal (code 999) clears all four; the same code afterwards is drawn anew.
  draw(kNone999);
  for (const char* name :
       {"img_unten_signal", "img_unten_signal_S", "img_unten_signal_L", "img_unten_signal_R"})
    EXPECT_EQ(sprite(name).pattern, 0) << name;
  draw(21);
  EXPECT_EQ(sprite("img_unten_signal").pattern, 21);
  EXPECT_EQ(sprite("img_unten_signal").x, 110);
  // A cab-signal kind has no trackside head for types 0 and 1.
  rig.line.Signal[0].f(4) = 9;
  draw(36);
  EXPECT_EQ(sprite("img_unten_signal").pattern, 0);
  EXPECT_FALSE(sprite("img_cabsignal").visible);
  EXPECT_TRUE(rig.mixer.operationsOn(56, Op::PlayOnce).empty());
}

TEST_F(SignalPicturesTest, CabSignallingRingsOnEveryChangeAndShowsCodesFrom35) {
  rig.vehicle.ATS_Type = 2;
  rig.line.Signal[0].f(4) = 9;
  draw(37);
  EXPECT_EQ(rig.mixer.operationsOn(56, Op::PlayOnce).size(), 1u);
  EXPECT_EQ(sprite("img_unten_signal").pattern, 37);
  EXPECT_EQ(sprite("img_unten_signal").x, 0);  // the pictures keep their places
  EXPECT_TRUE(sprite("img_cabsignal").visible);
  EXPECT_EQ(sprite("img_cabsignal").pattern, 2);
  draw(37);
  EXPECT_EQ(rig.mixer.operationsOn(56, Op::PlayOnce).size(), 1u);
  draw(kNone999);  // near the signal the cab signal keeps its aspect
  EXPECT_TRUE(sprite("img_cabsignal").visible);
  rig.line.Signal[0].f(4) = 6;
  draw(22);
  EXPECT_EQ(sprite("img_unten_signal").pattern, 0);
  EXPECT_FALSE(sprite("img_cabsignal").visible);
  // A speed-check section shows its cell instead.
  t.signals.speedCheckImage = 4;
  draw(22);
  EXPECT_TRUE(sprite("img_cabsignal").visible);
  EXPECT_EQ(sprite("img_cabsignal").pattern, 4);
}

// --- Stop marker, stop lines, remaining-distance bar ------------------------------------------

TEST_F(TracksideTest, TheStopMarkerNamesTheStationFromTheFirstTickOfTheVisit) {
  rig.line.Station = {test::stationRow({.name = "鷹見", .stopCm = 10000}),
                      test::stationRow({.name = "東鷹見", .type = 1, .stopCm = 50000}),
                      test::stationRow({.name = "緑町", .stopCm = 90000})};
  t.stations.visits.assign(3, {});
  t.distanceRun = 30000;
  rig.sprites.setPattern("img_unten_teimoku", 1);
  trackside::updateStopMarker(rig.c());
  EXPECT_EQ(sprite("img_unten_teimoku").pattern, 0);
  t.distanceRun = 50000;  // a passing station's platform: no marker
  trackside::updateStopMarker(rig.c());
  EXPECT_EQ(sprite("img_unten_teimoku").pattern, 0);
  t.distanceRun = 89600;
  trackside::updateStopMarker(rig.c());
  EXPECT_EQ(sprite("img_unten_teimoku").pattern, 3);
  rig.sprites.setPattern("img_unten_teimoku", 9);
  t.stations.visits[2].visited = true;  // later ticks of the visit leave it
  trackside::updateStopMarker(rig.c());
  EXPECT_EQ(sprite("img_unten_teimoku").pattern, 9);
}

TEST_F(TracksideTest, TheStopLinesStandInPerspectiveOverTheLast100Metres) {
  rig.line.Station = {test::stationRow({.name = "緑町", .halfWidthCm = 500})};
  rig.line.PerspectiveValues = {20, 100};
  auto lines = [&](double d) {
    t.distanceToStop = d;
    trackside::updateStopLines(rig.c());
  };
  lines(5000);
  EXPECT_EQ(sprite("img_unten_teimokuM").y, 529);  // round(600 - 50 / 70 x 100)
  EXPECT_EQ(sprite("img_unten_teimokuM").height, 1);
  EXPECT_EQ(sprite("img_unten_teimokuS").y, 531);  // 45 m
  EXPECT_EQ(sprite("img_unten_teimokuS").height, 0);
  EXPECT_EQ(sprite("img_unten_teimokuE").y, 527);  // 55 m
  EXPECT_EQ(sprite("img_unten_teimokuE").height, 0);
  lines(1000);  // the last 20 m: thicker, from the stop's distance for all three
  for (const char* name : {"img_unten_teimokuS", "img_unten_teimokuM", "img_unten_teimokuE"})
    EXPECT_EQ(sprite(name).height, 3) << name;  // round(2.5), half away from zero
  lines(400);                                   // the platform start line is passed
  EXPECT_EQ(sprite("img_unten_teimokuS").y, -100);
  EXPECT_GT(sprite("img_unten_teimokuM").y, 0);
  lines(10000);
  EXPECT_EQ(sprite("img_unten_teimokuM").y, -100);
  // Without a perspective distance no line is ever shown.
  rig.line.PerspectiveValues = {0, 100};
  lines(5000);
  for (const char* name : {"img_unten_teimokuS", "img_unten_teimokuM", "img_unten_teimokuE"})
    EXPECT_EQ(sprite(name).y, -100) << name;
}

TEST_F(TracksideTest, TheRemainingDistanceBarSlidesOnTwoScales) {
  struct Case {
    double d;
    bool visible;
    int pattern;
    double y;
  };
  for (const Case& c : std::vector<Case>{{20000, false, 0, 0},
                                         {19999, true, 0, -1200},
                                         {10000, true, 0, -900},
                                         {9999, true, 1, -900},
                                         {5000, true, 1, -750},
                                         {4999, true, 2, -750},
                                         {2000, true, 2, -660},
                                         {1999, true, 2, -1200},
                                         {0, true, 2, -600},
                                         {-1, true, 3, -600},
                                         {-2000, true, 3, 0},
                                         {-2001, false, 0, 0}}) {
    t.distanceToStop = c.d;
    trackside::updateRemainingBar(rig.c());
    const Sprite& bar = sprite("img_unten_remain");
    EXPECT_EQ(bar.visible, c.visible) << c.d;
    if (!c.visible) continue;
    EXPECT_EQ(bar.pattern, c.pattern) << c.d;
    EXPECT_EQ(bar.y, c.y) << c.d;
  }
}

// --- Posts ------------------------------------------------------------------------------------

TEST_F(TracksideTest, TheGradientPostChangesOnlyWithTheGradient) {
  rig.line.Slope = {
      {Fixed::fromInt(5), 100, 200}, {Fixed::fromInt(5), 200, 300}, {Fixed::fromInt(-10), 400, 500}};
  auto at = [&](int32_t frame) {
    t.MovieFrame = frame;
    trackside::updateGradientPost(rig.c());
    return sprite("img_unten_slope").pattern;
  };
  EXPECT_EQ(at(150), 1);
  EXPECT_EQ(t.headGradient, Fixed::fromInt(5));
  EXPECT_EQ(t.trackside.gradientText, "5.0");
  EXPECT_EQ(at(200), 1);  // between two rows that meet: unchanged
  EXPECT_EQ(at(250), 1);  // the same gradient in the next row: the first row's post stays
  EXPECT_EQ(at(350), 0);  // a level stretch
  EXPECT_EQ(t.headGradient, Fixed());
  EXPECT_EQ(t.trackside.gradientText, "L");
  EXPECT_EQ(at(450), 3);
  EXPECT_EQ(t.trackside.gradientText, "-10.0");
  EXPECT_EQ(t.trackside.gradientAbsText, "10.0");
  EXPECT_EQ(at(600), 0);  // beyond the last row
  EXPECT_EQ(t.trackside.gradientAbsText, "L");
}

TEST_F(TracksideTest, TheLimitPostBlinksWithinBrakingDistanceAndShowsASecondPostBeyond) {
  SpeedLimitRow row;
  row.field = {0, 45, 2, 1, 1000, 2000, 4};  // limit, cell, kind, start, end, second post
  row.startCm = 100000;
  rig.line.SpeedLimit = {row};
  auto at = [&](int32_t frame, double cm, double speed) {
    t.MovieFrame = frame;
    t.distanceRun = cm;
    t.speed = speed;
    trackside::updateLimitPost(rig.c());
    return sprite("img_unten_limit").pattern;
  };
  // From 60 km/h the train needs round((45 + 60) x 15 / 21.6 + 60) = 133 m.
  EXPECT_EQ(at(500, 86700, 60), 0);
  EXPECT_FALSE(t.trackside.limitBlinking);
  EXPECT_EQ(at(510, 86800, 60), 2);
  EXPECT_TRUE(t.trackside.limitBlinking);
  auto blinkAt = [&](int32_t tick) {
    t.tickCount = tick;
    trackside::blinkLimitPost(rig.c());
    return sprite("img_unten_limit").visible;
  };
  EXPECT_FALSE(blinkAt(5));
  EXPECT_FALSE(blinkAt(7));
  EXPECT_TRUE(blinkAt(10));
  EXPECT_FALSE(blinkAt(15));
  // In the limit: steady.
  EXPECT_EQ(at(1500, 150000, 45), 2);
  EXPECT_FALSE(t.trackside.limitBlinking);
  EXPECT_TRUE(sprite("img_unten_limit").visible);
  // Past its end the second post for 200 frames, then none.
  EXPECT_EQ(at(2100, 210000, 45), 4);
  EXPECT_EQ(at(2250, 225000, 45), 0);
}

TEST_F(TracksideTest, OtherSignsFollowTheirRangeAndTimeCondition) {
  // Cell, start, end, time condition.
  IntRow<4> always, brief, fromTime;
  always.field = {0, 3, 100, 200, 0};
  brief.field = {0, 2, 300, 400, 2};  // 20 ticks
  fromTime.field = {0, 1, 500, 600, 1080000};
  rig.line.Sign = {always, brief, fromTime};
  auto at = [&](int32_t frame, int32_t tick) {
    t.MovieFrame = frame;
    t.tickCount = tick;
    trackside::updateOtherSign(rig.c());
    return sprite("img_unten_other").pattern;
  };
  EXPECT_EQ(at(100, 0), 3);
  EXPECT_EQ(at(200, 1), 0);  // the end is outside
  EXPECT_EQ(at(300, 10), 2);
  EXPECT_EQ(at(350, 29), 2);
  EXPECT_EQ(at(360, 30), 0);
  t.TickCounter = 1079999;
  EXPECT_EQ(at(550, 40), 0);
  t.TickCounter = 1080000;
  EXPECT_EQ(at(550, 41), 1);
}

}  // namespace
}  // namespace kestrel
