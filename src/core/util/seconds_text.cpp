#include "core/util/seconds_text.h"

#include <cstdio>

namespace kestrel {

std::optional<int64_t> parseSeconds(std::string_view s) {
  const size_t dot = s.find('.');
  const std::string_view whole = s.substr(0, dot);
  const std::string_view fraction = dot == std::string_view::npos ? std::string_view{} : s.substr(dot + 1);
  if (whole.empty() || whole.size() > 9 || fraction.size() > 6) return std::nullopt;
  if (dot != std::string_view::npos && fraction.empty()) return std::nullopt;
  int64_t us = 0;
  for (char c : whole) {
    if (c < '0' || c > '9') return std::nullopt;
    us = us * 10 + (c - '0');
  }
  int64_t frac = 0;
  for (size_t i = 0; i < 6; ++i) {
    const char c = i < fraction.size() ? fraction[i] : '0';
    if (c < '0' || c > '9') return std::nullopt;
    frac = frac * 10 + (c - '0');
  }
  return us * 1000000 + frac;
}

std::string formatSeconds(int64_t us) {
  char buf[32];
  const int64_t a = us < 0 ? -us : us;
  std::snprintf(buf, sizeof buf, "%s%lld.%06lld", us < 0 ? "-" : "", static_cast<long long>(a / 1000000),
                static_cast<long long>(a % 1000000));
  return buf;
}

}  // namespace kestrel
