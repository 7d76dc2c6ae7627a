#pragma once
// A drive on the DriveRig's records with everything its door needs: the records as a loaded
// session (line file "line.dat"), the session on the rig's mixer, the menu's checks, a store for
// the saved slots, and the door.
#include <memory>

#include "core/front/drive_door.h"
#include "core/ports/memory_preference_store.h"
#include "support/drive_rig.h"
#include "support/fake_movie.h"

namespace kestrel::test {

struct DoorRig {
  DriveRig rig;
  LoadedSession loaded;
  MemoryPreferenceStore store;
  MovieLog movieLog;  // what the session asks of its movie reader, which opens nothing
  FakeMovieReader movie{movieLog};
  std::unique_ptr<CabSession> session;
  std::unique_ptr<CabMenu> menu;
  std::unique_ptr<DriveDoor> door;

  // `adjust` changes the rig's records before the session is made on them.
  template <typename Adjust>
  explicit DoorRig(Adjust adjust) {
    adjust(rig);
    build();
  }
  DoorRig() { build(); }

  // The clock run on to `us` from the start.
  void runTo(int64_t us) { session->scheduler().advanceBy(us - session->scheduler().now()); }
  // One script line's input ("key 5", "menu save 1" ...).
  static ScriptInput input(std::string_view action);

 private:
  void build();
};

}  // namespace kestrel::test
