#include "platform/ffmpeg/ffmpeg_movie_reader.h"

#include <algorithm>
#include <limits>
#include <mutex>
#include <utility>
#include <string>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/imgutils.h>
#include <libavutil/log.h>
#include <libavutil/mathematics.h>
}

#include "platform/ffmpeg/hardware_decoding.h"
#include "platform/ffmpeg/keyframe_index.h"

namespace kestrel {

namespace {

constexpr int kNoFrame = std::numeric_limits<int>::min();
// Decoding on costs a frame per frame; a seek costs the frames from the keyframe on plus the seek.
// So decoding on wins unless a keyframe lies this far or further past the decoder's position.
constexpr int kSeekCostFrames = 2;
// Without an index: how far ahead decoding on is preferred, and the first step back when a seek
// by timestamp lands past the frame.
constexpr int kBlindStepFrames = 30;
// Frames nothing refers to are left undecoded only this far before the first frame kept. In files
// without presentation times (AVI) the decoder numbers the frames around a skipped one a few
// frames off; the margin keeps every frame kept, and every keyframe learned, clear of them.
constexpr int kSkipMargin = 16;
// Errors in a row after which the decoder is taken to be stuck rather than meeting damage.
constexpr int kErrorsInARow = 64;

constexpr size_t kFrameLimit = std::numeric_limits<int>::max();

int clampToInt(int64_t v) {
  return static_cast<int>(
      std::clamp<int64_t>(v, std::numeric_limits<int>::min() + 1, std::numeric_limits<int>::max()));
}

void quietLibraryLog() {
  // Library code does not print; FFmpeg would report every damaged block of a movie on stderr.
  static std::once_flag once;
  std::call_once(once, [] { av_log_set_level(AV_LOG_QUIET); });
}

}  // namespace

struct FfmpegMovieReader::Movie {
  AVFormatContext* format = nullptr;
  AVCodecContext* codec = nullptr;
  AVPacket* packet = nullptr;
  AVFrame* frame = nullptr;
  AVFrame* previous = nullptr;  // the last good frame the decoder produced
  AVFrame* scratch = nullptr;   // a frame decoded on a device, on its way into memory
  int stream = -1;
  AVRational timeBase{0, 1};
  AVRational frameDuration{0, 1};
  int64_t firstTs = 0;  // the timestamp of frame 0
  int frameCount = 0;
  int endFrame = 0;  // frames from here on do not decode (a truncated file)
  int width = 0;
  int height = 0;
  int pixelFormat = -1;  // the decoder's
  KeyframeIndex keyframes;
  int indexEntries = -1;  // size of the container's index when `keyframes` was last brought up to date

  // Decoder position.
  int current = kNoFrame;     // the frame the decoder produced last; kNoFrame right after a seek
  int firstShown = kNoFrame;  // the first frame it produced after the last seek
  bool keyShown = false;      // it has produced an intact keyframe since the last seek
  bool damaged = false;       // ... and damage since, which later frames up to a keyframe carry on
  bool draining = false;      // the end of the file was read; the decoder gives out what it holds
  bool ended = false;         // ... and has nothing more
  int64_t lastPacketTs = AV_NOPTS_VALUE;
  int lastSkipped = kNoFrame;  // the last frame passed to the decoder not to be decoded
  bool awaitingFirstPacket = false;  // the first packet after a seek tells where it landed
  int64_t landedDts = AV_NOPTS_VALUE;
  int64_t landedPts = AV_NOPTS_VALUE;

