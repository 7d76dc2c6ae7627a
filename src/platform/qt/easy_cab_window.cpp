#include "platform/qt/easy_cab_window.h"

#include <QLabel>
#include <QPushButton>

#include "platform/qt/qt_text.h"
#include "platform/qt/ui_font.h"

namespace kestrel {

namespace {

constexpr int kLampX = 24, kLampTop = 40, kLampPitch = 20, kLampW = 30, kLampH = 15;

QLabel* label(QWidget* parent, const char* text, int x, int y) {
  auto* l = new QLabel(QString::fromUtf8(text), parent);
  l->setFont(meiryoUiFont(12));
  l->move(x, y);
  l->adjustSize();
  return l;
}

void colour(QWidget* lamp, uint32_t rgb) {
  QPalette p = lamp->palette();
  p.setColor(QPalette::Window, QColor::fromRgb(rgb));
  lamp->setPalette(p);
}

}  // namespace

EasyCabWindow::EasyCabWindow(DriveKeys& keys, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowCloseButtonHint), keys_(keys) {
  setWindowTitle(qs(kEasyCabCaption));
  setFixedSize(241, 376);

  label(this, "ブレーキ", 16, 18);
  for (size_t i = 0; i < lampWidgets_.size(); ++i) {
    auto* lamp = new QWidget(this);
    lamp->setGeometry(kLampX, kLampTop + static_cast<int>(i) * kLampPitch, kLampW, kLampH);
    lamp->setAutoFillBackground(true);
    colour(lamp, kLampWhite);
    lampWidgets_[i] = lamp;
  }
  lampWidgets_[0]->hide();  // KB8
  const int neutralY = kLampTop + 8 * kLampPitch;
  label(this, "加速", 24, kLampTop + 14 * kLampPitch + 4);
  label(this, "惰行", 62, neutralY - 1);
  // Below the power buttons' column ends and above the door button: nothing covers it.
  label(this, "（ニュートラル）", 56, neutralY + 14);
  label(this, "↑", 62, kLampTop + 4 * kLampPitch);
  label(this, "↓", 62, kLampTop + 11 * kLampPitch);

  const struct {
    const char* caption;
    char32_t posts;
    int y;
  } kButtons[4] = {{"減速", kEasyCabBrake, 24},
                   {"ニュートラル", kEasyCabNeutral, 74},
                   {"加速", kEasyCabPower, 124},
                   {"ドア開閉", kEasyCabDoors, 250}};
  for (size_t i = 0; i < 4; ++i) {
    auto* b = new QPushButton(QString::fromUtf8(kButtons[i].caption), this);
    b->setGeometry(130, kButtons[i].y, 100, 40);
    const char32_t c = kButtons[i].posts;
    connect(b, &QPushButton::clicked, this, [this, c] { keys_.post(c); });
    buttons_[i] = b;
  }
  reverser_ = new QPushButton(QStringLiteral("逆転器"), this);
  reverser_->setGeometry(130, 300, 100, 40);
  connect(reverser_, &QPushButton::clicked, this, [this] {
    if (!keys_.target()) return;
    if (const auto c = easyCabReverserKey(keys_.target()->driveReverser())) keys_.post(*c);
  });

  status_ = new QLabel(this);
  status_->setFrameShape(QFrame::StyledPanel);
  status_->setGeometry(0, 356, 241, 20);
  status_->setFont(meiryoUiFont(12));

  for (QWidget* w : findChildren<QWidget*>()) w->installEventFilter(this);
  installEventFilter(this);
}

QPushButton* EasyCabWindow::button(char32_t posts) const {
  const char32_t order[4] = {kEasyCabBrake, kEasyCabNeutral, kEasyCabPower, kEasyCabDoors};
  for (size_t i = 0; i < 4; ++i)
    if (order[i] == posts) return buttons_[i];
  return nullptr;
}

void EasyCabWindow::showLamps(const EasyCabLamps& lamps) {
  const bool changed = lamps.neutral != lamps_.neutral || lamps.power != lamps_.power ||
                       lamps.brake != lamps_.brake || lamps.status != lamps_.status;
  lamps_ = lamps;
  if (changed) paintLamps();
}

void EasyCabWindow::paintLamps() {
  for (size_t n = 0; n < 8; ++n) colour(lampWidgets_[7 - n], lamps_.brake[n]);  // KB1 just above KN
  colour(lampWidgets_[8], lamps_.neutral);
  for (size_t n = 0; n < 5; ++n) colour(lampWidgets_[9 + n], lamps_.power[n]);
  status_->setText(QString::fromStdString(lamps_.status));
}

bool EasyCabWindow::eventFilter(QObject* watched, QEvent* event) {
  // A button pressed with the space bar would post its character and then hand the blank on;
  // every key, the space bar included, goes to the cab window instead.
  if (forwardDriveKey(keys_, event)) return true;
  return QWidget::eventFilter(watched, event);
}

}  // namespace kestrel
