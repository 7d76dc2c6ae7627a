#include "platform/qt/qt_content_hasher.h"

#include <QCryptographicHash>
#include <QFile>

namespace kestrel {

std::optional<std::string> QtContentHasher::hashFile(const std::filesystem::path& path) {
  QFile file(QString::fromStdString(path.string()));
  if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
  QCryptographicHash hash(QCryptographicHash::Sha256);
  if (!hash.addData(&file)) return std::nullopt;
  return "sha256:" + hash.result().toHex().toStdString();
}

}  // namespace kestrel
