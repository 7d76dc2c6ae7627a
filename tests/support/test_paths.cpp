#include "support/test_paths.h"

#include <fstream>
#include <sstream>

namespace kestrel::test {

std::filesystem::path sourceDir() {
  return KESTREL_SOURCE_DIR;
}
std::filesystem::path binaryDir() {
  return KESTREL_BINARY_DIR;
}

std::filesystem::path scratchDir(const std::string& name) {
  auto dir = binaryDir() / "test-scratch" / name;
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  return dir;
}

std::string slurp(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

}  // namespace kestrel::test
