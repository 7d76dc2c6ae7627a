#pragma once
// Fixed-point value: a signed 64-bit integer holding value x 10 000 (four decimal places).
// Every store of a computed value rounds to the nearest scaled integer, ties to even.
#include <cmath>
#include <cstdint>
#include <string>

namespace kestrel {

class Fixed {
 public:
  static constexpr int64_t kScale = 10000;

  constexpr Fixed() = default;
  static constexpr Fixed fromRaw(int64_t raw) { Fixed f; f.raw_ = raw; return f; }
  // Values beyond the int64 range saturate; NaN stores 0 (a cast would be undefined).
  static Fixed fromDouble(double value) {
    const double scaled = std::nearbyint(value * static_cast<double>(kScale));
    if (std::isnan(scaled)) return Fixed();
    if (scaled >= 9.2e18) return fromRaw(INT64_MAX);
    if (scaled <= -9.2e18) return fromRaw(INT64_MIN);
    return fromRaw(static_cast<int64_t>(scaled));
  }
  static constexpr Fixed fromInt(int64_t value) { return fromRaw(value * kScale); }

  constexpr int64_t raw() const { return raw_; }
  constexpr double toDouble() const { return static_cast<double>(raw_) / static_cast<double>(kScale); }

  // Decimal text with exactly four decimals, e.g. "-12.3400"; used by traces and JSON.
  std::string toString() const {
    const uint64_t a = raw_ < 0 ? 0 - static_cast<uint64_t>(raw_) : static_cast<uint64_t>(raw_);
    std::string frac = std::to_string(a % static_cast<uint64_t>(kScale));
    return std::string(raw_ < 0 ? "-" : "") + std::to_string(a / static_cast<uint64_t>(kScale)) + "." +
           std::string(4 - frac.size(), '0') + frac;
  }

  friend constexpr bool operator==(Fixed a, Fixed b) { return a.raw_ == b.raw_; }
  friend constexpr auto operator<=>(Fixed a, Fixed b) { return a.raw_ <=> b.raw_; }

 private:
  int64_t raw_ = 0;
};

}  // namespace kestrel
