#pragma once
// The two ways the rules start a sound on a mixer channel.
#include <cstdint>
#include <optional>
#include <vector>

#include "core/ports/mixer.h"

namespace kestrel {

// "Restart from its beginning": stop, rewind and play once, even while it sounds.
inline void restartOnce(Mixer& mixer, int32_t channel) {
  mixer.stop(channel);
  mixer.playOnce(channel);
}

// "Play s": only when it is not sounding already, stop, rewind and play once.
inline void playIfSilent(Mixer& mixer, int32_t channel) {
  if (mixer.isPlaying(channel)) return;
  mixer.stop(channel);
  mixer.playOnce(channel);
}

// Entry i (from 0) of a vehicle sound list; nullopt beyond the list.
inline std::optional<int32_t> soundEntry(const std::vector<int32_t>& list, int64_t i) {
  if (i < 0 || i >= static_cast<int64_t>(list.size())) return std::nullopt;
  return list[static_cast<size_t>(i)];
}

}  // namespace kestrel
