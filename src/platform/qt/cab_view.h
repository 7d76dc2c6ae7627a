#pragma once
// CabView: the client area of the cab window — the driver's view `untendai` (800 x 760), the staff
// card, `sub_disp`, the `back` picture and the fifteen text-mode labels, laid out on the window's
// 1202 x 758 client area and scaled as a whole to the widget, aspect kept. It draws what the
// drive's state leaves (movie frame, sprites, texts, fade); the window around it owns the menus,
// the keys and the clocks.
//
// Rendering is paced by the display: one render step per screen refresh while rendering is
// started, and a frame is composed only when something on it changed. While the drive is paused
// nothing is drawn, and the view looks ten times a second whether it runs again.
//
// Thread contract: GUI thread only, the thread that owns the drive.
#include <QRect>
#include <QWidget>
#include <cstddef>
#include <cstdint>
#include <functional>

class QPainter;

namespace kestrel {

class CabSession;
class MovieReader;
struct LoadedSession;

class CabView final : public QWidget {
  Q_OBJECT

 public:
  // `loaded` holds the records the session runs on; its preferences are the live ones (the menus
  // toggle them, and the view hands them to the session, whose tick writes VisualEffectsOff).
  // `movie` is the reader the session's movie playback opens and switches (nullptr: no pictures).
  // All three must outlive the view.
  CabView(CabSession& session, LoadedSession& loaded, MovieReader* movie, QWidget* parent = nullptr);
  ~CabView() override;

  // FormActivate: while the drive is not running, the still picture of the [Staf] second line.
  void showStill();
  // A restore or a station jump while paused: the view shows the new place at once.
  void redrawPaused();
  // The small "一時停止" mark over the driver's view, shown while the driver has paused the drive.
  void setPausedMark(bool shown);
  // AppIdle installed / removed: one render step per display refresh while installed.
  void startRendering();
  void stopRendering();
  // The text-mode labels after a change of the preference: at the start of a drive all fifteen
  // follow it; from the menu Label5 and Label6 stay hidden.
  void applyTextMode(bool atStart);
  // The render loop's measured frames per second (for the value display).
  int measuredRate() const;
  // Where text-mode label `i` (0 .. 14) stands on the client area: in the column right of the
  // driver's view, below the timetable card.
  QRect labelRect(size_t i) const;
  // Drawn over the driver's view at every paint, in its 800 x 760 coordinates (the brake
  // guidance); empty: nothing. The owner calls update() when what it draws changes.
  void setOverlay(std::function<void(QPainter&)> overlay);

  // What the view has done (benchmarks, tests); the render step only counts, it times nothing.
  struct Counters {
    int64_t steps = 0;     // render steps while the drive ran
    int64_t decodes = 0;   // movie frames the reader handed over
    int64_t pending = 0;   // steps whose movie frame the reader was still decoding
    int64_t standIns = 0;  // ... and that showed a nearer frame meanwhile
    int64_t composed = 0;  // frames drawn into the view image
  };
  Counters counters() const;
  // The driver's view as last composed (800 x 760).
  const QImage& viewImage() const;
  // One render step now, as the pacing timer would run it.
  void renderStep();
  // The render steps per second the pacing aims at (the screen's refresh rate), and the interval
  // between steps that the pacing timer keeps: a refresh while the drive runs, else kPausedPollMs.
  int pacingRate() const;
  int pacingIntervalMs() const;
  static constexpr int kPausedPollMs = 100;

 Q_SIGNALS:
  void backClicked();     // the `back` picture: the caller runs BackClick
  void displayClicked();  // a click on the driver's view: movieclick
  void fadeFinished();    // the exit fade has passed 255: the cab window must close

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  struct Impl;
  Impl* impl_;
};

}  // namespace kestrel
