#pragma once
// [Signal] rows built in code, for the tests of the signal, ATS and trackside-picture rules.
#include <cstdint>

#include "core/data/line_data.h"

namespace kestrel::test {

struct SignalSpec {
  int32_t kind = 6;
  int32_t approachStart = 0;  // field 5
  int32_t position = 0;       // field 6
  int32_t beacon1 = 0;        // field 7
  int32_t beacon2 = 0;        // field 8
  int32_t mode = 0;           // field 1
  int32_t fixedAspect = 0;    // field 9
  int32_t time = 0;           // field 10
  int32_t station = 0;        // field 11
};

inline SignalRow signalRow(const SignalSpec& s) {
  SignalRow r;
  r.f(1) = s.mode;
  r.f(4) = s.kind;
  r.f(5) = s.approachStart;
  r.f(6) = s.position;
  r.f(7) = s.beacon1;
  r.f(8) = s.beacon2;
  r.f(9) = s.fixedAspect;
  r.f(10) = s.time;
  r.f(11) = s.station;
  r.positionCm = s.position * 100.0;  // frames of one metre
  return r;
}

}  // namespace kestrel::test
