#include "platform/qt/cab_fonts.h"

#include <QString>
#include <QStringList>
#include <algorithm>

#include "core/util/rounding.h"

namespace kestrel {

namespace {

QFont sized(QFont font, int pointSize) {
  font.setPixelSize(pixelSizeOfPoints(pointSize));
  return font;
}

}  // namespace

int pixelSizeOfPoints(int pointSize) {
  return std::max(1, roundHalfEven(pointSize * 96.0 / 72.0));
}

QFont overlayFont(int pointSize) {
  QFont font;
  font.setFamilies(QStringList{QStringLiteral("Meiryo"), QStringLiteral("IPAGothic")});
  font.setBold(true);
  font.setItalic(true);
  return sized(font, pointSize);
}

QFont labelFont(int pointSize) {
  QFont font;
  font.setFamilies(QStringList{QStringLiteral("Meiryo UI"), QStringLiteral("IPAGothic")});
  return sized(font, pointSize);
}

QFont plainFont(int pointSize) {
  return sized(QFont(), pointSize);
}

TextExtent QtTextMetrics::measure(std::string_view text, int32_t pointSize) const {
  std::pair<int32_t, std::string> key(pointSize, std::string(text));
  if (auto kept = extents_.find(key); kept != extents_.end()) return kept->second;
  if (extents_.size() >= kKept) extents_.clear();  // the texts of a few seconds ago are not needed
  auto it = metrics_.find(pointSize);
  if (it == metrics_.end()) it = metrics_.emplace(pointSize, QFontMetrics(overlayFont(pointSize))).first;
  const QFontMetrics& metrics = it->second;
  const QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  const TextExtent extent{metrics.horizontalAdvance(s), metrics.height()};
  extents_.emplace(std::move(key), extent);
  return extent;
}

}  // namespace kestrel
