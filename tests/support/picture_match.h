#pragma once
// Comparing a drawn view with the pictures it was drawn from. Header-only: it needs Qt, which
// only the test programs that include it link.
#include <QImage>
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "core/ports/picture.h"

namespace kestrel::test {

// The colour of a view pixel without its alpha.
inline uint32_t rgbAt(const QImage& image, int x, int y) {
  return image.pixel(x, y) & 0xFFFFFFu;
}

// How much of the view's movie area (800 x 600, above the status texts) shows `frame` scaled to
// it: the share of blocks whose channel means differ by less than `tolerance`. Signals and posts
// over the movie cover some blocks.
inline double movieMatch(const QImage& view, const Picture& frame, double tolerance = 8.0) {
  int blocks = 0, matching = 0;
  const double fx = frame.width / 800.0, fy = frame.height / 600.0;
  for (int by = 20; by < 400; by += 50)
    for (int bx = 20; bx < 740; bx += 60) {
      double worst = 0;
      for (int shift : {0, 8, 16}) {
        double v = 0, f = 0, nv = 0, nf = 0;
        for (int y = by; y < by + 40; ++y)
          for (int x = bx; x < bx + 50; ++x, ++nv) v += (rgbAt(view, x, y) >> shift) & 0xFF;
        for (int y = static_cast<int>(by * fy); y < static_cast<int>((by + 40) * fy); ++y)
          for (int x = static_cast<int>(bx * fx); x < static_cast<int>((bx + 50) * fx); ++x, ++nf)
            f += (frame.at(x, y) >> shift) & 0xFF;
        worst = std::max(worst, std::fabs(v / nv - f / nf));
      }
      ++blocks;
      matching += worst < tolerance;
    }
  return static_cast<double>(matching) / blocks;
}

}  // namespace kestrel::test
