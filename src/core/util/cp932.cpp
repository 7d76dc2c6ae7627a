#include "core/util/cp932.h"

#include <iconv.h>

#include <cerrno>
#include <stdexcept>

namespace kestrel {

namespace {

class Iconv {
 public:
  Iconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {
    if (cd_ == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv cannot convert CP932 on this system");
  }
  ~Iconv() { iconv_close(cd_); }
  Iconv(const Iconv&) = delete;
  Iconv& operator=(const Iconv&) = delete;
  iconv_t get() const { return cd_; }

 private:
  iconv_t cd_;
};

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

// Converts `in` with `cd`; on an undecodable or incomplete sequence calls onBad(out, byte) with
// the byte it stopped at, skips that byte and goes on.
template <class OnBad>
std::string convert(iconv_t cd, std::string_view in, OnBad onBad) {
  std::string out;
  out.reserve(in.size() * 3 / 2 + 4);
  char* src = const_cast<char*>(in.data());
  size_t srcLeft = in.size();
  char buffer[1024];
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  while (srcLeft > 0) {
    char* dst = buffer;
    size_t dstLeft = sizeof buffer;
    size_t rc = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    out.append(buffer, static_cast<size_t>(dst - buffer));
    if (rc == static_cast<size_t>(-1)) {
      if (errno == E2BIG) continue;
      // EILSEQ: invalid sequence; EINVAL: incomplete sequence at the end of the input.
      onBad(out, static_cast<unsigned char>(*src));
      ++src;
      --srcLeft;
      iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
  }
  return out;
}

// Single bytes that Windows decodes in CP932 and glibc's table lacks: 0x80 as U+0080, 0xA0 and
// 0xFD-0xFF as the private-use characters U+F8F0-U+F8F3. Empty for every other byte.
std::string_view windowsOnlyByte(unsigned char byte) {
  switch (byte) {
    case 0x80:
      return "\xC2\x80";
    case 0xA0:
      return "\xEF\xA3\xB0";
    case 0xFD:
      return "\xEF\xA3\xB1";
    case 0xFE:
      return "\xEF\xA3\xB2";
    case 0xFF:
      return "\xEF\xA3\xB3";
    default:
      return {};
  }
}

// Decodes with `cd`: a byte Windows accepts alone is decoded as Windows does; anything else that
// does not decode becomes U+FFFD and sets *malformed.
std::string decodeWith(iconv_t cd, std::string_view bytes, bool* malformed) {
  return convert(cd, bytes, [&](std::string& o, unsigned char byte) {
    const std::string_view windows = windowsOnlyByte(byte);
    if (!windows.empty()) {
      o.append(windows);
      return;
    }
    *malformed = true;
    o.append(kReplacement);
  });
}

}  // namespace

std::string decodeCp932(std::string_view bytes, bool* malformed) {
  Iconv cd("UTF-8", "CP932");
  bool bad = false;
  std::string out = decodeWith(cd.get(), bytes, &bad);
  if (malformed) *malformed = bad;
  return out;
}

std::vector<DecodedLine> decodeCp932Lines(std::string_view bytes) {
  // Splitting on the bytes 0x0D and 0x0A is safe: CP932 trail bytes are 0x40 and above.
  Iconv cd("UTF-8", "CP932");
  std::vector<DecodedLine> lines;
  size_t start = 0;
  while (start < bytes.size()) {
    size_t end = bytes.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = bytes.size();
    size_t next = end + 1;
    if (end < bytes.size() && bytes[end] == '\r' && next < bytes.size() && bytes[next] == '\n') ++next;
    const std::string_view raw = bytes.substr(start, end - start);
    DecodedLine line;
    line.text = decodeWith(cd.get(), raw, &line.malformed);
    lines.push_back(std::move(line));
    start = next;
  }
  return lines;
}

std::string encodeCp932(std::string_view utf8) {
  Iconv cd("CP932", "UTF-8");
  return convert(cd.get(), utf8, [&](std::string&, unsigned char) -> void {
    throw std::invalid_argument("text has no CP932 form: " + std::string(utf8));
  });
}

}  // namespace kestrel
