// Feeds bytes to the two wave-header readers: the sound lengths of the line's [SoundData] files
// and the durations of the recording mixer.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>
#include <string_view>

#include "core/data/sound_lengths.h"
#include "core/ports/recording_mixer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  (void)kestrel::waveHeaderSeconds(bytes);
  std::istringstream in(bytes);
  (void)kestrel::waveDurationUs(in);
  return 0;
}
