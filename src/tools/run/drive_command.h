#pragma once
// kestrel-run's drive mode: load a line and a train as a cab session does, start the drive, play
// a script of driver inputs as fast as the CPU allows, write a trace and a one-line summary.
#include <ostream>

#include "tools/run/run_options.h"

namespace kestrel::run {

// Exit status: 0 done, 2 a fatal message or a malformed script (with its line number).
int runDrive(const RunOptions& options, std::ostream& out, std::ostream& err);

}  // namespace kestrel::run
