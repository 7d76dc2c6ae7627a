#pragma once
// Comma fields of a data-file row: field n (from 1) is the text between the (n-1)-th and the n-th
// comma, the last running to the end of the line. Nothing is trimmed. A field beyond the last
// yields "Error", which fails every numeric conversion.
#include <string>
#include <string_view>

namespace kestrel {

inline constexpr std::string_view kMissingField = "Error";

std::string commaField(std::string_view row, int n);

// Number of fields in the row (a row without commas has one).
int commaFieldCount(std::string_view row);

}  // namespace kestrel
