#pragma once
// PictureLoader adapter: QImage decodes BMP, PNG and JPEG (JPEG through Qt's plugin on
// libjpeg-turbo) without a display. Use it on the thread that owns the drive.
#include "core/ports/picture_loader.h"

namespace kestrel {

class QtPictureLoader final : public PictureLoader {
 public:
  std::optional<Picture> load(const std::filesystem::path& path) override;
};

}  // namespace kestrel
