#pragma once
// The drive's clock in the desktop program: a precise timer on the GUI thread that advances the
// scheduler to the wall-clock time elapsed since start() (at most 250 ms caught up after a stall,
// the rest dropped), sleeping until the next event is due.
//
// Thread contract: GUI thread only; the scheduler's handlers run inside the timer's slot.
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <optional>

namespace kestrel {

class Scheduler;

class DriveClock final : public QObject {
  Q_OBJECT

 public:
  explicit DriveClock(Scheduler& scheduler, QObject* parent = nullptr);

  // Inputs that must reach the drive at exact drive times (a played script): `next` gives the
  // drive time of the next one (nullopt: none left), `deliver` hands it over. The clock then runs
  // `rate` drive seconds per wall second and stops at each input's time to deliver it; a stall is
  // caught up later rather than dropped, so every input meets the drive as in kestrel-run.
  struct Inputs {
    std::function<std::optional<int64_t>()> next;
    std::function<void()> deliver;
    double rate = 1;
  };
  void setInputs(Inputs inputs) { inputs_ = std::move(inputs); }
  // Another rate for the inputs' clock from now on (a replay's 1x, 2x, 4x).
  void setRate(double rate);

  // The wall clock starts at the scheduler's current time.
  void start();
  void stop();
  bool active() const { return running_; }

 private:
  void advance();
  void advanceScripted();

  Scheduler& scheduler_;
  QTimer timer_;
  QElapsedTimer wall_;
  int64_t offsetUs_ = 0;
  bool running_ = false;
  bool advancing_ = false;
  Inputs inputs_;
};

}  // namespace kestrel