  Movie() = default;
  Movie(const Movie&) = delete;
  Movie& operator=(const Movie&) = delete;
  ~Movie() {
    av_frame_free(&scratch);
    av_frame_free(&previous);
    av_frame_free(&frame);
    av_packet_free(&packet);
    avcodec_free_context(&codec);
    avformat_close_input(&format);
  }
};

FfmpegMovieReader::FfmpegMovieReader(size_t cacheBytes, int threads, bool hardware)
    : cache_(cacheBytes), threads_(std::max(1, threads)), hardware_(hardware), skipBelow_(kNoFrame) {}

FfmpegMovieReader::~FfmpegMovieReader() = default;

bool FfmpegMovieReader::isOpen() const {
  return movie_ != nullptr;
}

int FfmpegMovieReader::frameCount() const {
  return movie_ ? movie_->frameCount : 0;
}

int FfmpegMovieReader::endFrame() const {
  return movie_ ? movie_->endFrame : 0;
}

size_t FfmpegMovieReader::compactFrameBytes() const {
  if (!movie_) return 0;
  if (lastCompactBytes_ > 0) return lastCompactBytes_;
  const int width = frameWidth_ > 0 ? frameWidth_ : movie_->width;
  const int height = frameHeight_ > 0 ? frameHeight_ : movie_->height;
  const int bytes = av_image_get_buffer_size(static_cast<AVPixelFormat>(movie_->pixelFormat), width, height, 1);
  return bytes > 0 ? static_cast<size_t>(bytes) : pictureBytes();
}

size_t FfmpegMovieReader::pictureBytes() const {
  if (!movie_) return 0;
  const int width = frameWidth_ > 0 ? frameWidth_ : movie_->width;
  const int height = frameHeight_ > 0 ? frameHeight_ : movie_->height;
  return static_cast<size_t>(width) * static_cast<size_t>(height) * sizeof(uint32_t);
}

void FfmpegMovieReader::close() {
  movie_.reset();
  cache_.clear();
  converter_.reset();  // the output size stays
  lastRequest_ = -1;
}

bool FfmpegMovieReader::open(const std::filesystem::path& path) {
  close();
  path_ = path;
  warned_ = false;
  if (openFile(path, hardware_) && calibrate()) return true;
  close();
  // A device that will not decode this movie's first frame: in software.
  if (hardware_ && openFile(path, false) && calibrate()) return true;
  close();
  return false;
}

bool FfmpegMovieReader::openFile(const std::filesystem::path& path, bool hardware) {
  quietLibraryLog();
  auto m = std::make_unique<Movie>();
  AVDictionary* options = nullptr;
  // Local files only: a playlist-like container must not reach out to the network.
  av_dict_set(&options, "protocol_whitelist", "file", 0);
  // The "file:" prefix keeps a colon in the name from being read as a protocol.
  const std::string url = "file:" + path.string();
  const int opened = avformat_open_input(&m->format, url.c_str(), nullptr, &options);
  av_dict_free(&options);
  if (opened < 0 || avformat_find_stream_info(m->format, nullptr) < 0) return false;

  const AVCodec* decoder = nullptr;
  m->stream = av_find_best_stream(m->format, AVMEDIA_TYPE_VIDEO, -1, -1, &decoder, 0);
  if (m->stream < 0 || !decoder) return false;
  for (unsigned i = 0; i < m->format->nb_streams; ++i) {
    if (static_cast<int>(i) != m->stream) m->format->streams[i]->discard = AVDISCARD_ALL;
  }
  AVStream* st = m->format->streams[m->stream];
  m->codec = avcodec_alloc_context3(decoder);
  if (!m->codec || avcodec_parameters_to_context(m->codec, st->codecpar) < 0) return false;
  // Frame threads hold threads - 1 frames back, which every seek drains; the numbering by
  // timestamps is unaffected.
  m->codec->thread_count = threads_;
  m->codec->thread_type = FF_THREAD_FRAME | FF_THREAD_SLICE;
  if (hardware) useHardwareDecoding(*m->codec, *decoder);
  if (avcodec_open2(m->codec, decoder, nullptr) < 0) return false;
  m->packet = av_packet_alloc();
  m->frame = av_frame_alloc();
  m->previous = av_frame_alloc();
  m->scratch = av_frame_alloc();
  if (!m->packet || !m->frame || !m->previous || !m->scratch) return false;

  const AVRational rate = av_guess_frame_rate(m->format, st, nullptr);
  if (rate.num <= 0 || rate.den <= 0 || st->time_base.num <= 0 || st->time_base.den <= 0) return false;
  m->timeBase = st->time_base;
  m->frameDuration = av_inv_q(rate);
  int64_t count = st->nb_frames;
  if (count <= 0 && st->duration != AV_NOPTS_VALUE) {
    count = av_rescale_q_rnd(st->duration, m->timeBase, m->frameDuration, AV_ROUND_NEAR_INF);
  }
  if (count <= 0 && m->format->duration != AV_NOPTS_VALUE) {
    count = av_rescale_q_rnd(m->format->duration, AVRational{1, AV_TIME_BASE}, m->frameDuration,
                             AV_ROUND_NEAR_INF);
  }
  if (count <= 0) count = avformat_index_get_entries_count(st);
  m->frameCount = clampToInt(std::max<int64_t>(count, 0));
  m->endFrame = m->frameCount;

  // A seek to the start makes demuxers that read their index lazily (Matroska) read it now, before
  // the first frame is decoded; a file that cannot seek is read from where it is.
  av_seek_frame(m->format, m->stream, st->start_time != AV_NOPTS_VALUE ? st->start_time : 0,
                AVSEEK_FLAG_BACKWARD);
  movie_ = std::move(m);
  return true;
}

int FfmpegMovieReader::receiveFrame() {
  Movie& m = *movie_;
  const int r = avcodec_receive_frame(m.codec, m.frame);
  // A frame the device decoded comes into memory at once; one that cannot is an error like any.
  if (r == 0 && !toMemoryFrame(*m.frame, *m.scratch)) return AVERROR(EIO);
  return r;
}

bool FfmpegMovieReader::calibrate() {
  Movie& m = *movie_;
  for (;;) {
    const int r = receiveFrame();
    if (r == 0) break;
    if (r != AVERROR(EAGAIN) || !feedPacket()) return false;
  }
  ++counters_.framesDecoded;
  // Frame 0 is the first frame the file shows. Its timestamp is the origin of the numbering; with
  // B-frames it is a frame late, and later frames are numbered against it.
  const AVStream* st = m.format->streams[m.stream];
  const int64_t ts = m.frame->best_effort_timestamp;
  m.firstTs = ts != AV_NOPTS_VALUE ? ts : (st->start_time != AV_NOPTS_VALUE ? st->start_time : 0);
  m.current = 0;
  m.firstShown = 0;
  m.keyShown = true;
  m.width = m.frame->width;
  m.height = m.frame->height;
  m.pixelFormat = m.frame->format;
  cache_.setFocus(0, 0);
  const bool converted = keep(*m.frame, 0, true) != nullptr;
  av_frame_move_ref(m.previous, m.frame);
  syncKeyframes();
  // The file starts with its first keyframe.
  if (!m.keyframes.empty()) m.keyframes.learnSeek(0, 0);
  return converted;
}

void FfmpegMovieReader::setFrameSize(int width, int height) {
  if (width == frameWidth_ && height == frameHeight_) return;
  frameWidth_ = width;
  frameHeight_ = height;
  converter_.setOutputSize(width, height);
  cache_.clear();
}

std::optional<std::string> FfmpegMovieReader::takeWarning() {
  return std::exchange(warning_, std::nullopt);
}

void FfmpegMovieReader::noteDamage(int number) {
  if (warned_) return;
  warned_ = true;
  warning_ = "the movie " + path_.string() + " is damaged at frame " + std::to_string(number) +
             ": the last good frame stands in for the damaged ones";
}

bool FfmpegMovieReader::decodeFrame(int n, Picture& out) {
  if (!movie_ || n < 0 || n >= movie_->frameCount || n >= movie_->endFrame) return handOut(nullptr, out);
  const bool scaled = frameWidth_ > 0 && frameHeight_ > 0;
  const size_t capacity = std::min<size_t>(
      cache_.capacityFor(scaled ? frameWidth_ : movie_->width, scaled ? frameHeight_ : movie_->height),
      kFrameLimit);
  // Stepping back a little: the frames decoded on the way up to n are the next ones asked for.
  const bool backwards =
      lastRequest_ >= 0 && n < lastRequest_ && static_cast<size_t>(lastRequest_ - n) <= capacity;
  if (lastRequest_ >= 0 && n != lastRequest_) cache_.setFocus(n, n > lastRequest_ ? 1 : -1);
  lastRequest_ = n;
  if (auto hit = cache_.picture(n)) {
    ++counters_.cacheHits;
    return handOut(std::move(hit), out);
  }
  if (promote(n)) return handOut(cache_.picture(n), out);
  const int keepFrom = backwards ? std::max(0, n - static_cast<int>(capacity) + 1) : n;
  return handOut(produce(n, {keepFrom, keepFrom}), out);
}

FfmpegMovieReader::Fetch FfmpegMovieReader::fetch(int n, int keepFrom, int pictureFrom) {
  if (!movie_ || n < 0 || n >= movie_->frameCount || n >= movie_->endFrame) return Fetch::kMissing;
  if (pictureFrom <= n ? cache_.hasPicture(n) : cache_.contains(n)) return Fetch::kDone;
  last_ = Outcome::kFailed;
  produce(n, {std::min(keepFrom, n), pictureFrom});
  if (last_ == Outcome::kFound) return Fetch::kDone;
  return last_ == Outcome::kInterrupted ? Fetch::kInterrupted : Fetch::kMissing;
}

bool FfmpegMovieReader::promote(int n) {
  const FrameCache::Compact compact = cache_.compact(n);
  if (!compact) return false;
  std::shared_ptr<Picture> picture = cache_.make();
  if (!converter_.convert(*compact, *picture)) return false;
  ++counters_.framesConverted;
  return cache_.putPicture(n, std::move(picture));
}

int FfmpegMovieReader::groupStart(int n) const {
  if (!movie_) return 0;
  const KeyframeIndex& keys = movie_->keyframes;
  if (keys.empty()) return std::max(0, n - kBlindStepFrames);
  const size_t k = keys.entryFor(n);
  return k == KeyframeIndex::kNone ? 0 : std::min(n, keys.firstFrame(k));
}

bool FfmpegMovieReader::handOut(std::shared_ptr<const Picture> picture, Picture& out) {
  return shown_.handOut(std::move(picture), out);
}

std::shared_ptr<const Picture> FfmpegMovieReader::produce(int n, Keep span) {
  skipBelow_ = skipping_ ? span.from - kSkipMargin : kNoFrame;
  std::shared_ptr<const Picture> found;
  if (canDecodeOnTo(n)) {
    last_ = decodeUntil(n, span, false, found);
    // Decoding on fails only at the end of the file, which a seek would not get past.
    if (last_ != Outcome::kFound) found = nullptr;
  } else {
    found = seekAndDecode(n, span);
  }
  skipBelow_ = kNoFrame;
  if (last_ == Outcome::kRetry && skipping_) {
    // The picture before a frame the stream lacks may have been left undecoded: again, whole.
    skipping_ = false;
    movie_->current = kNoFrame;  // from the keyframe again
    found = produce(n, span);
    skipping_ = true;
  }
  // A stand-in (the picture before a missing or damaged frame) is kept under n as well.
  if (found && !cache_.hasPicture(n)) cache_.putPicture(n, found);
  return found;
}

bool FfmpegMovieReader::canDecodeOnTo(int n) {
  const Movie& m = *movie_;
  if (m.current == kNoFrame || m.ended || n <= m.current) return false;
  if (m.keyframes.empty()) return n - m.current <= kBlindStepFrames;
  const size_t k = m.keyframes.entryFor(n);
  return k == KeyframeIndex::kNone || m.keyframes.firstFrame(k) <= m.current + kSeekCostFrames;
}

std::shared_ptr<const Picture> FfmpegMovieReader::seekAndDecode(int n, Keep span) {
  Movie& m = *movie_;
  syncKeyframes();
  if (m.keyframes.empty()) return seekByTimestamp(n, span);
  bool resynced = false;
  size_t k = startKeyframe(n);
  while (k != KeyframeIndex::kNone) {
    const int64_t wanted = m.keyframes.timestamp(k);
    if (!seekTo(seekTimestamp(k))) return nullptr;
    if (syncKeyframes()) {
      // Some containers (Matroska) read their index only when first asked to seek.
      const size_t better = startKeyframe(n);
      if (!resynced && m.keyframes.timestamp(better) != wanted) {
        resynced = true;
        k = better;
        continue;
      }
      k = m.keyframes.find(wanted);  // keyframes added before it moved it along
    }
    std::shared_ptr<const Picture> found;
    last_ = decodeUntil(n, span, true, found);
    const size_t landed = landedKeyframe(k);
    if (m.firstShown != kNoFrame) m.keyframes.learnSeek(landed, m.firstShown);
    // When the keyframe is shown after n (B-frames of an open group of pictures), or shows
    // nothing, go one keyframe further back.
    const bool late = last_ == Outcome::kFirstPassed || last_ == Outcome::kFirstUnnumbered ||
                      (last_ == Outcome::kEnded && m.firstShown == kNoFrame);
    if (last_ == Outcome::kFound) return found;
    if (!late) return nullptr;
    k = std::min(k, landed) - 1;  // from keyframe 0 this is kNone
  }
  return nullptr;
}

size_t FfmpegMovieReader::startKeyframe(int n) const {
  const size_t k = movie_->keyframes.entryFor(n);
  return k == KeyframeIndex::kNone ? 0 : k;
}

int64_t FfmpegMovieReader::seekTimestamp(size_t k) const {
  // Demuxers seek by presentation time (MP4) or by the index's decode time (AVI); the keyframe's
  // presentation time lands on it in both, since the next keyframe is stored later than that.
  const KeyframeIndex& keys = movie_->keyframes;
  return std::max(keys.timestamp(k), timestampOf(keys.firstFrame(k)));
}

size_t FfmpegMovieReader::landedKeyframe(size_t wanted) const {
  const Movie& m = *movie_;
  for (int64_t ts : {m.landedDts, m.landedPts}) {
    if (ts == AV_NOPTS_VALUE) continue;
    const size_t k = m.keyframes.find(ts);
    if (k != KeyframeIndex::kNone) return k;
  }
  return wanted;
}

std::shared_ptr<const Picture> FfmpegMovieReader::seekByTimestamp(int n, Keep span) {
  Movie& m = *movie_;
  int target = n;
  int back = kBlindStepFrames;
  for (;;) {
    if (!seekTo(timestampOf(target))) return nullptr;
    std::shared_ptr<const Picture> found;
    last_ = decodeUntil(n, span, true, found);
    if (last_ == Outcome::kFound) return found;
    const bool landedLate = last_ == Outcome::kFirstPassed || last_ == Outcome::kFirstUnnumbered ||
                            (last_ == Outcome::kEnded && m.firstShown == kNoFrame);
    if (!landedLate || target == 0) return nullptr;
    const int landed = m.firstShown == kNoFrame ? target : std::min(target, m.firstShown);
    target = std::max(0, landed - back);
    back = std::min(back * 2, 1 << 20);
  }
}

bool FfmpegMovieReader::seekTo(int64_t ts) {
  Movie& m = *movie_;
  ++counters_.seeks;
  const bool sought = av_seek_frame(m.format, m.stream, ts, AVSEEK_FLAG_BACKWARD) >= 0;
  avcodec_flush_buffers(m.codec);
  av_frame_unref(m.previous);
  m.current = kNoFrame;
  m.firstShown = kNoFrame;
  m.keyShown = false;
  m.damaged = false;
  m.draining = false;
  m.ended = false;
  m.lastPacketTs = AV_NOPTS_VALUE;
  m.lastSkipped = kNoFrame;
  m.awaitingFirstPacket = true;
  m.landedDts = AV_NOPTS_VALUE;
  m.landedPts = AV_NOPTS_VALUE;
  return sought;
}

FfmpegMovieReader::Outcome FfmpegMovieReader::decodeUntil(int n, Keep span, bool afterSeek,
                                                          std::shared_ptr<const Picture>& found) {
  Movie& m = *movie_;
  int errors = 0;
  for (;;) {
    // Not before the first frame after a seek: stopping there would leave the seek to be paid again.
    if (interrupt_ && m.current != kNoFrame && interrupt_->load(std::memory_order_relaxed)) return Outcome::kInterrupted;
    const int r = receiveFrame();
    if (r == AVERROR(EAGAIN)) {
      if (feedPacket()) continue;
      return Outcome::kFailed;
    }
    if (r == AVERROR_EOF) {
      m.ended = true;
      if (m.current != kNoFrame && m.current + 1 < m.endFrame) {
        m.endFrame = m.current + 1;
        if (!warned_) {
          warned_ = true;
          warning_ = "the movie " + path_.string() + " ends at frame " + std::to_string(m.endFrame) + " of the " +
                     std::to_string(m.frameCount) + " it counts: its last frame stands in for the rest";
        }
      }
      return Outcome::kEnded;
    }
    if (r < 0) {
      // A frame that does not decode is damage, which the frames built on it carry on.
      if (m.keyShown) {
        m.damaged = true;
        noteDamage(m.current == kNoFrame ? n : m.current + 1);
      }
      if (++errors >= kErrorsInARow) return Outcome::kFailed;
      continue;
    }
    errors = 0;
    const std::optional<Outcome> outcome = onFrame(n, span, afterSeek, found);
    if (outcome) return *outcome;
    if (betweenFrames_) betweenFrames_();
  }
}

std::optional<FfmpegMovieReader::Outcome> FfmpegMovieReader::onFrame(int n, Keep span, bool afterSeek,
                                                                      std::shared_ptr<const Picture>& found) {
  Movie& m = *movie_;
  ++counters_.framesDecoded;
  const bool first = afterSeek && m.firstShown == kNoFrame;
  const int64_t ts = m.frame->best_effort_timestamp;
  int number;
  if (ts != AV_NOPTS_VALUE) {
    number = numberOf(ts);
  } else if (!first && m.current != kNoFrame) {
    number = m.current + 1;  // frames drained at the end of the file carry no timestamp
  } else {
    av_frame_unref(m.frame);
    return Outcome::kFirstUnnumbered;
  }
  const bool flagged = m.frame->decode_error_flags != 0 || (m.frame->flags & AV_FRAME_FLAG_CORRUPT) != 0;
  if (m.frame->key_frame && !flagged) {
    m.keyShown = true;
    m.damaged = false;
  } else if (flagged && m.keyShown) {
    m.damaged = true;
  }
  // Before the first intact keyframe after a seek, a flagged frame (one of an open group of
  // pictures, whose references lie before the seek) is only missing.
  const bool usable = !flagged && !m.damaged;
  if (m.damaged) noteDamage(number);
  if (first) {
    m.firstShown = number;
  } else if (m.frame->key_frame && (m.lastSkipped == kNoFrame || number > m.lastSkipped + kSkipMargin / 2)) {
    m.keyframes.learnPassed(m.lastPacketTs, number);
  }
  const int before = m.current;
  m.current = number;

  if (number > n && !first && before != kNoFrame && before < n) {
    // n is not in the stream (an empty AVI chunk, which repeats the picture before it): the
    // picture at n is the one before it — unless that one may have been left undecoded.
    if (skipBelow_ != kNoFrame && before < skipBelow_ + kSkipMargin) {
      av_frame_unref(m.frame);
      return Outcome::kRetry;
    }
    found = pictureOf(before);
  }
  std::shared_ptr<const Picture> kept;
  const bool wanted = number == n || (number >= span.from && !cache_.contains(number));
  if (usable) {
    // A frame past n is kept too: the decoder will not produce it again for the next request.
    if (wanted) kept = keep(*m.frame, number, number >= span.pictureFrom);
    av_frame_unref(m.previous);
    av_frame_move_ref(m.previous, m.frame);
  } else {
    av_frame_unref(m.frame);
    // A damaged frame is the last good picture (an empty one right after a seek).
    if (m.damaged && wanted && m.previous->buf[0]) {
      kept = pictureOf(before);
      if (kept) cache_.putPicture(number, kept);
    }
  }
  if (number == n) {
    found = std::move(kept);
    // (Kept compact, n has no picture yet.)
    const bool compact = usable && wanted && number < span.pictureFrom && cache_.contains(number);
    return found || compact ? Outcome::kFound : Outcome::kFailed;
  }
  if (number > n) {
    if (first) return Outcome::kFirstPassed;
    return found ? Outcome::kFound : Outcome::kPassed;
  }
  return std::nullopt;
}

bool FfmpegMovieReader::skipsPacket(int64_t ts) const {
  const Movie& m = *movie_;
  return skipBelow_ != kNoFrame && ts != AV_NOPTS_VALUE && m.firstShown != kNoFrame && numberOf(ts) < skipBelow_;
}

bool FfmpegMovieReader::feedPacket() {
  Movie& m = *movie_;
  if (m.draining) return false;
  for (;;) {
    if (av_read_frame(m.format, m.packet) < 0) {
      // The end of the file, or a read error, which ends it as well: empty the decoder.
      m.draining = true;
      avcodec_send_packet(m.codec, nullptr);
      return true;
    }
    if (m.packet->stream_index != m.stream) {
      av_packet_unref(m.packet);
      continue;
    }
    if (m.awaitingFirstPacket) {
      m.awaitingFirstPacket = false;
      m.landedDts = m.packet->dts;
      m.landedPts = m.packet->pts;
    }
    m.lastPacketTs = m.packet->dts != AV_NOPTS_VALUE ? m.packet->dts : m.packet->pts;
    const int64_t shownTs = m.packet->pts != AV_NOPTS_VALUE ? m.packet->pts : m.packet->dts;
    // Frames well before the first one kept need not be decoded when nothing refers to them.
    const bool skip = skipsPacket(shownTs);
    if (skip) m.lastSkipped = numberOf(shownTs);
    m.codec->skip_frame = skip ? AVDISCARD_NONREF : AVDISCARD_DEFAULT;
    const int sent = avcodec_send_packet(m.codec, m.packet);
    av_packet_unref(m.packet);
    if (sent == AVERROR_EOF) return false;
    if (sent == 0) return true;
    // A damaged packet is passed over, as players do; the frames built on it are damaged too.
    if (m.keyShown) {
      m.damaged = true;
      noteDamage(numberOf(shownTs));
    }
  }
}

int FfmpegMovieReader::numberOf(int64_t ts) const {
  const Movie& m = *movie_;
  return clampToInt(av_rescale_q_rnd(ts - m.firstTs, m.timeBase, m.frameDuration, AV_ROUND_NEAR_INF));
}

int64_t FfmpegMovieReader::timestampOf(int n) const {
  const Movie& m = *movie_;
  return m.firstTs + av_rescale_q_rnd(n, m.frameDuration, m.timeBase, AV_ROUND_NEAR_INF);
}

std::shared_ptr<const Picture> FfmpegMovieReader::keep(const AVFrame& frame, int number, bool asPicture) {
  FrameCache::Compact compact = converter_.shrink(frame);
  if (!compact) return nullptr;
  lastCompactBytes_ = FrameCache::compactBytes(*compact);
  if (!asPicture) {
    cache_.putCompact(number, std::move(compact));
    return nullptr;
  }
  std::shared_ptr<Picture> picture = cache_.make();
  if (!converter_.convert(*compact, *picture)) return nullptr;
  ++counters_.framesConverted;
  cache_.putPicture(number, picture);
  return picture;
}

std::shared_ptr<const Picture> FfmpegMovieReader::pictureOf(int number) {
  if (auto kept = cache_.picture(number)) return kept;
  if (promote(number)) return cache_.picture(number);
  const AVFrame& previous = *movie_->previous;
  return previous.buf[0] ? keep(previous, number, true) : nullptr;
}

bool FfmpegMovieReader::syncKeyframes() {
  Movie& m = *movie_;
  AVStream* st = m.format->streams[m.stream];
  // Files without an index (a truncated AVI) grow one as they are read.
  const int count = avformat_index_get_entries_count(st);
  if (count == m.indexEntries) return false;
  m.indexEntries = count;
  for (int i = 0; i < count; ++i) {
    const AVIndexEntry* e = avformat_index_get_entry(st, i);
    if (e && (e->flags & AVINDEX_KEYFRAME)) m.keyframes.add(e->timestamp, numberOf(e->timestamp));
  }
  return true;
}

}  // namespace kestrel
