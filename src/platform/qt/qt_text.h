#pragma once
// The engine's texts are UTF-8 in std::string and string_view; Qt takes them through this one
// conversion.
#include <QString>
#include <string_view>

namespace kestrel {

inline QString qs(std::string_view s) {
  return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

}  // namespace kestrel
