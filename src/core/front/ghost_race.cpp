#include "core/front/ghost_race.h"

#include <algorithm>

namespace kestrel {

namespace {

std::unique_ptr<HeadlessDrive> ghostDrive(const RecordingHeader& h, const SessionChoice& choice,
                                          PreferenceStore& store, PictureLoader& pictures,
                                          const HeadlessSetup::Loader& load) {
  writeRecordedPreferences(store, h);
  return std::make_unique<HeadlessDrive>(HeadlessSetup{choice, {h.station}, h.seed, h.program, load, {}}, store,
                                         pictures);
}

}  // namespace

GhostRace::GhostRace(const DriveRecording& ghost, const SessionChoice& choice, PictureLoader& pictures,
                     const HeadlessSetup::Loader& load)
    : drive_(ghostDrive(ghost.header, choice, store_, pictures, load)),
      player_(drive_->door(), ghost.inputs),
      endUs_(playedDurationUs(player_.inputs())) {
  CabSession& s = drive_->session();
  s.setTickObserver([this, &s] {
    track_.add({s.scheduler().now() - player_.start(), s.train().distanceRun, s.train().MovieFrame});
  });
  s.start();
}

void GhostRace::observe(int64_t timeUs, double distanceCm) {
  // A tick's worth at a time, until the ghost has been where the driver is now, in time and place.
  const auto short_ = [&] { return track_.empty() || track_.lastTime() < timeUs || track_.farthest() < distanceCm; };
  while (short_() && runUs_ < endUs_ && !player_.ended()) {
    runUs_ = std::min(runUs_ + Scheduler::kTickPeriodUs, endUs_);
    player_.runTo(runUs_);
  }
  delta_ = track_.deltaAt(timeUs, distanceCm);
  sample_ = track_.at(timeUs);
}

}  // namespace kestrel
