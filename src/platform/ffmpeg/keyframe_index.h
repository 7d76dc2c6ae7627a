#pragma once
// The keyframes of the open movie: where a seek can start, and which frame the decoder shows first
// after it. The container's index gives the timestamps; the frame numbers are estimated from them
// and corrected as the decoder shows the frames. A file stores frames in decode order, so with
// B-frames a keyframe is shown a few frames later than its place in the file suggests.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace kestrel {

class KeyframeIndex {
 public:
  static constexpr size_t kNone = static_cast<size_t>(-1);

  void clear();
  // A keyframe at container timestamp `ts`; `estimate` is the frame number that timestamp gives,
  // at most the frame really shown (decode order never runs ahead of display order). Adding a
  // keyframe already known keeps what was learned about it.
  void add(int64_t ts, int estimate);

  bool empty() const { return entries_.empty(); }
  size_t size() const { return entries_.size(); }
  int64_t timestamp(size_t i) const { return entries_[i].ts; }
  // The frame the decoder shows first after a seek to keyframe i: learned, or estimated.
  int firstFrame(size_t i) const;
  bool learned(size_t i) const { return entries_[i].frame != kUnknown; }

  // The keyframe to seek to for frame n: the last one whose first frame is not after n (kNone
  // when there is none).
  size_t entryFor(int n) const;

  // The keyframe at exactly this timestamp (kNone when there is none).
  size_t find(int64_t ts) const;

  // After a seek to keyframe i the decoder showed `frame` first.
  void learnSeek(size_t i, int frame);
  // Reading on, the decoder showed keyframe `frame`; the packet read last had timestamp
  // `lastPacketTs`. The keyframe shown is the last one read (decoders hold back at most a few
  // frames, fewer than a group of pictures).
  void learnPassed(int64_t lastPacketTs, int frame);

 private:
  static constexpr int kUnknown = -2147483647 - 1;
  struct Entry {
    int64_t ts;
    int estimate;
    int frame;
  };
  void setFrame(size_t i, int frame);

  std::vector<Entry> entries_;  // ascending timestamps
  int offset_ = 0;              // how many frames later than estimated the keyframes seen so far were shown
};

}  // namespace kestrel
