#pragma once
// The virtual keys that the cab window's key handlers know, and the shift state with them. Every
// device ends in this vocabulary or in typed characters.
#include <optional>
#include <string_view>

namespace kestrel {

enum class VirtualKey {
  Enter,
  Backspace,
  ScrollLock,
  Up,
  Down,
  PageUp,
  PageDown,
  F1,
  F2,
  F3,
  F4,
  F5,
  F6,
  F7,
  F8,
  F9,
  F10,
  F11,
  F12,
};

struct KeyModifiers {
  bool shift = false, ctrl = false, alt = false;
  // "Shift" in the key table: the shift state is exactly Shift alone.
  bool shiftOnly() const { return shift && !ctrl && !alt; }
  static KeyModifiers none() { return {}; }
  static KeyModifiers shifted() { return {true, false, false}; }
};

// "Enter", "F5", "PageUp" ... as the runner's scripts name them; nullopt for an unknown name.
std::optional<VirtualKey> virtualKeyFromName(std::string_view name);
std::string_view virtualKeyName(VirtualKey key);

}  // namespace kestrel
