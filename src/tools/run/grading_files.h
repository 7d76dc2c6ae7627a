#pragma once
// The grading files of a headless drive: --report (JSON) and --plot (SVG of the run curves).
#include <optional>
#include <string>

#include "core/grade/grade_report.h"
#include "tools/run/run_options.h"

namespace kestrel::run {

// Writes what the options ask for; the message for stderr when a file cannot be written.
std::optional<std::string> writeGradingFiles(const RunOptions& options, const grade::GradeReport& report);

}  // namespace kestrel::run
