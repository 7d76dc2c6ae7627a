#include "core/controls/virtual_key.h"

#include <array>
#include <utility>

namespace kestrel {

namespace {

constexpr std::array<std::pair<VirtualKey, std::string_view>, 19> kNames{{
    {VirtualKey::Enter, "Enter"},
    {VirtualKey::Backspace, "Backspace"},
    {VirtualKey::ScrollLock, "ScrollLock"},
    {VirtualKey::Up, "Up"},
    {VirtualKey::Down, "Down"},
    {VirtualKey::PageUp, "PageUp"},
    {VirtualKey::PageDown, "PageDown"},
    {VirtualKey::F1, "F1"},
    {VirtualKey::F2, "F2"},
    {VirtualKey::F3, "F3"},
    {VirtualKey::F4, "F4"},
    {VirtualKey::F5, "F5"},
    {VirtualKey::F6, "F6"},
    {VirtualKey::F7, "F7"},
    {VirtualKey::F8, "F8"},
    {VirtualKey::F9, "F9"},
    {VirtualKey::F10, "F10"},
    {VirtualKey::F11, "F11"},
    {VirtualKey::F12, "F12"},
}};

}  // namespace

std::optional<VirtualKey> virtualKeyFromName(std::string_view name) {
  for (const auto& [key, text] : kNames)
    if (text == name) return key;
  return std::nullopt;
}

std::string_view virtualKeyName(VirtualKey key) {
  for (const auto& [k, text] : kNames)
    if (k == key) return text;
  return "";
}

}  // namespace kestrel
