#include "platform/ffmpeg/frame_cache.h"

#include <cstdlib>

extern "C" {
#include <libavutil/frame.h>
}

namespace kestrel {

namespace {

size_t pictureBytes(const Picture& p) {
  return p.pixels.capacity() * sizeof(uint32_t);
}

// Passed frames rank after every frame ahead.
constexpr long long kPassed = 1LL << 40;

}  // namespace

size_t FrameCache::compactBytes(const AVFrame& frame) {
  size_t bytes = 0;
  for (const AVBufferRef* buf : frame.buf)
    if (buf) bytes += buf->size;
  return bytes;
}

std::shared_ptr<const Picture> FrameCache::picture(int frame) const {
  std::lock_guard lock(mutex_);
  auto it = entries_.find(frame);
  return it == entries_.end() ? nullptr : it->second.picture;
}

FrameCache::Compact FrameCache::compact(int frame) const {
  std::lock_guard lock(mutex_);
  auto it = entries_.find(frame);
  return it == entries_.end() ? nullptr : it->second.compact;
}

bool FrameCache::contains(int frame) const {
  std::lock_guard lock(mutex_);
  return entries_.count(frame) != 0;
}

bool FrameCache::hasPicture(int frame) const {
  std::lock_guard lock(mutex_);
  auto it = entries_.find(frame);
  return it != entries_.end() && it->second.picture;
}

std::shared_ptr<Picture> FrameCache::make() {
  std::lock_guard lock(mutex_);
  if (spare_) return std::move(spare_);
  return std::make_shared<Picture>();
}

bool FrameCache::putPicture(int frame, std::shared_ptr<const Picture> picture) {
  if (!picture) return false;
  const size_t bytes = pictureBytes(*picture);
  return put(frame, Entry{std::move(picture), nullptr, bytes});
}

bool FrameCache::putCompact(int frame, Compact compact) {
  if (!compact) return false;
  const size_t bytes = compactBytes(*compact);
  return put(frame, Entry{nullptr, std::move(compact), bytes});
}

bool FrameCache::put(int frame, Entry entry) {
  std::lock_guard lock(mutex_);
  auto old = entries_.find(frame);
  if (old != entries_.end()) erase(old);
  if (!makeRoom(frame, entry.bytes)) return false;
  bytes_ += entry.bytes;
  peak_ = std::max(peak_, bytes_);
  entries_.emplace(frame, std::move(entry));
  return true;
}

long long FrameCache::rank(int frame) const {
  const long long ahead = static_cast<long long>(frame) - focus_;
  if (direction_ > 0) return ahead >= 0 ? ahead : kPassed - ahead;
  if (direction_ < 0) return ahead <= 0 ? -ahead : kPassed + ahead;
  return std::llabs(ahead);
}

bool FrameCache::makeRoom(int frame, size_t bytes) {
  if (bytes > budget_) return false;
  while (bytes_ + bytes > budget_) {
    // Ranks grow away from the focus on either side, so the first to go is at one end.
    auto first = entries_.begin();
    auto last = std::prev(entries_.end());
    auto victim = rank(first->first) >= rank(last->first) ? first : last;
    if (rank(victim->first) <= rank(frame)) return false;
    erase(victim);
  }
  return true;
}

void FrameCache::erase(std::map<int, Entry>::iterator it) {
  bytes_ -= it->second.bytes;
  // A picture nobody else holds gives its buffer to the next conversion. (Copies are only
  // handed out under the lock, so nobody can take one after this look.)
  // The cache made every picture it holds alone, so it may write into it again.
  if (it->second.picture && it->second.picture.use_count() == 1)
    spare_ = std::const_pointer_cast<Picture>(std::move(it->second.picture));
  entries_.erase(it);
}

void FrameCache::setFocus(int frame, int direction) {
  std::lock_guard lock(mutex_);
  focus_ = frame;
  direction_ = direction;
  if (direction > 0) {
    while (!entries_.empty() && entries_.begin()->first < frame - kKeepBehind) erase(entries_.begin());
  } else if (direction < 0) {
    while (!entries_.empty() && std::prev(entries_.end())->first > frame + kKeepBehind)
      erase(std::prev(entries_.end()));
  }
}

void FrameCache::clear() {
  std::lock_guard lock(mutex_);
  entries_.clear();
  bytes_ = 0;
  spare_.reset();
}

std::optional<int> FrameCache::firstAbsent(int from, int step, int count, bool asPicture) const {
  std::lock_guard lock(mutex_);
  for (int i = 0, f = from; i < count; ++i, f += step) {
    auto it = entries_.find(f);
    if (it == entries_.end() || (asPicture && !it->second.picture)) return f;
  }
  return std::nullopt;
}

std::optional<std::pair<int, std::shared_ptr<const Picture>>> FrameCache::closestPicture(int from, int to) const {
  std::lock_guard lock(mutex_);
  if (from < to) {
    for (auto it = entries_.lower_bound(to); it != entries_.begin();) {
      --it;
      if (it->first <= from) break;
      if (it->second.picture) return std::pair(it->first, it->second.picture);
    }
  } else {
    for (auto it = entries_.upper_bound(to); it != entries_.end() && it->first < from; ++it)
      if (it->second.picture) return std::pair(it->first, it->second.picture);
  }
  return std::nullopt;
}

size_t FrameCache::bytes() const {
  std::lock_guard lock(mutex_);
  return bytes_;
}

size_t FrameCache::size() const {
  std::lock_guard lock(mutex_);
  return entries_.size();
}

size_t FrameCache::peakBytes() const {
  std::lock_guard lock(mutex_);
  return peak_;
}

size_t FrameCache::capacityFor(int width, int height) const {
  if (width <= 0 || height <= 0) return 0;
  return budget_ / (static_cast<size_t>(width) * static_cast<size_t>(height) * sizeof(uint32_t));
}

}  // namespace kestrel
