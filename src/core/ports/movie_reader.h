#pragma once
// Port: reads a route movie frame by frame. Used on the thread that owns the drive.
#include <filesystem>

#include "core/ports/picture.h"

namespace kestrel {

class MovieReader {
 public:
  virtual ~MovieReader() = default;
  // Opens the file's video stream; false when it cannot be opened. Closes any open movie first.
  virtual bool open(const std::filesystem::path& path) = 0;
  virtual void close() = 0;
  virtual bool isOpen() const = 0;
  // Stream length in frames (0 when nothing is open).
  virtual int frameCount() const = 0;
  // Decodes frame n (from 0) into `out` and returns true. For n outside 0 .. frameCount() - 1, or
  // a frame that does not decode, the last decoded frame is handed out again and false returned
  // (an empty picture when nothing was decoded yet).
  virtual bool decodeFrame(int n, Picture& out) = 0;
  // Frames are handed out scaled to width x height from now on (0 x 0: at the movie's own size),
  // so that the picture is scaled once, as it is converted, rather than at every draw. A reader
  // that cannot scale hands out its own size; callers draw whatever size they get.
  virtual void setFrameSize(int width, int height) {
    (void)width;
    (void)height;
  }
};

}  // namespace kestrel
