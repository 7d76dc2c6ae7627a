#pragma once
// The entries of the cab window's move (jump) menu built from [Station]: every station of type 0
// or 2 except the last row, top to bottom in table order, named "Sta" followed by its index.
#include <string>
#include <vector>

#include "core/data/line_data.h"

namespace kestrel {

struct JumpMenuEntry {
  int32_t station = 0;  // index into [Station]
  std::string name;     // "Sta" + index
  std::string caption;  // the station name
};

inline std::vector<JumpMenuEntry> jumpMenuEntries(const LineData& line) {
  std::vector<JumpMenuEntry> entries;
  // The menu lists the stations in table order (each inserted at the top, from the
  // second-to-last station upwards, which comes to the same).
  for (size_t i = 0; i + 1 < line.Station.size(); ++i) {
    const int32_t type = line.Station[i].type();
    if (type == 0 || type == 2)
      entries.push_back({static_cast<int32_t>(i), "Sta" + std::to_string(i), line.Station[i].name});
  }
  return entries;
}

}  // namespace kestrel
