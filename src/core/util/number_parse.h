#pragma once
// Strict conversions of data-file text, as the runtime of the data files does them: leading
// blanks are allowed, one optional sign, anything after the number is not ("12 ", "1.5x", "" and
// "+-1" fail), integers must fit in 32 bits. "Error" (a missing comma field) fails every
// conversion.
#include <cstdint>
#include <optional>
#include <string_view>

#include "core/util/fixed.h"

namespace kestrel {

std::optional<int32_t> parseInt(std::string_view text);
// Decimal with '.' as separator; an exponent is accepted ("1e3"). Integers are decimals too.
std::optional<double> parseDecimal(std::string_view text);
// A decimal kept with four decimal places (value x 10 000, rounded ties to even on the decimal
// digits as written).
std::optional<Fixed> parseFixed(std::string_view text);

}  // namespace kestrel
