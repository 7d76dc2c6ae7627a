// SdlGamepadPoller against SDL's virtual joystick: no controller is the neutral state, the first
// joystick's axes and buttons pass through unchanged, unplugging keeps the state last read (a
// drive's handles stay put), and plugging in again between polls is picked up.
#include "platform/sdl/sdl_gamepad_poller.h"

#include <gtest/gtest.h>

#define SDL_MAIN_HANDLED
#include <SDL.h>

#include <memory>

#include "core/controls/gamepad_scan.h"
#include "support/drive_rig.h"

namespace kestrel {
namespace {

bool neutral(const GamepadState& s) {
  for (bool b : s.buttons)
    if (b) return false;
  return s.x == 0 && s.y == 0;
}

// A virtual controller with two axes and sixteen buttons, as joystick 0.
struct VirtualPad {
  int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 2, 16, 0);
  SDL_Joystick* joystick = index >= 0 ? SDL_JoystickOpen(index) : nullptr;

  ~VirtualPad() { unplug(); }
  void unplug() {
    if (joystick) SDL_JoystickClose(joystick);
    if (index >= 0) SDL_JoystickDetachVirtual(index);
    joystick = nullptr;
    index = -1;
  }
};

TEST(SdlGamepadPoller, ReadsTheFirstJoystickAsItReportsAndFollowsItInAndOut) {
  SdlGamepadPoller poller;
  ASSERT_EQ(poller.startError(), "");
  if (SDL_NumJoysticks() > 0) GTEST_SKIP() << "a real game controller is attached";
  EXPECT_TRUE(neutral(poller.poll()));

  auto pad = std::make_unique<VirtualPad>();
  ASSERT_NE(pad->joystick, nullptr) << SDL_GetError();
  SDL_JoystickSetVirtualAxis(pad->joystick, 0, -32768);
  SDL_JoystickSetVirtualAxis(pad->joystick, 1, 12000);
  for (int b : {0, 7, 15}) SDL_JoystickSetVirtualButton(pad->joystick, b, 1);
  GamepadState s = poller.poll();
  EXPECT_EQ(s.x, -32768);
  EXPECT_EQ(s.y, 12000);
  for (int b = 0; b < 16; ++b) EXPECT_EQ(s.buttons[static_cast<size_t>(b)], b == 0 || b == 7 || b == 15) << b;

  SDL_JoystickSetVirtualAxis(pad->joystick, 0, 32767);
  SDL_JoystickSetVirtualButton(pad->joystick, 7, 0);
  s = poller.poll();
  EXPECT_EQ(s.x, 32767);
  EXPECT_FALSE(s.buttons[7]);

  pad->unplug();
  for (int i = 0; i < 2; ++i) {
    s = poller.poll();
    EXPECT_EQ(s.x, 32767);
    EXPECT_EQ(s.y, 12000);
    EXPECT_TRUE(s.buttons[0] && s.buttons[15] && !s.buttons[7]);
  }

  pad = std::make_unique<VirtualPad>();
  ASSERT_NE(pad->joystick, nullptr) << SDL_GetError();
  SDL_JoystickSetVirtualAxis(pad->joystick, 1, -6000);
  EXPECT_EQ(poller.poll().y, -6000);
}

TEST(SdlGamepadPoller, UnpluggingTheControllerMidDriveMovesNoHandleAndPluggingItBackDrivesOn) {
  SdlGamepadPoller poller;
  if (SDL_NumJoysticks() > 0) GTEST_SKIP() << "a real game controller is attached";
  test::DriveRig rig;
  rig.program.controllerKind = ControllerKind::WindowsGo;
  auto pad = std::make_unique<VirtualPad>();
  ASSERT_NE(pad->joystick, nullptr) << SDL_GetError();
  SDL_JoystickSetVirtualAxis(pad->joystick, 0, 5000);   // brake step 3
  SDL_JoystickSetVirtualAxis(pad->joystick, 1, -6000);  // power notch 2
  USBScan(rig.c(), poller);
  ASSERT_EQ(rig.control.brakeHandle, -3);
  ASSERT_EQ(rig.control.powerHandle, 2);

  pad->unplug();
  for (int tick = 0; tick < 3; ++tick) USBScan(rig.c(), poller);
  EXPECT_EQ(rig.control.brakeHandle, -3);
  EXPECT_EQ(rig.control.powerHandle, 2);

  // Plugged back in: the handles follow it from its next poll.
  pad = std::make_unique<VirtualPad>();
  ASSERT_NE(pad->joystick, nullptr) << SDL_GetError();
  SDL_JoystickSetVirtualAxis(pad->joystick, 0, 0);       // brake released
  SDL_JoystickSetVirtualAxis(pad->joystick, 1, -25000);  // power notch 4
  USBScan(rig.c(), poller);
  EXPECT_EQ(rig.control.brakeHandle, 0);
  EXPECT_EQ(rig.control.powerHandle, 4);
}

}  // namespace
}  // namespace kestrel
