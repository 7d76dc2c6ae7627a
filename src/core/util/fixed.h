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
  static Fixed fromDouble(double value) {
    return fromRaw(static_cast<int64_t>(std::nearbyint(value * static_cast<double>(kScale))));
  }
  static constexpr Fixed fromInt(int64_t value) { return fromRaw(value * kScale); }

  constexpr int64_t raw() const { return raw_; }
  constexpr double toDouble() const { return static_cast<double>(raw_) / static_cast<double>(kScale); }

  // Decimal text with exactly four decimals, e.g. "-12.3400"; used by traces and JSON.
  std::string toString() const {
    const int64_t a = raw_ < 0 ? -raw_ : raw_;
    std::string frac = std::to_string(a % kScale);
    return std::string(raw_ < 0 ? "-" : "") + std::to_string(a / kScale) + "." +
           std::string(4 - frac.size(), '0') + frac;
  }

  friend constexpr bool operator==(Fixed a, Fixed b) { return a.raw_ == b.raw_; }
  friend constexpr auto operator<=>(Fixed a, Fixed b) { return a.raw_ <=> b.raw_; }

 private:
  int64_t raw_ = 0;
};

}  // namespace kestrel
