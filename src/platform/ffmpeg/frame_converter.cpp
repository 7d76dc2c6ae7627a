#include "platform/ffmpeg/frame_converter.h"

extern "C" {
#include <libavutil/frame.h>
#include <libavutil/pixfmt.h>
#include <libswscale/swscale.h>
}

namespace kestrel {

namespace {

// The deprecated "J" formats are plain YUV with full range; swscale wants them said that way.
AVPixelFormat withoutJpegRange(AVPixelFormat f, bool& fullRange) {
  switch (f) {
    case AV_PIX_FMT_YUVJ420P:
      fullRange = true;
      return AV_PIX_FMT_YUV420P;
    case AV_PIX_FMT_YUVJ422P:
      fullRange = true;
      return AV_PIX_FMT_YUV422P;
    case AV_PIX_FMT_YUVJ444P:
      fullRange = true;
      return AV_PIX_FMT_YUV444P;
    case AV_PIX_FMT_YUVJ440P:
      fullRange = true;
      return AV_PIX_FMT_YUV440P;
    case AV_PIX_FMT_YUVJ411P:
      fullRange = true;
      return AV_PIX_FMT_YUV411P;
    default:
      return f;
  }
}

// swscale's coefficient tables are numbered like AVColorSpace up to BT.2020; anything else (and
// "unspecified") takes the default, BT.601.
int swsColorspace(int colorspace) {
  return colorspace >= AVCOL_SPC_RGB && colorspace <= AVCOL_SPC_BT2020_CL ? colorspace : SWS_CS_DEFAULT;
}

}  // namespace

FrameConverter::~FrameConverter() {
  reset();
}

void FrameConverter::reset() {
  sws_freeContext(context_);
  context_ = nullptr;
  format_ = -1;
}

void FrameConverter::setOutputSize(int width, int height) {
  const bool scaled = width > 0 && height > 0 && static_cast<long long>(width) * height <= kMaxPixels;
  outWidth_ = scaled ? width : 0;
  outHeight_ = scaled ? height : 0;
  reset();
}

bool FrameConverter::convert(const AVFrame& frame, Picture& out) {
  if (frame.width <= 0 || frame.height <= 0 ||
      static_cast<long long>(frame.width) * frame.height > kMaxPixels) {
    return false;
  }
  bool fullRange = frame.color_range == AVCOL_RANGE_JPEG;
  const AVPixelFormat format = withoutJpegRange(static_cast<AVPixelFormat>(frame.format), fullRange);
  const int colorspace = swsColorspace(frame.colorspace);
  const bool scale = outWidth_ > 0 && (outWidth_ != frame.width || outHeight_ != frame.height);
  const int dstWidth = scale ? outWidth_ : frame.width;
  const int dstHeight = scale ? outHeight_ : frame.height;
  if (!context_ || frame.width != width_ || frame.height != height_ || format != format_ ||
      static_cast<int>(fullRange) != fullRange_ || colorspace != colorspace_ || dstWidth != dstWidth_ ||
      dstHeight != dstHeight_) {
    reset();
    // Bilinear when scaling: as smooth as the view's own scaling was, at a fraction of its cost.
    context_ = sws_getContext(frame.width, frame.height, format, dstWidth, dstHeight, AV_PIX_FMT_BGRA,
                              scale ? SWS_BILINEAR : SWS_BICUBIC, nullptr, nullptr, nullptr);
    if (!context_) return false;
    // The RGB side is always full range; its table is not used.
    sws_setColorspaceDetails(context_, sws_getCoefficients(colorspace), fullRange ? 1 : 0,
                             sws_getCoefficients(SWS_CS_DEFAULT), 1, 0, 1 << 16, 1 << 16);
    width_ = frame.width;
    height_ = frame.height;
    dstWidth_ = dstWidth;
    dstHeight_ = dstHeight;
    format_ = format;
    fullRange_ = fullRange ? 1 : 0;
    colorspace_ = colorspace;
  }
  out.width = dstWidth;
  out.height = dstHeight;
  out.pixels.resize(static_cast<size_t>(dstWidth) * static_cast<size_t>(dstHeight));
  uint8_t* dst[4] = {reinterpret_cast<uint8_t*>(out.pixels.data()), nullptr, nullptr, nullptr};
  const int dstStride[4] = {dstWidth * 4, 0, 0, 0};
  // sws_scale answers with the height of the picture it wrote.
  return sws_scale(context_, frame.data, frame.linesize, 0, frame.height, dst, dstStride) == dstHeight;
}

}  // namespace kestrel
