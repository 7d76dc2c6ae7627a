#pragma once
// The soundtrack of a movie file (the opening movie's music), decoded whole into 16-bit mono
// samples at the stream's own rate, for the mixer to play along with the pictures.
//
// Thread contract: none; it touches nothing shared.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

namespace kestrel {

struct Soundtrack {
  int sampleRate = 0;
  std::vector<int16_t> samples;  // several channels mixed down to one
};

// nullopt when the file cannot be opened, has no audio stream, or its audio does not decode.
// At most `maxSeconds` are read (a long soundtrack is cut there).
std::optional<Soundtrack> readSoundtrack(const std::filesystem::path& path, double maxSeconds = 600);

}  // namespace kestrel
