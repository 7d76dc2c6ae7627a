#pragma once
// The drive's random numbers (announcement passenger event, platform numbers). Deterministic
// from its seed, so that the same inputs give the same drive; the desktop program may seed it
// from the clock.
#include <cstdint>

namespace kestrel {

class DriveRandom {
 public:
  explicit DriveRandom(uint64_t seed = 0) : state_(seed) {}

  void seed(uint64_t seed) { state_ = seed; }

  // An integer 0 <= x < n; 0 when n <= 0.
  int32_t below(int32_t n) {
    if (n <= 0) return 0;
    return static_cast<int32_t>(next() % static_cast<uint64_t>(n));
  }

 private:
  // splitmix64: small, fast, and the same on every compiler.
  uint64_t next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }

  uint64_t state_;
};

}  // namespace kestrel
