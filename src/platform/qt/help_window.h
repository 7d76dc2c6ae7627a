#pragma once
// The help window (TForm4): the text of operation.dat in a read-only box, its first line the
// caption. Made once at program start and shown from the cab window's menu; while it has the
// focus its keys drive the train.
#include <QWidget>

#include "core/front/help_text.h"
#include "platform/qt/drive_keys.h"

class QPlainTextEdit;

namespace kestrel {

class HelpWindow final : public QWidget {
  Q_OBJECT

 public:
  HelpWindow(const HelpText& text, DriveKeys& keys, QWidget* parent = nullptr);
  QString text() const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  DriveKeys& keys_;
  QPlainTextEdit* box_;
};

}  // namespace kestrel
