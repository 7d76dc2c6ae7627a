#pragma once
// A GamepadPoller fake: every poll returns the state last set and is counted.
#include <initializer_list>

#include "core/ports/gamepad_poller.h"

namespace kestrel::test {

class FakeGamepad final : public GamepadPoller {
 public:
  GamepadState state;
  int polls = 0;

  GamepadState poll() override {
    ++polls;
    return state;
  }
  // The axes and the pressed buttons, every other button released.
  void set(int x, int y, std::initializer_list<int> pressed = {}) {
    state = GamepadState{x, y, {}};
    for (int b : pressed) state.buttons[static_cast<size_t>(b)] = true;
  }
};

}  // namespace kestrel::test
