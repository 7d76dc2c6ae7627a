#include "fuzz_drive.h"

#include <cstdio>
#include <cstdlib>

#include "core/ports/memory_preference_store.h"
#include "core/util/fatal_error.h"
#include "fuzz_picture_loader.h"

namespace kestrel::fuzz {

const LoadedSession& fixtureSession() {
  static const LoadedSession loaded = [] {
    MemoryPreferenceStore preferences;
    FuzzPictureLoader pictures(FuzzPictureLoader::kEveryPicture);
    const auto choice = SessionChoice::of(KESTREL_FIXTURE_CONTENT, "line_local.dat", "train_313-1000_10cars.dat");
    try {
      return loadSession(choice, {preferences, pictures}, {});
    } catch (const FatalError& e) {
      std::fprintf(stderr, "fuzz: the fixture content does not load: %s\n", e.message().c_str());
      std::abort();
    }
  }();
  return loaded;
}

FuzzDrive::FuzzDrive(const LoadedSession* loaded) {
  const LoadedSession& s = loaded ? *loaded : fixtureSession();
  session = std::make_unique<CabSession>(
      CabSession::Records{s.settings, s.vehicle, s.panel, s.line, s.pictures, &s.sounds}, mixer, program);
  mixer.setClock([this] { return session->scheduler().now(); });
  session->start();
}

void FuzzDrive::run(int64_t us) {
  session->scheduler().advanceBy(us);
}

}  // namespace kestrel::fuzz
