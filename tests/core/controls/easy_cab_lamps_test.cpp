// The easy cab window's lamps, status bar and reverser button.
#include "core/controls/easy_cab_lamps.h"

#include <gtest/gtest.h>

namespace kestrel {
namespace {

TEST(EasyCabLamps, NeutralPowerAndBrakeLamps) {
  ControlState c;
  TrainState t;
  EasyCabLamps l = easyCabLamps(c, t);
  EXPECT_EQ(l.neutral, kLampNeutral);
  for (uint32_t p : l.power) EXPECT_EQ(p, kLampWhite);
  for (uint32_t b : l.brake) EXPECT_EQ(b, kLampWhite);
  EXPECT_EQ(l.status, "");

  c.powerHandle = 6;  // six notches in use: KP1 to KP5 only
  l = easyCabLamps(c, t);
  EXPECT_EQ(l.neutral, kLampWhite);
  for (uint32_t p : l.power) EXPECT_EQ(p, kLampPower);

  c.powerHandle = 2;
  l = easyCabLamps(c, t);
  EXPECT_EQ(l.power[1], kLampPower);
  EXPECT_EQ(l.power[2], kLampWhite);

  c.powerHandle = 0;
  c.brakeHandle = -9;  // emergency of nine positions: KB1 to KB8 red (KB8 hidden)
  l = easyCabLamps(c, t);
  for (uint32_t b : l.brake) EXPECT_EQ(b, kLampBrake);
  EXPECT_EQ(l.neutral, kLampWhite);
  c.brakeHandle = -3;
  l = easyCabLamps(c, t);
  EXPECT_EQ(l.brake[2], kLampBrake);
  EXPECT_EQ(l.brake[3], kLampWhite);
}

TEST(EasyCabLamps, DoorStatusAndTheReverserButton) {
  ControlState c;
  TrainState t;
  t.doorsOpen = true;
  t.doorsCommandedOpen = true;
  EXPECT_EQ(easyCabLamps(c, t).status, "ドアが開いています");
  t.doorsCommandedOpen = false;
  EXPECT_EQ(easyCabLamps(c, t).status, "ドアを閉めています");
  EXPECT_EQ(easyCabReverserKey(1), U'b');
  EXPECT_EQ(easyCabReverserKey(-1), U'f');
  EXPECT_EQ(easyCabReverserKey(0), std::nullopt);
}

}  // namespace
}  // namespace kestrel
