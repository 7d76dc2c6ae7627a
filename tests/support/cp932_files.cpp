#include "support/cp932_files.h"

#include <fstream>

#include "core/util/cp932.h"

namespace kestrel::test {

std::string cp932Text(std::string_view utf8) {
  std::string crlf;
  for (char c : utf8) {
    if (c == '\n') crlf += '\r';
    crlf += c;
  }
  return encodeCp932(crlf);
}

void writeCp932File(const std::filesystem::path& path, std::string_view utf8) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << cp932Text(utf8);
}

SectionReader readerOf(std::string_view utf8) { return SectionReader::fromBytes(cp932Text(utf8)); }

}  // namespace kestrel::test
