#include "tools/run/drive_command.h"

#include <fstream>
#include <iterator>
#include <memory>
#include <tuple>

#include "core/data/settings_loader.h"
#include "core/front/cab_session.h"
#include "core/front/movie_stage.h"
#include "core/front/session_loader.h"
#include "core/front/sound_stages.h"
#include "core/grade/grade_preferences.h"
#include "core/grade/grader.h"
#include "core/ports/avi_frame_count_reader.h"
#include "core/ports/memory_preference_store.h"
#include "core/ports/recording_mixer.h"
#include "core/util/fatal_error.h"
#include "platform/qt/qt_picture_loader.h"
#include "platform/qt/qt_preference_store.h"
#include "tools/run/check_command.h"
#include "tools/run/drive_runner.h"
#include "tools/run/grading_files.h"
#include "tools/run/sound_log.h"

namespace kestrel::run {

namespace {

// The script's inputs, or the message that stops the runner.
std::variant<std::vector<ScriptInput>, std::string> readScript(const std::filesystem::path& path) {
  if (path.empty()) return std::vector<ScriptInput>{};
  std::ifstream in(path, std::ios::binary);
  if (!in) return "kestrel-run: cannot read the script " + path.string();
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  auto parsed = parseDriveScript(text);
  if (auto* e = std::get_if<ScriptError>(&parsed))
    return path.string() + ":" + std::to_string(e->line) + ": " + e->message;
  return std::get<std::vector<ScriptInput>>(std::move(parsed));
}

}  // namespace

int runDrive(const RunOptions& options, std::ostream& out, std::ostream& err) {
  auto script = readScript(options.script);
  if (auto* message = std::get_if<std::string>(&script)) {
    err << *message << "\n";
    return kExitDataFault;
  }
  const auto& inputs = std::get<std::vector<ScriptInput>>(script);

  // A first start in memory (every preference at its default), or the INI file of --prefs.
  MemoryPreferenceStore memoryPreferences;
  std::unique_ptr<QtPreferenceStore> filePreferences;
  if (!options.prefs.empty())
    filePreferences = std::make_unique<QtPreferenceStore>(QString::fromStdString(options.prefs.string()));
  PreferenceStore& preferences =
      filePreferences ? static_cast<PreferenceStore&>(*filePreferences) : memoryPreferences;
  QtPictureLoader pictures;
  RecordingMixer mixer;
  ProgramInputState program;
  // The movie counters and switches run on the frame counts of the AVI headers; nothing is decoded.
  AviFrameCountReader movie;
  std::string movieMessage;
  SessionStages stages;
  stages.openMovie = openRouteMovieStage(movie, &movieMessage);
  std::unique_ptr<LoadedSession> loaded;
  std::unique_ptr<CabSession> session;
  try {
    loaded = std::make_unique<LoadedSession>(
        loadQuietly(options, {preferences, pictures}, withSoundStages(stages, mixer)));
    if (options.station >= static_cast<int32_t>(loaded->line.Station.size()) && options.station > 0)
      throw FatalError("kestrel-run: the line has no station " + std::to_string(options.station));
    if (auto e = jumpOutsideMenu(inputs, loaded->line))
      throw FatalError(options.script.string() + ":" + std::to_string(e->line) + ": " + e->message);
    session =
        std::make_unique<CabSession>(CabSession::Records{loaded->settings, loaded->vehicle, loaded->panel,
                                                         loaded->line, loaded->pictures, &loaded->sounds},
                                     mixer, program, StartOptions{options.station}, 0,
                                     MovieSource{&movie, loaded->choice.programDirectory});
  } catch (const FatalError& e) {
    err << e.message() << "\n";
    return kExitDataFault;
  }
  // The desktop program shows this in a message box and drives on; so does the runner.
  if (!movieMessage.empty()) err << movieMessage << "\n";
  // The preferences the ticks write and the menus toggle are the loaded ones, which the end of
  // the drive writes back, as in the cab window.
  session->setPreferences(loaded->settings.preferences);
  mixer.setClock([&session] { return session->scheduler().now(); });

  std::ofstream traceFile;
  std::unique_ptr<TraceWriter> trace;
  if (!options.trace.empty()) {
    traceFile.open(options.trace, std::ios::binary);
    if (!traceFile) {
      err << "kestrel-run: cannot write the trace " << options.trace.string() << "\n";
      return kExitDataFault;
    }
    trace = std::make_unique<TraceWriter>(traceFile, options.traceEvery);
    trace->writeHeader();
  }
  std::ofstream soundLogFile;
  if (!options.soundLog.empty()) {
    soundLogFile.open(options.soundLog, std::ios::binary);
    if (!soundLogFile) {
      err << "kestrel-run: cannot write the sound log " << options.soundLog.string() << "\n";
      return kExitDataFault;
    }
  }
  // The mixer's record is written out (or dropped) after every tick, so it never grows.
  std::ostream* soundLog = soundLogFile.is_open() ? &soundLogFile : nullptr;
  // The grading reads the drive after every tick; its mode is the user's preference.
  grade::Grader grader(loaded->line, loaded->vehicle, session->constants().nB,
                       grade::readGradePreferences(preferences).mode, session->train(), session->control());
  const auto afterTick = [&mixer, soundLog, &grader, &session] {
    flushSoundLog(mixer, soundLog);
    grader.observe(session->train(), session->control(), session->scheduler().now());
  };

  const int64_t duration = options.durationUs ? *options.durationUs : defaultDurationUs(inputs);
  MenuContext menu{preferences, *loaded, CabMenu(loaded->settings, loaded->line, program.controllerKind),
                   &err};
  const DriveResult result = playDrive(*session, inputs, duration, trace.get(), afterTick, &menu);
  // The preferences as the cab window's close writes them.
  if (filePreferences) writePreferences(preferences, loaded->settings.preferences);
  for (auto [file, path, what] : {std::tuple{&traceFile, &options.trace, "trace"},
                                  std::tuple{&soundLogFile, &options.soundLog, "sound log"}}) {
    if (!file->is_open()) continue;
    file->flush();
    if (!*file) {
      err << "kestrel-run: cannot write the " << what << " " << path->string() << "\n";
      return kExitDataFault;
    }
  }
  if (const auto failure = writeGradingFiles(options, grader.report())) {
    err << *failure << "\n";
    return kExitDataFault;
  }
  out << summaryLine(result) << "\n";
  return kExitOk;
}

}  // namespace kestrel::run
