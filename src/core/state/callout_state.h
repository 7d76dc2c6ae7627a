#pragma once
// The call-out state that the tick and the call-out key share: what the driver may call out at
// the train's position (a time check, a further call-out, a speed limit, a level crossing), and
// what has been called out already. One instance per drive, a member of TrainState. The queue of
// clips itself belongs to the cab session.
#include <array>
#include <cstdint>
#include <limits>
#include <vector>

namespace kestrel {

struct CalloutState {
  static constexpr int32_t kNone = 999;
  static constexpr int32_t kTimeCheck = 900;  // the due number that runs the time check
  static constexpr int32_t kNoMark = std::numeric_limits<int32_t>::min();

  // Per kind of [SignalKanko] row (0, 1, 2): the signal whose rows of that kind were called out;
  // kNone when nothing has been called out, so the next signal's rows are pending.
  std::array<int32_t, 3> signalMarkers{kNone, kNone, kNone};
  // The further call-out due at the train's position: an [OtherKanko] clip number, kTimeCheck,
  // or kNone. Set by the tick.
  int32_t dueNumber = kNone;
  // The two limit call-out requests, set by the tick: a speed limit ahead within braking
  // distance, and a speed limit in force. Each holds the [LimitKanko] clip number, or -1.
  std::array<int32_t, 2> limitRequests{-1, -1};
  // What the call-out key played last of the due and limit call-outs, so that a second press
  // does not repeat it; cleared when neither is due any more.
  int32_t lastPlayedMark = kNoMark;
  // Level crossings whose call-out range holds the train and that have not been called out, in
  // the order the train entered them (indices into [Cross]); `crossInside` tells entering apart.
  std::vector<int32_t> crossingPending;
  std::vector<bool> crossInside;
  // Per [Time] row: its time check has been called out.
  std::vector<bool> timeChecked;

  // The pending marker of the crossing call-out: the first pending row, or -1.
  int32_t crossingMarker() const { return crossingPending.empty() ? -1 : crossingPending.front(); }
  void clearSignalMarkers() { signalMarkers.fill(kNone); }
  bool anyLimitRequest() const { return limitRequests[0] >= 0 || limitRequests[1] >= 0; }
};

}  // namespace kestrel
