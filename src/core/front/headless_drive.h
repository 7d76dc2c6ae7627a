#pragma once
// A drive no one watches or hears, set up as the headless runner sets one up: the session loaded
// as a cab window loads it, its sounds on a mixer that plays nothing but keeps each channel's play
// state in drive time, the route movie's frame counts read from the AVI headers (nothing is
// decoded), the menu's checks, and the door its inputs go through. The runner drives one; a ghost
// is one running beside the driver's drive.
//
// Thread contract: one thread, like the session it owns.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "core/front/cab_menu.h"
#include "core/front/cab_session.h"
#include "core/front/drive_door.h"
#include "core/front/session_loader.h"
#include "core/ports/avi_frame_count_reader.h"
#include "core/ports/picture_loader.h"
#include "core/ports/preference_store.h"
#include "core/ports/recording_mixer.h"

namespace kestrel {

struct HeadlessSetup {
  SessionChoice choice;
  StartOptions start;
  uint64_t seed = 0;
  ProgramInputState program;
  // Loads the session (the runner keeps the image libraries' complaints off stderr); the loader
  // itself when empty.
  using Loader = std::function<LoadedSession(const SessionChoice&, SessionPorts, const SessionStages&)>;
  Loader load;
  // Checks the loaded records before the session is made (throws FatalError to refuse them).
  std::function<void(const LoadedSession&)> check;
};

class HeadlessDrive {
 public:
  // Throws FatalError with the exact message of a faulty file. `store` holds the preferences read
  // at the start and the saved slots; it must outlive the drive, as must `pictures`.
  HeadlessDrive(HeadlessSetup setup, PreferenceStore& store, PictureLoader& pictures);
  HeadlessDrive(const HeadlessDrive&) = delete;
  HeadlessDrive& operator=(const HeadlessDrive&) = delete;

  LoadedSession& loaded() { return *loaded_; }
  CabSession& session() { return *session_; }
  DriveDoor& door() { return *door_; }
  RecordingMixer& mixer() { return mixer_; }
  ProgramInputState& program() { return program_; }
  // The route movie's "...映像ファイルを開けません"; empty when it opened.
  const std::string& movieMessage() const { return movieMessage_; }

 private:
  RecordingMixer mixer_;
  AviFrameCountReader movie_;
  ProgramInputState program_;
  std::string movieMessage_;
  std::unique_ptr<LoadedSession> loaded_;
  std::unique_ptr<CabSession> session_;
  std::unique_ptr<CabMenu> menu_;
  std::unique_ptr<DriveDoor> door_;
};

}  // namespace kestrel
