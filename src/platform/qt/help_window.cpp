#include "platform/qt/help_window.h"

#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "platform/qt/ui_font.h"

namespace kestrel {

HelpWindow::HelpWindow(const HelpText& text, DriveKeys& keys, QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint), keys_(keys) {
  setWindowTitle(QString::fromStdString(text.caption));
  box_ = new QPlainTextEdit(this);
  box_->setReadOnly(true);
  box_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  box_->setFont(meiryoUiFont(12));
  QStringList lines;
  for (const auto& line : text.lines) lines << QString::fromStdString(line);
  box_->setPlainText(lines.join(QLatin1Char('\n')));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(box_);
  setFixedSize(265, 331);
  box_->installEventFilter(this);
  installEventFilter(this);
}

QString HelpWindow::text() const {
  return box_->toPlainText();
}

bool HelpWindow::eventFilter(QObject* watched, QEvent* event) {
  if (forwardDriveKey(keys_, event)) return true;
  return QWidget::eventFilter(watched, event);
}

}  // namespace kestrel
