#pragma once
// The two commands of kestrel-author. Each throws AuthorError for bad input; nothing is written
// to `out` then. With --line, `options.data` is the content folder found.
#include <ostream>

#include "tools/author/author_options.h"

namespace kestrel::author {

inline constexpr int kExitOk = 0;
inline constexpr int kExitBadInput = 2;
inline constexpr int kExitUsage = 64;

// The [SpeedUnit] section on `out` (or --out), a summary on `err`.
void runSpeedUnit(const AuthorOptions& options, std::ostream& out, std::ostream& err);
// One line per place on `out`.
void runLocate(const AuthorOptions& options, std::ostream& out);

}  // namespace kestrel::author
