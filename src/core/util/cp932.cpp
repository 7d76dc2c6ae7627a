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

// Converts `in` with `cd`; on an undecodable or incomplete sequence calls onBad() and, when it
// returns true, skips one byte and goes on.
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
      onBad(out);
      ++src;
      --srcLeft;
      iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
  }
  return out;
}

}  // namespace

std::string decodeCp932(std::string_view bytes, bool* malformed) {
  Iconv cd("UTF-8", "CP932");
  bool bad = false;
  std::string out = convert(cd.get(), bytes, [&](std::string& o) {
    bad = true;
    o.append(kReplacement);
  });
  if (malformed) *malformed = bad;
  return out;
}

std::vector<DecodedLine> decodeCp932Lines(std::string_view bytes) {
  // Splitting on the byte 0x0A is safe: CP932 trail bytes are 0x40 and above.
  Iconv cd("UTF-8", "CP932");
  std::vector<DecodedLine> lines;
  size_t start = 0;
  while (start < bytes.size()) {
    size_t end = bytes.find('\n', start);
    size_t next = end == std::string_view::npos ? bytes.size() : end + 1;
    if (end == std::string_view::npos) end = bytes.size();
    std::string_view raw = bytes.substr(start, end - start);
    if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);
    DecodedLine line;
    line.text = convert(cd.get(), raw, [&](std::string& o) {
      line.malformed = true;
      o.append(kReplacement);
    });
    lines.push_back(std::move(line));
    start = next;
  }
  return lines;
}

std::string encodeCp932(std::string_view utf8) {
  Iconv cd("CP932", "UTF-8");
  return convert(cd.get(), utf8, [&](std::string&) -> void {
    throw std::invalid_argument("text has no CP932 form: " + std::string(utf8));
  });
}

}  // namespace kestrel
