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
  auto it = metrics_.find(pointSize);
  if (it == metrics_.end()) it = metrics_.emplace(pointSize, QFontMetrics(overlayFont(pointSize))).first;
  const QFontMetrics& metrics = it->second;
  const QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  return {metrics.horizontalAdvance(s), metrics.height()};
}

}  // namespace kestrel
