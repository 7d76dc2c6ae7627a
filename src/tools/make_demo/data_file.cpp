#include "tools/make_demo/data_file.h"

#include <cmath>
#include <cstdio>
#include <fstream>
#include <stdexcept>

#include "core/util/cp932.h"

namespace kestrel::demo {

DataFile& DataFile::line(std::string_view text) {
  lines_.emplace_back(text);
  return *this;
}

DataFile& DataFile::row(const std::vector<std::string>& fields) {
  std::string text;
  for (size_t i = 0; i < fields.size(); ++i) {
    if (i) text += ',';
    text += fields[i];
  }
  return line(text);
}

void DataFile::write(const std::filesystem::path& path) const {
  std::string bytes;
  for (const auto& l : lines_) {
    bytes += encodeCp932(l);
    bytes += "\r\n";
  }
  writeBytes(path, bytes);
}

std::string fmt(double value, int decimals) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
  std::string s = buffer;
  // "-0.00" reads oddly in a data file.
  if (s[0] == '-' && std::strtod(s.c_str(), nullptr) == 0.0) s.erase(0, 1);
  return s;
}

std::string num(long long value) { return std::to_string(value); }

void writeBytes(const std::filesystem::path& path, std::string_view bytes) {
  if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

}  // namespace kestrel::demo
