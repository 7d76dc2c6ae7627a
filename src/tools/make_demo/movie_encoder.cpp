#include "tools/make_demo/movie_encoder.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/imgutils.h>
#include <libavutil/opt.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <cstddef>
#include <stdexcept>
#include <string>

namespace kestrel::demo {

namespace {
void check(int rc, const char* what) {
  if (rc < 0) {
    char msg[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(rc, msg, sizeof msg);
    throw std::runtime_error(std::string(what) + ": " + msg);
  }
}
}  // namespace

struct MovieEncoder::Impl {
  AVFormatContext* fmt = nullptr;
  AVCodecContext* codec = nullptr;
  AVStream* stream = nullptr;
  // The soundtrack, when there is one: 16-bit PCM, written along with the frames it plays under.
  AVCodecContext* audio = nullptr;
  AVStream* audioStream = nullptr;
  const Wave* soundtrack = nullptr;
  size_t soundWritten = 0;
  int fps = 30;
  SwsContext* sws = nullptr;
  AVFrame* frame = nullptr;
  AVPacket* packet = nullptr;
  bool finished = false;
  int width = 0, height = 0;

  ~Impl() {
    if (fmt && !(fmt->oformat->flags & AVFMT_NOFILE) && fmt->pb) avio_closep(&fmt->pb);
    avformat_free_context(fmt);
    avcodec_free_context(&codec);
    avcodec_free_context(&audio);
    sws_freeContext(sws);
    av_frame_free(&frame);
    av_packet_free(&packet);
  }

  void drain(AVCodecContext* c, AVStream* st, AVFrame* f) {
    check(avcodec_send_frame(c, f), "encoding a frame");
    for (;;) {
      const int rc = avcodec_receive_packet(c, packet);
      if (rc == AVERROR(EAGAIN) || rc == AVERROR_EOF) return;
      check(rc, "encoding a frame");
      av_packet_rescale_ts(packet, c->time_base, st->time_base);
      packet->stream_index = st->index;
      check(av_interleaved_write_frame(fmt, packet), "writing the movie");
    }
  }
  void drain(AVFrame* f) { drain(codec, stream, f); }

  void openAudio() {
    const AVCodec* enc = avcodec_find_encoder(AV_CODEC_ID_PCM_S16LE);
    if (!enc) throw std::runtime_error("the pcm_s16le encoder is missing");
    audioStream = avformat_new_stream(fmt, nullptr);
    audio = avcodec_alloc_context3(enc);
    audio->sample_fmt = AV_SAMPLE_FMT_S16;
    audio->sample_rate = soundtrack->rate;
    av_channel_layout_default(&audio->ch_layout, 1);
    audio->time_base = AVRational{1, soundtrack->rate};
    audio->flags |= AV_CODEC_FLAG_BITEXACT;
    check(avcodec_open2(audio, enc, nullptr), "opening the pcm encoder");
    check(avcodec_parameters_from_context(audioStream->codecpar, audio), "soundtrack parameters");
    audioStream->time_base = audio->time_base;
  }

