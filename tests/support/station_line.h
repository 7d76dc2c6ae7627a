#pragma once
// [Station] rows built in code, with the distances the loader derives, for the tests of the
// station, door, jump and movie rules.
#include <cstdint>
#include <string>

#include "core/data/line_data.h"

namespace kestrel::test {

struct StationSpec {
  std::string name;
  int32_t type = 0;
  int32_t frame = 0;
  double stopCm = 0;
  int32_t halfWidthCm = 500;
  int32_t arrivalSound = 0;    // [SoundData] number
  int32_t departureSound = 1;  // [SoundData] number
  int32_t departureTime = 0;   // 1/30 s; 0 none
};

inline StationRow stationRow(const StationSpec& s) {
  StationRow r;
  r.name = s.name;
  r.field[2] = s.type;
  r.field[3] = s.frame;
  r.field[4] = s.halfWidthCm;
  r.field[5] = s.arrivalSound;
  r.field[6] = s.departureSound;
  r.field[8] = s.departureTime;
  r.field[9] = 80;
  r.stopDistanceCm = s.stopCm;
  r.platformStartCm = s.stopCm - s.halfWidthCm;
  r.platformEndCm = s.stopCm + s.halfWidthCm;
  return r;
}

}  // namespace kestrel::test
