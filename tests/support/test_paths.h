#pragma once
// Where the tests find the source tree, the build tree and a scratch folder; reading a file whole.
#include <filesystem>
#include <string>

namespace kestrel::test {

std::filesystem::path sourceDir();
std::filesystem::path binaryDir();
// A fresh, empty folder for one test, below the build tree; removed by nobody (ctest reruns clear it).
std::filesystem::path scratchDir(const std::string& name);
// The whole file as bytes; empty when it cannot be read.
std::string slurp(const std::filesystem::path& path);

}  // namespace kestrel::test
