#include "core/front/session_loader.h"

#include "core/data/line_distances.h"
#include "core/data/line_loader.h"
#include "core/data/panel_pictures.h"
#include "core/data/settings_loader.h"
#include "core/data/sound_lengths.h"
#include "core/data/vehicle_loader.h"
#include "core/util/path_lookup.h"

namespace kestrel {

namespace {

void runStage(const std::function<void(LoadedSession&)>& stage, LoadedSession& session) {
  if (stage) stage(session);
}

void readSettingsAndData(LoadedSession& s, SessionPorts ports) {
  const auto& dir = s.choice.programDirectory;
  s.settings.mascon = loadMascon(resolveDataPath(dir, "mascon.dat"));
  loadRailvaneFile(resolveDataPath(dir, "railvane.dat"), s.settings);

  loadVehicleFile(resolveDataPath(s.choice.vehicleFolder(), s.choice.vehicleFileName), s.vehicle, s.panel);
  checkBrakeSteps(s.vehicle);

  LineLoadContext lineContext{dir, s.choice.vehicleFileName, s.settings.Disp.DisplayWidth,
                              s.settings.Disp.MovieHeight, ports.pictures};
  loadLineFile(resolveDataPath(dir, s.choice.lineFileName), lineContext, s.line, s.pictures);
}

}  // namespace

LoadedSession loadSession(const SessionChoice& choice, SessionPorts ports, const StatusSink& status,
                          const SessionStages& stages, const SessionCarryOver& previous) {
  auto report = [&](std::string_view text) {
    if (status) status(text);
  };
  LoadedSession s;
  s.choice = choice;

  s.settings.preferences = previous.preferences;
  readPreferences(ports.preferences, s.settings.preferences);
  s.settings.controller = previous.controller;
  readControllerCodes(ports.preferences, s.settings.controller);

  report(kStatusReadingSettings);
  readSettingsAndData(s, ports);

  report(kStatusDrawingPanel);
  registerPanelPictures(s.panel, s.choice.vehicleFolder(), ports.pictures, s.pictures);
  registerStafPictures(s.line, s.settings, s.choice.programDirectory, ports.pictures, s.pictures);
  runStage(stages.openMovie, s);

  report(kStatusRunningSounds);
  runStage(stages.createRunningSounds, s);
  report(kStatusEnvironmentSounds);
  runStage(stages.createEnvironmentSounds, s);
  report(kStatusCalloutSounds);
  runStage(stages.createCalloutSounds, s);
  report(kStatusLoadingSounds);
  measureSoundLengths(s.line, s.choice.programDirectory, &s.warnings);
  runStage(stages.loadSounds, s);

  report(kStatusSettingUp);
  convertLineDistances(s.line, &s.warnings);
  runStage(stages.setUpRun, s);
  return s;
}

}  // namespace kestrel
