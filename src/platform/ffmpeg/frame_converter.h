#pragma once
// Converts decoded frames to the program's pixels (0xAARRGGBB, i.e. BGRA bytes here), at their own
// size or scaled (bilinear) to a size set for the output. Full-range ("JPEG") YUV is converted as
// such.
#include "core/ports/picture.h"

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

  // False when the frame's format cannot be converted or it is too large; `out` is then unspecified.
  bool convert(const AVFrame& frame, Picture& out);
  void reset();
  // 0 x 0 (the default): each frame at its own size.
  void setOutputSize(int width, int height);

 private:
  SwsContext* context_ = nullptr;
  int width_ = 0;
  int height_ = 0;
  int format_ = -1;
  int fullRange_ = -1;
  int colorspace_ = -1;
  int outWidth_ = 0, outHeight_ = 0;  // requested
  int dstWidth_ = 0, dstHeight_ = 0;  // of the context in use
};

}  // namespace kestrel
