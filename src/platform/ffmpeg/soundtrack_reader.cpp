#include "platform/ffmpeg/soundtrack_reader.h"

#include <algorithm>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libswresample/swresample.h>
}

namespace kestrel {

namespace {

struct Decoding {
  AVFormatContext* format = nullptr;
  AVCodecContext* codec = nullptr;
  SwrContext* resampler = nullptr;
  AVPacket* packet = av_packet_alloc();
  AVFrame* frame = av_frame_alloc();

  ~Decoding() {
    av_frame_free(&frame);
    av_packet_free(&packet);
    swr_free(&resampler);
    avcodec_free_context(&codec);
    avformat_close_input(&format);
  }
};

// Every frame the decoder has ready, converted and appended; false on a conversion error.
bool takeFrames(Decoding& d, Soundtrack& out, size_t limit) {
  for (;;) {
    const int rc = avcodec_receive_frame(d.codec, d.frame);
    if (rc == AVERROR(EAGAIN) || rc == AVERROR_EOF) return true;
    if (rc < 0) return false;
    const int room = swr_get_out_samples(d.resampler, d.frame->nb_samples);
    if (room < 0) return false;
    const size_t at = out.samples.size();
    out.samples.resize(at + static_cast<size_t>(room));
    auto* target = reinterpret_cast<uint8_t*>(out.samples.data() + at);
    const int made = swr_convert(d.resampler, &target, room,
                                 const_cast<const uint8_t**>(d.frame->extended_data), d.frame->nb_samples);
    av_frame_unref(d.frame);
    if (made < 0) return false;
    out.samples.resize(std::min(limit, at + static_cast<size_t>(made)));
  }
}

}  // namespace

std::optional<Soundtrack> readSoundtrack(const std::filesystem::path& path, double maxSeconds) {
  Decoding d;
  if (!d.packet || !d.frame) return std::nullopt;
  if (avformat_open_input(&d.format, path.string().c_str(), nullptr, nullptr) < 0) return std::nullopt;
  if (avformat_find_stream_info(d.format, nullptr) < 0) return std::nullopt;
  const AVCodec* decoder = nullptr;
  const int stream = av_find_best_stream(d.format, AVMEDIA_TYPE_AUDIO, -1, -1, &decoder, 0);
  if (stream < 0 || !decoder) return std::nullopt;
  d.codec = avcodec_alloc_context3(decoder);
  if (!d.codec || avcodec_parameters_to_context(d.codec, d.format->streams[stream]->codecpar) < 0 ||
      avcodec_open2(d.codec, decoder, nullptr) < 0 || d.codec->sample_rate <= 0)
    return std::nullopt;

  // Mono, 16 bits, at the stream's own rate: the mixer plays every wave so. The channels are mixed
  // down to their mean, as the mixer does with a wave file of several channels.
  AVChannelLayout mono = AV_CHANNEL_LAYOUT_MONO;
  const int channels = d.codec->ch_layout.nb_channels;
  if (channels < 1 ||
      swr_alloc_set_opts2(&d.resampler, &mono, AV_SAMPLE_FMT_S16, d.codec->sample_rate, &d.codec->ch_layout,
                          d.codec->sample_fmt, d.codec->sample_rate, 0, nullptr) < 0)
    return std::nullopt;
  const std::vector<double> mean(static_cast<size_t>(channels), 1.0 / channels);
  if (swr_set_matrix(d.resampler, mean.data(), channels) < 0 || swr_init(d.resampler) < 0)
    return std::nullopt;

  Soundtrack out;
  out.sampleRate = d.codec->sample_rate;
  const size_t limit = static_cast<size_t>(maxSeconds * out.sampleRate);
  while (out.samples.size() < limit && av_read_frame(d.format, d.packet) >= 0) {
    const bool ours = d.packet->stream_index == stream;
    const int sent = ours ? avcodec_send_packet(d.codec, d.packet) : 0;
    av_packet_unref(d.packet);
    if (sent < 0 && sent != AVERROR(EAGAIN)) return std::nullopt;
    if (ours && !takeFrames(d, out, limit)) return std::nullopt;
  }
  avcodec_send_packet(d.codec, nullptr);
  if (!takeFrames(d, out, limit)) return std::nullopt;
  if (out.samples.empty()) return std::nullopt;
  return out;
}

}  // namespace kestrel
