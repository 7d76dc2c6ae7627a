#pragma once
// The easy cab window (TForm6, "かんたん運転台"): a column of notch lamps, five buttons that post
// characters to the cab window and a status bar. Made once at program start; the tick repaints
// its lamps; its keys drive the train.
#include <QWidget>
#include <array>

#include "core/controls/easy_cab_lamps.h"
#include "platform/qt/drive_keys.h"

class QLabel;
class QPushButton;

namespace kestrel {

class EasyCabWindow final : public QWidget {
  Q_OBJECT

 public:
  explicit EasyCabWindow(DriveKeys& keys, QWidget* parent = nullptr);

  // The tick's repaint (only what changed is drawn again).
  void showLamps(const EasyCabLamps& lamps);
  const EasyCabLamps& lamps() const { return lamps_; }
  QPushButton* button(char32_t posts) const;
  QPushButton* reverserButton() const { return reverser_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void paintLamps();

  DriveKeys& keys_;
  EasyCabLamps lamps_;
  // KB8 .. KB1, KN, KP1 .. KP5 from the top.
  std::array<QWidget*, 14> lampWidgets_{};
  std::array<QPushButton*, 4> buttons_{};
  QPushButton* reverser_ = nullptr;
  QLabel* status_ = nullptr;
};

}  // namespace kestrel
