#include "tools/run/check_command.h"

#include "core/front/session_loader.h"
#include "core/ports/memory_preference_store.h"
#include "core/util/fatal_error.h"
#include "platform/qt/qt_picture_loader.h"
#include "tools/run/check_summary.h"
#include "tools/run/session_json.h"

namespace kestrel::run {

SessionChoice sessionChoiceOf(const RunOptions& options) {
  SessionChoice choice;
  choice.programDirectory = options.data;
  choice.lineFileName = options.line;
  const std::filesystem::path train(options.train);
  choice.vehicleDirectory = train.parent_path();
  choice.vehicleFileName = train.filename().string();
  return choice;
}

int runCheck(const RunOptions& options, std::ostream& out, std::ostream& err) {
  // A first start: no stored preferences, so every value takes its default.
  MemoryPreferenceStore preferences;
  QtPictureLoader pictures;
  try {
    LoadedSession session = loadSession(sessionChoiceOf(options), {preferences, pictures}, nullptr);
    if (options.json)
      out << sessionJson(session).dump(2) << "\n";
    else
      printCheckSummary(session, out);
  } catch (const FatalError& e) {
    err << e.message() << "\n";
    return kExitDataFault;
  }
  return kExitOk;
}

}  // namespace kestrel::run
