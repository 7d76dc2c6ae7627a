#include "app/desktop_program.h"

#include <QApplication>
#include <QDateTime>
#include <iostream>

#include "core/controls/easy_cab_lamps.h"
#include "core/front/help_text.h"
#include "core/front/program_directory.h"
#include "core/util/fatal_error.h"
#include "platform/qt/cab_view.h"

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
  try {
    checkProgramDirectory(options_.data);
  } catch (const FatalError& e) {
    dialogs_.showMessage(e.message());
    return kExitDataFault;
  }
  reportMixer();
  if (!gamepad_.startError().empty())
    std::cerr << "kestrel: no game controllers: " << gamepad_.startError() << "\n";
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
  title_ =
      std::make_unique<TitleWindow>(options_.data, TitleWindowPorts{mixer_, opening_, dialogs_}, picture);
  dialogs_.setParent(title_.get());
  help_ = std::make_unique<HelpWindow>(readHelpText(options_.data).value_or(HelpText{}), keys_);
  valueDisplay_ = std::make_unique<ValueDisplayWindow>(keys_);
  easyCab_ = std::make_unique<EasyCabWindow>(keys_);
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
  try {
    drive->model = std::make_unique<CabWindowModel>(
        choice, CabWindowPorts{preferences_, pictures_, mixer_, drive->movie.get()},
        [this](std::string_view text) { title_->showStatus(text); }, program_, carryOver_, startOptions,
        static_cast<uint64_t>(QDateTime::currentMSecsSinceEpoch()));
  } catch (const FatalError& e) {
    // A faulty file ends the program, after its message.
    dialogs_.showMessage(e.message());
    QApplication::exit(kExitDataFault);
    return;
  }
  if (!drive->model->movieMessage().empty()) dialogs_.showMessage(drive->model->movieMessage());

  CabWindowHooks hooks{dialogs_,
                       [this] {
                         help_->show();
                         help_->raise();
                       },
                       [this] {
                         easyCab_->show();
                         easyCab_->raise();
                       },
                       [this] { easyCab_->hide(); },
                       [this] { afterTick(); },
                       [this] {
                         if (trace_)
                           std::cerr << "kestrel: first frame of the cab window " << clickToFrame_.elapsed()
                                     << " ms after the train click\n";
                       },
                       [this](bool shown) {
                         if (shown != valueDisplay_->isVisible()) valueDisplay_->setVisible(shown);
                       },
                       drive->serial.get()};
  drive->model->session().setGamepadPoller(&gamepad_);
  drive->window = new CabWindow(*drive->model, drive->movie.get(), std::move(hooks));
  drive->window->setAttribute(Qt::WA_DeleteOnClose, false);
  connect(drive->window, &CabWindow::closed, this, &DesktopProgram::driveClosed);
  drive_ = std::move(drive);
  keys_.setTarget(drive_->window);
  valueDisplay_->attach(drive_->model.get());
  title_->hide();
  drive_->window->begin();
}

void DesktopProgram::afterTick() {
  if (!drive_) return;
  CabSession& s = drive_->model->session();
  if (easyCab_->isVisible()) easyCab_->showLamps(easyCabLamps(s.control(), s.train()));
  valueDisplay_->refresh();
  // A damaged route movie: said once, and the drive goes on.
  if (const auto warning = drive_->movie->takeWarning()) std::cerr << "kestrel: " << *warning << "\n";
  if (trace_) {
    trace_->tick({s.scheduler().now(), s.train(), s.control(), &mixer_});
    traceFile_.flush();
  }
}

void DesktopProgram::driveClosed(bool soundReinitialised) {
  keys_.setTarget(nullptr);
  valueDisplay_->attach(nullptr);
  carryOver_ = drive_->model->carryOver();
  drive_->window->hide();
  drive_->window->deleteLater();
  retired_ = std::move(drive_);
  if (!soundReinitialised) {
    dialogs_.showMessage(kSoundReinitialiseFailed);
    QApplication::exit(kExitSound);
    return;
  }
  reportMixer();
  title_->afterDrive();
}

}  // namespace kestrel::app
