#include "platform/qt/key_translation.h"

namespace kestrel {

std::optional<VirtualKey> virtualKeyOf(int qtKey) {
  switch (qtKey) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return VirtualKey::Enter;
    case Qt::Key_Backspace:
      return VirtualKey::Backspace;
    case Qt::Key_ScrollLock:
      return VirtualKey::ScrollLock;
    case Qt::Key_Up:
      return VirtualKey::Up;
    case Qt::Key_Down:
      return VirtualKey::Down;
    case Qt::Key_PageUp:
      return VirtualKey::PageUp;
    case Qt::Key_PageDown:
      return VirtualKey::PageDown;
    default:
      break;
  }
  if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F12)
    return static_cast<VirtualKey>(static_cast<int>(VirtualKey::F1) + (qtKey - Qt::Key_F1));
  return std::nullopt;
}

KeyModifiers modifiersOf(Qt::KeyboardModifiers m) {
  return {m.testFlag(Qt::ShiftModifier), m.testFlag(Qt::ControlModifier), m.testFlag(Qt::AltModifier)};
}

TranslatedKey translateKey(const QKeyEvent& event) {
  TranslatedKey out;
  out.modifiers = modifiersOf(event.modifiers());
  out.key = virtualKeyOf(event.key());
  const QString text = event.text();
  // One character typed, control characters (Enter, Backspace) included.
  if (text.size() == 1 || (text.size() == 2 && text[0].isHighSurrogate())) {
    const uint code = text.toUcs4().value(0);
    if (code != 0x7F && code != 0x1B) out.typed = static_cast<char32_t>(code);
  }
  if (out.key == VirtualKey::F11 && !out.modifiers.shift && !out.modifiers.ctrl && !out.modifiers.alt)
    out.fullScreenToggle = true;
  return out;
}

int WheelNotches::add(int angleDeltaY) {
  rest_ += angleDeltaY;
  const int notches = rest_ / 120;
  rest_ -= notches * 120;
  return notches;
}

}  // namespace kestrel
