#include "platform/qt/title_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <tuple>

#include "core/util/fatal_error.h"
#include "core/util/path_lookup.h"
#include "platform/qt/qt_picture.h"
#include "platform/qt/qt_text.h"
#include "platform/qt/ui_font.h"

namespace kestrel {

namespace {

// The window's own buttons, from image\title\ when the content has them, else drawn here.
struct FormImage {
  TitleImage image;
  const char* file;
  const char* text;
  int width, height;
};
constexpr int kOpeningFramesPerSecond = 30;

constexpr FormImage kFormImages[] = {
    {TitleImage::StartPrompt, "image\\title\\start.bmp", "クリックでスタート", 240, 48},
    {TitleImage::Quit, "image\\title\\quit.bmp", "終了", 120, 40},
    {TitleImage::Help, "image\\title\\help.bmp", "？", 60, 40},
    {TitleImage::Back, "image\\title\\back.bmp", "戻る", 120, 40},
    {TitleImage::Cursor, "image\\title\\cursor.bmp", "▶", 28, 40},
};

TitleSize screenSize() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  const QRect s = screen ? screen->geometry() : QRect(0, 0, 1280, 1024);
  return {s.width(), s.height()};
}

// A train's button with the picked vehicle file written across its foot: the file that a click
// on it drives.
QPixmap withPickedFile(const QPixmap& button, const QString& file) {
  QPixmap out = button;
  QPainter p(&out);
  QFont font = meiryoUiFont(12);
  const int band = QFontMetrics(font).height() + 2;
  const QRect foot(0, out.height() - band, out.width(), band);
  p.fillRect(foot, QColor(0, 0, 0, 190));
  p.setFont(font);
  p.setPen(Qt::white);
  p.drawText(foot.adjusted(4, 0, -4, 0), Qt::AlignCenter,
             QFontMetrics(font).elidedText(QStringLiteral("▶ ") + file, Qt::ElideMiddle, foot.width() - 8));
  return out;
}

QPixmap drawnButton(const char* text, int width, int height) {
  QPixmap pixmap(width, height);
  pixmap.fill(QColor(40, 60, 90));
  QPainter p(&pixmap);
  p.setPen(Qt::white);
  p.setFont(meiryoUiFont(height * 2 / 5));
  p.drawText(pixmap.rect(), Qt::AlignCenter, QString::fromUtf8(text));
  return pixmap;
}

}  // namespace

