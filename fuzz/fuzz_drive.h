#pragma once
// The drive that the fuzz targets of the driver's inputs work on: the test fixture content (the
// local line and the 313-1000 10-car train) loaded once, and a fresh cab session on it for every
// input, started, with a mixer that records instead of playing.
#include <memory>

#include "core/front/cab_session.h"
#include "core/front/session_loader.h"
#include "core/ports/recording_mixer.h"

namespace kestrel::fuzz {

// The fixture records, loaded on first use (a fault in them aborts: the fixtures are wrong).
const LoadedSession& fixtureSession();

struct FuzzDrive {
  RecordingMixer mixer;
  ProgramInputState program;
  std::unique_ptr<CabSession> session;

  // A session on `loaded` (the fixture records when null), started.
  explicit FuzzDrive(const LoadedSession* loaded = nullptr);
  // Runs the drive's clocks on by `us` microseconds of drive time.
  void run(int64_t us);
};

}  // namespace kestrel::fuzz
