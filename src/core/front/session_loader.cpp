#include "core/front/session_loader.h"

#include <optional>

#include "core/data/line_distances.h"
#include "core/data/line_loader.h"
#include "core/data/panel_pictures.h"
#include "core/data/settings_loader.h"
#include "core/data/sound_lengths.h"
#include "core/data/vehicle_loader.h"
#include "core/util/fatal_error.h"
#include "core/util/path_lookup.h"

namespace kestrel {

namespace {

void runStage(const std::function<void(LoadedSession&)>& stage, LoadedSession& session) {
  if (stage) stage(session);
}

void readSettingsAndData(LoadedSession& s, SessionPorts ports, FaultLog* collect) {
  const auto& dir = s.choice.programDirectory;
  s.settings.mascon = loadMascon(resolveDataPath(dir, "mascon.dat"), collect);
  loadRailvaneFile(resolveDataPath(dir, "railvane.dat"), s.settings, collect);

  const auto vehicleFile = vehicleFilePath(s.choice);
  loadVehicleFile(vehicleFile, s.vehicle, s.panel, collect);
  try {
    checkBrakeSteps(s.vehicle);
  } catch (const FatalError& e) {
    if (!collect) throw;
    collect->addAtKey(vehicleFile, "[Brake]", e.message());
  }

  LineLoadContext lineContext{dir, s.choice.vehicleFileName, s.settings.Disp.DisplayWidth,
                              s.settings.Disp.MovieHeight, ports.pictures};
  loadLineFile(lineFilePath(s.choice), lineContext, s.line, s.pictures, collect);
}

void registerPictures(LoadedSession& s, SessionPorts ports, FaultLog* collect) {
  std::optional<NamedFileFaults> vehicleFaults, lineFaults;
  if (collect) {
    vehicleFaults.emplace(NamedFileFaults{*collect, vehicleFilePath(s.choice)});
    lineFaults.emplace(NamedFileFaults{*collect, lineFilePath(s.choice)});
  }
  registerPanelPictures(s.panel, s.choice.vehicleFolder(), ports.pictures, s.pictures,
                        vehicleFaults ? &*vehicleFaults : nullptr);
  registerStafPictures(s.line, s.settings, s.choice.programDirectory, ports.pictures, s.pictures,
                       lineFaults ? &*lineFaults : nullptr);
}

}  // namespace

std::filesystem::path vehicleFilePath(const SessionChoice& choice) {
  return resolveDataPath(choice.vehicleFolder(), choice.vehicleFileName);
}

std::filesystem::path lineFilePath(const SessionChoice& choice) {
  return resolveDataPath(choice.programDirectory, choice.lineFileName);
}

LoadedSession loadSession(const SessionChoice& choice, SessionPorts ports, const StatusSink& status,
                          const SessionStages& stages, const SessionCarryOver& previous, FaultLog* collect) {
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
  readSettingsAndData(s, ports, collect);

  report(kStatusDrawingPanel);
  registerPictures(s, ports, collect);
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
