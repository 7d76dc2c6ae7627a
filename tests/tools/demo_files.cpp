#include "tools/demo_files.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "core/util/comma_fields.h"
#include "core/util/cp932.h"

namespace kestrel::test {

std::filesystem::path quickDemo() {
  return KESTREL_QUICK_DEMO_DIR;
}

std::filesystem::path demoPath(const std::string& windowsName) {
  std::string rel = windowsName;
  std::replace(rel.begin(), rel.end(), '\\', '/');
  return quickDemo() / rel;
}

DataLines DataLines::read(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path.string());
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  DataLines d;
  for (auto& l : decodeCp932Lines(bytes)) {
    if (l.malformed) throw std::runtime_error("malformed CP932 in " + path.string());
    d.lines.push_back(l.text);
  }
  return d;
}

namespace {
size_t findKey(const std::vector<std::string>& lines, const std::string& key) {
  for (size_t i = 0; i < lines.size(); ++i)
    if (lines[i].compare(0, key.size(), key) == 0) return i;
  return lines.size();
}
}  // namespace

bool DataLines::has(const std::string& key) const {
  return findKey(lines, key) < lines.size();
}

std::vector<std::string> DataLines::table(const std::string& key) const {
  std::vector<std::string> rows;
  for (size_t i = findKey(lines, key) + 1; i < lines.size() && (lines[i].empty() || lines[i][0] != '#'); ++i)
    rows.push_back(lines[i]);
  return rows;
}

std::vector<std::string> DataLines::values(const std::string& key, int n) const {
  std::vector<std::string> out;
  const size_t k = findKey(lines, key);
  for (size_t i = k + 1; i < lines.size() && static_cast<int>(out.size()) < n; ++i) out.push_back(lines[i]);
  return out;
}

std::vector<std::string> fields(const std::string& row) {
  std::vector<std::string> out;
  for (int i = 1; i <= commaFieldCount(row); ++i) out.push_back(commaField(row, i));
  return out;
}

int intField(const std::string& row, int n) {
  return std::stoi(commaField(row, n));
}

namespace {
uint32_t le32(const std::string& b, size_t at) {
  uint32_t v = 0;
  std::memcpy(&v, b.data() + at, 4);
  return v;
}
}  // namespace

AviInfo readAvi(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path.string());
  const std::string b((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (b.size() < 64 || b.compare(0, 4, "RIFF") != 0 || b.compare(8, 4, "AVI ") != 0)
    throw std::runtime_error("not an AVI file");
  AviInfo info;
  const size_t avih = b.find("avih");
  if (avih == std::string::npos) throw std::runtime_error("no avih chunk");
  info.totalFrames = static_cast<int>(le32(b, avih + 8 + 16));
  info.width = static_cast<int>(le32(b, avih + 8 + 32));
  info.height = static_cast<int>(le32(b, avih + 8 + 36));
  const size_t idx1 = b.rfind("idx1");
  if (idx1 == std::string::npos) throw std::runtime_error("no idx1 index");
  const size_t n = le32(b, idx1 + 4) / 16;
  int sinceKey = -1;
  for (size_t i = 0; i < n; ++i) {
    const size_t e = idx1 + 8 + i * 16;
    if (b.compare(e + 2, 2, "dc") != 0 && b.compare(e + 2, 2, "db") != 0) continue;
    ++info.indexedFrames;
    if (le32(b, e + 4) & 0x10)
      sinceKey = 0;  // AVIIF_KEYFRAME
    else if (sinceKey >= 0)
      ++sinceKey;
    else
      sinceKey = 1 << 20;  // no keyframe at the start
    info.longestKeyframeGap = std::max(info.longestKeyframeGap, sinceKey + 1);
  }
  return info;
}

}  // namespace kestrel::test
