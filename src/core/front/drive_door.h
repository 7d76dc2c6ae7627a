#pragma once
// DriveDoor: the one way the driver's inputs reach a drive — keys, the wheel, the menus, the
// serial controller's bytes, the game controller, the value display's buttons, the `back`
// picture and the end. Whatever sends them (a window, a played script, a recording) hands each
// over as a ScriptInput; the door runs it on the session at the drive time it arrives at, then
// delivers the characters it posted, and tells the recorder. So a drive recorded at the door and
// played back through it meets the same inputs at the same drive times.
//
// The game controller is polled by the tick, not sent: the door is the poller the session asks.
// With a live controller behind it, every change of its state is recorded as a "pad" input just
// before the tick that read it; without one, it answers the state of the last "pad" input.
//
// Thread contract: the thread that owns the drive, like the session.
#include <functional>
#include <optional>
#include <string>

#include "core/front/cab_menu.h"
#include "core/front/cab_session.h"
#include "core/front/drive_script.h"
#include "core/front/session_loader.h"
#include "core/ports/gamepad_poller.h"
#include "core/ports/preference_store.h"

namespace kestrel {

class DriveDoor final : private GamepadPoller {
 public:
  // `menu` keeps the drive's checks; `store` holds the saved slots. All must outlive the door.
  DriveDoor(CabSession& session, LoadedSession& loaded, CabMenu& menu, PreferenceStore& store);
  ~DriveDoor() override;
  DriveDoor(const DriveDoor&) = delete;
  DriveDoor& operator=(const DriveDoor&) = delete;

  // Runs one input now (its time is the drive's time now; the input's own is ignored) and returns
  // what the desktop program would show in a message box, if anything. A "menu load" without the
  // slot's text reads the slot from the store; with it, the store is not read. An "end" does
  // nothing to the session: the owner ends the drive.
  std::optional<std::string> deliver(ScriptInput input);

  // While a recording plays, the driver's own inputs are refused: driverInput() drops them.
  void setReplaying(bool replaying) { replaying_ = replaying; }
  bool replaying() const { return replaying_; }
  // An "end" has been delivered.
  bool ended() const { return ended_; }
  std::optional<std::string> driverInput(ScriptInput input);

  // Every input delivered, with its drive time, as it is run (the recorder).
  void setRecorder(std::function<void(const ScriptInput&)> recorder) { recorder_ = std::move(recorder); }
  // After every input has run (the window brings its menus, caption and view up to date).
  void setAfterInput(std::function<void(const ScriptInput&)> after) { after_ = std::move(after); }
  // The game controller behind the door (nullptr: the state of the "pad" inputs). It must outlive
  // the door or be set back to nullptr.
  void setLiveGamepad(GamepadPoller* live) { live_ = live; }

  CabSession& session() { return session_; }
  const CabMenu& menu() const { return menu_; }

 private:
  GamepadState poll() override;
  std::optional<std::string> run(const ScriptInput& input);
  std::optional<std::string> runMenu(const ScriptInput& input);
  // The stations' stops and the saved places, for the movie reader to have ready.
  void keepJumpTargetsReady();
  void record(const ScriptInput& input) {
    if (recorder_) recorder_(input);
  }

  CabSession& session_;
  LoadedSession& loaded_;
  CabMenu& menu_;
  PreferenceStore& store_;
  bool replaying_ = false;
  bool ended_ = false;
  std::function<void(const ScriptInput&)> recorder_;
  std::function<void(const ScriptInput&)> after_;
  GamepadPoller* live_ = nullptr;
  GamepadState pad_;  // what the session's polls answer
};

}  // namespace kestrel
