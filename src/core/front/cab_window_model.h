#pragma once
// The cab window (TForm1) without its widgets: creation (the prologue, the loader with its status
// texts, the session), the start command, the menu commands and the engine's part of closing, in
// the window's order. The window around it owns the view, the keys, the clock and the dialogs.
//
// Thread contract: the thread that owns the drive, like the session it holds.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "core/front/cab_menu.h"
#include "core/front/cab_session.h"
#include "core/front/drive_door.h"
#include "core/front/session_loader.h"
#include "core/ports/mixer.h"
#include "core/ports/movie_reader.h"

namespace kestrel {

struct CabWindowPorts {
  PreferenceStore& preferences;
  PictureLoader& pictures;
  Mixer& mixer;
  MovieReader* movie = nullptr;  // nullptr: the drive runs without pictures
};

class CabWindowModel {
 public:
  // Shows kStatusCreatingForm, then loads the drive (the loader's status texts follow) and sets
  // it up, not yet started. Throws FatalError with the exact message of a faulty file.
  // `previous` is what the window before left (preferences and controller codes stay when their
  // key cannot be opened).
  CabWindowModel(const SessionChoice& choice, CabWindowPorts ports, const StatusSink& status,
                 ProgramInputState& program, const SessionCarryOver& previous = {}, StartOptions options = {},
                 uint64_t randomSeed = 0);
  CabWindowModel(const CabWindowModel&) = delete;
  CabWindowModel& operator=(const CabWindowModel&) = delete;

  LoadedSession& loaded() { return *loaded_; }
  CabSession& session() { return *session_; }
  const CabMenu& menu() const { return menu_; }
  // The one way the driver's inputs reach the drive (and are recorded, or refused in a replay).
  DriveDoor& door() { return *door_; }
  // The route movie's "...映像ファイルを開けません", for a message box; empty when it opened.
  const std::string& movieMessage() const { return movieMessage_; }
  // The window caption: the line name.
  const std::string& lineName() const { return loaded_->line.LineName; }
  // For the next window.
  SessionCarryOver carryOver() const { return {loaded_->settings.preferences, loaded_->settings.controller}; }

  // The creation epilogue: ATS, the ATS lamp, the start (the check marks come with the menu).
  void start() { session_->start(); }

  // A checkable menu item: its check and preference toggle; "停止位置ラインを表示しない" hides the
  // three stop-line sprites while checked; a controller item chooses the kind (toggleMenuItem).
  // Returns the new check.
  bool toggle(CabMenuItem item);
  // The "Save(&S)" menu opens: the slots' captions; nullopt when the key cannot be opened (the
  // menu keeps what it shows).
  std::optional<SavedDriveMenu> openSaveMenu();
  // Save into slot 1 .. 3; the message to show.
  std::string_view save(int slot);
  // Restore slot 1 .. 3: nullopt when restored (the window sets its caption to the line name),
  // otherwise the message of the refusal, with nothing of the drive changed.
  std::optional<std::string_view> restore(int slot);

  // The engine's part of closing, in order: clocks stopped, the reset values, the movie closed,
  // every channel stopped, the sound data freed and the mixer initialised again, then the
  // preferences written (failures ignored) and FadeLevel 0. False when the mixer could not be
  // initialised again (kSoundReinitialiseFailed; the program ends).
  bool close();

 private:
  CabWindowPorts ports_;
  std::string movieMessage_;  // before loaded_: the loader's movie stage writes it
  std::unique_ptr<LoadedSession> loaded_;
  std::unique_ptr<CabSession> session_;
  CabMenu menu_;
  std::unique_ptr<DriveDoor> door_;
};

}  // namespace kestrel