  // The soundtrack's samples up to `until` (clamped to its end).
  void writeSound(size_t until) {
    if (!audio) return;
    until = std::min(until, soundtrack->samples.size());
    if (until <= soundWritten) return;
    AVFrame* f = av_frame_alloc();
    f->format = AV_SAMPLE_FMT_S16;
    f->sample_rate = soundtrack->rate;
    av_channel_layout_default(&f->ch_layout, 1);
    f->nb_samples = static_cast<int>(until - soundWritten);
    f->pts = static_cast<int64_t>(soundWritten);
    const int rc = av_frame_get_buffer(f, 0);
    if (rc >= 0) {
      std::copy(soundtrack->samples.begin() + static_cast<std::ptrdiff_t>(soundWritten),
                soundtrack->samples.begin() + static_cast<std::ptrdiff_t>(until),
                reinterpret_cast<int16_t*>(f->data[0]));
      soundWritten = until;
    }
    try {
      check(rc, "a soundtrack frame");
      drain(audio, audioStream, f);
    } catch (...) {
      av_frame_free(&f);
      throw;
    }
    av_frame_free(&f);
  }
};

MovieEncoder::MovieEncoder(const std::filesystem::path& path, int width, int height, int fps, int gop, long bitRate,
                           const Wave* soundtrack)
    : impl_(std::make_unique<Impl>()) {
  auto& m = *impl_;
  m.width = width;
  m.height = height;
  m.fps = fps;
  m.soundtrack = soundtrack;
  std::filesystem::create_directories(path.parent_path());
  check(avformat_alloc_output_context2(&m.fmt, nullptr, "avi", path.string().c_str()), "opening the movie");
  m.fmt->flags |= AVFMT_FLAG_BITEXACT;
  const AVCodec* enc = avcodec_find_encoder(AV_CODEC_ID_MPEG4);
  if (!enc) throw std::runtime_error("the mpeg4 encoder is missing");
  m.stream = avformat_new_stream(m.fmt, nullptr);
  m.codec = avcodec_alloc_context3(enc);
  m.codec->width = width;
  m.codec->height = height;
  m.codec->time_base = AVRational{1, fps};
  m.codec->framerate = AVRational{fps, 1};
  m.codec->pix_fmt = AV_PIX_FMT_YUV420P;
  m.codec->gop_size = gop;
  m.codec->max_b_frames = 0;
  m.codec->bit_rate = bitRate;
  m.codec->thread_count = 1;
  m.codec->flags |= AV_CODEC_FLAG_BITEXACT;
  if (m.fmt->oformat->flags & AVFMT_GLOBALHEADER) m.codec->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
  check(avcodec_open2(m.codec, enc, nullptr), "opening the mpeg4 encoder");
  check(avcodec_parameters_from_context(m.stream->codecpar, m.codec), "movie parameters");
  m.stream->time_base = m.codec->time_base;
  if (soundtrack) m.openAudio();
  check(avio_open(&m.fmt->pb, path.string().c_str(), AVIO_FLAG_WRITE), "creating the movie file");
  check(avformat_write_header(m.fmt, nullptr), "writing the movie header");
  m.frame = av_frame_alloc();
  m.frame->format = AV_PIX_FMT_YUV420P;
  m.frame->width = width;
  m.frame->height = height;
  check(av_frame_get_buffer(m.frame, 0), "a movie frame");
  m.packet = av_packet_alloc();
  m.sws = sws_getContext(width, height, AV_PIX_FMT_BGRA, width, height, AV_PIX_FMT_YUV420P, SWS_BILINEAR | SWS_ACCURATE_RND |
                         SWS_BITEXACT, nullptr, nullptr, nullptr);
  if (!m.sws) throw std::runtime_error("no colour converter");
}

MovieEncoder::~MovieEncoder() = default;

void MovieEncoder::add(const QImage& image) {
  auto& m = *impl_;
  const QImage img = image.format() == QImage::Format_RGB32 ? image : image.convertToFormat(QImage::Format_RGB32);
  if (img.width() != m.width || img.height() != m.height) throw std::runtime_error("movie frame of the wrong size");
  check(av_frame_make_writable(m.frame), "a movie frame");
  const uint8_t* src[1] = {img.constBits()};
  const int stride[1] = {static_cast<int>(img.bytesPerLine())};
  sws_scale(m.sws, src, stride, 0, m.height, m.frame->data, m.frame->linesize);
  m.frame->pts = frames_++;
  m.drain(m.frame);
  if (m.soundtrack)
    m.writeSound(static_cast<size_t>(frames_) * static_cast<size_t>(m.soundtrack->rate) / static_cast<size_t>(m.fps));
}

void MovieEncoder::finish() {
  auto& m = *impl_;
  if (m.finished) return;
  m.drain(nullptr);
  if (m.audio) {
    m.writeSound(m.soundtrack->samples.size());
    m.drain(m.audio, m.audioStream, nullptr);
  }
  check(av_write_trailer(m.fmt), "finishing the movie");
  avio_closep(&m.fmt->pb);
  m.finished = true;
}

}  // namespace kestrel::demo
