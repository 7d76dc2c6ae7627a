#include "platform/ffmpeg/hardware_decoding.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/hwcontext.h>
#include <libavutil/pixdesc.h>
}

namespace kestrel {

namespace {

// The device's format when the decoder offers it for this stream, else the first format in memory.
AVPixelFormat pickFormat(AVCodecContext*, const AVPixelFormat* formats) {
  for (const AVPixelFormat* f = formats; *f != AV_PIX_FMT_NONE; ++f)
    if (*f == AV_PIX_FMT_VAAPI) return *f;
  for (const AVPixelFormat* f = formats; *f != AV_PIX_FMT_NONE; ++f) {
    const AVPixFmtDescriptor* d = av_pix_fmt_desc_get(*f);
    if (d && !(d->flags & AV_PIX_FMT_FLAG_HWACCEL)) return *f;
  }
  return AV_PIX_FMT_NONE;
}

bool decoderUsesVaapi(const AVCodec& decoder) {
  for (int i = 0;; ++i) {
    const AVCodecHWConfig* config = avcodec_get_hw_config(&decoder, i);
    if (!config) return false;
    if ((config->methods & AV_CODEC_HW_CONFIG_METHOD_HW_DEVICE_CTX) && config->device_type == AV_HWDEVICE_TYPE_VAAPI)
      return true;
  }
}

}  // namespace

bool useHardwareDecoding(AVCodecContext& codec, const AVCodec& decoder) {
  if (!decoderUsesVaapi(decoder)) return false;
  AVBufferRef* device = nullptr;
  if (av_hwdevice_ctx_create(&device, AV_HWDEVICE_TYPE_VAAPI, nullptr, nullptr, 0) < 0) return false;
  codec.hw_device_ctx = device;
  codec.get_format = pickFormat;
  // The device decodes one frame at a time; frame threads would only hold frames back.
  codec.thread_count = 1;
  return true;
}

bool toMemoryFrame(AVFrame& frame, AVFrame& scratch) {
  if (!frame.hw_frames_ctx) return true;
  av_frame_unref(&scratch);
  if (av_hwframe_transfer_data(&scratch, &frame, 0) < 0 || av_frame_copy_props(&scratch, &frame) < 0) {
    av_frame_unref(&frame);
    return false;
  }
  av_frame_unref(&frame);
  av_frame_move_ref(&frame, &scratch);
  return true;
}

}  // namespace kestrel
