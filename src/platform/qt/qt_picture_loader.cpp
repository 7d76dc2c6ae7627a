#include "platform/qt/qt_picture_loader.h"

#include <QFile>
#include <QImage>
#include <QImageReader>

#include <cstring>

namespace kestrel {

std::optional<Picture> QtPictureLoader::load(const std::filesystem::path& path) {
  // Decode by content, not by extension: authors' files are often named .bmp whatever they hold.
  QImageReader reader(QFile::decodeName(QByteArray::fromStdString(path.native())));
  reader.setDecideFormatFromContent(true);
  QImage image = reader.read();
  if (image.isNull()) return std::nullopt;
  // ARGB32 (not premultiplied) holds each pixel as the native 32-bit 0xAARRGGBB.
  image = image.convertToFormat(QImage::Format_ARGB32);
  Picture picture;
  picture.width = image.width();
  picture.height = image.height();
  picture.pixels.resize(static_cast<size_t>(picture.width) * static_cast<size_t>(picture.height));
  const size_t rowBytes = static_cast<size_t>(picture.width) * sizeof(uint32_t);
  for (int y = 0; y < picture.height; ++y)
    std::memcpy(picture.pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(picture.width),
                image.constScanLine(y), rowBytes);
  return picture;
}

}  // namespace kestrel
