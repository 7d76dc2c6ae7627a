#pragma once
// The frame rate and frame count of a route movie, read with FFmpeg's demuxer (the AVI header's
// counts; nothing is decoded).
#include <cstdint>
#include <filesystem>

namespace kestrel::author {

struct MovieFacts {
  double fps = 0;
  int64_t frames = 0;
};

// Throws AuthorError when the file cannot be opened or holds no video stream with a rate.
MovieFacts readMovieFacts(const std::filesystem::path& path);

}  // namespace kestrel::author
