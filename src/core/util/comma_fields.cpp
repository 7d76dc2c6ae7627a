#include "core/util/comma_fields.h"

namespace kestrel {

std::string commaField(std::string_view row, int n) {
  if (n < 1) return std::string(kMissingField);
  size_t start = 0;
  for (int i = 1; i < n; ++i) {
    size_t comma = row.find(',', start);
    if (comma == std::string_view::npos) return std::string(kMissingField);
    start = comma + 1;
  }
  size_t end = row.find(',', start);
  return std::string(row.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
}

int commaFieldCount(std::string_view row) {
  int count = 1;
  for (char c : row)
    if (c == ',') ++count;
  return count;
}

}  // namespace kestrel
