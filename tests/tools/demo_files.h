#pragma once
// Reading the quick demo content in tests: data-file tables, picture sizes, AVI and WAVE headers.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace kestrel::test {

std::filesystem::path quickDemo();
// Windows-style name inside a data file to a path below the demo folder.
std::filesystem::path demoPath(const std::string& windowsName);

// A data file decoded from CP932, one string per line.
struct DataLines {
  std::vector<std::string> lines;
  static DataLines read(const std::filesystem::path& path);
  // Rows of a table key up to the '#' line; empty when the key is missing.
  std::vector<std::string> table(const std::string& key) const;
  // The n value lines after a scalar key.
  std::vector<std::string> values(const std::string& key, int n) const;
  bool has(const std::string& key) const;
};

std::vector<std::string> fields(const std::string& row);
int intField(const std::string& row, int n);  // n from 1

struct AviInfo {
  int totalFrames = 0;         // avih
  int indexedFrames = 0;       // video chunks in idx1
  int longestKeyframeGap = 0;  // frames from one keyframe to the next (or the end)
  int width = 0, height = 0;
};
AviInfo readAvi(const std::filesystem::path& path);

}  // namespace kestrel::test
