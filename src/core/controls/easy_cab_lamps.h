#pragma once
// The easy cab window's model: the colours of its notch lamps, its status bar and the character
// its reverser button posts. The window repaints the lamps from the tick and posts the buttons'
// characters to the cab session; it has no driving logic of its own.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/state/control_state.h"
#include "core/state/train_state.h"

namespace kestrel {

inline constexpr std::string_view kEasyCabCaption = "かんたん運転台";

// 0xRRGGBB.
inline constexpr uint32_t kLampWhite = 0xFFFFFF;
inline constexpr uint32_t kLampNeutral = 0x00FF00;
inline constexpr uint32_t kLampPower = 0xFFFF00;
inline constexpr uint32_t kLampBrake = 0xFF0000;

struct EasyCabLamps {
  uint32_t neutral = kLampWhite;    // KN
  std::array<uint32_t, 5> power{};  // KP1 .. KP5
  std::array<uint32_t, 8> brake{};  // KB1 .. KB8 (KB8 is hidden)
  std::string status;               // the status bar
};

EasyCabLamps easyCabLamps(const ControlState& control, const TrainState& train);

// The buttons and the characters they post.
inline constexpr char32_t kEasyCabPower = U'8';    // "加速"
inline constexpr char32_t kEasyCabBrake = U'2';    // "減速"
inline constexpr char32_t kEasyCabNeutral = U'5';  // "ニュートラル"
inline constexpr char32_t kEasyCabDoors = U'7';    // "ドア開閉"
// "逆転器": "b" when forward, "f" when reverse, nothing in neutral.
std::optional<char32_t> easyCabReverserKey(int32_t reverser);

}  // namespace kestrel
