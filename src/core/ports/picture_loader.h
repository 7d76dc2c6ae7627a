#pragma once
// Port: loads a BMP, JPEG or PNG file into a Picture.
#include <filesystem>
#include <optional>

#include "core/ports/picture.h"

namespace kestrel {

class PictureLoader {
 public:
  virtual ~PictureLoader() = default;
  // nullopt when the file is missing or cannot be decoded.
  virtual std::optional<Picture> load(const std::filesystem::path& path) = 0;
};

}  // namespace kestrel
