#include "core/front/cab_window_model.h"

#include "core/data/settings_loader.h"
#include "core/front/drive_restore.h"
#include "core/front/movie_stage.h"
#include "core/front/sound_stages.h"
#include "core/front/title_menu.h"

namespace kestrel {

namespace {

std::unique_ptr<LoadedSession> load(const SessionChoice& choice, CabWindowPorts ports,
                                    const StatusSink& status, const SessionCarryOver& previous,
                                    std::string& movieMessage) {
  if (status) status(kStatusCreatingForm);
  SessionStages stages;
  if (ports.movie) stages.openMovie = openRouteMovieStage(*ports.movie, &movieMessage);
  return std::make_unique<LoadedSession>(loadSession(choice, {ports.preferences, ports.pictures}, status,
                                                     withSoundStages(stages, ports.mixer), previous));
}

}  // namespace

CabWindowModel::CabWindowModel(const SessionChoice& choice, CabWindowPorts ports, const StatusSink& status,
                               ProgramInputState& program, const SessionCarryOver& previous,
                               StartOptions options, uint64_t randomSeed)
    : ports_(ports),
      loaded_(load(choice, ports, status, previous, movieMessage_)),
      session_(std::make_unique<CabSession>(
          CabSession::Records{loaded_->settings, loaded_->vehicle, loaded_->panel, loaded_->line,
                              loaded_->pictures, &loaded_->sounds},
          ports.mixer, program, options, randomSeed,
          MovieSource{ports.movie, loaded_->choice.programDirectory})),
      menu_(loaded_->settings, loaded_->line, program.controllerKind),
      door_(std::make_unique<DriveDoor>(*session_, *loaded_, menu_, ports.preferences)) {}

bool CabWindowModel::toggle(CabMenuItem item) {
  return toggleMenuItem(menu_, item, loaded_->settings.preferences, session_->context());
}

std::optional<SavedDriveMenu> CabWindowModel::openSaveMenu() {
  const auto titles = SavedDriveStore(ports_.preferences).titles();
  if (!titles) return std::nullopt;
  return savedDriveMenu(*titles);
}

std::string_view CabWindowModel::save(int slot) {
  return saveDriveToSlot(ports_.preferences, *session_, loaded_->line, loaded_->choice.lineFileName, slot);
}

std::optional<std::string_view> CabWindowModel::restore(int slot) {
  return restoreDriveFromSlot(ports_.preferences, *session_, loaded_->choice.lineFileName, slot);
}

bool CabWindowModel::close() {
  // A mixer that cannot be initialised again ends the program here, before the preferences.
  if (!session_->close()) return false;
  writePreferences(ports_.preferences, loaded_->settings.preferences);
  session_->context().train.FadeLevel = 0;
  return true;
}

}  // namespace kestrel
