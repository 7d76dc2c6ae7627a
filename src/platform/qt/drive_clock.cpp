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

void DriveClock::setRate(double rate) {
  inputs_.rate = rate;
  offsetUs_ = scheduler_.now();
  wall_.restart();
}

void DriveClock::stop() {
  running_ = false;
  timer_.stop();
}

void DriveClock::advance() {
  // A handler that waits in a message box runs the event loop again: the clock stands meanwhile.
  if (advancing_) return;
  if (inputs_.deliver) return advanceScripted();
  advancing_ = true;
  scheduler_.advanceTo(offsetUs_ + wall_.nsecsElapsed() / 1000);
  advancing_ = false;
  if (running_) timer_.start(msUntilNextEvent(scheduler_, offsetUs_ + wall_.nsecsElapsed() / 1000));
}

void DriveClock::advanceScripted() {
  advancing_ = true;
  const int64_t wall = static_cast<int64_t>(static_cast<double>(wall_.nsecsElapsed()) / 1000 * inputs_.rate);
  // At most a quarter of a second of wall time per step, so that the window keeps answering.
  const int64_t cap = static_cast<int64_t>(Scheduler::kCatchUpCapUs * inputs_.rate);
  const int64_t target = std::min(offsetUs_ + wall, scheduler_.now() + cap);
  for (auto due = inputs_.next(); due && *due <= target; due = inputs_.next()) {
    if (*due > scheduler_.now()) scheduler_.advanceBy(*due - scheduler_.now());
    inputs_.deliver();
  }
  if (target > scheduler_.now()) scheduler_.advanceBy(target - scheduler_.now());
  advancing_ = false;
  if (running_) timer_.start(1);
}

}  // namespace kestrel
