#pragma once
// CabView: the client area of the cab window — the driver's view `untendai` (800 x 760, scaled to
// the widget with its aspect kept), the staff card, `sub_disp`, the `back` picture and the fifteen
// text-mode labels. It draws what the drive's state leaves (movie frame, sprites, texts, fade);
// the window around it owns the menus, the keys and the clocks.
//
// Thread contract: GUI thread only, the thread that owns the drive.
#include <QWidget>

namespace kestrel {

class CabSession;
class MovieReader;
struct LoadedSession;

class CabView final : public QWidget {
  Q_OBJECT

 public:
  // `loaded` holds the records the session runs on (its preferences may change under the menus);
  // `movie` is the reader the session's movie playback opens and switches (nullptr: no pictures).
  // All three must outlive the view.
  CabView(CabSession& session, LoadedSession& loaded, MovieReader* movie, QWidget* parent = nullptr);
  ~CabView() override;

  // FormActivate: while the drive has not run yet, the still picture of the [Staf] second line.
  void showStill();
  // AppIdle installed / removed: one render step per display refresh while installed.
  void startRendering();
  void stopRendering();
  // The text-mode labels after a change of the preference: at the start of a drive all fifteen
  // follow it; from the menu Label5 and Label6 stay hidden.
  void applyTextMode(bool atStart);
  // The render loop's measured frames per second (for the value display).
  int measuredRate() const;

 Q_SIGNALS:
  void backClicked();     // the `back` picture: the caller runs BackClick
  void displayClicked();  // a click on the driver's view: movieclick
  void fadeFinished();    // the exit fade has passed 255: the cab window must close

 private:
  struct Impl;
  Impl* impl_;
};

}  // namespace kestrel
