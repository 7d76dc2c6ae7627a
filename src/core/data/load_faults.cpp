#include "core/data/load_faults.h"

#include "core/util/cp932.h"
#include "core/util/file_bytes.h"

namespace kestrel {

int32_t SourceLines::rowLine(std::string_view key, size_t index) const {
  auto it = rows.find(key);
  return it != rows.end() && index < it->second.size() ? it->second[index] : 0;
}

int32_t SourceLines::keyLine(std::string_view key) const {
  auto it = keys.find(key);
  return it != keys.end() ? it->second : 0;
}

void FaultLog::add(const std::filesystem::path& file, int32_t line, std::string message) {
  faults_.push_back({file, line, std::move(message)});
}

void FaultLog::addNamed(const std::filesystem::path& dataFile, std::string_view name, std::string message) {
  auto [it, fresh] = texts_.try_emplace(dataFile);
  if (fresh) {
    if (auto bytes = readFileBytes(dataFile))
      for (DecodedLine& l : decodeCp932Lines(*bytes)) it->second.push_back(std::move(l.text));
  }
  int32_t line = 0;
  for (size_t i = 0; i < it->second.size() && line == 0; ++i)
    if (it->second[i] == name) line = static_cast<int32_t>(i + 1);
  add(dataFile, line, std::move(message));
}

void FaultLog::addAtKey(const std::filesystem::path& dataFile, std::string_view key, std::string message) {
  const SourceLines* lines = findLinesOf(dataFile);
  const int32_t keyLine = lines ? lines->keyLine(key) : 0;
  add(dataFile, keyLine > 0 ? keyLine + 1 : 0, std::move(message));
}

const SourceLines* FaultLog::findLinesOf(const std::filesystem::path& file) const {
  auto it = lines_.find(file);
  return it != lines_.end() ? &it->second : nullptr;
}

}  // namespace kestrel
