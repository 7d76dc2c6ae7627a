#pragma once
// Decoded frames of the open movie, kept within a byte budget; the least recently used go first.
// Pictures are shared: one handed out stays valid after the cache has let go of it.
#include <cstddef>
#include <list>
#include <memory>
#include <unordered_map>

#include "core/ports/picture.h"

namespace kestrel {

class FrameCache {
 public:
  explicit FrameCache(size_t budgetBytes) : budget_(budgetBytes) {}

  // The frame, marked as just used; null when it is not kept.
  std::shared_ptr<const Picture> find(int frame);
  bool contains(int frame) const { return byFrame_.count(frame) != 0; }
  // A picture to convert into; it reuses the buffer of an evicted frame when one is free.
  std::shared_ptr<Picture> make();
  // Keeps `picture` as `frame` (replacing an older copy), evicting until the budget holds. A
  // picture larger than the whole budget is not kept.
  void put(int frame, std::shared_ptr<Picture> picture);
  void clear();

  size_t budget() const { return budget_; }
  size_t bytes() const { return bytes_; }
  size_t size() const { return entries_.size(); }
  // How many frames of this size the budget holds.
  size_t capacityFor(int width, int height) const;

 private:
  struct Entry {
    int frame;
    std::shared_ptr<Picture> picture;
    size_t bytes;
  };
  void evictOne();

  size_t budget_;
  size_t bytes_ = 0;
  std::list<Entry> entries_;  // most recently used first
  std::unordered_map<int, std::list<Entry>::iterator> byFrame_;
  std::shared_ptr<Picture> spare_;
};

}  // namespace kestrel
