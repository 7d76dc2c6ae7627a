#include "platform/qt/qt_user_dialogs.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QTranslator>
#include <QUrl>
#include <vector>

#include "core/front/title_menu.h"
#include "platform/qt/qt_text.h"

namespace kestrel {

namespace {

// Qt's own texts of the dialogs (buttons, labels, the file dialog's columns) in Japanese, the
// language of every text of the program; loaded once, where the system has them.
void speakJapanese() {
  static bool loaded = false;
  if (loaded || !QCoreApplication::instance()) return;
  loaded = true;
  auto* translator = new QTranslator(QCoreApplication::instance());
  if (translator->load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QCoreApplication::installTranslator(translator);
  else
    delete translator;
}

}  // namespace

QtUserDialogs::QtUserDialogs(QWidget* parent) : parent_(parent) {
  speakJapanese();
}

void QtUserDialogs::showMessage(const std::string& text) {
  QMessageBox box(QMessageBox::NoIcon, qs(kApplicationTitle), QString::fromStdString(text), QMessageBox::Ok,
                  parent_);
  box.exec();
}

bool QtUserDialogs::confirm(const std::string& text) {
  QMessageBox box(QMessageBox::Question, qs(kApplicationTitle), QString::fromStdString(text),
                  QMessageBox::Yes | QMessageBox::No, parent_);
  box.setDefaultButton(QMessageBox::No);
  return box.exec() == QMessageBox::Yes;
}

std::optional<std::string> QtUserDialogs::openFile(const std::string& title, const std::string& filter,
                                                   const std::string& folder) {
  speakJapanese();
  const QString file =
      QFileDialog::getOpenFileName(parent_, QString::fromStdString(title), QString::fromStdString(folder),
                                   QString::fromStdString(qtFilter(filter)));
  if (file.isEmpty()) return std::nullopt;
  return file.toStdString();
}

bool QtUserDialogs::openDocument(const std::string& path) {
  return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
}

std::string QtUserDialogs::qtFilter(const std::string& filter) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (;;) {
    const size_t bar = filter.find('|', start);
    parts.push_back(filter.substr(start, bar == std::string::npos ? std::string::npos : bar - start));
    if (bar == std::string::npos) break;
    start = bar + 1;
  }
  // Pairs of caption and pattern; Qt reads the pattern from the parentheses of the caption.
  std::string out;
  for (size_t i = 0; i < parts.size(); i += 2) {
    if (!out.empty()) out += ";;";
    out += parts[i];
    if (i + 1 < parts.size() && parts[i].find('(') == std::string::npos) out += " (" + parts[i + 1] + ")";
  }
  return out;
}

}  // namespace kestrel
