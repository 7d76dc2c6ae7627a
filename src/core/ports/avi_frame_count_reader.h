#pragma once
// A MovieReader that only knows how many frames an AVI file holds, read from its header: the
// length of the first video stream ('strh'), or the main header's total frames ('avih') when no
// video stream header says. It decodes nothing. The headless runner uses it, so that the movie
// counters and switches run as in the desktop program without a video decoder.
#include <cstdint>
#include <filesystem>
#include <istream>
#include <optional>

#include "core/ports/movie_reader.h"

namespace kestrel {

// The frame count from the header of an AVI file; nullopt when it cannot be read or is no AVI.
std::optional<int64_t> aviFrameCount(const std::filesystem::path& path);
std::optional<int64_t> aviFrameCount(std::istream& in);

class AviFrameCountReader final : public MovieReader {
 public:
  bool open(const std::filesystem::path& path) override;
  void close() override;
  bool isOpen() const override { return open_; }
  int frameCount() const override { return open_ ? frames_ : 0; }
  // Nothing is decoded: `out` is left empty and false returned.
  bool decodeFrame(int n, Picture& out) override;

 private:
  bool open_ = false;
  int frames_ = 0;
};

}  // namespace kestrel
