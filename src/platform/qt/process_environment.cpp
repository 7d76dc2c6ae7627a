#include "platform/qt/process_environment.h"

#include <cstdlib>
#include <system_error>

namespace kestrel {

namespace {

std::string variable(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

}  // namespace

ContentEnvironment contentEnvironmentOfProcess() {
  namespace fs = std::filesystem;
  ContentEnvironment env;
  env.kestrelData = variable("KESTREL_DATA");
  env.xdgDataHome = variable("XDG_DATA_HOME");
  env.home = variable("HOME");
  std::error_code ec;
  // The kernel names the executable itself, with every symbolic link resolved, so a program
  // started through a link in another bin folder still finds the content installed beside it.
  // Left empty when unknown (no /proc): that candidate is skipped.
  if (fs::path exe = fs::read_symlink("/proc/self/exe", ec); !ec) env.executableDirectory = exe.parent_path();
  env.workingDirectory = fs::current_path(ec);
  if (ec) env.workingDirectory = ".";
  return env;
}

}  // namespace kestrel
