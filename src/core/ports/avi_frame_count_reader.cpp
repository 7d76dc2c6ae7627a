#include "core/ports/avi_frame_count_reader.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <limits>
#include <string_view>

namespace kestrel {

namespace {

uint32_t le32(const char* p) {
  const auto* b = reinterpret_cast<const unsigned char*>(p);
  return uint32_t{b[0]} | uint32_t{b[1]} << 8 | uint32_t{b[2]} << 16 | uint32_t{b[3]} << 24;
}

struct HeaderScan {
  std::istream& in;
  std::optional<uint32_t> totalFrames;  // 'avih'
  std::optional<uint32_t> videoLength;  // 'strh' of the first 'vids' stream

  // The chunks between `from` and `to`; LIST 'hdrl' and 'strl' are entered, 'movi' ends the scan.
  // Returns false when the file ends early or the header is malformed.
  bool chunks(uint64_t from, uint64_t to) {
    uint64_t at = from;
    while (at + 8 <= to) {
      std::array<char, 12> head{};
      in.seekg(static_cast<std::streamoff>(at));
      if (!in.read(head.data(), 8)) return false;
      const std::string_view id(head.data(), 4);
      const uint64_t size = le32(head.data() + 4);
      const uint64_t body = at + 8;
      if (body + size > to) return false;
      if (id == "LIST") {
        if (size < 4 || !in.read(head.data() + 8, 4)) return false;
        const std::string_view list(head.data() + 8, 4);
        if (list == "movi") return true;
        if ((list == "hdrl" || list == "strl") && !chunks(body + 4, body + size)) return false;
      } else if (id == "avih" && size >= 20) {
        std::array<char, 20> h{};
        if (!in.read(h.data(), h.size())) return false;
        totalFrames = le32(h.data() + 16);  // dwTotalFrames
      } else if (id == "strh" && size >= 36 && !videoLength) {
        std::array<char, 36> h{};
        if (!in.read(h.data(), h.size())) return false;
        if (std::string_view(h.data(), 4) == "vids") videoLength = le32(h.data() + 32);  // dwLength
      }
      at = body + size + (size & 1);  // chunks are padded to an even size
    }
    return true;
  }
};

}  // namespace

std::optional<int64_t> aviFrameCount(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  return aviFrameCount(in);
}

std::optional<int64_t> aviFrameCount(std::istream& in) {
  std::array<char, 12> riff{};
  if (!in.read(riff.data(), riff.size())) return std::nullopt;
  if (std::string_view(riff.data(), 4) != "RIFF" || std::string_view(riff.data() + 8, 4) != "AVI ")
    return std::nullopt;
  HeaderScan scan{in, std::nullopt, std::nullopt};
  // A file cut short after its headers still reports what they say, as the video library does.
  scan.chunks(12, 8 + uint64_t{le32(riff.data() + 4)});
  if (scan.videoLength) return *scan.videoLength;
  if (scan.totalFrames) return *scan.totalFrames;
  return std::nullopt;
}

bool AviFrameCountReader::open(const std::filesystem::path& path) {
  close();
  const auto frames = aviFrameCount(path);
  if (!frames) return false;
  frames_ = static_cast<int>(std::min<int64_t>(*frames, std::numeric_limits<int>::max()));
  open_ = true;
  return true;
}

void AviFrameCountReader::close() {
  open_ = false;
  frames_ = 0;
}

bool AviFrameCountReader::decodeFrame(int, Picture&) {
  return false;
}

}  // namespace kestrel
