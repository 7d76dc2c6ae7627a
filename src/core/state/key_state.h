#pragma once
// State that belongs to the keyboard and mouse handlers rather than to a device record.
#include <cstdint>
#include <deque>
#include <string>

namespace kestrel {

// Lives for the whole program run (the desktop program owns one; the runner makes one per run).
struct ProgramInputState {
  bool swapKeys = false;  // Scroll Lock: "2" and "8" exchanged before anything looks at them
};

// Per cab session.
struct KeyState {
  int32_t doorSide = 0;              // Page Up 0, Page Down 1; only displayed
  std::string oneManText;            // shown on one-man lines
  bool autoRun = false;              // Shift+F1 / F1; each multimedia event sets speed = UnitsPerFrame
  bool resistanceOff = false;        // the value display's "抵抗解除" button
  bool hornHeld = false;             // "3" with a [Sound_Horn4] sequence, until its key is released
  bool buzzerHeld = false;           // "4", until its key is released
  bool hornPressed = false;          // set with hornHeld; the sound rules take it on their next tick,
  bool buzzerPressed = false;        // so that a press released before that tick still sounds
  bool valueDisplayVisible = false;  // F3
  int32_t cabDisplayTop = 0;         // px; Shift+Up / Shift+Down move it by 50
  int32_t announceIndex = 0;
  bool passengerArmed = false;
  int32_t passengerArmClock = 0;
  // The value display's caption: the last serial command text, shown for diagnosis. Empty until
  // a command arrives; the window then keeps the caption it shows.
  std::string valueDisplayCaption;
  // Characters posted by the mouse wheel (and later other devices); they reach AsciiDown after
  // the message being handled, in the order posted.
  std::deque<char32_t> postedCharacters;
};

}  // namespace kestrel
