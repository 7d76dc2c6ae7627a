#pragma once
// One line with one train, loaded as a cab session loads them but with every fault collected:
// the faults and the line's warnings go to the findings, the files it loaded to `named`.
#include <filesystem>
#include <set>

#include "core/front/session_loader.h"
#include "tools/check/findings.h"

namespace kestrel::check {

// Every picture and wave file a session loaded (or names for later), absolute and normalised.
using NamedFiles = std::set<std::filesystem::path>;

// The session as far as it loaded (its line's distances derived), for the timeline.
LoadedSession checkPair(const SessionChoice& choice, Findings& findings, NamedFiles& named);

// `path` relative to the content folder with '/' between folders; as it is when outside it.
std::string contentName(const std::filesystem::path& contentFolder, const std::filesystem::path& path);
std::filesystem::path normalised(const std::filesystem::path& path);

}  // namespace kestrel::check
