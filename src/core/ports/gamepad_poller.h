#pragma once
// Port: the first attached game controller, polled once per tick.
#include <array>

namespace kestrel {

struct GamepadState {
  int x = 0;  // axis values exactly as the device reports them
  int y = 0;
  std::array<bool, 16> buttons{};
};

class GamepadPoller {
 public:
  virtual ~GamepadPoller() = default;
  // No controller attached (or it went away): the state last read, unchanged, so that nothing
  // happens; the neutral state (all zero) when none was ever read.
  virtual GamepadState poll() = 0;
};

}  // namespace kestrel
