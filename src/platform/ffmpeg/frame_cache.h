#pragma once
// The decoded frames of the open movie, kept within a byte budget, each in one of two forms: a
// picture, ready to hand out, or compact — the decoder's own pixel format at the output size,
// under half a picture's bytes — for a frame wanted later, which becomes a picture when its turn
// comes. When the budget is full, what goes first follows the focus, the frame the movie is at
// and where it is heading: frames it has passed, the farthest first, then the frames farthest
// ahead. A frame that would go first itself is not taken in.
//
// Thread contract: every member may be called from any thread. Pictures and compact frames are
// shared: one handed out stays valid after the cache has let go of it.
#include <cstddef>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <utility>

#include "core/ports/picture.h"

struct AVFrame;

namespace kestrel {

class FrameCache {
 public:
  using Compact = std::shared_ptr<const AVFrame>;
  // Pictures kept behind the focus (the way the movie came) are dropped beyond this many frames:
  // enough for a train that stops and creeps back, without holding a trail of passed frames.
  static constexpr int kKeepBehind = 8;

  explicit FrameCache(size_t budgetBytes) : budget_(budgetBytes) {}

  std::shared_ptr<const Picture> picture(int frame) const;
  Compact compact(int frame) const;
  bool contains(int frame) const;  // in either form
  bool hasPicture(int frame) const;

  // A picture to convert into; it reuses the buffer of an evicted one when nobody holds it.
  std::shared_ptr<Picture> make();
  // Keeps `picture` as `frame`, in place of what was kept for it; false when it is not taken in
  // (larger than the budget, or the frame would be the first to go).
  bool putPicture(int frame, std::shared_ptr<const Picture> picture);
  bool putCompact(int frame, Compact compact);

  // The frame the movie is at and its direction (+1, -1, 0 standing); pictures more than
  // kKeepBehind frames behind it go at once.
  void setFocus(int frame, int direction);
  void clear();

  // The first frame from `from` on, stepping by `step`, `count` frames at most, that is not kept
  // (as a picture when `asPicture`, else in either form).
  std::optional<int> firstAbsent(int from, int step, int count, bool asPicture) const;
  // The picture kept for a frame strictly between `from` and `to` (either way round) nearest to `to`.
  std::optional<std::pair<int, std::shared_ptr<const Picture>>> closestPicture(int from, int to) const;

  size_t budget() const { return budget_; }
  size_t bytes() const;
  size_t size() const;
  size_t peakBytes() const;
  // How many pictures of this size the budget holds.
  size_t capacityFor(int width, int height) const;
  // The bytes a compact frame takes.
  static size_t compactBytes(const AVFrame& frame);

 private:
  struct Entry {
    std::shared_ptr<const Picture> picture;
    Compact compact;
    size_t bytes = 0;
  };
  // Lower ranks are kept longer.
  long long rank(int frame) const;
  bool makeRoom(int frame, size_t bytes);
  void erase(std::map<int, Entry>::iterator it);
  bool put(int frame, Entry entry);

  const size_t budget_;
  mutable std::mutex mutex_;
  std::map<int, Entry> entries_;
  size_t bytes_ = 0;
  size_t peak_ = 0;
  int focus_ = 0;
  int direction_ = 0;
  std::shared_ptr<Picture> spare_;
};

}  // namespace kestrel
