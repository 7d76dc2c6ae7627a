#pragma once
// The route-movie reader on FFmpeg: any container and video codec FFmpeg reads; other streams
// are ignored. It decodes on the calling thread; ThreadedMovieReader runs one on a thread of its
// own and decodes ahead.
//
// Thread contract: one thread at a time, one call at a time; frameCache() may be read from any
// thread.
//
// Frames are numbered by their timestamps, frame 0 being the first the file shows. Frame n is
// found by seeking to the last keyframe shown at or before n and decoding on, dropping the frames
// before n; a request ahead of the decoder within the current group of pictures (no keyframe
// between) decodes on without seeking. Frames well before the first one to keep are not decoded
// at all when nothing refers to them (the B-frames of most H.264 files). Decoded frames are kept
// in a cache, so a movie played backwards decodes each group of pictures about once rather than
// once per frame.
//
// A frame the container counts but the stream skips (an empty AVI chunk, which repeats the
// picture before it) is the picture before it. A damaged frame, and every frame after it up to the
// next intact keyframe (they are built on it), is the last good picture before them; the reader
// says so once per movie (takeWarning). The frame last handed out stays in place after a failed
// request, close() and a failed open(), and is handed out again whenever no new frame can be.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "core/ports/movie_reader.h"
#include "platform/ffmpeg/frame_cache.h"
#include "platform/ffmpeg/frame_converter.h"
#include "platform/ffmpeg/shown_picture.h"

struct AVFrame;

namespace kestrel {

class FfmpegMovieReader final : public MovieReader {
 public:
  // About two groups of pictures of 640 x 480 frames.
  static constexpr size_t kDefaultCacheBytes = size_t{32} << 20;

  // What the reader has done since it was made (or the counters were reset).
  struct Counters {
    int64_t framesDecoded = 0;    // frames the decoder produced, kept or dropped
    int64_t framesSkipped = 0;    // frames nothing refers to, passed to the decoder not to be decoded
    int64_t framesConverted = 0;  // frames converted to pixels
    int64_t seeks = 0;
    int64_t cacheHits = 0;
  };

  // `threads`: the decoder's own threads (frame and slice threads), 1 for none. `hardware`: decode
  // on a VA-API device where one opens and the codec can (the frames may then differ from
  // software decoding in their last bit); elsewhere in software.
  explicit FfmpegMovieReader(size_t cacheBytes = kDefaultCacheBytes, int threads = 1, bool hardware = false);
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

  // For a reader that decodes ahead. Decodes up to frame n and keeps the frames from keepFrom up
  // to n, as pictures from pictureFrom on and compact below (n too, when pictureFrom lies past it).
  // kInterrupted when `interrupt` (see setInterrupt) was raised on the way: what was decoded so
  // far stays kept and the decoder where it stopped.
  enum class Fetch { kDone, kMissing, kInterrupted };
  Fetch fetch(int n, int keepFrom, int pictureFrom);
  // The compact frame n becomes a picture; false when n is not kept compact.
  bool promote(int n);
  // The first frame of the group of pictures that holds n, as far as the reader knows yet.
  int groupStart(int n) const;
  // Frames from here on do not decode (the end of a truncated file, once met).
  int endFrame() const;
  // The bytes a frame takes kept compact (as the last one kept took, or about), and as a picture.
  size_t compactFrameBytes() const;
  size_t pictureBytes() const;
  // Called on the decoding thread after each frame fetch() decodes, for small work in between.
  void setBetweenFrames(std::function<void()> work) { betweenFrames_ = std::move(work); }
  // Raised from another thread, it stops the decoding of fetch() after the frame in hand.
  void setInterrupt(const std::atomic<bool>* flag) { interrupt_ = flag; }
  FrameCache& frameCache() { return cache_; }
  const FrameCache& frameCache() const { return cache_; }
  // A damaged or truncated movie, said once per movie: the text for the user, else nothing.
  std::optional<std::string> takeWarning();

  const Counters& counters() const { return counters_; }
  void resetCounters() { counters_ = {}; }

 private:
  struct Movie;
  enum class Outcome { kFound, kPassed, kFirstPassed, kFirstUnnumbered, kEnded, kFailed, kInterrupted, kRetry };
  struct Keep {
    int from;         // frames from here up to the target are kept
    int pictureFrom;  // ... as pictures from here on, compact below
  };

  bool openFile(const std::filesystem::path& path, bool hardware);
  int receiveFrame();
  bool calibrate();
  std::shared_ptr<const Picture> produce(int n, Keep span);
  bool canDecodeOnTo(int n);
  std::shared_ptr<const Picture> seekAndDecode(int n, Keep span);
  size_t startKeyframe(int n) const;
  int64_t seekTimestamp(size_t k) const;
  size_t landedKeyframe(size_t wanted) const;
  std::shared_ptr<const Picture> seekByTimestamp(int n, Keep span);
  Outcome decodeUntil(int n, Keep span, bool afterSeek, std::shared_ptr<const Picture>& found);
  // One frame from the decoder: an outcome of the run, or nothing to decode on.
  std::optional<Outcome> onFrame(int n, Keep span, bool afterSeek, std::shared_ptr<const Picture>& found);
  bool seekTo(int64_t ts);
  bool feedPacket();
  bool skipsPacket(int64_t ts) const;
  int numberOf(int64_t ts) const;
  int64_t timestampOf(int n) const;
  std::shared_ptr<const Picture> keep(const AVFrame& frame, int number, bool asPicture);
  std::shared_ptr<const Picture> pictureOf(int number);
  void noteDamage(int number);
  bool syncKeyframes();
  bool handOut(std::shared_ptr<const Picture> picture, Picture& out);

  std::unique_ptr<Movie> movie_;
  FrameCache cache_;
  FrameConverter converter_;
  int threads_;
  bool hardware_;
  ShownPicture shown_;
  int lastRequest_ = -1;
  int frameWidth_ = 0, frameHeight_ = 0;  // requested output size; 0: the movie's own
  int skipBelow_;                         // frames before this one need not be decoded
  bool skipping_ = true;                  // off for a request where skipping would cost exactness
  Outcome last_ = Outcome::kFailed;       // how the last decoding run ended
  const std::atomic<bool>* interrupt_ = nullptr;
  std::function<void()> betweenFrames_;
  size_t lastCompactBytes_ = 0;
  std::filesystem::path path_;
  std::optional<std::string> warning_;
  bool warned_ = false;
  Counters counters_;
};

}  // namespace kestrel
