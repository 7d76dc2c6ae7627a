#pragma once
// One field of a CSV file (RFC 4180): quoted when it holds a comma, a quote or a line break.
#include <string>
#include <string_view>

namespace kestrel {

std::string csvField(std::string_view text);

}  // namespace kestrel
