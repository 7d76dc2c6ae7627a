#pragma once
// Port: reads a route movie frame by frame. Used on the thread that owns the drive.
#include <filesystem>
#include <vector>

#include "core/ports/picture.h"

namespace kestrel {

// Where the movie is heading as the render step asks for a frame: +1 towards higher frame
// numbers, -1 towards lower ones, 0 standing; and how many frames a second it moves.
struct MovieTravel {
  int direction = 0;
  double framesPerSecond = 0;
};

// The answer to a render step's request.
enum class FrameState {
  kReady,    // the frame is in `out`
  kPending,  // still being decoded: `out` is untouched; ask again at the next step
  kStandIn,  // still being decoded, and the decoder is behind: `out` holds the nearest frame it has
             // on the way to it; ask again at the next step
  kMissing,  // the movie has no such frame: `out` holds the last frame handed out, as decodeFrame's false
};

class MovieReader {
 public:
  virtual ~MovieReader() = default;
  // Opens the file's video stream; false when it cannot be opened. Closes any open movie first.
  virtual bool open(const std::filesystem::path& path) = 0;
  virtual void close() = 0;
  virtual bool isOpen() const = 0;
  // Stream length in frames (0 when nothing is open).
  virtual int frameCount() const = 0;
  // Decodes frame n (from 0) into `out` and returns true, waiting as long as that takes. For n
  // outside 0 .. frameCount() - 1, or a frame that does not decode, the last decoded frame is
  // handed out again and false returned (an empty picture when nothing was decoded yet).
  virtual bool decodeFrame(int n, Picture& out) = 0;
  // The render step's request for frame n, the movie heading as `travel` says. A reader that
  // decodes ahead on a thread of its own answers at once, never waiting for the decoder: the
  // frame, or kPending while it is being made (the caller keeps showing what it has and asks
  // again), or a stand-in while the decoder is behind a moving movie. A reader without one decodes
  // the frame now.
  virtual FrameState requestFrame(int n, const MovieTravel& travel, Picture& out) {
    (void)travel;
    return decodeFrame(n, out) ? FrameState::kReady : FrameState::kMissing;
  }
  // Frames are handed out scaled to width x height from now on (0 x 0: at the movie's own size),
  // so that the picture is scaled once, as it is converted, rather than at every draw. A reader
  // that cannot scale hands out its own size; callers draw whatever size they get.
  virtual void setFrameSize(int width, int height) {
    (void)width;
    (void)height;
  }
  // The frames of the open movie a jump may land on (the stations' stops, the saved drives'
  // places); each call replaces the list, and opening a movie empties it. A reader that decodes
  // ahead keeps them decoded while the movie stands and it has nothing more urgent to do, so that
  // a jump there shows at once; others need not do anything.
  virtual void keepReady(const std::vector<int>& frames) { (void)frames; }
};

}  // namespace kestrel
