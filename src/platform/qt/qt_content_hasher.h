#pragma once
// The ContentHasher port on Qt's QCryptographicHash (SHA-256), reading the file in pieces.
//
// Thread contract: none of its own; each call reads one file.
#include "core/ports/content_hasher.h"

namespace kestrel {

class QtContentHasher final : public ContentHasher {
 public:
  std::optional<std::string> hashFile(const std::filesystem::path& path) override;
};

}  // namespace kestrel
