#pragma once
// Strict conversions of data-file text: plain decimal numbers with one optional sign and nothing
// around them. No blank is trimmed at either end (" 12", "12 " and "\t12" fail alike, so a file
// behaves the same whichever side the blank is on), no exponent ("3.3e2"), and "1.5x", "" and
// "+-1" fail; integers must fit in 32 bits. "Error" (a missing comma field) fails every
// conversion.
#include <cstdint>
#include <optional>
#include <string_view>

#include "core/util/fixed.h"

namespace kestrel {

std::optional<int32_t> parseInt(std::string_view text);
// Decimal with '.' as separator. Integers are decimals too.
std::optional<double> parseDecimal(std::string_view text);
// A decimal kept with four decimal places (value x 10 000, rounded ties to even on the decimal
// digits as written).
std::optional<Fixed> parseFixed(std::string_view text);

}  // namespace kestrel
