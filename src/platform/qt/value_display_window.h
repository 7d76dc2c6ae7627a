#pragma once
// The value display window (TForm3, "Value Display"): the drive's internal values in labels, three
// bars, the 10 x 10 grid of sound channels 0 to 99, the buttons "SU再読込", "jump" (with its edit
// field) and "抵抗解除", and the read-only memo of diagnostic lines. Made once at program start and
// shown and hidden by F3 through the cab window; the tick's texts are copied in after every tick;
// keys typed into it (except into the edit field) drive the train.
//
// Thread contract: GUI thread only, the thread that owns the drive.
#include <QWidget>
#include <array>
#include <cstdint>
#include <vector>

#include "core/present/value_display_texts.h"
#include "platform/qt/drive_keys.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTableWidget;

namespace kestrel {

class CabWindowModel;

class ValueDisplayWindow final : public QWidget {
  Q_OBJECT

 public:
  explicit ValueDisplayWindow(DriveKeys& keys, QWidget* parent = nullptr);

  // The drive whose values it shows and on which its buttons act; nullptr when no drive runs (the
  // buttons then do nothing). The drive must stay attached no longer than it lives.
  void attach(CabWindowModel* drive);
  // After every tick: the labels, bars and grid when the tick wrote them, the memo's new lines and
  // the caption.
  void refresh();

  // The form's widgets by their names ("Label1", "Bar_Press0", "StringGrid1", "Button1", "Edit1",
  // "Memo1", ...) are the children's object names.

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void buildLabels();
  void buildControls();
  void showTexts(const ValueDisplayTexts& texts);
  void showCell(int channel, const SoundCell& cell);
  void takeMemoLines();
  void Button1Click();
  void Button2Click();
  void Button3Click();

  DriveKeys& keys_;
  CabWindowModel* drive_ = nullptr;
  uint64_t shownRevision_ = 0;
  std::array<SoundCell, kSoundGridCells> cells_{};
  // The value labels in the order of their places, the bars and the five signals, made once.
  std::vector<QLabel*> values_;
  std::array<QProgressBar*, 3> bars_{};
  std::array<QLabel*, 5> signals_{};
  QTableWidget* grid_ = nullptr;
  QLineEdit* edit_ = nullptr;
  QPushButton* resistanceButton_ = nullptr;
  QPlainTextEdit* memo_ = nullptr;
};

}  // namespace kestrel
