#pragma once
// The drive's virtual clock, in microseconds, and its two periodic events: the 33 ms event
// (MMTimer1Timer) and the 100 ms tick (Timer1Timer).
//
// Thread contract: one thread owns the drive. Handlers run on the thread that calls advanceBy or
// advanceTo, inside that call; they may start and stop timers (a movie switch stops the 33 ms
// event and starts it again) but must not advance the clock.
//
// Order: events run in time order; when both are due at one instant the 33 ms event runs first.
// A timer started at time t fires first at t + period. Stopping a timer and starting it again
// (also from inside a handler) restarts its phase from the time of the start.
#include <array>
#include <cstdint>
#include <functional>

namespace kestrel {

class Scheduler {
 public:
  // Also the order of two events due at the same instant: lower first.
  enum class Timer { Multimedia = 0, Tick = 1 };

  static constexpr int64_t kMultimediaPeriodUs = 33000;
  static constexpr int64_t kTickPeriodUs = 100000;
  // advanceTo catches up at most this much; the rest of a stall is dropped.
  static constexpr int64_t kCatchUpCapUs = 250000;

  using Handler = std::function<void()>;

  Scheduler();

  void setHandler(Timer timer, Handler handler);

  int64_t now() const { return now_; }

  // Both timers together: the drive's start, pause and resume.
  void start();
  void pause();
  void resume() { start(); }
  bool running() const { return isRunning(Timer::Multimedia) || isRunning(Timer::Tick); }

  void startTimer(Timer timer);
  void stopTimer(Timer timer);
  bool isRunning(Timer timer) const { return slot(timer).running; }
  // When the timer fires next; meaningful only while it runs.
  int64_t nextDue(Timer timer) const { return slot(timer).due; }

  // The runner: runs every event due up to and including now() + us, then sets now() to it.
  void advanceBy(int64_t us);
  // The desktop program: `elapsedUs` is the wall-clock time since the drive's clock began. The
  // virtual clock follows it, but after a stall at most kCatchUpCapUs are caught up; the rest is
  // dropped for good, so the drive never races to catch up.
  void advanceTo(int64_t elapsedUs);
  int64_t droppedUs() const { return dropped_; }

 private:
  struct Slot {
    int64_t period = 0;
    int64_t due = 0;
    bool running = false;
    uint64_t generation = 0;  // changes on every start and stop
    Handler handler;
  };

  Slot& slot(Timer t) { return slots_[static_cast<size_t>(t)]; }
  const Slot& slot(Timer t) const { return slots_[static_cast<size_t>(t)]; }
  void runUntil(int64_t target);

  std::array<Slot, 2> slots_;
  int64_t now_ = 0;
  int64_t dropped_ = 0;
  bool inHandler_ = false;
};

}  // namespace kestrel
