#pragma once
// The fonts of the cab window. Sizes in the display rules are points of a 96-dpi screen; the view
// is an image, so they become pixel sizes here (round(points x 96 / 72)) and draw the same on any
// screen. The faces fall back to IPAGothic where Meiryo is missing (it has Latin and kana in one
// style).
#include <QFont>
#include <QFontMetrics>
#include <map>
#include <string_view>

#include "core/present/overlay_layout.h"

namespace kestrel {

// Texts over the movie: "Meiryo", bold, italic.
QFont overlayFont(int pointSize);
// The text-mode labels: "Meiryo UI".
QFont labelFont(int pointSize);
// The kilometre post: the library's default face.
QFont plainFont(int pointSize);

int pixelSizeOfPoints(int pointSize);

class QtTextMetrics final : public TextMetrics {
 public:
  TextExtent measure(std::string_view text, int32_t pointSize) const override;

 private:
  mutable std::map<int32_t, QFontMetrics> metrics_;  // by point size
};

}  // namespace kestrel
