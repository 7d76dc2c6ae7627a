#pragma once
// Where the small windows of a drive (help, easy cab, value display) open: beside the cab window,
// inside the screen, never over the cab's menu bar and not over one another where that can be
// helped. Screen coordinates, window frames included.
#include <cstdint>
#include <vector>

namespace kestrel {

struct WindowRect {
  int32_t x = 0, y = 0, width = 0, height = 0;

  int32_t right() const { return x + width; }    // one past the last column
  int32_t bottom() const { return y + height; }  // one past the last row
  bool intersects(const WindowRect& o) const {
    return x < o.right() && o.x < right() && y < o.bottom() && o.y < bottom();
  }
  bool inside(const WindowRect& o) const {
    return x >= o.x && y >= o.y && right() <= o.right() && bottom() <= o.bottom();
  }
};

struct CabWindowPlace {
  WindowRect frame;    // the cab window with its frame
  int32_t menuBottom;  // the first row below its menu bar
};

// The top-left corner for a window of `size` (width and height used). In order of preference:
// right of the cab window, left of it, below it (each from the cab's edge, stepping past the
// windows already open there); else at the screen's right edge just below the menu bar, over the
// cab's right-hand side, stepping down past the windows already open. `open` are the other small
// windows now shown.
WindowRect placeBesideCab(const WindowRect& size, const CabWindowPlace& cab, const WindowRect& screen,
                          const std::vector<WindowRect>& open);

}  // namespace kestrel
