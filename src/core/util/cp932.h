#pragma once
// Shift-JIS as Windows writes it (CP932), decoded to UTF-8 at the boundary, line by line.
// CRLF, LF and a bare CR (as old editors write) end a line and are never part of it. The single
// bytes that Windows decodes and glibc's table lacks (0x80, 0xA0, 0xFD-0xFF) are decoded as
// Windows does. A malformed byte sequence (including a
// double-byte character cut off at the end of a line) is replaced by U+FFFD and the line is
// marked, so that a loader can refuse it when the line is used as a value.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kestrel {

struct DecodedLine {
  std::string text;        // UTF-8, without the line terminator
  bool malformed = false;  // a byte sequence did not decode
};

// Splits CP932 bytes into decoded lines. A final line without terminator counts; an empty file
// has no lines.
std::vector<DecodedLine> decodeCp932Lines(std::string_view bytes);

// Decodes one CP932 string (no line splitting). Sets *malformed when a sequence did not decode.
std::string decodeCp932(std::string_view bytes, bool* malformed = nullptr);

// Encodes UTF-8 into CP932 (for tests and the demo content). Throws std::invalid_argument when a
// character has no CP932 form.
std::string encodeCp932(std::string_view utf8);

}  // namespace kestrel
