#pragma once
// Writes frames into an AVI file as MPEG-4 Part 2, one encoder thread and bit-exact flags so that
// the same frames always give the same bytes; optionally with a PCM soundtrack.
#include <QImage>

#include <filesystem>
#include <memory>

#include "tools/make_demo/assets.h"

namespace kestrel::demo {

class MovieEncoder {
 public:
  // gop: a keyframe at least every `gop` frames; bitRate in bits per second. `soundtrack`, when
  // given, becomes a mono 16-bit PCM stream that plays along (it must outlive the encoder).
  MovieEncoder(const std::filesystem::path& path, int width, int height, int fps, int gop, long bitRate,
               const Wave* soundtrack = nullptr);
  ~MovieEncoder();
  MovieEncoder(const MovieEncoder&) = delete;
  MovieEncoder& operator=(const MovieEncoder&) = delete;

  void add(const QImage& frame);
  // Flushes the encoder and writes the index; throws on failure.
  void finish();
  int frames() const { return frames_; }

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
  int frames_ = 0;
};

}  // namespace kestrel::demo
