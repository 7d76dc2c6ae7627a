#pragma once
// The human summary of kestrel-run --check: what was loaded, the row count of every table, the
// derived station distances, and the warnings.
#include <ostream>

#include "core/front/session_loader.h"

namespace kestrel::run {

void printCheckSummary(const LoadedSession& session, std::ostream& out);

}  // namespace kestrel::run
