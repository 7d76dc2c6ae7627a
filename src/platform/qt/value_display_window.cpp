#include "platform/qt/value_display_window.h"

#include <QCloseEvent>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>

#include "core/front/cab_window_model.h"
#include "core/front/speed_unit_reload.h"
#include "core/present/value_display.h"
#include "platform/qt/qt_text.h"
#include "platform/qt/ui_font.h"

namespace kestrel {

namespace {

constexpr int kWidth = 800, kHeight = 600;
constexpr int kRow = 17;  // label pitch
constexpr int kCellWidth = 38, kCellHeight = 16;
constexpr QRgb kCyan = 0x00FFFF;  // $FFFF00 of the form: blue and green

// A caption and the label that shows its value, where the form has them.
struct Place {
  const char* caption;  // nullptr: the value label has no caption
  const char* name;
  std::string ValueDisplayTexts::*text;
  int captionX, valueX, y, width;
};

constexpr int kLeftCaption = 8, kLeftValue = 112;
constexpr int kRightCaption = 300, kRightValue = 405;
constexpr int kLowerTop = 260, kLowerValue = 200;

const Place kPlaces[] = {
    {"速度", "Label1", &ValueDisplayTexts::Label1, kLeftCaption, kLeftValue, 8, 180},
    {"加速度", "Label6", &ValueDisplayTexts::Label6, kLeftCaption, kLeftValue, 8 + kRow, 180},
    {"勾配", "Label27", &ValueDisplayTexts::Label27, kLeftCaption, kLeftValue, 8 + 2 * kRow, 180},
    {"車両", "Label7", &ValueDisplayTexts::Label7, kLeftCaption, kLeftValue, 8 + 3 * kRow, 180},
    {"抵抗", "Label25", &ValueDisplayTexts::Label25, kLeftCaption, kLeftValue, 8 + 4 * kRow, 180},
    {"電流", "Label50", &ValueDisplayTexts::Label50, kLeftCaption, kLeftValue, 8 + 5 * kRow, 180},
    {"エンジン回転数", "Label40", &ValueDisplayTexts::Label40, kLeftCaption, kLeftValue, 8 + 6 * kRow, 180},
    {"ギア", "Label52", &ValueDisplayTexts::Label52, kLeftCaption, kLeftValue, 8 + 7 * kRow, 180},
    {"摩擦", "Label65", &ValueDisplayTexts::Label65, kLeftCaption, kLeftValue, 8 + 8 * kRow, 180},
    {"BP", "Label71", &ValueDisplayTexts::Label71, kLeftCaption, kLeftValue, 8 + 9 * kRow, 180},
    {"SAP ", "Label3", &ValueDisplayTexts::Label3, kLeftCaption, kLeftValue, 8 + 10 * kRow, 180},
    {"ER ", "Label4", &ValueDisplayTexts::Label4, kLeftCaption, kLeftValue, 8 + 11 * kRow, 180},
    {"MR ", "Label5", &ValueDisplayTexts::Label5, kLeftCaption, kLeftValue, 8 + 12 * kRow, 180},

    {"Frame", "Label30", &ValueDisplayTexts::Label30, kRightCaption, kRightValue, 8, 200},
    {"Projected", "Label31", &ValueDisplayTexts::Label31, kRightCaption, kRightValue, 8 + kRow, 200},
    {"Frame_sub", "Label46", &ValueDisplayTexts::Label46, kRightCaption, kRightValue, 8 + 2 * kRow, 200},
    {"描画", "Label48", &ValueDisplayTexts::Label48, kRightCaption, kRightValue, 8 + 3 * kRow, 200},
    {"Movie", "Label54", &ValueDisplayTexts::Label54, kRightCaption, kRightValue, 8 + 4 * kRow, 200},
    {"FPS", "Label63", &ValueDisplayTexts::Label63, kRightCaption, kRightValue, 8 + 5 * kRow, 200},
    {"次駅", "Label37", &ValueDisplayTexts::Label37, kRightCaption, kRightValue, 8 + 6 * kRow, 200},
    {"残距離", "Label33", &ValueDisplayTexts::Label33, kRightCaption, kRightValue, 8 + 7 * kRow, 200},
    {"走行距離", "Label35", &ValueDisplayTexts::Label35, kRightCaption, kRightValue, 8 + 8 * kRow, 200},
    {"先行列車", "Label23", &ValueDisplayTexts::Label23, kRightCaption, kRightValue, 8 + 9 * kRow, 70},
    {nullptr, "Label42", &ValueDisplayTexts::Label42, 0, 480, 8 + 9 * kRow, 200},

    // The brake cylinders and the electric brake: caption, bar, value.
    {"BC圧(M車)", "Label2", &ValueDisplayTexts::Label2, kRightCaption, 546, 199, 100},
    {"BC圧(T車)", "Label11", &ValueDisplayTexts::Label11, kRightCaption, 546, 216, 100},
    {"電制", "Label69", &ValueDisplayTexts::Label69, kRightCaption, 546, 233, 100},

    {"ATSP 距離/制限速度/パターン", "Label8", &ValueDisplayTexts::Label8, kLeftCaption, kLowerValue,
     kLowerTop, 55},
    {nullptr, "Label9", &ValueDisplayTexts::Label9, 0, 260, kLowerTop, 55},
    {nullptr, "Label20", &ValueDisplayTexts::Label20, 0, 320, kLowerTop, 100},
    {"Limit 距離/制限速度/パターン", "Label60", &ValueDisplayTexts::Label60, kLeftCaption, kLowerValue,
     kLowerTop + kRow, 55},
    {nullptr, "Label61", &ValueDisplayTexts::Label61, 0, 260, kLowerTop + kRow, 55},
    {"Check 距離/制限速度/パターン", "Label19", &ValueDisplayTexts::Label19, kLeftCaption, kLowerValue,
     kLowerTop + 2 * kRow, 55},
    {nullptr, "Label41", &ValueDisplayTexts::Label41, 0, 260, kLowerTop + 2 * kRow, 55},
    {"signal_now", "Label21", &ValueDisplayTexts::Label21, kLeftCaption, kLowerValue, kLowerTop + 3 * kRow,
     200},
    {"ノッチ状態", "Label44", &ValueDisplayTexts::Label44, kLeftCaption, kLowerValue, kLowerTop + 4 * kRow,
     200},
    {"標識ID", "Label56", &ValueDisplayTexts::Label56, kLeftCaption, kLowerValue, kLowerTop + 5 * kRow, 200},
    {"Sound", "Label57", &ValueDisplayTexts::Label57, kLeftCaption, kLowerValue, kLowerTop + 6 * kRow, 200},
};

constexpr int kSignalTop = kLowerTop + 8 * kRow;
constexpr int kButtonTop = 440;

struct BarPlace {
  const char* name;
  int32_t ValueDisplayTexts::*value;
  int y;
};
constexpr BarPlace kBars[] = {{"Bar_Press0", &ValueDisplayTexts::Bar_Press0, 204},
                              {"Bar_Press1", &ValueDisplayTexts::Bar_Press1, 221},
                              {"Bar_Press6", &ValueDisplayTexts::Bar_Press6, 237}};

QLabel* makeLabel(QWidget* parent, const QString& text, int x, int y, int width) {
  auto* l = new QLabel(text, parent);
  l->setFont(meiryoUiFont(12));
  l->setGeometry(x, y, width, kRow);
  return l;
}

}  // namespace

ValueDisplayWindow::ValueDisplayWindow(DriveKeys& keys, QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint), keys_(keys) {
  setWindowTitle(qs(kValueDisplayCaption));
  setFixedSize(kWidth, kHeight);
  buildLabels();
  buildControls();
  // Every key goes to the drive, except those typed into the frame number's field.
  for (QWidget* w : findChildren<QWidget*>())
    if (w != edit_ && !edit_->isAncestorOf(w)) w->installEventFilter(this);
  installEventFilter(this);
}

void ValueDisplayWindow::buildLabels() {
  for (const Place& p : kPlaces) {
    // The captions of the bar rows end where the bars begin.
    const int captionEnd = p.captionX == kRightCaption ? kRightValue : p.valueX;
    if (p.caption)
      makeLabel(this, QString::fromUtf8(p.caption), p.captionX, p.y, captionEnd - p.captionX - 4);
    QLabel* value = makeLabel(this, {}, p.valueX, p.y, p.width);
    value->setObjectName(QString::fromLatin1(p.name));
    values_.push_back(value);
  }
  for (size_t i = 0; i < bars_.size(); ++i) {
    const BarPlace& b = kBars[i];
    auto* bar = new QProgressBar(this);
    bars_[i] = bar;
    bar->setObjectName(QString::fromLatin1(b.name));
    bar->setRange(0, kValueBarMaximum);
    bar->setTextVisible(false);
    bar->setGeometry(kRightValue, b.y, 135, 9);
  }
  for (size_t k = 0; k < signals_.size(); ++k) {
    signals_[k] = makeLabel(this, {}, kLeftCaption + 60 * static_cast<int>(k), kSignalTop, 56);
    signals_[k]->setObjectName(QStringLiteral("signal%1").arg(k + 1));
  }
}

void ValueDisplayWindow::buildControls() {
  grid_ = new QTableWidget(kSoundGridSide, kSoundGridSide, this);
  grid_->setObjectName(QStringLiteral("StringGrid1"));
  grid_->horizontalHeader()->hide();
  grid_->verticalHeader()->hide();
  grid_->horizontalHeader()->setMinimumSectionSize(kCellWidth);
  grid_->horizontalHeader()->setDefaultSectionSize(kCellWidth);
  grid_->verticalHeader()->setMinimumSectionSize(kCellHeight);
  grid_->verticalHeader()->setDefaultSectionSize(kCellHeight);
  grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid_->setSelectionMode(QAbstractItemView::NoSelection);
  grid_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  grid_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  grid_->setFont(meiryoUiFont(10));
  grid_->setGeometry(410, kLowerTop, kSoundGridSide * kCellWidth + 2, kSoundGridSide * kCellHeight + 2);
  for (int r = 0; r < kSoundGridSide; ++r)
    for (int c = 0; c < kSoundGridSide; ++c) {
      auto* item = new QTableWidgetItem;
      item->setTextAlignment(Qt::AlignLeft | Qt::AlignTop);
      grid_->setItem(r, c, item);
    }
  connect(grid_, &QTableWidget::cellPressed, this, [this](int row, int column) {
    if (drive_)
      drive_->door().driverInput({.kind = ScriptInput::Kind::ValuesStop, .channel = column + kSoundGridSide * row});
  });

  auto button = [this](std::string_view caption, const char* name, int x, int width) {
    auto* b = new QPushButton(qs(caption), this);
    b->setObjectName(QString::fromLatin1(name));
    b->setFont(meiryoUiFont(12));
    b->setGeometry(x, kButtonTop, width, 26);
    return b;
  };
  connect(button(kSpeedUnitReloadCaption, "Button1", 8, 90), &QPushButton::clicked, this,
          &ValueDisplayWindow::Button1Click);
  edit_ = new QLineEdit(this);
  edit_->setObjectName(QStringLiteral("Edit1"));
  edit_->setFont(meiryoUiFont(12));
  edit_->setGeometry(110, kButtonTop, 100, 26);
  connect(button(kJumpCaption, "Button2", 215, 60), &QPushButton::clicked, this,
          &ValueDisplayWindow::Button2Click);
  resistanceButton_ = button(kResistanceOffCaption, "Button3", 290, 90);
  connect(resistanceButton_, &QPushButton::clicked, this, &ValueDisplayWindow::Button3Click);

  memo_ = new QPlainTextEdit(this);
  memo_->setObjectName(QStringLiteral("Memo1"));
  memo_->setReadOnly(true);
  memo_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  memo_->setMaximumBlockCount(static_cast<int>(ValueDisplay::kPendingMemoLines));
  memo_->setFont(meiryoUiFont(12));
  memo_->setGeometry(8, kButtonTop + 35, kWidth - 16, kHeight - kButtonTop - 43);
}

void ValueDisplayWindow::attach(CabWindowModel* drive) {
  drive_ = drive;
  shownRevision_ = 0;
  if (!drive_) return;
  // A new drive starts with the resistance applied.
  QFont f = resistanceButton_->font();
  f.setBold(drive_->session().keys().resistanceOff);
  resistanceButton_->setFont(f);
}

void ValueDisplayWindow::refresh() {
  if (!drive_) return;
  CabSession& session = drive_->session();
  const ValueDisplay& display = session.valueDisplay();
  if (display.revision() != shownRevision_) {
    shownRevision_ = display.revision();
    showTexts(display.texts());
  }
  takeMemoLines();
  const std::string caption = display.caption(session.context());
  if (!caption.empty() && qs(caption) != windowTitle()) setWindowTitle(qs(caption));
}

void ValueDisplayWindow::showTexts(const ValueDisplayTexts& texts) {
  for (size_t i = 0; i < values_.size(); ++i) values_[i]->setText(qs(texts.*kPlaces[i].text));
  for (size_t i = 0; i < bars_.size(); ++i) bars_[i]->setValue(texts.*kBars[i].value);
  for (size_t k = 0; k < signals_.size() && k < texts.signal.size(); ++k)
    signals_[k]->setText(qs(texts.signal[k]));
  for (int channel = 0; channel < kSoundGridCells; ++channel) {
    const SoundCell& cell = texts.grid[static_cast<size_t>(channel)];
    if (cell == cells_[static_cast<size_t>(channel)]) continue;
    cells_[static_cast<size_t>(channel)] = cell;
    showCell(channel, cell);
  }
}

// dc: no wave data, the cell as the grid draws it; playing, cyan with the volume at the top-left;
// otherwise the window colour and no text.
void ValueDisplayWindow::showCell(int channel, const SoundCell& cell) {
  QTableWidgetItem* item = grid_->item(channel / kSoundGridSide, channel % kSoundGridSide);
  switch (cell.kind) {
    case SoundCell::Kind::NoWave:
      item->setBackground(QBrush());
      item->setText({});
      break;
    case SoundCell::Kind::Playing:
      item->setBackground(QColor::fromRgb(kCyan));
      item->setText(QString::number(cell.volume));
      break;
    case SoundCell::Kind::Idle:
      item->setBackground(palette().color(QPalette::Window));
      item->setText({});
      break;
  }
}

void ValueDisplayWindow::takeMemoLines() {
  for (const std::string& line : drive_->session().valueDisplay().takeMemoLines())
    memo_->appendPlainText(qs(line));
}

void ValueDisplayWindow::Button1Click() {
  if (!drive_) return;
  drive_->door().driverInput({.kind = ScriptInput::Kind::ValuesReload});
  takeMemoLines();
}

void ValueDisplayWindow::Button2Click() {
  if (!drive_) return;
  drive_->door().driverInput({.kind = ScriptInput::Kind::ValuesJump, .bytes = edit_->text().toStdString()});
  takeMemoLines();
}

void ValueDisplayWindow::Button3Click() {
  if (!drive_) return;
  drive_->door().driverInput({.kind = ScriptInput::Kind::ValuesResistance});
  QFont f = resistanceButton_->font();
  f.setBold(drive_->session().keys().resistanceOff);
  resistanceButton_->setFont(f);
}

bool ValueDisplayWindow::eventFilter(QObject* watched, QEvent* event) {
  if (forwardDriveKey(keys_, event)) return true;
  return QWidget::eventFilter(watched, event);
}

void ValueDisplayWindow::closeEvent(QCloseEvent* event) {
  // Closed by its own close box: the next F3 shows it again.
  if (drive_) drive_->session().context().keys.valueDisplayVisible = false;
  QWidget::closeEvent(event);
}

}  // namespace kestrel
