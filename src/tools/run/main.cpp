// kestrel-run: the headless runner. Parses the command line and runs one command.
#include <QtGlobal>

#include <cstdlib>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "core/front/content_directory.h"
#include "platform/qt/process_environment.h"
#include "tools/run/check_command.h"
#include "tools/run/drive_command.h"
#include "tools/run/run_options.h"

namespace {

// Qt's image readers warn on stderr about files they cannot decode ("libpng error: ...").
// stderr carries exactly the fatal message; KESTREL_QT_MESSAGES=1 lets them through to debug.
void dropQtMessage(QtMsgType, const QMessageLogContext&, const QString&) {}

}  // namespace

int main(int argc, char** argv) {
  using namespace kestrel::run;
  if (!std::getenv("KESTREL_QT_MESSAGES")) qInstallMessageHandler(dropQtMessage);
  const std::vector<std::string> args(argv + 1, argv + argc);
  const ParsedOptions parsed = parseRunOptions(args);
  if (parsed.help) {
    std::cout << usageText();
    return kExitOk;
  }
  if (!parsed.options) {
    std::cerr << "kestrel-run: " << parsed.error << "\n\n" << usageText();
    return kExitUsage;
  }
  // The program itself refuses to start without a content directory.
  RunOptions options = *parsed.options;
  const kestrel::ContentLocation content =
      kestrel::locateContent(options.data, kestrel::contentEnvironmentOfProcess());
  if (!content.directory) {
    std::cerr << kestrel::kMisplacedProgram << "\n" << kestrel::searchedFoldersReport(content);
    return kExitDataFault;
  }
  if (const std::string note = kestrel::skippedVariableNote(content); !note.empty())
    std::cerr << "kestrel-run: " << note;
  options.data = *content.directory;
  try {
    if (options.check) return runCheck(options, std::cout, std::cerr);
    return runDrive(options, std::cout, std::cerr);
  } catch (const std::exception& e) {
    // Not a data fault (those are reported by the command): a failure of the runner itself.
    std::cerr << "kestrel-run: internal error: " << e.what() << "\n";
    return 1;
  }
}
