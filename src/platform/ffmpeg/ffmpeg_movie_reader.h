#pragma once
// The route-movie reader on FFmpeg: any container and video codec FFmpeg reads; other streams
// are ignored.
//
// Thread contract: used on the thread that owns the drive, one call at a time; not thread-safe.
//
// Frames are numbered by their timestamps, frame 0 being the first the file shows. Frame n is
// found by seeking to the last keyframe shown at or before n and decoding on, dropping the frames
// before n; a request ahead of the decoder within the current group of pictures (no keyframe
// between) decodes on without seeking. Decoded frames are kept in a small cache, so a movie
// played backwards decodes each group of pictures about once rather than once per frame.
//
// A frame the container counts but the stream skips (an empty AVI chunk, which repeats the
// picture before it, or a damaged packet) is the picture before it. The frame last handed out
// stays in place after a failed request, close() and a failed open(), and is handed out again
// whenever no new frame can be.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>

#include "core/ports/movie_reader.h"
#include "platform/ffmpeg/frame_cache.h"
#include "platform/ffmpeg/frame_converter.h"

struct AVFrame;

namespace kestrel {

class FfmpegMovieReader final : public MovieReader {
 public:
  // About two groups of pictures of 640 x 480 frames.
  static constexpr size_t kDefaultCacheBytes = size_t{32} << 20;

  // What the reader has done since it was made (or the counters were reset).
  struct Counters {
    int64_t framesDecoded = 0;    // frames the decoder produced, kept or dropped
    int64_t framesConverted = 0;  // frames converted to pixels
    int64_t seeks = 0;
    int64_t cacheHits = 0;
  };

  explicit FfmpegMovieReader(size_t cacheBytes = kDefaultCacheBytes);
  ~FfmpegMovieReader() override;
  FfmpegMovieReader(const FfmpegMovieReader&) = delete;
  FfmpegMovieReader& operator=(const FfmpegMovieReader&) = delete;

  bool open(const std::filesystem::path& path) override;
  void close() override;
  bool isOpen() const override;
  int frameCount() const override;
  bool decodeFrame(int n, Picture& out) override;
  // Frames decoded from now on come out at this size; those kept at another size are dropped.
  void setFrameSize(int width, int height) override;

  const Counters& counters() const { return counters_; }
  void resetCounters() { counters_ = {}; }

 private:
  struct Movie;
  enum class Outcome { kFound, kPassed, kFirstPassed, kFirstUnnumbered, kEnded, kFailed };

  bool calibrate();
  // Frame n, converted; the frames from keepFrom up to n met on the way are converted and kept too.
  std::shared_ptr<const Picture> produce(int n, int keepFrom);
  bool canDecodeOnTo(int n);
  std::shared_ptr<const Picture> seekAndDecode(int n, int keepFrom);
  size_t startKeyframe(int n) const;
  int64_t seekTimestamp(size_t k) const;
  size_t landedKeyframe(size_t wanted) const;
  std::shared_ptr<const Picture> seekByTimestamp(int n, int keepFrom);
  Outcome decodeUntil(int n, int keepFrom, bool afterSeek, std::shared_ptr<const Picture>& found);
  bool seekTo(int64_t ts);
  bool feedPacket();
  int numberOf(int64_t ts) const;
  int64_t timestampOf(int n) const;
  std::shared_ptr<const Picture> keep(const AVFrame& frame, int number);
  bool syncKeyframes();
  bool handOut(std::shared_ptr<const Picture> picture, Picture& out);

  std::unique_ptr<Movie> movie_;
  FrameCache cache_;
  FrameConverter converter_;
  std::shared_ptr<const Picture> shown_;
  int lastRequest_ = -1;
  int frameWidth_ = 0, frameHeight_ = 0;  // requested output size; 0: the movie's own
  Counters counters_;
};

}  // namespace kestrel
