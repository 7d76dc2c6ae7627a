#pragma once
// The working values of the signals, the ATS and the speed checks (held in TrainState as
// `signals`). The signal and ATS rules of the tick write them; the trackside pictures, the notices,
// the call-outs and the value display read them. The ATS values that the driver's keys reset
// (checkSpeed, atsAlarm ...) and currentCode stand in TrainState itself.
#include <array>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

namespace kestrel {

// What the type-1 pattern is drawn towards: an entry of the merged event list.
enum class PatternKind : int32_t { None = 0, Signal = 2, StationStop = 3, SpeedCheck = 1 };

// One [SpeedLimit] row of the look-ahead: the first row whose start lies ahead and the two after it.
struct LimitLookAhead {
  int32_t row = -1;         // [SpeedLimit] row; -1: no row
  int32_t limit = 0;        // km/h
  int32_t neededCm = 0;     // the distance needed to slow to the limit (3 km/h/s plus one second)
  int32_t remainingCm = 0;  // from the train to the row's start, rounded to nearest, ties to even
};

struct SignalState {
  static constexpr int32_t kNoPattern = 999;
  static constexpr size_t kMessageCapacity = 100;

  // Per [Signal] row: its aspect (0 stop .. n - 1 clear) and its signal code.
  std::vector<int32_t> aspect;
  std::vector<int32_t> signalCode;
  // The [Signal] row whose approach section holds the train; -1 when none.
  int32_t currentSignal = -1;

  // Type 0: the signal whose warning raised the alarm. Its acknowledgement holds until the train
  // is in another signal's approach section.
  int32_t warnedSignal = -1;

  // Type 1 pattern: target speed (999 none), the entry's distance, what it protects.
  int32_t patternTarget = kNoPattern;
  double patternDistance = 0;  // cm
  PatternKind patternKind = PatternKind::None;
  int32_t patternEntry = -1;  // index of the entry in the merged event list
  // The beacon last logged (entry x 8 + window), so that a beacon is logged once per pass.
  int32_t loggedBeacon = -1;
  int32_t patternState = 0;  // 0 none, 1 warning, 2 speed-pattern brake, 3 stop-pattern brake
  int32_t patternStatePrevious = 0;
  // The pattern speeds of the last tick (km/h): brake and warning; L + 10 without a pattern.
  int32_t brakePattern = 0;
  int32_t warningPattern = 0;

  // Type 2: the cab-signal control is braking.
  bool atcBraking = false;

  // The speed-limit look-ahead, and the [SpeedCheck2] section that holds the train (-1 none).
  std::array<LimitLookAhead, 3> lookAhead{};
  int32_t speedCheckSection = -1;
  // The [Lamp_signal] cell that the speed-check section shows; -1: the section shows none.
  int32_t speedCheckImage = -1;

  // The diagnostic message list of the value display (newest last, at most kMessageCapacity),
  // and how many messages were ever logged, so that a reader can tell the new ones from the list.
  std::deque<std::string> messages;
  uint64_t messagesLogged = 0;
};

}  // namespace kestrel
