#pragma once
// Port: the hash of a file's bytes, by which a recording tells whether the line and vehicle files
// it is played with are the ones it was driven on.
#include <filesystem>
#include <optional>
#include <string>

namespace kestrel {

class ContentHasher {
 public:
  virtual ~ContentHasher() = default;
  // "sha256:" and the 64 lower-case hex digits of the SHA-256 of the file; nullopt when the file
  // cannot be read.
  virtual std::optional<std::string> hashFile(const std::filesystem::path& path) = 0;
};

}  // namespace kestrel
