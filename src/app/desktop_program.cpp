#include "app/desktop_program.h"

#include <QActionGroup>
#include <QApplication>
#include <QDateTime>
#include <QMenu>
#include <QMenuBar>
#include <fstream>
#include <iostream>
#include <iterator>

#include "core/controls/easy_cab_lamps.h"
#include "core/front/content_directory.h"
#include "core/front/drive_library.h"
#include "core/front/recorded_content.h"
#include "core/grade/grade_preferences.h"
#include "core/util/file_bytes.h"
#include "core/front/help_text.h"
#include "core/util/fatal_error.h"
#include "platform/ffmpeg/soundtrack_reader.h"
#include "platform/qt/cab_view.h"
#include "platform/qt/drive_clock.h"
#include "platform/qt/process_environment.h"
#include "platform/qt/tool_window_place.h"

namespace kestrel::app {

namespace {

constexpr int kExitDataFault = 2;
constexpr int kExitSound = 1;

}  // namespace

DesktopProgram::DesktopProgram(DesktopOptions options) : options_(std::move(options)) {}

DesktopProgram::~DesktopProgram() {
  keys_.setTarget(nullptr);
  if (valueDisplay_) valueDisplay_->attach(nullptr);
  // Windows before the drives they show.
  if (drive_ && drive_->window) delete drive_->window;
  if (retired_ && retired_->window) delete retired_->window;
}

int DesktopProgram::start() {
  const ContentLocation content = locateContent(options_.data, contentEnvironmentOfProcess());
  if (!content.directory) {
    std::cerr << searchedFoldersReport(content);
    dialogs_.showMessage(std::string(kMisplacedProgram));
    return kExitDataFault;
  }
  if (const std::string note = skippedVariableNote(content); !note.empty()) std::cerr << "kestrel: " << note;
  options_.data = *content.directory;
  reportMixer();
  if (!gamepad_.startError().empty())
    std::cerr << "kestrel: no game controllers: " << gamepad_.startError() << "\n";
  if (!options_.script.empty() && !readScript()) return kExitDataFault;
  if (!options_.trace.empty()) {
    traceFile_.open(options_.trace, std::ios::binary);
    if (!traceFile_) {
      std::cerr << "kestrel: cannot write the trace " << options_.trace.string() << "\n";
      return kExitDataFault;
    }
    trace_ = std::make_unique<run::TraceWriter>(traceFile_, 1);
    trace_->writeHeader();
    traceFile_.flush();
  }

  // The title window, then the help, value display and easy cab windows, each made once.
  const int picture = chooseTitlePicture(static_cast<uint64_t>(QDateTime::currentMSecsSinceEpoch()));
  const auto soundtrack = [this](const std::filesystem::path& movie) -> std::optional<WaveId> {
    std::optional<Soundtrack> track = readSoundtrack(movie);
    if (!track) return std::nullopt;
    try {
      return mixer_.loadSamples(MonoWave{track->sampleRate, std::move(track->samples)});
    } catch (const FatalError&) {
      return std::nullopt;  // the movie plays on without its sound
    }
  };
  title_ = std::make_unique<TitleWindow>(options_.data,
                                         TitleWindowPorts{mixer_, opening_, dialogs_, soundtrack}, picture);
  dialogs_.setParent(title_.get());
  help_ = std::make_unique<HelpWindow>(readHelpText(options_.data).value_or(HelpText{}), keys_);
  valueDisplay_ = std::make_unique<ValueDisplayWindow>(keys_);
  easyCab_ = std::make_unique<EasyCabWindow>(keys_);
  debrief_ = std::make_unique<DebriefWindow>();
  connect(title_.get(), &TitleWindow::trainClicked, this,
          [this](const SessionChoice& choice) { runDrive(choice, StartOptions{}); });
  connect(title_.get(), &TitleWindow::replayClicked, this, [this] {
    if (const auto file = chooseRecording("Replay a drive")) startReplay(*file);
  });
  connect(title_.get(), &TitleWindow::ghostClicked, this, [this] {
    if (const auto file = chooseRecording("Race against a drive")) options_.ghost = *file;
  });

  if (!options_.replay.empty()) {
    title_->skipToMenu();
    QMetaObject::invokeMethod(
        this,
        [this] {
          if (!startReplay(options_.replay)) {
            title_->show();
          }
        },
        Qt::QueuedConnection);
    return 0;
  }
  if (!options_.line.empty()) {
    title_->skipToMenu();
    QMetaObject::invokeMethod(
        this,
        [this] {
          runDrive(SessionChoice::of(options_.data, options_.line, options_.train),
                   StartOptions{options_.station});
        },
        Qt::QueuedConnection);
    return 0;
  }
  title_->startOpening();
  title_->show();
  return 0;
}

bool DesktopProgram::readScript() {
  const auto text = readFileBytes(options_.script);
  if (!text) {
    std::cerr << "kestrel: cannot read the script " << options_.script.string() << "\n";
    return false;
  }
  auto parsed = parseDriveScript(*text);
  if (const auto* e = std::get_if<ScriptError>(&parsed)) {
    std::cerr << options_.script.string() << ":" << e->line << ": " << e->message << "\n";
    return false;
  }
  script_ = std::get<std::vector<ScriptInput>>(std::move(parsed));
  scriptPending_ = true;
  return true;
}

bool DesktopProgram::startReplay(const std::filesystem::path& file) {
  const auto text = readFileBytes(file);
  if (!text) {
    dialogs_.showMessage("The recording " + file.string() + " cannot be read.");
    return false;
  }
  auto parsed = parseDriveRecording(*text);
  if (const auto* e = std::get_if<ScriptError>(&parsed)) {
    // As the runner refuses a malformed script: the file, the line, what is wrong.
    const std::string message = file.string() + ":" + std::to_string(e->line) + ": " + e->message;
    std::cerr << "kestrel: " << message << "\n";
    dialogs_.showMessage(message);
    return false;
  }
  const DriveRecording& recording = std::get<DriveRecording>(parsed);
  if (recording.header.format == 0) {
    dialogs_.showMessage(file.string() + " is not a drive recording.");
    return false;
  }
  const SessionChoice choice = recordedChoice(recording.header, options_.data);
  const auto differences = recordedContentDifferences(recording.header, choice, hasher_);
  if (!differences.empty()) {
    std::string question;
    for (const std::string& d : differences) question += d + "\n";
    question += "The replay may not be the recorded drive. Play it anyway?";
    if (!dialogs_.confirm(question)) return false;
  }
  runDrive(choice, StartOptions{recording.header.station}, &recording);
  return true;
}

// The inputs meet the drive through its door at their drive times, as in kestrel-run.
void DesktopProgram::playInputs(Drive& drive, std::vector<ScriptInput> inputs, double rate) {
  drive.player = std::make_unique<ScriptPlayer>(drive.model->door(), std::move(inputs));
  // What a played input would show in a message box goes to stderr, as the runner writes it: a
  // box would stop the played drive until someone answers it.
  drive.player->setMessageSink([](const ScriptInput& in, const std::string& message) {
    std::cerr << "kestrel: " << formatSeconds(in.timeUs) << " " << message << "\n";
  });
  ScriptPlayer* player = drive.player.get();
  QPointer<CabWindow> window = drive.window;
  drive.window->clock().setInputs({[player] { return player->nextDue(); },
                                   [player, window] {
                                     player->deliverNext();
                                     // The recorded drive ended here: so does its replay.
                                     if (player->ended() && window)
                                       QMetaObject::invokeMethod(window, &QWidget::close, Qt::QueuedConnection);
                                   },
                                   rate});
}

void DesktopProgram::startRecording(Drive& drive, const SessionChoice& choice, int32_t station, uint64_t seed) {
  const auto folder = drivesFolder(contentEnvironmentOfProcess());
  const int32_t kept = readDrivesKept(preferences_);
  if (!folder || kept == 0) return;
  const QDateTime now = QDateTime::currentDateTime();
  const std::filesystem::path path =
      newRecordingPath(*folder, now.toString(QStringLiteral("yyyyMMdd-HHmmss")).toStdString(), choice.lineFileName,
                       choice.vehicleFileName);
  const int32_t gradeMode = grade::readGradePreferences(preferences_).mode == grade::GradeMode::Exam ? 1 : 0;
  std::string error;
  drive.recorder = DriveRecorder::create(
      path,
      recordingHeaderOf(drive.model->loaded(), station, seed, program_, gradeMode, hasher_,
                        now.toString(Qt::ISODate).toStdString()),
      &error);
  if (!drive.recorder) {
    // The drive goes on unrecorded; the driver loses nothing else.
    std::cerr << "kestrel: " << error << "\n";
    return;
  }
  pruneRecordings(*folder, static_cast<size_t>(kept), path);
  DriveRecorder* recorder = drive.recorder.get();
  drive.model->door().setRecorder([recorder](const ScriptInput& in) { recorder->record(in); });
}

std::optional<std::filesystem::path> DesktopProgram::chooseRecording(const std::string& title) {
  const auto folder = drivesFolder(contentEnvironmentOfProcess());
  const auto file = dialogs_.openFile(title, "Drive recordings (*.drive)|*.drive", folder ? folder->string() : "");
  if (!file) return std::nullopt;
  return std::filesystem::path(*file);
}

void DesktopProgram::startGhost(Drive& drive, const SessionChoice& choice, int32_t station) {
  std::optional<std::filesystem::path> file;
  if (!options_.ghost.empty()) {
    file = options_.ghost;
  } else if (const auto folder = drivesFolder(contentEnvironmentOfProcess())) {
    file = bestRecording(*folder, choice.lineFileName,
                         (choice.vehicleDirectory / choice.vehicleFileName).generic_string());
  }
  if (!file) return;
  const auto text = readFileBytes(*file);
  if (!text) {
    std::cerr << "kestrel: cannot read the ghost " << file->string() << "\n";
    return;
  }
  auto parsed = parseDriveRecording(*text);
  if (const auto* e = std::get_if<ScriptError>(&parsed)) {
    std::cerr << "kestrel: " << file->string() << ":" << e->line << ": " << e->message << "\n";
    return;
  }
  auto& recording = std::get<DriveRecording>(parsed);
  // A ghost of another line has no place to be compared at: that drive runs without one.
  if (recording.header.format != 0 && recording.header.line.name != choice.lineFileName) {
    std::cerr << "kestrel: the ghost " << file->string() << " was driven on " << recording.header.line.name
              << ", not on " << choice.lineFileName << "\n";
    return;
  }
  try {
    drive.ghost = std::make_unique<GhostRace>(recording, ghostChoice(recording, choice, station), pictures_);
  } catch (const FatalError& e) {
    // The drive goes on without its ghost.
    std::cerr << "kestrel: the ghost " << file->string() << " cannot be raced: " << e.message() << "\n";
    return;
  }
  drive.ghostOverlay = std::make_unique<GhostOverlay>(&drive.window->view());
  std::cerr << "kestrel: racing against " << file->string() << "\n";
}

void DesktopProgram::finishRecording(Drive& drive) {
  if (!drive.recorder) return;
  drive.model->door().setRecorder(nullptr);
  drive.recorder->finish(drive.grading->report().score);
  if (drive.recorder->failed())
    std::cerr << "kestrel: the recording " << drive.recorder->path().string() << " could not be written in full\n";
  drive.recorder.reset();
}

void DesktopProgram::addReplayMenu(Drive& drive) {
  QMenu* menu = drive.window->menuBar()->addMenu(QStringLiteral("Replay"));
  auto* speeds = new QActionGroup(menu);
  CabWindow* window = drive.window;
  for (const int rate : {1, 2, 4}) {
    QAction* a = menu->addAction(QStringLiteral("%1×").arg(rate));
    a->setObjectName(QStringLiteral("ReplaySpeed%1").arg(rate));
    a->setCheckable(true);
    a->setChecked(rate == options_.speed);
    speeds->addAction(a);
    connect(a, &QAction::triggered, window, [window, rate] { window->clock().setRate(rate); });
  }
}

void DesktopProgram::replayForwardTo(Drive& drive, int32_t station) {
  CabSession& s = drive.model->session();
  ScriptPlayer& player = *drive.player;
  if (s.train().stations.currentStation >= station || player.ended()) return;
  drive.window->clock().stop();
  driveMixer_.setMuted(true);
  const int64_t end = playedDurationUs(player.inputs());
  while (s.train().stations.currentStation < station && !player.ended()) {
    const int64_t at = s.scheduler().now() - player.start();
    if (at >= end) break;
    player.runTo(std::min(at + Scheduler::kTickPeriodUs, end));
  }
  driveMixer_.setMuted(false);
  drive.window->view().redrawPaused();
  if (player.ended()) {
    QMetaObject::invokeMethod(drive.window, &QWidget::close, Qt::QueuedConnection);
    return;
  }
  if (!drive.replayPaused) drive.window->clock().start();
}

void DesktopProgram::reportMixer() {
  if (const auto warning = mixer_.takeWarning()) std::cerr << "kestrel: " << *warning << "\n";
}

void DesktopProgram::retire() {
  if (retired_ && retired_->window) delete retired_->window;
  retired_.reset();
}

void DesktopProgram::runDrive(const SessionChoice& choice, StartOptions startOptions, const DriveRecording* replay) {
  retire();
  clickToFrame_.start();
  title_->beginLoading();
  auto drive = std::make_unique<Drive>();
  drive->serial = std::make_unique<QtSerialLink>();
  drive->movie = std::make_unique<ThreadedMovieReader>();
  const bool scripted = scriptPending_ && !replay;
  scriptPending_ = false;
  drive->replaying = replay != nullptr;
  // A script runs on the runner's seed; a replay on the recorded drive's, its preferences and
  // what its program run carried in.
  const uint64_t seed = replay     ? replay->header.seed
                        : scripted ? 0
                                   : static_cast<uint64_t>(QDateTime::currentMSecsSinceEpoch());
  PreferenceStore* store = &preferences_;
  ProgramInputState* program = &program_;
  if (replay) {
    drive->replayPreferences = std::make_unique<MemoryPreferenceStore>();
    writeRecordedPreferences(*drive->replayPreferences, replay->header);
    store = drive->replayPreferences.get();
    replayProgram_ = replay->header.program;
    program = &replayProgram_;
  }
  driveMixer_.setMuted(scripted);
  try {
    drive->model = std::make_unique<CabWindowModel>(
        choice, CabWindowPorts{*store, pictures_, driveMixer_, drive->movie.get()},
        [this](std::string_view text) { title_->showStatus(text); }, *program, replay ? SessionCarryOver{} : carryOver_,
        startOptions, seed);
  } catch (const FatalError& e) {
    // A faulty file ends the program, after its message.
    dialogs_.showMessage(e.message());
    QApplication::exit(kExitDataFault);
    return;
  }
  driveMixer_.setClock([&session = drive->model->session()] { return session.scheduler().now(); });
  if (!drive->model->movieMessage().empty()) dialogs_.showMessage(drive->model->movieMessage());

  CabWindowHooks hooks{dialogs_,
                       [this] { showBesideCab(*help_); },
                       [this] { showBesideCab(*easyCab_); },
                       [this] { easyCab_->hide(); },
                       [this] { afterTick(); },
                       [this] {
                         if (trace_)
                           std::cerr << "kestrel: first frame of the cab window " << clickToFrame_.elapsed()
                                     << " ms after the train click\n";
                       },
                       [this](bool shown) {
                         if (shown == valueDisplay_->isVisible()) return;
                         if (shown)
                           showBesideCab(*valueDisplay_, false);
                         else
                           valueDisplay_->hide();
                       },
                       drive->serial.get()};
  if (replay) {
    hooks.replayJump = [this, d = drive.get()](int32_t station) { replayForwardTo(*d, station); };
    hooks.replayPause = [d = drive.get()] {
      d->replayPaused = !d->replayPaused;
      if (d->replayPaused)
        d->window->clock().stop();
      else
        d->window->clock().start();
      d->window->view().setPausedMark(d->replayPaused);
    };
  }
  drive->grading = std::make_unique<DriveGrading>(*drive->model, *store);
  connect(drive->grading.get(), &DriveGrading::debriefRequested, this,
          [this] { showDebrief(*drive_->grading); });
  hooks.extendDisplayMenu = [grading = drive->grading.get()](QMenu* display) { grading->extendMenu(display); };
  // The game controller reaches the drive through its door; a replay plays the recorded states.
  if (!replay) drive->model->door().setLiveGamepad(&gamepad_);
  drive->model->door().setReplaying(replay != nullptr);
  drive->window = new CabWindow(*drive->model, drive->movie.get(), std::move(hooks));
  drive->window->setAttribute(Qt::WA_DeleteOnClose, false);
  connect(drive->window, &CabWindow::closed, this, &DesktopProgram::driveClosed);
  drive->grading->attachView(&drive->window->view());
  if (scripted) playInputs(*drive, script_, options_.speed);
  if (replay) {
    playInputs(*drive, replay->inputs, options_.speed);
    addReplayMenu(*drive);
  }
  if (!replay) {
    startGhost(*drive, choice, startOptions.startStation);
    startRecording(*drive, choice, startOptions.startStation, seed);
  }
  drive_ = std::move(drive);
  keys_.setTarget(drive_->window);
  valueDisplay_->attach(drive_->model.get());
  title_->hide();
  drive_->window->begin();
}

void DesktopProgram::showBesideCab(QWidget& window, bool raise) {
  // A window already open stays where the driver left it.
  if (!window.isVisible() && drive_ && drive_->window)
    moveBesideCab(window, *drive_->window, {help_.get(), easyCab_.get(), valueDisplay_.get()});
  window.show();
  if (raise) window.raise();
}

void DesktopProgram::afterTick() {
  reportMixer();  // a sound device lost during the drive is told once
  if (!drive_) return;
  CabSession& s = drive_->model->session();
  if (easyCab_->isVisible()) easyCab_->showLamps(easyCabLamps(s.control(), s.train()));
  valueDisplay_->refresh();
  drive_->grading->afterTick();
  // A damaged route movie: said once, and the drive goes on.
  if (const auto warning = drive_->movie->takeWarning()) std::cerr << "kestrel: " << *warning << "\n";
  std::optional<GhostSample> ghostSample;
  if (drive_->ghost) {
    drive_->ghost->observe(s.scheduler().now(), s.train().distanceRun);
    ghostSample = drive_->ghost->sample();
    drive_->ghostOverlay->show(s.context(), drive_->ghost->deltaS(),
                               ghostSample ? std::optional<double>(ghostSample->distanceCm) : std::nullopt);
  }
  if (trace_) {
    trace_->tick({s.scheduler().now(), s.train(), s.control(), &s.context().mixer, &s.sprites(),
                  ghostSample ? std::optional<int32_t>(ghostSample->frame) : std::nullopt,
                  drive_->ghost ? drive_->ghost->deltaS() : std::nullopt});
    traceFile_.flush();
  }
}

void DesktopProgram::driveClosed(bool soundReinitialised) {
  keys_.setTarget(nullptr);
  valueDisplay_->attach(nullptr);
  if (!drive_->replaying) carryOver_ = drive_->model->carryOver();
  finishRecording(*drive_);
  driveMixer_.setClock([] { return int64_t{0}; });  // the closed drive's clock goes with it
  drive_->model->door().setLiveGamepad(nullptr);
  drive_->grading->attachView(nullptr);
  drive_->window->hide();
  drive_->window->deleteLater();
  retired_ = std::move(drive_);
  help_->hide();  // the title returns alone
  if (!soundReinitialised) {
    dialogs_.showMessage(kSoundReinitialiseFailed);
    QApplication::exit(kExitSound);
    return;
  }
  reportMixer();
  title_->afterDrive();
  // The drive has ended (its last station, or the window closed): how it went.
  if (retired_->grading->gradedAnything()) showDebrief(*retired_->grading);
}

void DesktopProgram::showDebrief(const DriveGrading& grading) {
  debrief_->showReport(grading.report());
  debrief_->show();
  debrief_->raise();
  debrief_->activateWindow();
}

}  // namespace kestrel::app