TitleWindow::TitleWindow(std::filesystem::path programDirectory, TitleWindowPorts ports, int titlePicture,
                         QWidget* parent)
    : QWidget(parent), dir_(std::move(programDirectory)), ports_(ports), titlePicture_(titlePicture) {
  setWindowTitle(qs(kApplicationTitle));
  setFocusPolicy(Qt::StrongFocus);
  for (size_t i = 0; i < images_.size(); ++i) {
    auto* label = new QLabel(this);
    label->installEventFilter(this);
    label->hide();
    images_[i] = label;
  }
  // The line and train pictures, then the window's own buttons.
  for (size_t i = 0; i < kTitleLines.size(); ++i)
    image(static_cast<TitleImage>(static_cast<int>(TitleImage::Line1) + static_cast<int>(i)))
        ->setPixmap(picture(kTitleLines[i].picture));
  for (size_t i = 0; i < kTitleTrains.size(); ++i) {
    trainButtons_[i] = picture(kTitleTrains[i].picture);
    image(trainImage(i))->setPixmap(trainButtons_[i]);
  }
  for (const FormImage& f : kFormImages) {
    QPixmap p = picture(f.file);
    image(f.image)->setPixmap(p.isNull() ? drawnButton(f.text, f.width, f.height) : p);
  }
  for (QLabel* label : images_) label->adjustSize();
  image(TitleImage::MovieArea)->setGeometry(0, 0, kOpeningSize.width, kOpeningSize.height);
  image(TitleImage::MovieArea)->setStyleSheet(QStringLiteral("background: black"));
  image(TitleImage::MovieArea)->setAlignment(Qt::AlignCenter);
  image(TitleImage::Background)->lower();

  // The recorded drives: played again, or raced against (the buttons sit at the menu's foot).
  recordingButtons_ = new QWidget(this);
  auto* row = new QHBoxLayout(recordingButtons_);
  row->setContentsMargins(0, 0, 0, 0);
  for (const auto& [name, caption, signal] :
       {std::tuple{"Replay", "Replay…", &TitleWindow::replayClicked},
        std::tuple{"Ghost", "Ghost…", &TitleWindow::ghostClicked}}) {
    auto* b = new QPushButton(QString::fromUtf8(caption), recordingButtons_);
    b->setObjectName(QString::fromLatin1(name));
    b->setFocusPolicy(Qt::NoFocus);
    connect(b, &QPushButton::clicked, this, signal);
    row->addWidget(b);
  }
  recordingButtons_->adjustSize();
  recordingButtons_->hide();

  status_ = new QLabel(this);
  status_->setFont(meiryoUiFont(12));
  status_->hide();

  timer_ = new QTimer(this);
  timer_->setInterval(100);
  connect(timer_, &QTimer::timeout, this, &TitleWindow::titleTimer);
  movieTimer_ = new QTimer(this);
  movieTimer_->setTimerType(Qt::PreciseTimer);
  movieTimer_->setInterval(15);  // a new frame is due every 33 ms (30 per second); look twice as often
  connect(movieTimer_, &QTimer::timeout, this, &TitleWindow::nextOpeningFrame);
}

QPixmap TitleWindow::picture(std::string_view name) const {
  const auto path = resolveDataPath(dir_, name);
  QPixmap pixmap;
  pixmap.load(QString::fromStdString(path.string()));
  return pixmap;
}

void TitleWindow::startOpening() {
  const auto movie = resolveDataPath(dir_, kOpeningMovie);
  const bool hasMovie = QFileInfo::exists(QString::fromStdString(movie.string()));
  menu_ = std::make_unique<TitleMenu>(titlePicture_, hasMovie);
  const TitlePoint at = openingWindowPosition(screenSize());
  setClientSize(kOpeningSize.width, kOpeningSize.height);
  move(at.x, at.y);
  timer_->start();
  if (hasMovie) {
    movieFrame_ = -1;
    if (ports_.opening.open(movie) && ports_.opening.frameCount() > 0) {
      // Played as a media player plays it: the soundtrack with the pictures.
      if (const auto track = ports_.soundtrack ? ports_.soundtrack(movie) : std::nullopt) {
        ports_.mixer.setWave(kTitleSoundChannel, *track);
        ports_.mixer.playOnce(kTitleSoundChannel);
      }
      movieClock_.start();
      nextOpeningFrame();
      movieTimer_->start();
    } else {
      ports_.opening.close();
      ports_.dialogs.showMessage(std::string(kOpeningMovieFailed));
    }
  }
  refresh();
}

void TitleWindow::skipToMenu() {
  menu_ = std::make_unique<TitleMenu>(titlePicture_, false);
  menu_->Imageclick();  // to the title
  menu_->Imageclick();  // to the menu
  refresh();
  setClientSize(pictureSize_.width, pictureSize_.height);
  const TitlePoint at = centredWindowPosition(screenSize(), pictureSize_);
  move(at.x, at.y);
  timer_->start();
}

bool TitleWindow::openingMoviePlaying() const {
  return movieTimer_->isActive();
}

