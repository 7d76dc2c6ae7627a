// kestrel: the desktop program. The application, its title, the windows, the message loop; the
// program ends when the title window closes.
#include <QApplication>
#include <QIcon>
#include <cstdlib>
#include <iostream>

#include "app/command_line.h"
#include "app/desktop_program.h"
#include "core/front/title_menu.h"
#include "platform/qt/qt_text.h"

namespace {

// Qt's image readers warn on stderr about files they cannot decode; KESTREL_QT_MESSAGES=1 lets
// them through.
void dropQtMessage(QtMsgType type, const QMessageLogContext&, const QString& text) {
  if (type == QtFatalMsg) std::cerr << text.toStdString() << "\n";
}

}  // namespace

int main(int argc, char** argv) {
  using namespace kestrel::app;
  const ParsedCommandLine parsed = parseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
  if (parsed.help) {
    std::cout << desktopUsage();
    return 0;
  }
  if (parsed.version) {
    std::cout << "kestrel " << KESTREL_VERSION << "\n";
    return 0;
  }
  if (!parsed.options) {
    std::cerr << "kestrel: " << parsed.error << "\n\n" << desktopUsage();
    return 64;
  }
  if (!std::getenv("KESTREL_QT_MESSAGES")) qInstallMessageHandler(dropQtMessage);

  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("kestrel"));
  QApplication::setOrganizationName(QStringLiteral("Railvane"));
  // The application title: the title window's caption, and after the caption of every other window.
  QApplication::setApplicationDisplayName(kestrel::qs(kestrel::kApplicationTitle));
  QGuiApplication::setDesktopFileName(QStringLiteral(KESTREL_APP_ID));
  QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral(KESTREL_APP_ID)));
  QApplication::setQuitOnLastWindowClosed(false);  // the title window's close ends the program
  DesktopProgram program(*parsed.options);
  if (const int status = program.start(); status != 0) return status;
  return QApplication::exec();
}
