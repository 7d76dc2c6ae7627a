#pragma once
// The drive's clock in the desktop program: a precise timer on the GUI thread that advances the
// scheduler to the wall-clock time elapsed since start() (at most 250 ms caught up after a stall,
// the rest dropped), sleeping until the next event is due.
//
// Thread contract: GUI thread only; the scheduler's handlers run inside the timer's slot.
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

namespace kestrel {

class Scheduler;

class DriveClock final : public QObject {
  Q_OBJECT

 public:
  explicit DriveClock(Scheduler& scheduler, QObject* parent = nullptr);

  // The wall clock starts at the scheduler's current time.
  void start();
  void stop();
  bool active() const { return running_; }

 private:
  void advance();

  Scheduler& scheduler_;
  QTimer timer_;
  QElapsedTimer wall_;
  int64_t offsetUs_ = 0;
  bool running_ = false;
  bool advancing_ = false;
};

}  // namespace kestrel
