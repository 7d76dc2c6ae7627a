#include "platform/openal/openal_latency_defaults.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string_view>
#include <vector>

namespace kestrel {

namespace {

bool offeredBefore = false;

std::string env(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

// The files OpenAL Soft 1.19 reads on Linux, lowest priority first (ALSOFT_CONF comes last).
std::vector<std::filesystem::path> configFiles() {
  std::vector<std::filesystem::path> files{"/etc/openal/alsoft.conf"};
  std::string dirs = env("XDG_CONFIG_DIRS");
  if (dirs.empty()) dirs = "/etc/xdg";
  std::stringstream list(dirs);
  for (std::string dir; std::getline(list, dir, ':');) {
    if (!dir.empty()) files.push_back(std::filesystem::path(dir) / "alsoft.conf");
  }
  const std::string home = env("HOME");
  if (!home.empty()) files.push_back(std::filesystem::path(home) / ".alsoftrc");
  std::string configHome = env("XDG_CONFIG_HOME");
  if (configHome.empty() && !home.empty()) configHome = home + "/.config";
  if (!configHome.empty()) files.push_back(std::filesystem::path(configHome) / "alsoft.conf");
  std::error_code ec;
  const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (!ec) files.push_back(exe.parent_path() / "alsoft.conf");
  return files;
}

bool anyFileSetsPeriod() {
  for (const auto& file : configFiles()) {
    std::ifstream in(file);
    if (!in) continue;
    std::stringstream text;
    text << in.rdbuf();
    if (OpenAlLatencyDefaults::setsPeriod(text.str())) return true;
  }
  return false;
}

std::string_view trim(std::string_view s) {
  const auto first = s.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  const auto last = s.find_last_not_of(" \t\r");
  return s.substr(first, last - first + 1);
}

}  // namespace

bool OpenAlLatencyDefaults::setsPeriod(const std::string& text) {
  std::stringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    const auto entry = trim(line);
    if (entry.empty() || entry.front() == '#' || entry.front() == '[') continue;
    const auto key = trim(entry.substr(0, entry.find('=')));
    if (key == "period_size" || key == "periods") return true;
  }
  return false;
}

OpenAlLatencyDefaults::OpenAlLatencyDefaults() {
  if (offeredBefore) return;
  offeredBefore = true;
  if (std::getenv("ALSOFT_CONF") || anyFileSetsPeriod()) return;

  const std::string text = "[general]\nperiod_size = " + std::to_string(kPeriodFrames) +
                           "\nperiods = " + std::to_string(kPeriods) + "\n";
  const int fd = memfd_create("kestrel-alsoft.conf", MFD_CLOEXEC);
  if (fd < 0) return;
  if (write(fd, text.data(), text.size()) != static_cast<ssize_t>(text.size())) {
    close(fd);
    return;
  }
  const std::string path = "/proc/self/fd/" + std::to_string(fd);
  if (setenv("ALSOFT_CONF", path.c_str(), 1) != 0) {
    close(fd);
    return;
  }
  fd_ = fd;
}

OpenAlLatencyDefaults::~OpenAlLatencyDefaults() {
  if (fd_ < 0) return;
  // Children of the program must not inherit a path to a descriptor they do not have.
  unsetenv("ALSOFT_CONF");
  close(fd_);
}

}  // namespace kestrel
