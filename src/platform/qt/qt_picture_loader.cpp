#include "platform/qt/qt_picture_loader.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QImageReader>

#include <cstdlib>
#include <cstring>

namespace kestrel {

namespace {

uint32_t le32(const QByteArray& b, int at) {
  uint32_t v = 0;
  for (int i = 0; i < 4; ++i) v |= static_cast<uint32_t>(static_cast<unsigned char>(b[at + i])) << (8 * i);
  return v;
}

uint16_t le16(const QByteArray& b, int at) {
  return static_cast<uint16_t>(static_cast<unsigned char>(b[at]) | (static_cast<unsigned char>(b[at + 1]) << 8));
}

// Qt's BMP reader decodes a cut-off uncompressed bitmap without complaint and fills the missing
// rows with whatever it likes; such a file is as unreadable as a broken JPEG.
bool isTruncatedBitmap(const QByteArray& bytes) {
  if (bytes.size() < 26 || !bytes.startsWith("BM")) return false;
  const uint32_t dataOffset = le32(bytes, 10);
  const uint32_t headerSize = le32(bytes, 14);
  int64_t width = 0, height = 0;
  uint32_t bitCount = 0, compression = 0;
  if (headerSize == 12) {  // OS/2 header
    width = le16(bytes, 18);
    height = le16(bytes, 20);
    bitCount = le16(bytes, 24);
  } else if (headerSize >= 40 && bytes.size() >= 34) {
    width = static_cast<int32_t>(le32(bytes, 18));
    height = static_cast<int32_t>(le32(bytes, 22));
    bitCount = le16(bytes, 28);
    compression = le32(bytes, 30);
  } else {
    return false;
  }
  if (compression != 0 && compression != 3) return false;  // run-length data has no fixed size
  const int64_t stride = (std::llabs(width) * bitCount + 31) / 32 * 4;
  return static_cast<int64_t>(dataOffset) + stride * std::llabs(height) > bytes.size();
}

}  // namespace

std::optional<Picture> QtPictureLoader::load(const std::filesystem::path& path) {
  QFile file(QFile::decodeName(QByteArray::fromStdString(path.native())));
  if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
  QByteArray bytes = file.readAll();
  if (isTruncatedBitmap(bytes)) return std::nullopt;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::ReadOnly);
  // Decode by content, not by name: authors' files are often called .bmp whatever they hold.
  QImageReader reader(&buffer);
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
