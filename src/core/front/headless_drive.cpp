#include "core/front/headless_drive.h"

#include "core/front/movie_stage.h"
#include "core/front/sound_stages.h"

namespace kestrel {

HeadlessDrive::HeadlessDrive(HeadlessSetup setup, PreferenceStore& store, PictureLoader& pictures)
    : program_(setup.program) {
  SessionStages stages;
  stages.openMovie = openRouteMovieStage(movie_, &movieMessage_);
  const SessionStages withSounds = withSoundStages(stages, mixer_);
  const SessionPorts ports{store, pictures};
  loaded_ = std::make_unique<LoadedSession>(setup.load ? setup.load(setup.choice, ports, withSounds)
                                                       : loadSession(setup.choice, ports, nullptr, withSounds));
  if (setup.check) setup.check(*loaded_);
  session_ = std::make_unique<CabSession>(
      CabSession::Records{loaded_->settings, loaded_->vehicle, loaded_->panel, loaded_->line, loaded_->pictures,
                          &loaded_->sounds},
      mixer_, program_, setup.start, setup.seed, MovieSource{&movie_, loaded_->choice.programDirectory});
  // The preferences the ticks write and the menus toggle are the loaded ones, as in the cab window.
  session_->setPreferences(loaded_->settings.preferences);
  mixer_.setClock([this] { return session_->scheduler().now(); });
  menu_ = std::make_unique<CabMenu>(loaded_->settings, loaded_->line, program_.controllerKind);
  door_ = std::make_unique<DriveDoor>(*session_, *loaded_, *menu_, store);
}

}  // namespace kestrel
