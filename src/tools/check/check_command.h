#pragma once
// kestrel-check's one command: the findings of one line with one train, or of every pair of the
// content folder, printed as lines or JSON.
#include <ostream>

#include "tools/check/check_options.h"

namespace kestrel::check {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFault = 2;
inline constexpr int kExitUsage = 64;

// `options.data` is the content folder found (it holds railvane.dat).
int runCheckCommand(const CheckOptions& options, std::ostream& out, std::ostream& err);

}  // namespace kestrel::check
