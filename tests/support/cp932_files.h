#pragma once
// Data files as an author writes them: UTF-8 test text turned into CP932 with CRLF line ends.
#include <filesystem>
#include <string>
#include <string_view>

#include "core/data/section_reader.h"

namespace kestrel::test {

// "\n" becomes "\r\n"; the text must have a CP932 form.
std::string cp932Text(std::string_view utf8);
void writeCp932File(const std::filesystem::path& path, std::string_view utf8);
SectionReader readerOf(std::string_view utf8);

}  // namespace kestrel::test
