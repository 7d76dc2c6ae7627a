#pragma once
// The wave data a cab session has loaded: the call-out clips, which the queue sets on the
// call-out channel one at a time, and what was loaded in all (for the memory it takes).
#include <cstdint>
#include <filesystem>
#include <vector>

#include "core/ports/mixer.h"

namespace kestrel {

struct CalloutClips {
  static constexpr size_t kFixedCount = 22;  // [KankoSound1]

  // By clip number: 0 .. 21 the [KankoSound1] lines, 22 on the [KankoSound2] rows in order.
  // kNoWave where the name was empty.
  std::vector<WaveId> table;
  std::vector<WaveId> other;  // [OtherKanko]
  std::vector<WaveId> limit;  // [LimitKanko]

  // The wave of a clip number, kNoWave outside the table (an empty reference).
  static WaveId at(const std::vector<WaveId>& list, int32_t n) {
    return n >= 0 && n < static_cast<int32_t>(list.size()) ? list[static_cast<size_t>(n)] : kNoWave;
  }
};

struct LoadedWave {
  std::filesystem::path path;
  WaveId wave = kNoWave;
  uint64_t dataBytes = 0;  // sample data of the file's "data" chunk
  uint64_t frames = 0;     // sample frames in it
};

struct SoundBank {
  // Waves of the fixed sets, by their place in the set (kNoWave for an empty name).
  std::vector<WaveId> vehicle, environment, motor, engineSet;
  CalloutClips clips;
  std::vector<LoadedWave> loaded;  // every wave loaded, in loading order

  uint64_t dataBytes() const {
    uint64_t sum = 0;
    for (const LoadedWave& w : loaded) sum += w.dataBytes;
    return sum;
  }
  // What the waves take as 16-bit mono samples, the form the OpenAL mixer keeps them in.
  uint64_t mono16Bytes() const {
    uint64_t sum = 0;
    for (const LoadedWave& w : loaded) sum += 2 * w.frames;
    return sum;
  }
};

}  // namespace kestrel
