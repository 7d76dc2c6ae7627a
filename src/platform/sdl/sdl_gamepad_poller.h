#pragma once
// GamepadPoller on SDL2's joystick API: the first joystick, its X and Y axes and buttons 0 to 15
// exactly as the device reports them. SDL starts with the joystick subsystem alone and without
// its signal handlers, so it lives beside Qt's event loop; joystick events are not queued, the
// state is read by polling. A controller plugged in or out between polls is picked up by the next
// one; without a controller every poll is the state last read (neutral before the first), so
// unplugging a controller moves no handle.
//
// Thread contract: one thread (the GUI thread); one poller per program.
#include <string>

#include "core/ports/gamepad_poller.h"

struct _SDL_Joystick;

namespace kestrel {

class SdlGamepadPoller final : public GamepadPoller {
 public:
  SdlGamepadPoller();
  ~SdlGamepadPoller() override;
  SdlGamepadPoller(const SdlGamepadPoller&) = delete;
  SdlGamepadPoller& operator=(const SdlGamepadPoller&) = delete;

  GamepadState poll() override;

  // Why SDL could not start its joystick subsystem (every poll is then neutral); empty when it did.
  const std::string& startError() const { return startError_; }

 private:
  bool started_ = false;
  std::string startError_;
  _SDL_Joystick* joystick_ = nullptr;
  GamepadState last_;
};

}  // namespace kestrel
