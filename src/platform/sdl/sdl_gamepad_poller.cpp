#include "platform/sdl/sdl_gamepad_poller.h"

#define SDL_MAIN_HANDLED
#include <SDL.h>

#include <algorithm>

namespace kestrel {

SdlGamepadPoller::SdlGamepadPoller() {
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  SDL_SetMainReady();
  if (SDL_InitSubSystem(SDL_INIT_JOYSTICK) != 0) {
    startError_ = SDL_GetError();
    return;
  }
  started_ = true;
  SDL_JoystickEventState(SDL_IGNORE);  // nobody reads SDL's event queue; the state is polled
}

SdlGamepadPoller::~SdlGamepadPoller() {
  if (!started_) return;
  if (joystick_) SDL_JoystickClose(joystick_);
  SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
}

GamepadState SdlGamepadPoller::poll() {
  if (!started_) return last_;
  SDL_JoystickUpdate();  // also notices joysticks plugged in or out
  if (joystick_ && !SDL_JoystickGetAttached(joystick_)) {
    SDL_JoystickClose(joystick_);
    joystick_ = nullptr;
  }
  if (!joystick_ && SDL_NumJoysticks() > 0) {
    joystick_ = SDL_JoystickOpen(0);
    if (joystick_) SDL_JoystickUpdate();  // the new device's values
  }
  // Unplugged: the handles stay where the controller left them.
  if (!joystick_) return last_;
  GamepadState state;
  const int axes = SDL_JoystickNumAxes(joystick_);
  if (axes > 0) state.x = SDL_JoystickGetAxis(joystick_, 0);
  if (axes > 1) state.y = SDL_JoystickGetAxis(joystick_, 1);
  const int buttons = std::min(SDL_JoystickNumButtons(joystick_), static_cast<int>(state.buttons.size()));
  for (int i = 0; i < buttons; ++i)
    state.buttons[static_cast<size_t>(i)] = SDL_JoystickGetButton(joystick_, i) != 0;
  last_ = state;
  return state;
}

}  // namespace kestrel
