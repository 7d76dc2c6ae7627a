#include "platform/qt/drive_clock.h"

#include "core/front/drive_pacing.h"
#include "core/sim/scheduler.h"

namespace kestrel {

DriveClock::DriveClock(Scheduler& scheduler, QObject* parent) : QObject(parent), scheduler_(scheduler) {
  timer_.setTimerType(Qt::PreciseTimer);
  timer_.setSingleShot(true);
  connect(&timer_, &QTimer::timeout, this, &DriveClock::advance);
}

void DriveClock::start() {
  running_ = true;
  offsetUs_ = scheduler_.now() + scheduler_.droppedUs();
  wall_.start();
  timer_.start(msUntilNextEvent(scheduler_, offsetUs_));
}

void DriveClock::stop() {
  running_ = false;
  timer_.stop();
}

void DriveClock::advance() {
  // A handler that waits in a message box runs the event loop again: the clock stands meanwhile.
  if (advancing_) return;
  advancing_ = true;
  scheduler_.advanceTo(offsetUs_ + wall_.nsecsElapsed() / 1000);
  advancing_ = false;
  if (running_) timer_.start(msUntilNextEvent(scheduler_, offsetUs_ + wall_.nsecsElapsed() / 1000));
}

}  // namespace kestrel
