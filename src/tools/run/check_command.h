#pragma once
// kestrel-run --check: load a cab session exactly as the desktop program would and report.
#include <ostream>

#include "core/front/session_choice.h"
#include "core/front/session_loader.h"
#include "tools/run/run_options.h"

namespace kestrel::run {

inline constexpr int kExitOk = 0;
inline constexpr int kExitDataFault = 2;  // the exact message is on stderr
inline constexpr int kExitUsage = 64;

// The session choice of the options: --train names the vehicle file, relative to the content
// directory unless absolute.
SessionChoice sessionChoiceOf(const RunOptions& options);

// Loads the session of the options as the cab window would, with the image libraries' own
// complaints kept off stderr. Throws FatalError with the exact message.
LoadedSession loadQuietly(const SessionChoice& choice, SessionPorts ports, const SessionStages& stages = {});
LoadedSession loadQuietly(const RunOptions& options, SessionPorts ports, const SessionStages& stages = {});

int runCheck(const RunOptions& options, std::ostream& out, std::ostream& err);

}  // namespace kestrel::run
