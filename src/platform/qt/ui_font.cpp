#include "platform/qt/ui_font.h"

#include <QStringList>

namespace kestrel {

QFont meiryoUiFont(int pixelSize) {
  QFont font;
  font.setFamilies({QStringLiteral("Meiryo UI"), QStringLiteral("IPAGothic")});
  font.setPixelSize(pixelSize);
  return font;
}

}  // namespace kestrel
