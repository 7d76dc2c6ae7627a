#include "platform/ffmpeg/frame_converter.h"

extern "C" {
#include <libavutil/frame.h>
#include <libavutil/pixdesc.h>
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

constexpr size_t kRowSlack = 64;

bool tooLarge(int width, int height) {
  return width <= 0 || height <= 0 || static_cast<long long>(width) * height > FrameConverter::kMaxPixels;
}

void release(FrameConverter::Step& step) {
  sws_freeContext(step.context);
  step = {};
}

// The context that converts `frame` (its format already without "J") to dst, made anew when
// anything about the conversion changed.
SwsContext* contextFor(FrameConverter::Step& step, const AVFrame& frame, AVPixelFormat format, bool fullRange,
                       int dstWidth, int dstHeight, AVPixelFormat dstFormat) {
  const int colorspace = swsColorspace(frame.colorspace);
  if (step.context && step.srcWidth == frame.width && step.srcHeight == frame.height && step.srcFormat == format &&
      step.dstWidth == dstWidth && step.dstHeight == dstHeight && step.dstFormat == dstFormat &&
      step.fullRange == static_cast<int>(fullRange) && step.colorspace == colorspace) {
    return step.context;
  }
  release(step);
  const bool scaled = dstWidth != frame.width || dstHeight != frame.height;
  // Shrinking averages the pixels each output pixel covers; enlarging is bilinear.
  const int flags = !scaled ? SWS_BICUBIC
                    : (dstWidth < frame.width && dstHeight < frame.height) ? SWS_AREA
                                                                          : SWS_BILINEAR;
  step.context = sws_getContext(frame.width, frame.height, format, dstWidth, dstHeight, dstFormat, flags, nullptr,
                                nullptr, nullptr);
  if (!step.context) return nullptr;
  // YUV to YUV keeps its range; towards RGB the RGB side is full range (its table is not used).
  const bool toRgb = dstFormat == AV_PIX_FMT_BGRA;
  sws_setColorspaceDetails(step.context, sws_getCoefficients(colorspace), fullRange ? 1 : 0,
                           sws_getCoefficients(toRgb ? SWS_CS_DEFAULT : colorspace), toRgb || fullRange ? 1 : 0, 0,
                           1 << 16, 1 << 16);
  step = {step.context, frame.width, frame.height, format, dstWidth, dstHeight, dstFormat, fullRange ? 1 : 0,
          colorspace};
  return step.context;
}

}  // namespace

FrameConverter::~FrameConverter() {
  reset();
}

void FrameConverter::reset() {
  release(shrink_);
  release(convert_);
}

void FrameConverter::setOutputSize(int width, int height) {
  const bool scaled = width > 0 && height > 0 && !tooLarge(width, height);
  outWidth_ = scaled ? width : 0;
  outHeight_ = scaled ? height : 0;
  reset();
}

FrameCache::Compact FrameConverter::shrink(const AVFrame& frame) {
  if (tooLarge(frame.width, frame.height)) return nullptr;
  bool fullRange = frame.color_range == AVCOL_RANGE_JPEG;
  const AVPixelFormat format = withoutJpegRange(static_cast<AVPixelFormat>(frame.format), fullRange);
  const AVPixelFormat kept = sws_isSupportedOutput(format) > 0 ? format : AV_PIX_FMT_BGRA;
  const int width = outWidth_ > 0 ? outWidth_ : frame.width;
  const int height = outHeight_ > 0 ? outHeight_ : frame.height;
  SwsContext* context = contextFor(shrink_, frame, format, fullRange, width, height, kept);
  if (!context) return nullptr;
  AVFrame* out = av_frame_alloc();
  FrameCache::Compact compact(out, [](const AVFrame* f) {
    AVFrame* owned = const_cast<AVFrame*>(f);
    av_frame_free(&owned);
  });
  if (!out) return nullptr;
  out->format = kept;
  out->width = width;
  out->height = height;
  if (av_frame_get_buffer(out, 0) < 0) return nullptr;
  out->color_range = kept == AV_PIX_FMT_BGRA ? AVCOL_RANGE_JPEG : (fullRange ? AVCOL_RANGE_JPEG : AVCOL_RANGE_MPEG);
  out->colorspace = frame.colorspace;
  // sws_scale answers with the height of the picture it wrote.
  if (sws_scale(context, frame.data, frame.linesize, 0, frame.height, out->data, out->linesize) != height)
    return nullptr;
  return compact;
}

bool FrameConverter::convert(const AVFrame& frame, Picture& out) {
  if (tooLarge(frame.width, frame.height)) return false;
  bool fullRange = frame.color_range == AVCOL_RANGE_JPEG;
  const AVPixelFormat format = withoutJpegRange(static_cast<AVPixelFormat>(frame.format), fullRange);
  SwsContext* context = contextFor(convert_, frame, format, fullRange, frame.width, frame.height, AV_PIX_FMT_BGRA);
  if (!context) return false;
  out.width = frame.width;
  out.height = frame.height;
  const size_t pixels = static_cast<size_t>(frame.width) * static_cast<size_t>(frame.height);
  // swscale's SIMD converters write whole blocks of pixels: the last row runs over by up to a block
  // when the width is not a multiple of one.
  out.pixels.resize(pixels + kRowSlack);
  uint8_t* dst[4] = {reinterpret_cast<uint8_t*>(out.pixels.data()), nullptr, nullptr, nullptr};
  const int dstStride[4] = {frame.width * 4, 0, 0, 0};
  const bool converted = sws_scale(context, frame.data, frame.linesize, 0, frame.height, dst, dstStride) == frame.height;
  out.pixels.resize(pixels);
  return converted;
}

}  // namespace kestrel
