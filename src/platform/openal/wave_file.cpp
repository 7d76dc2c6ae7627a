#include "platform/openal/wave_file.h"

#include <sndfile.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <memory>

#include "core/util/fatal_error.h"

namespace kestrel {

namespace {

// OpenAL takes the size of a buffer in bytes as an int.
constexpr sf_count_t kMaxFrames = INT_MAX / static_cast<sf_count_t>(sizeof(int16_t));
constexpr sf_count_t kChunkFrames = 4096;

struct SndfileCloser {
  void operator()(SNDFILE* file) const { sf_close(file); }
};
using SndfilePtr = std::unique_ptr<SNDFILE, SndfileCloser>;

// libsndfile scales n-bit integers by 2^(n-1) to floating point, so this is exact for 8 and 16 bits.
int16_t toSixteenBits(float sample) {
  const long scaled = std::lrint(sample * 32768.0f);
  return static_cast<int16_t>(std::clamp(scaled, -32768L, 32767L));
}

}  // namespace

MonoWave readMonoWave(const std::filesystem::path& path) {
  SF_INFO info{};
  SndfilePtr file(sf_open(path.c_str(), SFM_READ, &info));
  if (!file) throw FatalError(sf_strerror(nullptr));
  if (info.samplerate <= 0 || info.channels <= 0) throw FatalError(sf_strerror(file.get()));
  // Read as floating point and converted here: libsndfile hands the samples of a floating-point
  // file to sf_read_short unscaled.
  sf_command(file.get(), SFC_SET_NORM_FLOAT, nullptr, SF_TRUE);

  MonoWave wave;
  wave.sampleRate = info.samplerate;
  if (info.frames > 0 && info.frames <= kMaxFrames) wave.samples.reserve(static_cast<size_t>(info.frames));

  const int channels = info.channels;
  std::vector<float> chunk(static_cast<size_t>(kChunkFrames * channels));
  for (;;) {
    const sf_count_t got = sf_readf_float(file.get(), chunk.data(), kChunkFrames);
    if (got <= 0) break;
    if (static_cast<sf_count_t>(wave.samples.size()) + got > kMaxFrames) {
      throw FatalError(path.string() + ": the sound is too long to be loaded");
    }
    for (sf_count_t f = 0; f < got; ++f) {
      const float* frame = &chunk[static_cast<size_t>(f * channels)];
      float sum = 0.0f;
      for (int c = 0; c < channels; ++c) sum += frame[c];
      wave.samples.push_back(toSixteenBits(sum / static_cast<float>(channels)));
    }
  }
  // A short read is either the end of the file or a fault in it.
  if (sf_error(file.get()) != SF_ERR_NO_ERROR) throw FatalError(sf_strerror(file.get()));
  return wave;
}

}  // namespace kestrel
