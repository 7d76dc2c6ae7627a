#include "platform/ffmpeg/frame_cache.h"

namespace kestrel {

namespace {
size_t pictureBytes(const Picture& p) {
  return p.pixels.capacity() * sizeof(uint32_t);
}
}  // namespace

std::shared_ptr<const Picture> FrameCache::find(int frame) {
  auto it = byFrame_.find(frame);
  if (it == byFrame_.end()) return nullptr;
  entries_.splice(entries_.begin(), entries_, it->second);
  return it->second->picture;
}

std::shared_ptr<Picture> FrameCache::make() {
  if (spare_) return std::move(spare_);
  return std::make_shared<Picture>();
}

void FrameCache::put(int frame, std::shared_ptr<Picture> picture) {
  if (!picture) return;
  auto old = byFrame_.find(frame);
  if (old != byFrame_.end()) {
    bytes_ -= old->second->bytes;
    entries_.erase(old->second);
    byFrame_.erase(old);
  }
  const size_t bytes = pictureBytes(*picture);
  if (bytes > budget_) return;
  while (!entries_.empty() && bytes_ + bytes > budget_) evictOne();
  entries_.push_front(Entry{frame, std::move(picture), bytes});
  byFrame_[frame] = entries_.begin();
  bytes_ += bytes;
}

void FrameCache::evictOne() {
  Entry& last = entries_.back();
  bytes_ -= last.bytes;
  byFrame_.erase(last.frame);
  // A picture nobody else holds gives its buffer to the next conversion.
  if (last.picture.use_count() == 1) spare_ = std::move(last.picture);
  entries_.pop_back();
}

void FrameCache::clear() {
  entries_.clear();
  byFrame_.clear();
  bytes_ = 0;
  spare_.reset();
}

size_t FrameCache::capacityFor(int width, int height) const {
  if (width <= 0 || height <= 0) return 0;
  return budget_ / (static_cast<size_t>(width) * static_cast<size_t>(height) * sizeof(uint32_t));
}

}  // namespace kestrel
