#pragma once
// Drive times as text: seconds with at most six decimals, read and written exactly as
// microseconds (the scripts, recordings, traces and logs of a drive).
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kestrel {

// "12", "0.033", "4.000001": exactly, as microseconds; nullopt for anything else (a sign, an
// exponent, more than six decimals, more than nine whole digits).
std::optional<int64_t> parseSeconds(std::string_view text);
// Microseconds as seconds with six decimals: "3.300000", "-0.000001".
std::string formatSeconds(int64_t us);

}  // namespace kestrel
