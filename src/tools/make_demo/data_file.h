#pragma once
// A data file as an author writes it: UTF-8 text kept here, written as CP932 with CRLF.
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace kestrel::demo {

class DataFile {
 public:
  // One line of text (no terminator).
  DataFile& line(std::string_view text);
  // A comma row made of the given fields.
  DataFile& row(const std::vector<std::string>& fields);
  // A comment line; the loaders skip lines that match no key.
  DataFile& comment(std::string_view text) { return line("; " + std::string(text)); }
  DataFile& blank() { return line(""); }
  // Ends a table.
  DataFile& end() { return line("#"); }

  const std::vector<std::string>& lines() const { return lines_; }
  // Writes CP932 with CRLF; throws when a character has no CP932 form or the file cannot be written.
  void write(const std::filesystem::path& path) const;

 private:
  std::vector<std::string> lines_;
};

// Decimal text with a fixed number of decimals ("%.*f"), never "-0.00".
std::string fmt(double value, int decimals);
std::string num(long long value);

// Writes a whole file (bytes as they are), creating the folders.
void writeBytes(const std::filesystem::path& path, std::string_view bytes);

}  // namespace kestrel::demo
