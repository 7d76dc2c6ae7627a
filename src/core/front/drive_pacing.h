#pragma once
// Pacing the drive on the wall clock: how long the desktop program's timer may sleep before the
// scheduler's next event is due.
#include <algorithm>
#include <cstdint>

#include "core/sim/scheduler.h"

namespace kestrel {

// Milliseconds from `elapsedUs` of wall-clock time (as given to Scheduler::advanceTo) until the
// next event of a running timer is due, rounded up, at least 1 and at most `idleMs` (which is also
// the answer while both timers are stopped).
inline int msUntilNextEvent(const Scheduler& s, int64_t elapsedUs, int idleMs = 50) {
  int64_t due = -1;
  for (auto timer : {Scheduler::Timer::Multimedia, Scheduler::Timer::Tick})
    if (s.isRunning(timer) && (due < 0 || s.nextDue(timer) < due)) due = s.nextDue(timer);
  if (due < 0) return idleMs;
  const int64_t waitUs = due + s.droppedUs() - elapsedUs;
  const int64_t ms = waitUs <= 0 ? 1 : (waitUs + 999) / 1000;
  return static_cast<int>(std::clamp<int64_t>(ms, 1, idleMs));
}

}  // namespace kestrel
