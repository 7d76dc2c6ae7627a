#include "platform/qt/cab_window.h"

#include <QActionGroup>
#include <QCloseEvent>
#include <QMenuBar>
#include <QWheelEvent>

#include "core/front/serial_connection.h"
#include "core/sim/stations.h"
#include "platform/qt/cab_view.h"
#include "platform/qt/drive_clock.h"
#include "platform/qt/qt_serial_link.h"
#include "platform/qt/qt_text.h"
#include "platform/qt/serial_settings_dialog.h"

namespace kestrel {

namespace {

// The client area of the form: the 800 x 760 view with the labels and pictures right of it.
constexpr int kClientWidth = 1202;
constexpr int kClientHeight = 758;

}  // namespace

CabWindow::CabWindow(CabWindowModel& model, MovieReader* movie, CabWindowHooks hooks, QWidget* parent)
    : QMainWindow(parent), model_(model), hooks_(std::move(hooks)) {
  setWindowTitle(QString::fromStdString(model_.lineName()));
  setFocusPolicy(Qt::StrongFocus);
  view_ = new CabView(model_.session(), model_.loaded(), movie, this);
  setCentralWidget(view_);
  view_->installEventFilter(this);
  connect(view_, &CabView::backClicked, this, [this] { input({.kind = ScriptInput::Kind::Back}); });
  connect(view_, &CabView::displayClicked, this, [this] {
    if (!model_.session().running()) startClick();  // movieclick
  });
  connect(view_, &CabView::fadeFinished, this, &QWidget::close);
  clock_ = new DriveClock(model_.session().scheduler(), this);
  model_.session().setTickObserver([this] {
    if (hooks_.afterTick) hooks_.afterTick();
    updateMoveMenu();
    // The game controller's debug caption.
    if (auto& caption = model_.session().context().keys.padDebugCaption) {
      setWindowTitle(QString::fromStdString(*caption));
      caption.reset();
    }
  });
  model_.session().valueDisplay().setRateSource([this] { return view_->measuredRate(); });
  // Whatever sent an input (the driver, a replay), the window follows what it changed.
  model_.door().setAfterInput([this](const ScriptInput& in) { afterInput(in); });
  if (hooks_.serial)
    serial_ = std::make_unique<SerialConnection>(*hooks_.serial, model_.door(), hooks_.dialogs,
                                                 SerialPortSettings{QtSerialLink::defaultPortName()});
  buildMenus();
  resize(kClientWidth, kClientHeight + menuBar()->sizeHint().height());
  move(0, 0);
}

CabWindow::~CabWindow() {
  model_.door().setAfterInput(nullptr);
  model_.session().setTickObserver(nullptr);
  model_.session().valueDisplay().setRateSource(nullptr);
}

void CabWindow::begin() {
  view_->applyTextMode(true);
  model_.start();
  start_->setText(QString::fromStdString(model_.session().startCaption()));
  view_->startRendering();
  show();
  activateWindow();
  setFocus();
  clock_->start();
}

QAction* CabWindow::action(CabMenuItem item) const {
  auto it = items_.find(item);
  return it == items_.end() ? nullptr : it->second;
}

void CabWindow::buildMenus() {
  const CabMenu& menu = model_.menu();
  const CabMenuCaptions& captions = menu.captions();
  QMenuBar* bar = menuBar();

  start_ = bar->addAction(QString::fromStdString(captions.start));
  connect(start_, &QAction::triggered, this, &CabWindow::startClick);

  move_ = bar->addMenu(QString::fromStdString(captions.move));
  for (const JumpMenuEntry& entry : menu.moveEntries()) {
    QAction* a = move_->addAction(QString::fromStdString(entry.caption));
    a->setObjectName(QString::fromStdString(entry.name));
    const int32_t station = entry.station;
    connect(a, &QAction::triggered, this, [this, station] {
      if (!model_.door().replaying())
        input({.kind = ScriptInput::Kind::MenuJump, .station = station});
      else if (hooks_.replayJump)
        hooks_.replayJump(station);
    });
  }

  const auto addItems = [&](QMenu* target, const auto& entries) {
    for (const CabMenuEntry& e : entries) {
      QAction* a = target->addAction(qs(e.caption));
      a->setCheckable(e.checkable);
      a->setChecked(menu.checked(e.item));
      a->setVisible(!CabMenu::hidden(e.item));
      const CabMenuItem item = e.item;
      connect(a, &QAction::triggered, this, [this, item] { menuItem(item); });
      items_[e.item] = a;
    }
  };
  QMenu* display = bar->addMenu(QString::fromStdString(captions.display));
  addItems(display, kDisplayMenu);
  if (hooks_.extendDisplayMenu) hooks_.extendDisplayMenu(display);
  addItems(bar->addMenu(QString::fromStdString(captions.controller)), kControllerMenu);

  save_ = bar->addMenu(QString::fromStdString(captions.save));
  QMenu* restore = save_->addMenu(qs(kRestoreMenu));
  QMenu* store = save_->addMenu(qs(kSaveMenu));
  for (int slot = 1; slot <= kSavedDriveSlots; ++slot) {
    QAction* load = restore->addAction(qs(kNoData));
    load->setObjectName(QStringLiteral("Load%1").arg(slot));
    connect(load, &QAction::triggered, this, [this, slot] { loadClick(slot); });
    loadItems_[static_cast<size_t>(slot - 1)] = load;
    QAction* save = store->addAction(qs(kNoData));
    save->setObjectName(QStringLiteral("Save%1").arg(slot));
    connect(save, &QAction::triggered, this, [this, slot] { saveClick(slot); });
    saveItems_[static_cast<size_t>(slot - 1)] = save;
  }
  connect(save_, &QMenu::aboutToShow, this, &CabWindow::showSaveMenu);
}

void CabWindow::startClick() {
  // A replay pauses its clock instead: the recorded drive's own pauses are its inputs.
  if (model_.door().replaying()) {
    if (hooks_.replayPause) hooks_.replayPause();
    return;
  }
  input({.kind = ScriptInput::Kind::MenuStart});
}

std::optional<std::string> CabWindow::input(ScriptInput in) {
  return model_.door().driverInput(std::move(in));
}

void CabWindow::afterInput(const ScriptInput& in) {
  using K = ScriptInput::Kind;
  switch (in.kind) {
    case K::MenuStart:
      start_->setText(QString::fromStdString(model_.session().startCaption()));
      view_->setPausedMark(!model_.session().running());
      break;
    case K::MenuJump:
    case K::MenuLoad:
      setWindowTitle(QString::fromStdString(model_.lineName()));
      updateMoveMenu();
      view_->redrawPaused();  // while paused: the driver sees where the train now is
      break;
    case K::MenuToggle:
    case K::MenuController:
      // The checks as the model keeps them (the controller items are one choice of four).
      for (auto& [which, action] : items_)
        if (action->isCheckable()) action->setChecked(model_.menu().checked(which));
      if (in.item == CabMenuItem::TextMode) view_->applyTextMode(false);
      if (in.item == CabMenuItem::Debug && !model_.menu().checked(in.item))
        setWindowTitle(QString::fromStdString(model_.lineName()));
      break;
    default:
      break;
  }
  if (hooks_.showValueDisplay) hooks_.showValueDisplay(model_.session().keys().valueDisplayVisible);
}

void CabWindow::menuItem(CabMenuItem item) {
  switch (item) {
    case CabMenuItem::Help:
      if (hooks_.showHelp) hooks_.showHelp();
      return;
    case CabMenuItem::EasyCab:
      if (hooks_.showEasyCab) hooks_.showEasyCab();
      return;
    case CabMenuItem::QxSettings:  // Setup1Click
      if (serial_) SerialSettingsDialog::edit(this, serial_->settings());
      return;
    case CabMenuItem::QxConnect:
      if (serial_) serial_->Connect1Click();
      return;
    default:
      break;
  }
  const bool controller = item == CabMenuItem::ControllerStandard || item == CabMenuItem::ControllerWindowsGo ||
                          item == CabMenuItem::ControllerPsGo || item == CabMenuItem::ControllerOhc;
  input({.kind = controller ? ScriptInput::Kind::MenuController : ScriptInput::Kind::MenuToggle, .item = item});
  // A refused toggle (a replay plays) keeps the check the model has.
  for (auto& [which, action] : items_)
    if (action->isCheckable()) action->setChecked(model_.menu().checked(which));
}

void CabWindow::showSaveMenu() {
  const auto slots = model_.openSaveMenu();
  if (!slots) return;
  for (size_t i = 0; i < kSavedDriveSlots; ++i) {
    loadItems_[i]->setText(QString::fromStdString(slots->restore[i].caption));
    loadItems_[i]->setEnabled(slots->restore[i].enabled);
    saveItems_[i]->setText(QString::fromStdString(slots->save[i].caption));
    saveItems_[i]->setEnabled(slots->save[i].enabled);
  }
}

void CabWindow::saveClick(int slot) {
  if (const auto message = input({.kind = ScriptInput::Kind::MenuSave, .slot = slot}))
    hooks_.dialogs.showMessage(*message);
}

void CabWindow::loadClick(int slot) {
  if (const auto refusal = input({.kind = ScriptInput::Kind::MenuLoad, .slot = slot}))
    hooks_.dialogs.showMessage(*refusal);
}

void CabWindow::updateMoveMenu() {
  // No jump while a station or branch movie plays: the jump would leave it half played. A switch
  // that was skipped (mode 9) plays nothing and keeps the menu.
  const int32_t mode = model_.session().context().train.MovieMode;
  const bool enabled = mode != 1 && mode != 2;
  if (move_->menuAction()->isEnabled() != enabled) move_->menuAction()->setEnabled(enabled);
}

void CabWindow::driveKeyPressed(const QKeyEvent& event) {
  const TranslatedKey k = translateKey(event);
  if (k.fullScreenToggle) {
    toggleFullScreen();
    return;
  }
  // The key first, then the character it types, as the messages arrive.
  if (k.key) input({.kind = ScriptInput::Kind::VirtualKeyDown, .key = *k.key, .modifiers = k.modifiers});
  if (k.typed) {
    typedKeys_[event.key()] = *k.typed;
    input({.kind = ScriptInput::Kind::Key, .character = *k.typed});
  }
}

void CabWindow::driveKeyReleased(const QKeyEvent& event) {
  if (event.isAutoRepeat()) return;  // a held key is released once, at its end
  if (const auto key = virtualKeyOf(event.key())) input({.kind = ScriptInput::Kind::VirtualKeyUp, .key = *key});
  if (auto it = typedKeys_.find(event.key()); it != typedKeys_.end()) {
    input({.kind = ScriptInput::Kind::KeyUp, .character = it->second});
    typedKeys_.erase(it);
  }
}

void CabWindow::drivePost(char32_t character) {
  input({.kind = ScriptInput::Kind::Key, .character = character});
}

int32_t CabWindow::driveReverser() const {
  return model_.session().control().reverser;
}

void CabWindow::wheel(int angleDeltaY) {
  for (int n = wheel_.add(angleDeltaY); n != 0; n += n > 0 ? -1 : 1)
    input({.kind = ScriptInput::Kind::Wheel, .wheelUp = n > 0});
}

void CabWindow::toggleFullScreen() {
  if (isFullScreen())
    showNormal();
  else
    showFullScreen();
}

bool CabWindow::event(QEvent* event) {
  switch (event->type()) {
    case QEvent::WindowActivate:
      if (!model_.session().running()) view_->showStill();  // FormActivate
      break;
    case QEvent::KeyPress:
      driveKeyPressed(static_cast<const QKeyEvent&>(*event));
      return true;
    case QEvent::KeyRelease:
      driveKeyReleased(static_cast<const QKeyEvent&>(*event));
      return true;
    case QEvent::Wheel:
      wheel(static_cast<QWheelEvent*>(event)->angleDelta().y());
      return true;
    default:
      break;
  }
  return QMainWindow::event(event);
}

bool CabWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == view_) {
    switch (event->type()) {
      case QEvent::KeyPress:
      case QEvent::KeyRelease:
      case QEvent::Wheel:
        return this->event(event);
      case QEvent::Paint:
        if (!painted_) {
          painted_ = true;
          if (hooks_.firstFrame) hooks_.firstFrame();
        }
        break;
      default:
        break;
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

void CabWindow::closeEvent(QCloseEvent* event) {
  event->accept();
  if (closing_) return;
  closing_ = true;
  // The end of the drive, at its drive time: a recording is played up to here.
  if (!model_.door().replaying() && !model_.door().ended())
    model_.door().deliver({.kind = ScriptInput::Kind::End});
  // FormCloseQuery, in its order; the close is always allowed.
  view_->stopRendering();
  clock_->stop();
  if (serial_) serial_->close();
  if (hooks_.closeEasyCab) hooks_.closeEasyCab();
  if (hooks_.showValueDisplay) hooks_.showValueDisplay(false);
  const bool reinitialised = model_.close();
  Q_EMIT closed(reinitialised);
}

}  // namespace kestrel
