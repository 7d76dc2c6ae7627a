#pragma once
// Qt key events in the cab window's vocabulary: the typed character that AsciiDown takes and the
// virtual key with its exact shift state that keydowns and keyups take. A key may give both (Enter
// is the call-out key and types a carriage return, as on the system the key map was made for).
#include <QKeyEvent>
#include <optional>

#include "core/controls/virtual_key.h"

namespace kestrel {

struct TranslatedKey {
  std::optional<char32_t> typed;
  std::optional<VirtualKey> key;
  KeyModifiers modifiers;
  bool fullScreenToggle = false;  // F11 alone: the window's own key
};

std::optional<VirtualKey> virtualKeyOf(int qtKey);
KeyModifiers modifiersOf(Qt::KeyboardModifiers modifiers);
TranslatedKey translateKey(const QKeyEvent& event);

// Wheel turns into notches of 120 units (a finer wheel adds up until a notch is full).
class WheelNotches {
 public:
  // The notches this event completes: positive away from the user (up), negative towards (down).
  int add(int angleDeltaY);

 private:
  int rest_ = 0;
};

}  // namespace kestrel
