#include "core/front/content_directory.h"

#include <system_error>

#include "core/util/path_lookup.h"

namespace kestrel {

namespace fs = std::filesystem;

namespace {

// A relative XDG_DATA_HOME is invalid by the XDG base directory rules and is ignored.
bool usesXdgDataHome(const ContentEnvironment& env) {
  return !env.xdgDataHome.empty() && fs::path(env.xdgDataHome).is_absolute();
}

bool holdsSettings(const fs::path& directory) {
  std::error_code ec;
  return fs::is_regular_file(resolveDataPath(directory, "railvane.dat"), ec);
}

std::vector<ContentCandidate> candidates(const ContentEnvironment& env) {
  std::vector<ContentCandidate> out;
  const auto fromWorkingDirectory = [&](const fs::path& p) {
    return (env.workingDirectory / p).lexically_normal();
  };
  if (!env.kestrelData.empty()) out.push_back({fromWorkingDirectory(env.kestrelData), "$KESTREL_DATA"});
  if (const auto user = userDataFolder(env))
    out.push_back({*user, usesXdgDataHome(env) ? "$XDG_DATA_HOME/kestrel" : "~/.local/share/kestrel"});
  if (!env.executableDirectory.empty())
    out.push_back({(env.executableDirectory / kInstalledContentFromExecutable).lexically_normal(),
                   "installed with the program"});
  out.push_back({env.workingDirectory, "the working directory"});
  return out;
}

}  // namespace

std::optional<fs::path> userDataFolder(const ContentEnvironment& env) {
  if (usesXdgDataHome(env)) return (fs::path(env.xdgDataHome) / "kestrel").lexically_normal();
  if (env.home.empty()) return std::nullopt;
  return (env.workingDirectory / env.home / ".local/share/kestrel").lexically_normal();
}

ContentLocation locateContent(const fs::path& dataOption, const ContentEnvironment& env) {
  ContentLocation location;
  if (!dataOption.empty()) {
    location.fromOption = true;
    location.searched.push_back({dataOption, "--data"});
  } else {
    location.searched = candidates(env);
  }
  for (size_t i = 0; i < location.searched.size(); ++i) {
    if (holdsSettings(location.searched[i].directory)) {
      location.directory = location.searched[i].directory;
      location.searched.resize(i + 1);  // the folders after it were not looked at
      break;
    }
  }
  return location;
}

std::string skippedVariableNote(const ContentLocation& location) {
  if (!location.directory || location.searched.size() < 2 || location.searched[0].origin != "$KESTREL_DATA")
    return {};
  return "$KESTREL_DATA (" + location.searched[0].directory.string() + ") holds no railvane.dat; using " +
         location.directory->string() + "\n";
}

std::string searchedFoldersReport(const ContentLocation& location) {
  if (location.fromOption) return {};
  std::string report = "railvane.dat is in none of these folders (--data DIR names another):\n";
  for (const ContentCandidate& c : location.searched)
    report += "  " + c.directory.string() + "  (" + c.origin + ")\n";
  return report;
}

}  // namespace kestrel
