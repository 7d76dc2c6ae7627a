#include "core/util/number_parse.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace kestrel {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Splits off one optional sign. from_chars takes '-' itself but not '+', and a second sign
// ("+-5", "--5") must not slip through.
std::string_view takeSign(std::string_view t, bool* negative) {
  *negative = false;
  if (!t.empty() && (t.front() == '+' || t.front() == '-')) {
    *negative = t.front() == '-';
    t.remove_prefix(1);
  }
  return t;
}

// A plain decimal: digits, an optional '.', digits; at least one digit. No sign (taken before),
// no exponent, no "inf", "nan" or hex.
bool isPlainDecimal(std::string_view t) {
  size_t i = 0, digits = 0;
  while (i < t.size() && isDigit(t[i])) ++i, ++digits;
  if (i < t.size() && t[i] == '.') {
    ++i;
    while (i < t.size() && isDigit(t[i])) ++i, ++digits;
  }
  return digits > 0 && i == t.size();
}

constexpr int64_t kFixedLimit = 900'000'000'000'000;  // 9e14, far below int64 / 10 000

}  // namespace

std::optional<int32_t> parseInt(std::string_view text) {
  bool negative = false;
  std::string_view t = takeSign(text, &negative);
  if (t.empty() || !isDigit(t.front())) return std::nullopt;
  int64_t value = 0;
  auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), value);
  if (ec != std::errc() || end != t.data() + t.size()) return std::nullopt;
  if (negative) value = -value;
  if (value < std::numeric_limits<int32_t>::min() || value > std::numeric_limits<int32_t>::max()) return std::nullopt;
  return static_cast<int32_t>(value);
}

std::optional<double> parseDecimal(std::string_view text) {
  bool negative = false;
  std::string_view t = takeSign(text, &negative);
  if (!isPlainDecimal(t)) return std::nullopt;
  double value = 0;
  auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), value, std::chars_format::general);
  if (ec != std::errc() || end != t.data() + t.size() || !std::isfinite(value)) return std::nullopt;
  return negative ? -value : value;
}

std::optional<Fixed> parseFixed(std::string_view text) {
  bool negative = false;
  std::string_view t = takeSign(text, &negative);
  if (!isPlainDecimal(t)) return std::nullopt;
  // Exact decimal rounding, so that "0.00005" is a true tie (to even: 0) and "1.23455" rounds
  // to 1.2346 as written, not as its nearest binary value.
  int64_t whole = 0;
  size_t i = 0;
  for (; i < t.size() && isDigit(t[i]); ++i) {
    whole = whole * 10 + (t[i] - '0');
    if (whole > kFixedLimit) return std::nullopt;
  }
  int64_t frac = 0;
  int fracDigits = 0;
  int roundDigit = -1;     // the fifth decimal
  bool stickyBits = false;  // any nonzero digit after it
  if (i < t.size() && t[i] == '.') {
    for (++i; i < t.size(); ++i) {
      int d = t[i] - '0';
      if (fracDigits < 4) {
        frac = frac * 10 + d;
        ++fracDigits;
      } else if (roundDigit < 0) {
        roundDigit = d;
      } else if (d != 0) {
        stickyBits = true;
      }
    }
  }
  for (; fracDigits < 4; ++fracDigits) frac *= 10;
  int64_t raw = whole * Fixed::kScale + frac;
  if (roundDigit > 5 || (roundDigit == 5 && (stickyBits || (raw & 1) != 0))) ++raw;
  return Fixed::fromRaw(negative ? -raw : raw);
}

}  // namespace kestrel
