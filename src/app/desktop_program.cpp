#include "app/desktop_program.h"

#include <QApplication>
#include <QDateTime>
#include <fstream>
#include <iostream>
#include <iterator>

#include "core/controls/easy_cab_lamps.h"
#include "core/front/content_directory.h"
#include "core/front/help_text.h"
#include "core/util/fatal_error.h"
#include "platform/ffmpeg/soundtrack_reader.h"
#include "platform/qt/cab_view.h"
#include "platform/qt/drive_clock.h"
#include "platform/qt/process_environment.h"
#include "platform/qt/tool_window_place.h"
#include "tools/run/drive_runner.h"

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
  std::ifstream in(options_.script, std::ios::binary);
  if (!in) {
    std::cerr << "kestrel: cannot read the script " << options_.script.string() << "\n";
    return false;
  }
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  auto parsed = run::parseDriveScript(text);
  if (const auto* e = std::get_if<run::ScriptError>(&parsed)) {
    std::cerr << options_.script.string() << ":" << e->line << ": " << e->message << "\n";
    return false;
  }
  script_ = std::get<std::vector<run::ScriptInput>>(std::move(parsed));
  scriptPending_ = true;
  return true;
}

// The inputs meet the drive at their drive times, as in kestrel-run; the menu actions that need
// the runner's menu context (save, load, the checks) are not played.
void DesktopProgram::playScript(Drive& drive) {
  CabSession& session = drive.model->session();
  scriptMixer_.setClock([&session] { return session.scheduler().now(); });
  drive.window->clock().setInputs(
      {[this]() -> std::optional<int64_t> {
         if (scriptNext_ >= script_.size()) return std::nullopt;
         return script_[scriptNext_].timeUs;
       },
       [this, &session] {
         run::deliverInput(session, script_[scriptNext_++], nullptr, scriptPad_);
         scriptMixer_.clearOperations();
       },
       static_cast<double>(options_.speed)});
}

void DesktopProgram::reportMixer() {
  if (const auto warning = mixer_.takeWarning()) std::cerr << "kestrel: " << *warning << "\n";
}

void DesktopProgram::retire() {
  if (retired_ && retired_->window) delete retired_->window;
  retired_.reset();
}

void DesktopProgram::runDrive(const SessionChoice& choice, StartOptions startOptions) {
  retire();
  clickToFrame_.start();
  title_->beginLoading();
  auto drive = std::make_unique<Drive>();
  drive->serial = std::make_unique<QtSerialLink>();
  drive->movie = std::make_unique<ThreadedMovieReader>();
  const bool scripted = scriptPending_;
  scriptPending_ = false;
  try {
    drive->model = std::make_unique<CabWindowModel>(
        choice, CabWindowPorts{preferences_, pictures_, scripted ? static_cast<Mixer&>(scriptMixer_) : mixer_,
                               drive->movie.get()},
        [this](std::string_view text) { title_->showStatus(text); }, program_, carryOver_, startOptions,
        scripted ? 0 : static_cast<uint64_t>(QDateTime::currentMSecsSinceEpoch()));
  } catch (const FatalError& e) {
    // A faulty file ends the program, after its message.
    dialogs_.showMessage(e.message());
    QApplication::exit(kExitDataFault);
    return;
  }
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
  drive->grading = std::make_unique<DriveGrading>(*drive->model, preferences_);
  connect(drive->grading.get(), &DriveGrading::debriefRequested, this,
          [this] { showDebrief(*drive_->grading); });
  hooks.extendDisplayMenu = [grading = drive->grading.get()](QMenu* display) { grading->extendMenu(display); };
  drive->model->session().setGamepadPoller(&gamepad_);
  drive->window = new CabWindow(*drive->model, drive->movie.get(), std::move(hooks));
  drive->window->setAttribute(Qt::WA_DeleteOnClose, false);
  connect(drive->window, &CabWindow::closed, this, &DesktopProgram::driveClosed);
  drive->grading->attachView(&drive->window->view());
  if (scripted) playScript(*drive);
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
  scriptMixer_.clearOperations();  // its record is not kept: the sound log is the runner's
  // A damaged route movie: said once, and the drive goes on.
  if (const auto warning = drive_->movie->takeWarning()) std::cerr << "kestrel: " << *warning << "\n";
  if (trace_) {
    trace_->tick({s.scheduler().now(), s.train(), s.control(), &s.context().mixer});
    traceFile_.flush();
  }
}

void DesktopProgram::driveClosed(bool soundReinitialised) {
  keys_.setTarget(nullptr);
  valueDisplay_->attach(nullptr);
  carryOver_ = drive_->model->carryOver();
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
