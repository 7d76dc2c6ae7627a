#include "core/util/number_parse.h"

#include <charconv>
#include <cmath>

namespace kestrel {

namespace {

std::string_view skipLeadingBlanks(std::string_view t) {
  while (!t.empty() && (t.front() == ' ' || t.front() == '\t')) t.remove_prefix(1);
  return t;
}

}  // namespace

std::optional<int32_t> parseInt(std::string_view text) {
  std::string_view t = skipLeadingBlanks(text);
  if (!t.empty() && t.front() == '+') t.remove_prefix(1);
  if (t.empty()) return std::nullopt;
  int32_t value = 0;
  auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), value);
  if (ec != std::errc() || end != t.data() + t.size()) return std::nullopt;
  return value;
}

std::optional<double> parseDecimal(std::string_view text) {
  std::string_view t = skipLeadingBlanks(text);
  if (!t.empty() && t.front() == '+') t.remove_prefix(1);
  if (t.empty()) return std::nullopt;
  // from_chars also accepts "inf" and "nan"; the runtime does not.
  for (char c : t)
    if (!((c >= '0' && c <= '9') || c == '.' || c == '-' || c == '+' || c == 'e' || c == 'E')) return std::nullopt;
  double value = 0;
  auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), value, std::chars_format::general);
  if (ec != std::errc() || end != t.data() + t.size() || !std::isfinite(value)) return std::nullopt;
  return value;
}

std::optional<Fixed> parseFixed(std::string_view text) {
  auto v = parseDecimal(text);
  if (!v || std::fabs(*v) > 9.0e14) return std::nullopt;
  return Fixed::fromDouble(*v);
}

}  // namespace kestrel
