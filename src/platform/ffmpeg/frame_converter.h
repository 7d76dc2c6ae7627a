#pragma once
// Converts decoded frames to the program's pixels (0xAARRGGBB, i.e. BGRA bytes here) in two
// steps: shrink() scales a decoded frame to the output size in its own pixel format (the compact
// form the frame cache keeps; a copy at the movie's own size), and convert() turns such a frame
// into pixels without scaling. Scaling the planes first and converting the small result costs less
// than scaling straight into pixels. Full-range ("JPEG") YUV is converted as such.
#include "core/ports/picture.h"
#include "platform/ffmpeg/frame_cache.h"

struct AVFrame;
struct SwsContext;

namespace kestrel {

class FrameConverter {
 public:
  // Larger frames are refused rather than converted: 64 MiB of pixels, far above any route movie.
  static constexpr long long kMaxPixels = 4096LL * 4096LL;

  FrameConverter() = default;
  ~FrameConverter();
  FrameConverter(const FrameConverter&) = delete;
  FrameConverter& operator=(const FrameConverter&) = delete;

  // The frame at the output size, in its own pixel format (BGRA when swscale cannot write that
  // format); null when it cannot be converted or is too large.
  FrameCache::Compact shrink(const AVFrame& frame);
  // A frame (as shrink() makes them) to pixels at its own size; false when its format cannot be
  // converted or it is too large (`out` is then unspecified).
  bool convert(const AVFrame& frame, Picture& out);
  void reset();
  // 0 x 0 (the default): each frame at its own size.
  void setOutputSize(int width, int height);

  // One swscale context, made again when what it converts changes.
  struct Step {
    SwsContext* context = nullptr;
    int srcWidth = 0, srcHeight = 0, srcFormat = -1, dstWidth = 0, dstHeight = 0, dstFormat = -1;
    int fullRange = -1, colorspace = -1;
  };

 private:
  Step shrink_, convert_;
  int outWidth_ = 0, outHeight_ = 0;
};

}  // namespace kestrel