void TitleWindow::nextOpeningFrame() {
  const int due = static_cast<int>(movieClock_.elapsed() * kOpeningFramesPerSecond / 1000);
  if (due >= ports_.opening.frameCount()) {
    // The movie has ended: the title follows at once, as after a click.
    stopOpeningMovie();
    if (menu_->phase() == TitlePhase::Opening) imageClick();
    return;
  }
  // Frames are decoded only while the movie area shows them; the movie runs on regardless.
  if (due == movieFrame_ || !image(TitleImage::MovieArea)->isVisible()) return;
  movieFrame_ = due;
  Picture frame;
  if (ports_.opening.decodeFrame(due, frame) && !frame.empty())
    image(TitleImage::MovieArea)
        ->setPixmap(QPixmap::fromImage(toQImage(frame).scaled(
            kOpeningSize.width, kOpeningSize.height, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
}

void TitleWindow::stopOpeningMovie() {
  if (!movieTimer_->isActive()) return;
  movieTimer_->stop();
  ports_.opening.close();
  ports_.mixer.stop(kTitleSoundChannel);  // its soundtrack, if it is still playing
}

void TitleWindow::setClientSize(int width, int height) {
  setFixedSize(width, height);
}

void TitleWindow::playSound(std::string_view name) {
  const auto path = resolveDataPath(dir_, name);
  if (!QFileInfo::exists(QString::fromStdString(path.string()))) return;
  try {
    const WaveId wave = ports_.mixer.loadWave(path);
    ports_.mixer.setWave(kTitleSoundChannel, wave);
    ports_.mixer.playOnce(kTitleSoundChannel);
  } catch (const FatalError&) {
    // The title plays its sounds where it can; a broken wave is no reason to stop.
  }
}

void TitleWindow::titleTimer() {
  switch (menu_->Timer1Timer()) {
    case TitleMenu::TimerAction::None:
      break;
    case TitleMenu::TimerAction::FallbackSoundClick:
      playSound(kOpeningFallbackSound);
      imageClick();
      break;
    case TitleMenu::TimerAction::Click:
      imageClick();
      break;
  }
  if (!menu_->timerRunning()) timer_->stop();
  refresh();
}

void TitleWindow::imageClick() {
  const TitlePhase before = menu_->phase();
  menu_->Imageclick();
  if (before == TitlePhase::Opening && menu_->phase() == TitlePhase::Title) {
    setClientSize(kTitleSize.width, kTitleSize.height);
    const TitlePoint at = centredWindowPosition(screenSize(), kTitleSize);
    move(at.x, at.y);
  } else if (before == TitlePhase::Title && menu_->phase() == TitlePhase::Menu) {
    timer_->start();
  }
  refresh();
  // The menu window takes the size of its picture.
  if (menu_->phase() == TitlePhase::Menu) setClientSize(pictureSize_.width, pictureSize_.height);
}

void TitleWindow::refresh() {
  const std::string background = menu_->backgroundPicture();
  if (background != shownBackground_) {
    QLabel* bg = image(TitleImage::Background);
    const QPixmap pixmap = background.empty() ? QPixmap() : picture(background);
    bg->setPixmap(pixmap);
    // A picture that cannot be read leaves the window at the title's size.
    pictureSize_ = pixmap.isNull() ? kTitleSize : TitleSize{pixmap.width(), pixmap.height()};
    bg->setGeometry(0, 0, pictureSize_.width, pictureSize_.height);
    shownBackground_ = background;
  }
  const QString picked = qs(menu_->pickedVehicleName());
  if (picked != shownPick_) {
    shownPick_ = picked;
    for (size_t i = 0; i < trainButtons_.size(); ++i)
      image(trainImage(i))
          ->setPixmap(picked.isEmpty() || trainButtons_[i].isNull()
                          ? trainButtons_[i]
                          : withPickedFile(trainButtons_[i], picked));
  }
  for (size_t i = 0; i < images_.size(); ++i) {
    const auto which = static_cast<TitleImage>(i);
    if (which != TitleImage::MovieArea && which != TitleImage::Background) {
      const TitlePoint at = menu_->position(which);
      images_[i]->move(at.x, at.y);
    }
    images_[i]->setVisible(menu_->visible(which));
  }
  recordingButtons_->move(8, pictureSize_.height - recordingButtons_->height() - 8);
  recordingButtons_->setVisible(menu_->phase() == TitlePhase::Menu);
  recordingButtons_->raise();
}

bool TitleWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::MouseButtonPress || !menu_) return QWidget::eventFilter(watched, event);
  const auto* mouse = static_cast<QMouseEvent*>(event);
  size_t i = 0;
  while (i < images_.size() && images_[i] != watched) ++i;
  if (i == images_.size()) return QWidget::eventFilter(watched, event);
  const auto which = static_cast<TitleImage>(i);
  const bool lineOrTrain = TitleMenu::isLine(which) || TitleMenu::isTrain(which);
  if (mouse->button() == Qt::RightButton && lineOrTrain) {
    // The dialog opens where the built-in trains are, in the content folder.
    menu_->Menumousedown(which, ports_.dialogs.openFile(std::string(kPickVehicleTitle),
                                                        std::string(kPickVehicleFilter), dir_.string()));
    refresh();
    return true;
  }
  if (mouse->button() != Qt::LeftButton) return true;
  switch (which) {
    case TitleImage::Background:
    case TitleImage::StartPrompt:
    case TitleImage::MovieArea:
      imageClick();
      break;
    case TitleImage::Line1:
    case TitleImage::Line2:
    case TitleImage::Line3:
      menu_->lineclick(which);
      refresh();
      break;
    case TitleImage::Train1:
    case TitleImage::Train2:
    case TitleImage::Train3:
      trainClick(which);
      break;
    case TitleImage::Back:
      backClick();
      break;
    case TitleImage::Quit:
      quitClick();
      break;
    case TitleImage::Help:
      helpClick();
      break;
    case TitleImage::Cursor:
      break;
  }
  return true;
}

void TitleWindow::trainClick(TitleImage train) {
  SessionChoice choice = menu_->Trainclick(train, dir_);
  if (openingMoviePlaying()) stopOpeningMovie();
  playSound(kStartSound);
  Q_EMIT trainClicked(choice);
}

void TitleWindow::backClick() {
  menu_->backclick();
  refresh();
  setClientSize(kTitleSize.width, kTitleSize.height);  // the title's size, whatever the menu's was
}

void TitleWindow::quitClick() {
  close();
}

void TitleWindow::helpClick() {
  const auto readme = resolveDataPath(dir_, kReadme);
  if (!QFileInfo::exists(QString::fromStdString(readme.string())))
    ports_.dialogs.showMessage(std::string(kReadme) + std::string(kReadmeMissing));
  else if (!ports_.dialogs.openDocument(readme.string()))
    ports_.dialogs.showMessage(std::string(kReadme) + std::string(kReadmeNoViewer));
}

void TitleWindow::beginLoading() {
  // The status line below the picture: the client area grows by its height while a drive loads.
  status_->setGeometry(0, pictureSize_.height, pictureSize_.width, kStatusLineHeight);
  setClientSize(pictureSize_.width, pictureSize_.height + kStatusLineHeight);
  status_->clear();
  status_->show();
}

void TitleWindow::showStatus(std::string_view text) {
  status_->setText(qs(text));
  status_->repaint();
  // The window's new height and the text reach the screen before the work that follows.
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TitleWindow::endLoading() {
  status_->hide();
  setClientSize(pictureSize_.width, pictureSize_.height);
}

void TitleWindow::afterDrive() {
  menu_->afterDrive();
  endLoading();
  refresh();
  show();
  raise();
  activateWindow();
}

void TitleWindow::keyPressEvent(QKeyEvent* event) {
  if (menu_) menu_->keyDown(event->key() == Qt::Key_Shift && event->modifiers() == Qt::ShiftModifier);
  QWidget::keyPressEvent(event);
}

void TitleWindow::keyReleaseEvent(QKeyEvent* event) {
  if (menu_) menu_->keyUp();
  QWidget::keyReleaseEvent(event);
}

void TitleWindow::closeEvent(QCloseEvent* event) {
  timer_->stop();
  stopOpeningMovie();
  event->accept();
  QApplication::quit();
}

}  // namespace kestrel
