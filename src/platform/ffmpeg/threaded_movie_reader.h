#pragma once
// The route-movie reader of the desktop program: a decoder thread of its own (an FfmpegMovieReader
// with the decoder's frame threads) works ahead of the frame the render step asks for, in the
// direction the movie heads, and hands finished pictures over through the frame cache. The render
// step's request never waits for it (requestFrame): the frame is there, or it is still being made.
//
// What the thread does, most urgent first: the frame asked for; the next frames in the direction
// of travel as pictures (about a third of a second's worth); backwards, the frames beyond, a group
// of pictures at a time: decoded forwards once from its keyframe, kept compact, and made pictures
// as their turn comes. A request the running work will not lead to (a jump, a turn) stops that
// work after the frame in hand; what it kept stays. Where the decoder falls behind a moving movie,
// the request is answered with a stand-in, the newest frame it has on the way.
//
// Frames a jump may land on (keepReady) are taken from the cache when they are there as they are
// asked for (the place just saved), and otherwise decoded while the movie stands and nothing else
// is to be done, by a second decoder of the same thread, so that the movie's own decoder keeps its place;
// they are kept compact apart from the cache, and a jump to one is answered at once, by making it a
// picture on the calling thread.
// The second decoder is closed whenever there is nothing for it to do: all kept, or the movie moves.
//
// Memory: the frames kept stay within the cache's budget (kDefaultBudgetBytes), at the movie area's
// size whatever the movie's own, and up to kMaxReady frames kept ready; the decoders' own frames come
// on top.
//
// Thread contract: the methods are for the thread that owns the drive, one call at a time.
// requestFrame() never waits for the decoder thread; open(), close(), setFrameSize() and
// decodeFrame() do. The decoder thread touches nothing but its decoder and the frame cache.
#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "core/ports/movie_reader.h"
#include "platform/ffmpeg/ffmpeg_movie_reader.h"
#include "platform/ffmpeg/frame_converter.h"
#include "platform/ffmpeg/shown_picture.h"

namespace kestrel {

class ThreadedMovieReader final : public MovieReader {
 public:
  // A 250-frame group of pictures at 800 x 600, compact, with the one the train is in and the
  // pictures around it: 280 MiB (294 MB).
  static constexpr size_t kDefaultBudgetBytes = size_t{280} << 20;
  // Frames kept ready for jumps, at most (0.7 MB each at 800 x 600): the first ones of the list.
  static constexpr size_t kMaxReady = 64;

  // `threads`: the decoder's own threads; 0 for one per core, at most four. `hardware`: decode on a
  // VA-API device where one opens (see FfmpegMovieReader), in software elsewhere.
  explicit ThreadedMovieReader(size_t budgetBytes = kDefaultBudgetBytes, int threads = 0, bool hardware = true);
  ~ThreadedMovieReader() override;
  ThreadedMovieReader(const ThreadedMovieReader&) = delete;
  ThreadedMovieReader& operator=(const ThreadedMovieReader&) = delete;

  bool open(const std::filesystem::path& path) override;
  void close() override;
  bool isOpen() const override;
  int frameCount() const override;
  // Waits until frame n is decoded.
  bool decodeFrame(int n, Picture& out) override;
  FrameState requestFrame(int n, const MovieTravel& travel, Picture& out) override;
  void setFrameSize(int width, int height) override;
  void keepReady(const std::vector<int>& frames) override;
  // A damaged or truncated movie, said once per movie: the text for the user, else nothing.
  std::optional<std::string> takeWarning();

  // For tests and benchmarks. While held, the decoder thread starts no new work (open and the other
  // waiting calls still run; decodeFrame waits for the release).
  void hold(bool held);
  // Waits until the decoder thread has done all it means to for the last request (and so, while
  // it is held, until its release).
  void waitUntilIdle();
  FfmpegMovieReader::Counters counters() const;
  void resetCounters();
  // The most the frame cache has held, in bytes.
  size_t peakCacheBytes() const;
  // Frame n is kept ready for a jump (or will not be: it does not decode).
  bool keptReady(int n) const;

 private:
  struct Task {
    enum class Kind { kNone, kFetch, kPromote, kReady } kind = Kind::kNone;
    int frame = 0;
    int keepFrom = 0;
    int pictureFrom = 0;
  };

  void run();
  Task plan();
  Task planBeyond(int n, int near, int end);
  // The frame to keep ready next, the nearest to the one asked for, while the movie stands after
  // its first request.
  Task planReady() const;
  void keepReadyFrame(int n);
  // Between the frames of a long decoding run: the frames next on the way, kept compact, become
  // pictures, so that the run need not stop for them.
  void promoteNext();
  static int nearFrames(const MovieTravel& travel);
  void execute(const Task& task, uint64_t serial);
  void command(std::function<void()> work);
  bool ready(int n) const;
  FrameState handOut(std::shared_ptr<const Picture> picture, Picture& out);

  FfmpegMovieReader decoder_;  // the decoder thread's, apart from its frame cache
  FfmpegMovieReader readyDecoder_;  // the decoder thread's: the frames kept ready for jumps
  std::filesystem::path path_;      // the decoder thread's: the movie open
  bool readyOpen_ = false;          // the decoder thread's: readyDecoder_ has the movie open

  mutable std::mutex mutex_;
  std::condition_variable wake_;  // to the decoder thread: a request, a command, a release
  std::condition_variable done_;  // from it: a command done, a task done, nothing left to do
  struct {
    int frame = -1;
    MovieTravel travel;
  } request_;
  uint64_t serial_ = 0;       // counts the requests that changed something
  uint64_t idleSerial_ = 0;   // the request the thread last found nothing more to do for
  bool idle_ = false;
  uint64_t noRoomSerial_ = 0;  // the request for which the cache took nothing more
  std::function<void()> command_;
  bool commandDone_ = false;
  bool held_ = false;
  bool stopping_ = false;
  bool taskRunning_ = false;
  int taskLow_ = 0, taskHigh_ = -1;  // the frames the running task will have kept
  std::set<int> missing_;            // frames that do not decode
  std::vector<int> readyWanted_;     // the frames to keep ready for jumps
  struct ReadyFrame {
    FrameCache::Compact compact;             // decoded for it
    std::shared_ptr<const Picture> picture;  // ... or the cache's picture when it was asked for
  };
  std::map<int, ReadyFrame> ready_;  // ... kept so far
  std::set<int> readyFailed_;        // ... that do not decode
  bool readyRunning_ = false;        // the running task keeps one ready
  uint64_t commands_ = 0;            // commands run or asked for: a frame kept ready before one is stale
  uint64_t taskCommands_ = 0;        // ... as the running task began
  int end_ = 0;                      // frames from here on do not decode
  FfmpegMovieReader::Counters counters_, baseline_;
  std::optional<std::string> warning_;
  std::atomic<bool> interrupt_{false};
  double secondsPerFrame_ = 0.01;  // the decoder's pace, as measured (the decoder thread's)

  // The drive's thread's.
  ShownPicture shown_;
  FrameConverter readyConverter_;  // makes pictures of the frames kept ready
  int shownFrame_ = -1;  // the frame whose picture was handed out last (a stand-in's own number)
  bool open_ = false;
  int frameCount_ = 0;

  std::thread thread_;
};

}  // namespace kestrel
