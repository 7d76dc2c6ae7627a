#pragma once
// The cab window (TForm1) around the cab view: the menu bar built from the CabMenu model, the
// keyboard and mouse wheel in the session's vocabulary, the drive's clock, activation, and the
// close in its order. The drive itself is the CabWindowModel's; the picture is the CabView's.
//
// Thread contract: GUI thread only, the thread that owns the drive.
#include <QMainWindow>
#include <QPointer>
#include <array>
#include <functional>
#include <map>
#include <memory>

#include "core/front/cab_window_model.h"
#include "core/ports/serial_link.h"
#include "core/ports/user_dialogs.h"
#include "platform/qt/drive_keys.h"
#include "platform/qt/key_translation.h"

class QAction;
class QMenu;

namespace kestrel {

class CabView;
class DriveClock;
class SerialConnection;

struct CabWindowHooks {
  UserDialogs& dialogs;
  std::function<void()> showHelp;
  std::function<void()> showEasyCab;
  std::function<void()> closeEasyCab;
  // After every tick (the easy cab's lamps, the trace).
  std::function<void()> afterTick;
  // The view's first paint.
  std::function<void()> firstFrame;
  // The value display shown or hidden: after every key as F3 left it, hidden at the close.
  std::function<void(bool shown)> showValueDisplay;
  // The serial master controller's port (nullptr: the QX items do nothing). It must outlive the
  // window.
  SerialLink* serial = nullptr;
  // Adds the program's own entries to the Display menu (the grading's), after the window's.
  std::function<void(QMenu* display)> extendDisplayMenu;
  // While a recording replays, the start item pauses and resumes the replay's clock.
  std::function<void()> replayPause;
  // ... and the "Move" menu runs the replay on to the station.
  std::function<void(int32_t station)> replayJump;
};

class CabWindow final : public QMainWindow, public DriveKeyTarget {
  Q_OBJECT

 public:
  // `movie`: the reader the session plays the route movie on (nullptr: no pictures).
  CabWindow(CabWindowModel& model, MovieReader* movie, CabWindowHooks hooks, QWidget* parent = nullptr);
  ~CabWindow() override;

  // The creation epilogue and the show: text labels, start, the render loop, the clock.
  void begin();

  CabWindowModel& model() { return model_; }
  CabView& view() { return *view_; }
  DriveClock& clock() { return *clock_; }
  QAction* startAction() const { return start_; }
  QMenu* moveMenu() const { return move_; }
  QMenu* saveMenu() const { return save_; }
  QAction* action(CabMenuItem item) const;
  SerialConnection* serial() const { return serial_.get(); }

  // The keys of this window and of those that forward theirs.
  void driveKeyPressed(const QKeyEvent& event) override;
  void driveKeyReleased(const QKeyEvent& event) override;
  void drivePost(char32_t character) override;
  int32_t driveReverser() const override;

 Q_SIGNALS:
  // The close has run; false when the mixer could not be initialised again.
  void closed(bool soundReinitialised);

 protected:
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void buildMenus();
  void startClick();
  // An input of the driver through the drive's door (refused while a replay plays); what it
  // would show in a message box.
  std::optional<std::string> input(ScriptInput in);
  // After any input has run: the menus, the caption and the view follow what it changed.
  void afterInput(const ScriptInput& in);
  void menuItem(CabMenuItem item);
  void saveClick(int slot);
  void loadClick(int slot);
  void showSaveMenu();
  void updateMoveMenu();
  void wheel(int angleDeltaY);
  void toggleFullScreen();

  CabWindowModel& model_;
  CabWindowHooks hooks_;
  CabView* view_ = nullptr;
  DriveClock* clock_ = nullptr;
  QAction* start_ = nullptr;
  QMenu* move_ = nullptr;
  QMenu* save_ = nullptr;
  std::array<QAction*, kSavedDriveSlots> loadItems_{};
  std::array<QAction*, kSavedDriveSlots> saveItems_{};
  std::map<CabMenuItem, QAction*> items_;
  std::map<int, char32_t> typedKeys_;  // Qt key -> the character it typed, for its release
  std::unique_ptr<SerialConnection> serial_;
  WheelNotches wheel_;
  bool painted_ = false;
  bool closing_ = false;
};

}  // namespace kestrel
