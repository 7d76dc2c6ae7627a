#include "support/test_paths.h"

namespace kestrel::test {

std::filesystem::path sourceDir() { return KESTREL_SOURCE_DIR; }
std::filesystem::path binaryDir() { return KESTREL_BINARY_DIR; }

std::filesystem::path scratchDir(const std::string& name) {
  auto dir = binaryDir() / "test-scratch" / name;
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  return dir;
}

}  // namespace kestrel::test
