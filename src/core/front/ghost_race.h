#pragma once
// A race against a recorded drive: the ghost's drive replayed headless beside the driver's, run on
// only as far as the driver's time and place need it (so a race costs nothing up front), its track
// kept, and after each of the driver's ticks the time difference at the driver's place and the
// ghost's own sample at the driver's time.
//
// Thread contract: the thread that owns the driver's drive; the ghost's drive runs inside its calls.
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "core/front/ghost_track.h"
#include "core/front/headless_drive.h"
#include "core/front/script_player.h"
#include "core/ports/memory_preference_store.h"

namespace kestrel {

class GhostRace {
 public:
  // Loads the ghost's drive on `choice` with what the recording says it ran on (a script, which
  // says nothing, runs as a first start), and starts it; it runs to the recording's end (its
  // "end", or its last input and 10 s). Throws FatalError for a faulty file.
  GhostRace(const DriveRecording& ghost, const SessionChoice& choice, PictureLoader& pictures,
            const HeadlessSetup::Loader& load = {});
  GhostRace(const GhostRace&) = delete;
  GhostRace& operator=(const GhostRace&) = delete;

  // After a tick of the driver's drive.
  void observe(int64_t timeUs, double distanceCm);
  // Of the last observation: seconds behind (+) or ahead (-); nullopt when the ghost never passed
  // the driver's place.
  std::optional<double> deltaS() const { return delta_; }
  // Of the last observation: where the ghost was at the driver's time.
  std::optional<GhostSample> sample() const { return sample_; }
  const GhostTrack& track() const { return track_; }
  HeadlessDrive& drive() { return *drive_; }

 private:
  MemoryPreferenceStore store_;
  std::unique_ptr<HeadlessDrive> drive_;
  ScriptPlayer player_;
  GhostTrack track_;
  int64_t endUs_;
  int64_t runUs_ = 0;  // how far the ghost has run, from its start
  std::optional<double> delta_;
  std::optional<GhostSample> sample_;
};

}  // namespace kestrel
