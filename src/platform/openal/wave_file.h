#pragma once
// Sound files as the mixer holds them: 16-bit mono samples at the file's own rate.
#include <cstdint>
#include <filesystem>
#include <vector>

namespace kestrel {

struct MonoWave {
  int sampleRate = 0;
  std::vector<int16_t> samples;
};

// Reads every format libsndfile knows (PCM 8, 16, 24 and 32 bit, float, ADPCM, a-law, u-law ...)
// and converts it to 16 bits; several channels are mixed down to their mean, so that every wave
// plays on a mono channel without placement. Floating-point data beyond full scale is clipped.
// Throws FatalError with libsndfile's own message when the file cannot be read.
MonoWave readMonoWave(const std::filesystem::path& path);

}  // namespace kestrel
