#pragma once
// The groups of signal codes (the table of signal kinds and aspects, signals.h) that the ATS
// beacons and the driver's notices act on, each written once.
#include <algorithm>
#include <array>
#include <cstdint>
#include <initializer_list>

namespace kestrel::signal_codes {

// Stop aspects, of every kind.
inline constexpr std::array<int32_t, 10> kStop{1, 4, 7, 10, 13, 17, 21, 26, 30, 35};
// Stop aspects that the beacon before the signal stops the train at (kinds 2 and above).
inline constexpr std::array<int32_t, 8> kStopAtSignal{7, 10, 13, 17, 21, 26, 30, 35};
// Clear aspects: the long-range beacon lifts a check.
inline constexpr std::array<int32_t, 10> kClear{9, 12, 16, 20, 25, 28, 29, 33, 34, 40};
// The [Speed_Signal] step a restricting aspect allows: restricted (1), caution (2), reduced
// speed (3), clear (4).
inline constexpr std::array<int32_t, 2> kRestricted{18, 22};
inline constexpr std::array<int32_t, 7> kCaution{8, 11, 14, 19, 23, 27, 31};
inline constexpr std::array<int32_t, 3> kReducedSpeed{15, 24, 32};
inline constexpr std::array<int32_t, 9> kClearStep{9, 12, 16, 20, 25, 28, 29, 33, 34};

template <class Codes>
bool among(int32_t code, const Codes& codes) {
  return std::find(std::begin(codes), std::end(codes), code) != std::end(codes);
}
inline bool among(int32_t code, std::initializer_list<int32_t> codes) {
  return std::find(codes.begin(), codes.end(), code) != codes.end();
}

}  // namespace kestrel::signal_codes
