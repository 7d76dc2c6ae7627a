#include "platform/ffmpeg/keyframe_index.h"

#include <algorithm>

namespace kestrel {

void KeyframeIndex::clear() {
  entries_.clear();
  offset_ = 0;
}

void KeyframeIndex::add(int64_t ts, int estimate) {
  auto it = std::lower_bound(entries_.begin(), entries_.end(), ts,
                             [](const Entry& e, int64_t t) { return e.ts < t; });
  if (it != entries_.end() && it->ts == ts) return;
  entries_.insert(it, Entry{ts, estimate, kUnknown});
}

int KeyframeIndex::firstFrame(size_t i) const {
  const Entry& e = entries_[i];
  if (e.frame != kUnknown) return e.frame;
  const int64_t guess = static_cast<int64_t>(e.estimate) + offset_;
  return guess > 2147483647 ? 2147483647 : static_cast<int>(guess);
}

size_t KeyframeIndex::entryFor(int n) const {
  // Estimates only grow with the timestamp and never exceed the shown frame, so no keyframe past
  // the last estimate <= n can be shown at or before n.
  auto it = std::upper_bound(entries_.begin(), entries_.end(), n,
                             [](int v, const Entry& e) { return v < e.estimate; });
  for (size_t i = static_cast<size_t>(it - entries_.begin()); i > 0; --i) {
    if (firstFrame(i - 1) <= n) return i - 1;
  }
  return kNone;
}

size_t KeyframeIndex::find(int64_t ts) const {
  auto it = std::lower_bound(entries_.begin(), entries_.end(), ts,
                             [](const Entry& e, int64_t t) { return e.ts < t; });
  return it != entries_.end() && it->ts == ts ? static_cast<size_t>(it - entries_.begin()) : kNone;
}

void KeyframeIndex::setFrame(size_t i, int frame) {
  Entry& e = entries_[i];
  e.frame = frame;
  // The first keyframe has no B-frames before it; the others tell how far the display order
  // trails the file order.
  if (i > 0) offset_ = std::max(0, frame - e.estimate);
}

void KeyframeIndex::learnSeek(size_t i, int frame) {
  if (i < entries_.size()) setFrame(i, frame);
}

void KeyframeIndex::learnPassed(int64_t lastPacketTs, int frame) {
  auto it = std::upper_bound(entries_.begin(), entries_.end(), lastPacketTs,
                             [](int64_t t, const Entry& e) { return t < e.ts; });
  if (it == entries_.begin()) return;
  const size_t i = static_cast<size_t>(it - entries_.begin()) - 1;
  if (entries_[i].frame == kUnknown && frame >= entries_[i].estimate) setFrame(i, frame);
}

}  // namespace kestrel
