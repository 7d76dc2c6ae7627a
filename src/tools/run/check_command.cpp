#include "tools/run/check_command.h"

#include "core/front/session_loader.h"
#include "core/front/sound_stages.h"
#include "core/ports/memory_preference_store.h"
#include "core/ports/recording_mixer.h"
#include "core/util/fatal_error.h"
#include "platform/qt/qt_picture_loader.h"
#include "platform/qt/quiet_image_libraries.h"
#include "tools/run/check_summary.h"
#include "tools/run/session_json.h"

namespace kestrel::run {

LoadedSession loadQuietly(const SessionChoice& choice, SessionPorts ports, const SessionStages& stages) {
  QuietImageLibraries quiet;
  return loadSession(choice, ports, nullptr, stages);
}

LoadedSession loadQuietly(const RunOptions& options, SessionPorts ports, const SessionStages& stages) {
  return loadQuietly(sessionChoiceOf(options), ports, stages);
}

SessionChoice sessionChoiceOf(const RunOptions& options) {
  return SessionChoice::of(options.data, options.line, options.train);
}

int runCheck(const RunOptions& options, std::ostream& out, std::ostream& err) {
  // A first start: no stored preferences, so every value takes its default.
  MemoryPreferenceStore preferences;
  QtPictureLoader pictures;
  // Every wave a drive loads, read as a drive reads it: content that passes the check drives.
  RecordingMixer mixer;
  try {
    LoadedSession session = loadQuietly(options, {preferences, pictures}, withSoundStages({}, mixer));
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
