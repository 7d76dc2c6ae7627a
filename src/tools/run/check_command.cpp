#include "tools/run/check_command.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "core/front/session_loader.h"
#include "core/front/sound_stages.h"
#include "core/ports/memory_preference_store.h"
#include "core/ports/recording_mixer.h"
#include "core/util/fatal_error.h"
#include "platform/qt/qt_picture_loader.h"
#include "tools/run/check_summary.h"
#include "tools/run/session_json.h"

namespace kestrel::run {

namespace {

// The image libraries write their own complaints straight to stderr (libpng's "libpng error: ...");
// while loading, descriptor 2 goes to /dev/null so that stderr carries exactly the fatal message.
// KESTREL_QT_MESSAGES=1 keeps them, for debugging a picture.
class QuietStderr {
 public:
  QuietStderr() {
    if (std::getenv("KESTREL_QT_MESSAGES")) return;
    std::fflush(stderr);
    saved_ = dup(2);
    int null = open("/dev/null", O_WRONLY);
    if (saved_ >= 0 && null >= 0) dup2(null, 2);
    if (null >= 0) close(null);
  }
  ~QuietStderr() {
    if (saved_ < 0) return;
    std::fflush(stderr);
    dup2(saved_, 2);
    close(saved_);
  }
  QuietStderr(const QuietStderr&) = delete;
  QuietStderr& operator=(const QuietStderr&) = delete;

 private:
  int saved_ = -1;
};

}  // namespace

LoadedSession loadQuietly(const SessionChoice& choice, SessionPorts ports, const SessionStages& stages) {
  QuietStderr quiet;
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
