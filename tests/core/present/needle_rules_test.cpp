// The needle rules with K = 255 / 360 and rounding half away from zero, worked out by hand: the
// speed needle's two scales and its dead zones, the ammeter's approach and modes, the pressure
// and voltage needles, the linear gauges, and the digital speed.
#include "core/present/needle_rules.h"

#include <gtest/gtest.h>

#include "support/drive_rig.h"

namespace kestrel {
namespace {

NeedleSection needle(double a0, double k, double k2 = 0, int32_t mode = 0) {
  NeedleSection n;
  n.file = "needle.bmp";
  n.a0 = a0;
  n.k = k;
  n.k2 = k2;
  n.mode = mode;
  return n;
}

TEST(SpeedNeedle, TheLowSpeedScaleBendsAtTenKmh) {
  const NeedleSection n = needle(30, 1.5, 3);
  EXPECT_EQ(needles::speedAngle(n, 5), 32);   // (5 x 3 + 30) x 255 / 360 = 31.875
  EXPECT_EQ(needles::speedAngle(n, 40), 74);  // (40 x 1.5 + 30 + 15) x 255 / 360 = 74.375
  // Both scales meet at 10 km/h: (10 x 3 + 30) and (10 x 1.5 + 30 + 15) are both 60 degrees.
  EXPECT_EQ(needles::speedAngle(n, 10), 43);                     // 60 x 255 / 360 = 42.5, half away from zero
  EXPECT_EQ(needles::speedAngle(needle(30, 1.5, 3), 9.99), 42);  // 59.97 degrees
  // Without a low-speed scale one scale runs throughout.
  EXPECT_EQ(needles::speedAngle(needle(30, 1.5), 5), 27);  // 37.5 x 255 / 360 = 26.5625
}

TEST(SpeedNeedle, StandsStillAtTopSpeedAndForSlowBackwardSpeeds) {
  const NeedleSection n = needle(30, 1.5, 3);
  EXPECT_FALSE(needles::speedAngle(n, 170));
  EXPECT_FALSE(needles::speedAngle(n, 160));
  EXPECT_TRUE(needles::speedAngle(n, 159.9));
  EXPECT_FALSE(needles::speedAngle(n, -0.5));
  EXPECT_FALSE(needles::speedAngle(n, -160));
  EXPECT_EQ(needles::speedAngle(n, -5), needles::speedAngle(n, 5));  // drawn by |v|
  EXPECT_EQ(needles::speedAngle(n, 0), 21);                          // 30 x 255 / 360 = 21.25
}

TEST(Ammeter, ApproachesTheTargetOvershootingOnTheWayUp) {
  // From 0 towards 100: 150 then back to 75; 112.5 -> 113, then 93.5 -> 94; 103, 98.5 -> 99; ...
  int32_t c = 0;
  std::vector<int32_t> shown;
  for (int i = 0; i < 5; ++i) shown.push_back(c = needles::ammeterStep(c, 100));
  EXPECT_EQ(shown, (std::vector<int32_t>{75, 94, 99, 100, 100}));
  // Towards a negative target (electric braking) it closes in from the zero side.
  c = 0;
  shown.clear();
  for (int i = 0; i < 9; ++i) shown.push_back(c = needles::ammeterStep(c, -100));
  EXPECT_EQ(shown, (std::vector<int32_t>{-50, -75, -88, -94, -97, -99, -100, -100, -100}));
  // Falling back to 0 it swings below zero and comes to rest at -1 A: round(-0.5) is -1.
  c = 100;
  shown.clear();
  for (int i = 0; i < 8; ++i) shown.push_back(c = needles::ammeterStep(c, 0));
  EXPECT_EQ(shown, (std::vector<int32_t>{-50, -25, -13, -7, -4, -2, -1, -1}));
}

TEST(Ammeter, ModesFollowTheReverser) {
  const NeedleSection signedNeedle = needle(10, 0.5, 0, 0);
  EXPECT_EQ(needles::ammeterAngle(signedNeedle, 100, 1), 43);    // (50 + 10) x 255 / 360 = 42.5
  EXPECT_EQ(needles::ammeterAngle(signedNeedle, 100, -1), -43);  // backwards: mirrored
  EXPECT_EQ(needles::ammeterAngle(signedNeedle, -100, 1), -28);  // (-50 + 10) x 255 / 360 = -28.33
  EXPECT_EQ(needles::ammeterAngle(signedNeedle, 500, 0), 0);     // neutral: rests at 0
  // An angle beyond the 32-bit range is mirrored at its end, not overflowed.
  EXPECT_EQ(needles::ammeterAngle(needle(0, 1e12), -1000000, -1), 2147483647);
  const NeedleSection absolute = needle(10, 0.5, 0, 1);
  EXPECT_EQ(needles::ammeterAngle(absolute, -100, 1), 43);
  EXPECT_EQ(needles::ammeterAngle(absolute, -100, 0), 0);
  const NeedleSection fixed = needle(64, 0.5, 0, 2);  // the raw zero angle, not converted
  EXPECT_EQ(needles::ammeterAngle(fixed, 300, 1), 64);
  EXPECT_EQ(needles::ammeterAngle(fixed, -300, 0), 64);
  EXPECT_FALSE(needles::ammeterAngle(needle(64, 0.5, 0, 3), 300, 1));
}

TEST(PressureNeedles, FixedPointAndDecimalValues) {
  // Voltmeter at 1500 V: (0.135 x 15 000 000 + 225 x 10 000) x K / 10 000 = 302.81.
  EXPECT_EQ(needles::fixedAngle(needle(225, 0.135), Fixed::fromInt(1500).raw()), 303);
  // A negative zero angle turns the other way: (0 - 90 x 10 000) x K / 10 000 = -63.75.
  EXPECT_EQ(needles::fixedAngle(needle(-90, 0.27), 0), -64);
  // Brake pipe, a decimal pressure: (490 x 0.27 + 225) x K = 253.09.
  EXPECT_EQ(needles::decimalAngle(needle(225, 0.27), 490), 253);
  LinearGauge bar;
  bar.baseY = 750;
  bar.k = 0.05;
  EXPECT_EQ(needles::linearY(bar, Fixed::fromInt(400).raw()), 730);
  EXPECT_EQ(needles::linearY(bar, Fixed::fromInt(390).raw()), 730);  // 19.5 -> 20, half away from zero
  // An author's extreme base and scale pin the bar at the 32-bit range instead of overflowing.
  bar.baseY = 2147483647;
  bar.k = 2147483647;
  EXPECT_EQ(needles::linearY(bar, -99999999), 2147483647);
  bar.baseY = -2147483648;
  EXPECT_EQ(needles::linearY(bar, 99999999), -2147483648);
}

struct NeedleDrive : ::testing::Test {
  test::DriveRig rig;
  void SetUp() override {
    rig.panel.Needle_Speed = needle(30, 1.5, 3);
    rig.panel.Needle_BC = needle(0, 1);
    rig.panel.Needle_MR = needle(0, 1);
    rig.panel.Needle_I = needle(0, 1);
    rig.panel.Needle_BC_L.baseY = 750;
    rig.panel.Needle_BC_L.k = 0.1;
    for (const char* name : {"img_Needle_speed", "img_Needle_BC", "img_Needle_MR", "img_Needle_I",
                             "img_Needle_BC_L", "img_Needle_MR_L"})
      rig.addSprite(name);
    rig.addSprite("img_digi_speed", 200, false);
  }
  int angle(const char* name) { return rig.sprites.find(name)->angle; }
};

TEST_F(NeedleDrive, TheTickSetsTheSpeedNeedleAndTheDigitalSpeed) {
  rig.train.speed = 40;
  needles::updateSpeedNeedle(rig.c());
  EXPECT_EQ(angle("img_Needle_speed"), 74);
  const Sprite& digits = *rig.sprites.find("img_digi_speed");
  EXPECT_TRUE(digits.visible);
  EXPECT_EQ(digits.pattern, 40);
  rig.train.speed = 12.5;  // half away from zero
  needles::updateSpeedNeedle(rig.c());
  EXPECT_EQ(digits.pattern, 13);
  rig.train.speed = -3.4;
  needles::updateSpeedNeedle(rig.c());
  EXPECT_EQ(digits.pattern, 3);
  EXPECT_EQ(angle("img_Needle_speed"), needles::speedAngle(rig.panel.Needle_Speed, 3.4));
  rig.train.speed = -0.5;  // the needle stays, the digits show 1
  const int before = angle("img_Needle_speed");
  needles::updateSpeedNeedle(rig.c());
  EXPECT_EQ(angle("img_Needle_speed"), before);
  EXPECT_EQ(digits.pattern, 1);
  rig.train.speed = 199.4;
  needles::updateSpeedNeedle(rig.c());
  EXPECT_EQ(digits.pattern, 199);
  EXPECT_EQ(angle("img_Needle_speed"), before);  // above 160 km/h the needle keeps its angle
  rig.train.speed = 200;                         // 200 km/h and more: the digits keep their last pattern
  needles::updateSpeedNeedle(rig.c());
  EXPECT_EQ(digits.pattern, 199);
}

TEST_F(NeedleDrive, FrameNeedlesReadTheCylindersByMcAndSkipMissingSprites) {
  rig.train.bcTrailer = Fixed::fromInt(300);
  rig.train.bcMotor = Fixed::fromInt(100);
  rig.train.mrPressure = Fixed::fromInt(720);
  rig.vehicle.Mc = 0;
  needles::FrameNeedleState state;
  needles::updateFrameNeedles(rig.c(), state);
  EXPECT_EQ(angle("img_Needle_BC"), 213);  // 300 x K = 212.5
  EXPECT_EQ(angle("img_Needle_MR"), 510);  // 720 x K
  EXPECT_EQ(rig.sprites.find("img_Needle_BC_L")->y, 720);
  rig.vehicle.Mc = 1;
  needles::updateFrameNeedles(rig.c(), state);
  EXPECT_EQ(angle("img_Needle_BC"), 71);  // 100 x K = 70.8
  EXPECT_EQ(rig.sprites.find("img_Needle_BC_L")->y, 740);
  // No voltmeter picture in this panel: nothing to set, nothing breaks.
  EXPECT_FALSE(rig.sprites.has("img_Needle_V"));
}

TEST_F(NeedleDrive, TheAmmeterNeedleMovesOneApproachStepPerFrame) {
  rig.train.ammeter = 100;
  rig.control.reverser = 1;
  needles::FrameNeedleState state;
  needles::updateFrameNeedles(rig.c(), state);
  EXPECT_EQ(state.shownCurrent, 75);
  EXPECT_EQ(angle("img_Needle_I"), 53);  // 75 x K = 53.1
  needles::updateFrameNeedles(rig.c(), state);
  EXPECT_EQ(state.shownCurrent, 94);
  rig.control.reverser = 0;
  needles::updateFrameNeedles(rig.c(), state);
  EXPECT_EQ(angle("img_Needle_I"), 0);
}

}  // namespace
}  // namespace kestrel
