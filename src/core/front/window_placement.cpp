#include "core/front/window_placement.h"

#include <algorithm>
#include <optional>

namespace kestrel {

WindowRect placeBesideCab(const WindowRect& size, const CabWindowPlace& cab, const WindowRect& screen,
                          const std::vector<WindowRect>& open) {
  const WindowRect& c = cab.frame;
  const WindowRect menuBar{c.x, c.y, c.width, std::max(0, cab.menuBottom - c.y)};
  const auto fits = [&](int32_t x, int32_t y, bool mayCoverCab) {
    const WindowRect r{x, y, size.width, size.height};
    if (!r.inside(screen) || r.intersects(menuBar)) return false;
    if (!mayCoverCab && r.intersects(c)) return false;
    return std::none_of(open.begin(), open.end(), [&](const WindowRect& o) { return r.intersects(o); });
  };
  // Along a column from `top`, each open window's bottom is the next place to try.
  const auto down = [&](int32_t x, int32_t top, bool mayCoverCab) -> std::optional<WindowRect> {
    std::vector<int32_t> ys{top};
    for (const WindowRect& o : open) ys.push_back(std::max(top, o.bottom()));
    std::sort(ys.begin(), ys.end());
    for (int32_t y : ys)
      if (fits(x, y, mayCoverCab)) return WindowRect{x, y, size.width, size.height};
    return std::nullopt;
  };
  if (auto r = down(c.right(), c.y, false)) return *r;
  if (auto r = down(c.x - size.width, c.y, false)) return *r;
  {
    std::vector<int32_t> xs{c.x};
    for (const WindowRect& o : open) xs.push_back(std::max(c.x, o.right()));
    std::sort(xs.begin(), xs.end());
    for (int32_t x : xs)
      if (fits(x, c.bottom(), false)) return {x, c.bottom(), size.width, size.height};
  }
  const int32_t edge = std::max(screen.x, screen.right() - size.width);
  const int32_t top = std::max(screen.y, cab.menuBottom);
  if (auto r = down(edge, top, true)) return *r;
  return {edge, top, size.width, size.height};
}

}  // namespace kestrel
