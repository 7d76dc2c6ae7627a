#include "tools/run/drive_command.h"

#include <QDateTime>
#include <fstream>
#include <iterator>
#include <memory>
#include <tuple>

#include "core/data/settings_loader.h"
#include "core/front/drive_recorder.h"
#include "core/front/ghost_race.h"
#include "core/front/headless_drive.h"
#include "core/front/recorded_content.h"
#include "core/grade/grade_preferences.h"
#include "core/grade/grader.h"
#include "core/ports/memory_preference_store.h"
#include "core/util/fatal_error.h"
#include "core/util/file_bytes.h"
#include "platform/qt/qt_content_hasher.h"
#include "platform/qt/qt_picture_loader.h"
#include "platform/qt/qt_preference_store.h"
#include "tools/run/check_command.h"
#include "tools/run/drive_runner.h"
#include "tools/run/grading_files.h"
#include "tools/run/sound_log.h"

namespace kestrel::run {

namespace {

// A script's or recording's inputs, or the message that stops the runner.
std::variant<DriveRecording, std::string> readRecording(const std::filesystem::path& path) {
  if (path.empty()) return DriveRecording{};
  const auto text = readFileBytes(path);
  if (!text) return "kestrel-run: cannot read " + path.string();
  auto parsed = parseDriveRecording(*text);
  if (auto* e = std::get_if<ScriptError>(&parsed))
    return path.string() + ":" + std::to_string(e->line) + ": " + e->message;
  return std::get<DriveRecording>(std::move(parsed));
}

}  // namespace

int runDrive(const RunOptions& options, std::ostream& out, std::ostream& err) {
  const bool replay = !options.replay.empty();
  const std::filesystem::path& inputFile = replay ? options.replay : options.script;
  auto read = readRecording(inputFile);
  if (auto* message = std::get_if<std::string>(&read)) {
    err << *message << "\n";
    return kExitDataFault;
  }
  const DriveRecording& recording = std::get<DriveRecording>(read);
  const std::vector<ScriptInput>& inputs = recording.inputs;
  if (replay && recording.header.format == 0) {
    err << options.replay.string() << ": not a drive recording (it has no \"kestrel-recording\" line)\n";
    return kExitDataFault;
  }
  if (recording.cut) err << inputFile.string() << ": cut short; it is played up to its last complete line\n";

  // A first start in memory (every preference at its default), the INI file of --prefs, or the
  // preferences the recorded drive began with.
  MemoryPreferenceStore memoryPreferences;
  std::unique_ptr<QtPreferenceStore> filePreferences;
  if (!options.prefs.empty())
    filePreferences = std::make_unique<QtPreferenceStore>(QString::fromStdString(options.prefs.string()));
  PreferenceStore& preferences =
      filePreferences ? static_cast<PreferenceStore&>(*filePreferences) : memoryPreferences;
  if (replay) writeRecordedPreferences(memoryPreferences, recording.header);
  QtPictureLoader pictures;
  QtContentHasher hasher;

  HeadlessSetup setup;
  setup.choice = replay ? recordedChoice(recording.header, options.data) : sessionChoiceOf(options);
  setup.start = StartOptions{replay ? recording.header.station : options.station};
  setup.seed = replay ? recording.header.seed : 0;
  if (replay) setup.program = recording.header.program;
  setup.load = [](const SessionChoice& c, SessionPorts p, const SessionStages& s) { return loadQuietly(c, p, s); };
  setup.check = [&](const LoadedSession& loaded) {
    const int32_t station = setup.start.startStation;
    if (station >= static_cast<int32_t>(loaded.line.Station.size()) && station > 0)
      throw FatalError("kestrel-run: the line has no station " + std::to_string(station));
    if (auto e = jumpOutsideMenu(inputs, loaded.line))
      throw FatalError(inputFile.string() + ":" + std::to_string(e->line) + ": " + e->message);
  };
  if (replay) {
    const auto differences = recordedContentDifferences(recording.header, setup.choice, hasher);
    for (const std::string& d : differences) err << options.replay.string() << ": " << d << "\n";
    if (!differences.empty() && !options.force) {
      err << "kestrel-run: the replay would not be the recorded drive; --force plays it anyway\n";
      return kExitDataFault;
    }
  }

  std::unique_ptr<HeadlessDrive> drive;
  std::unique_ptr<GhostRace> ghost;
  try {
    drive = std::make_unique<HeadlessDrive>(setup, preferences, pictures);
    if (!options.ghost.empty()) {
      auto ghostRead = readRecording(options.ghost);
      if (auto* message = std::get_if<std::string>(&ghostRead)) throw FatalError(*message);
      auto& ghostRecording = std::get<DriveRecording>(ghostRead);
      const SessionChoice choice = ghostChoice(ghostRecording, setup.choice, setup.start.startStation);
      ghost = std::make_unique<GhostRace>(ghostRecording, choice, pictures, setup.load);
    }
  } catch (const FatalError& e) {
    err << e.message() << "\n";
    return kExitDataFault;
  }
  CabSession& session = drive->session();
  RecordingMixer& mixer = drive->mixer();
  // The desktop program shows this in a message box and drives on; so does the runner.
  if (!drive->movieMessage().empty()) err << drive->movieMessage() << "\n";

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
  const grade::GradeMode mode = grade::readGradePreferences(preferences).mode;
  grade::Grader grader(drive->loaded().line, drive->loaded().vehicle, session.constants().nB, mode,
                       session.train(), session.control());
  const auto afterTick = [&mixer, soundLog, &grader, &session] {
    flushSoundLog(mixer, soundLog);
    grader.observe(session.train(), session.control(), session.scheduler().now());
  };

  std::unique_ptr<DriveRecorder> recorder;
  if (!options.record.empty()) {
    std::string error;
    recorder = DriveRecorder::create(
        options.record,
        recordingHeaderOf(drive->loaded(), setup.start.startStation, setup.seed, drive->program(),
                          mode == grade::GradeMode::Exam ? 1 : 0, hasher,
                          QDateTime::currentDateTime().toString(Qt::ISODate).toStdString()),
        &error);
    if (!recorder) {
      err << "kestrel-run: " << error << "\n";
      return kExitDataFault;
    }
    drive->door().setRecorder([&recorder](const ScriptInput& in) { recorder->record(in); });
  }

  const int64_t duration = options.durationUs ? *options.durationUs : playedDurationUs(inputs);
  const DriveResult result =
      playDrive(drive->door(), inputs, duration, {trace.get(), afterTick, &err, ghost.get()});
  // The preferences as the cab window's close writes them.
  if (filePreferences) writePreferences(preferences, drive->loaded().settings.preferences);
  if (recorder) {
    // The drive's end, where the script gave none: the recording replays to here.
    if (!drive->door().ended()) drive->door().deliver(ScriptInput{.kind = ScriptInput::Kind::End});
    recorder->finish(grader.report().score);
    if (recorder->failed()) {
      err << "kestrel-run: cannot write the recording " << options.record.string() << "\n";
      return kExitDataFault;
    }
  }
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
