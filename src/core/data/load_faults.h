#pragma once
// The collecting mode of the loaders, for the authoring check: instead of stopping at the first
// fault, a load records every fault with its file and line and goes on, and notes where each key
// and each stored table row of a data file stood, so that later checks can name lines too. A
// drive never collects: it stops at the first fault with its message.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace kestrel {

struct LoadFault {
  std::filesystem::path file;  // the data file the fault is in
  int32_t line = 0;            // 1-based; 0: the file as a whole (it cannot be read)
  std::string message;         // exactly the message a drive stops with
};

// Where the keys and the table rows of one data file stood (1-based lines).
struct SourceLines {
  std::map<std::string, int32_t, std::less<>> keys;               // the key line last read of each key
  std::map<std::string, std::vector<int32_t>, std::less<>> rows;  // each stored row of a table, in order

  // The line of row `index` of the table read under `key`; 0 when not known.
  int32_t rowLine(std::string_view key, size_t index) const;
  int32_t keyLine(std::string_view key) const;
};

class FaultLog {
 public:
  void add(const std::filesystem::path& file, int32_t line, std::string message);
  // A picture or sound that `dataFile` names and that cannot be loaded: the fault stands on the
  // first line of `dataFile` that is exactly the name (0 when none is).
  void addNamed(const std::filesystem::path& dataFile, std::string_view name, std::string message);
  // A fault of a key's value as a whole: on the line after the key line (0 when the key is absent).
  void addAtKey(const std::filesystem::path& dataFile, std::string_view key, std::string message);

  SourceLines& linesOf(const std::filesystem::path& file) { return lines_[file]; }
  const SourceLines* findLinesOf(const std::filesystem::path& file) const;
  const std::vector<LoadFault>& faults() const { return faults_; }

 private:
  std::vector<LoadFault> faults_;
  std::map<std::filesystem::path, SourceLines> lines_;
  std::map<std::filesystem::path, std::vector<std::string>> texts_;  // files read again by addNamed
};

// A loader of the files that a data file names (pictures, sounds) in collecting mode: its faults
// go to `log`, on the line of `dataFile` that names the file.
struct NamedFileFaults {
  FaultLog& log;
  std::filesystem::path dataFile;
  void add(std::string_view name, std::string message) const { log.addNamed(dataFile, name, std::move(message)); }
};

}  // namespace kestrel
