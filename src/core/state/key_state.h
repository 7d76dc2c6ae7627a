#pragma once
// State that belongs to the keyboard and mouse handlers rather than to a device record.
#include <cstdint>
#include <deque>
#include <optional>
#include <string>

namespace kestrel {

// The controller kinds of the "Controller(&C)" menu; one is in force at a time. Standard is the
// keyboard and the serial controller only; the others are game controllers polled every tick.
enum class ControllerKind { Standard, WindowsGo, PsGo, Ohc };

// Lives for the whole program run (the desktop program owns one; the runner makes one per run).
struct ProgramInputState {
  bool swapKeys = false;  // Scroll Lock: "2" and "8" exchanged before anything looks at them
  ControllerKind controllerKind = ControllerKind::Standard;
  int64_t lastPadSignature = 0;  // USBScan: X + Y + B + L of the last poll that changed anything
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
  // Characters posted by the mouse wheel, the serial controller and the game controllers; they
  // reach AsciiDown after the message being handled, in the order posted. A carriage return
  // stands for the Enter key pressed: the call-out key, then the character it types.
  std::deque<char32_t> postedCharacters;

  // The serial controller's last command text as it arrived (its carriage return and whatever
  // followed it included), empty until the first one. The value display window shows it as its
  // caption, for diagnosis.
  std::string serialCommandText;
  // "デバッグオプション(&D)" is checked: every game-controller poll that changed something leaves
  // "X:<x> Y:<y>" in padDebugCaption, which the cab window takes as its caption (and clears).
  bool padDebug = false;
  std::optional<std::string> padDebugCaption;
};

}  // namespace kestrel
