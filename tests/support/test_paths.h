#pragma once
// Where the tests find the source tree, the build tree and a scratch folder.
#include <filesystem>
#include <string>

namespace kestrel::test {

std::filesystem::path sourceDir();
std::filesystem::path binaryDir();
// A fresh, empty folder for one test, below the build tree; removed by nobody (ctest reruns clear it).
std::filesystem::path scratchDir(const std::string& name);

}  // namespace kestrel::test
