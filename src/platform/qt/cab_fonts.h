#pragma once
// The fonts of the cab window. Sizes in the display rules are points of a 96-dpi screen; the view
// is an image, so they become pixel sizes here (round(points x 96 / 72)) and draw the same on any
// screen. The faces fall back to IPAGothic where Meiryo is missing (it has Latin and kana in one
// style).
#include <QFont>
#include <QFontMetrics>
#include <map>
#include <string>
#include <string_view>
#include <utility>

#include "core/present/overlay_layout.h"

namespace kestrel {

// Texts over the movie: "Meiryo", bold, italic.
QFont overlayFont(int pointSize);
// The text-mode labels: "Meiryo UI".
QFont labelFont(int pointSize);
// The kilometre post: the library's default face.
QFont plainFont(int pointSize);

int pixelSizeOfPoints(int pointSize);

// Measures with the overlay font. The texts change a few times a second while they are measured
// every frame, so the extents of the texts measured last are kept.
class QtTextMetrics final : public TextMetrics {
 public:
  TextExtent measure(std::string_view text, int32_t pointSize) const override;

 private:
  static constexpr size_t kKept = 64;
  mutable std::map<int32_t, QFontMetrics> metrics_;  // by point size
  mutable std::map<std::pair<int32_t, std::string>, TextExtent> extents_;
};

}  // namespace kestrel
