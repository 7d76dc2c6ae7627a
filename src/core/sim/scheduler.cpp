#include "core/sim/scheduler.h"

#include <stdexcept>

namespace kestrel {

Scheduler::Scheduler() {
  slot(Timer::Multimedia).period = kMultimediaPeriodUs;
  slot(Timer::Tick).period = kTickPeriodUs;
}

void Scheduler::setHandler(Timer timer, Handler handler) {
  slot(timer).handler = std::move(handler);
}

void Scheduler::start() {
  startTimer(Timer::Multimedia);
  startTimer(Timer::Tick);
}

void Scheduler::pause() {
  stopTimer(Timer::Multimedia);
  stopTimer(Timer::Tick);
}

void Scheduler::startTimer(Timer timer) {
  Slot& s = slot(timer);
  s.running = true;
  s.due = now_ + s.period;
  ++s.generation;
}

void Scheduler::stopTimer(Timer timer) {
  Slot& s = slot(timer);
  s.running = false;
  ++s.generation;
}

void Scheduler::advanceBy(int64_t us) {
  if (us < 0) throw std::invalid_argument("Scheduler::advanceBy: negative step");
  runUntil(now_ + us);
}

void Scheduler::advanceTo(int64_t elapsedUs) {
  int64_t target = elapsedUs - dropped_;
  if (target <= now_) return;
  if (target - now_ > kCatchUpCapUs) {
    dropped_ += target - now_ - kCatchUpCapUs;
    target = now_ + kCatchUpCapUs;
  }
  runUntil(target);
}

void Scheduler::runUntil(int64_t target) {
  if (inHandler_) throw std::logic_error("Scheduler: a handler must not advance the clock");
  inHandler_ = true;
  try {
    for (;;) {
      Slot* next = nullptr;
      for (Slot& s : slots_)  // in Timer order, so the 33 ms event wins a tie
        if (s.running && s.due <= target && (!next || s.due < next->due)) next = &s;
      if (!next) break;
      now_ = next->due;
      const uint64_t generation = next->generation;
      if (next->handler) next->handler();
      // A handler that stopped or restarted this timer has already set its next time.
      if (next->running && next->generation == generation) next->due += next->period;
    }
  } catch (...) {
    inHandler_ = false;
    throw;
  }
  inHandler_ = false;
  now_ = target;
}

}  // namespace kestrel
