// kestrel-check: every fault and warning of a content folder's lines and trains at once.
#include <QtGlobal>
#include <cstdlib>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "core/front/content_directory.h"
#include "platform/qt/process_environment.h"
#include "tools/check/check_command.h"
#include "tools/check/check_options.h"

namespace {

// Qt's image readers warn on stderr about files they cannot decode; the findings say it better.
void dropQtMessage(QtMsgType, const QMessageLogContext&, const QString&) {}

}  // namespace

int main(int argc, char** argv) {
  using namespace kestrel::check;
  if (!std::getenv("KESTREL_QT_MESSAGES")) qInstallMessageHandler(dropQtMessage);
  const std::vector<std::string> args(argv + 1, argv + argc);
  const ParsedCheckOptions parsed = parseCheckOptions(args);
  if (parsed.help) {
    std::cout << checkUsage();
    return kExitOk;
  }
  if (!parsed.options) {
    std::cerr << "kestrel-check: " << parsed.error << "\n\n" << checkUsage();
    return kExitUsage;
  }
  // The programs refuse to start without a content folder; so does the check.
  CheckOptions options = *parsed.options;
  const kestrel::ContentLocation content = kestrel::locateContent(options.data, kestrel::contentEnvironmentOfProcess());
  if (!content.directory) {
    std::cerr << kestrel::kMisplacedProgram << "\n" << kestrel::searchedFoldersReport(content);
    return kExitFault;
  }
  if (const std::string note = kestrel::skippedVariableNote(content); !note.empty()) std::cerr << "kestrel-check: " << note;
  options.data = *content.directory;
  try {
    return runCheckCommand(options, std::cout, std::cerr);
  } catch (const std::exception& e) {
    std::cerr << "kestrel-check: internal error: " << e.what() << "\n";
    return 1;
  }
}
