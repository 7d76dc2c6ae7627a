#include "e2e/display_checks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>

#include "core/ports/memory_preference_store.h"
#include "platform/qt/qt_picture_loader.h"

namespace kestrel::e2e {

Demo::Demo() {
  MemoryPreferenceStore preferences;
  QtPictureLoader pictures;
  loaded = loadSession({KESTREL_QUICK_DEMO_DIR, "line_rapid.dat", "", "train_313-1000_8cars.dat"},
                       {preferences, pictures}, nullptr);
  reader.open(std::filesystem::path(KESTREL_QUICK_DEMO_DIR) / "movie/kestrel_line.avi");
}

Picture Demo::frame(int n) {
  Picture p;
  reader.decodeFrame(n, p);
  return p;
}

Demo& demo() {
  static Demo d;
  return d;
}

// The screen shows frame n of the route movie rather than one half a second before or after it.
void expectShowsFrame(const QImage& shot, int n) {
  Demo& d = demo();
  const double match = movieMatch(shot, d.frame(n));
  EXPECT_GT(match, 0.8) << "frame " << n;
  for (int other : {n - 15, n + 15}) {
    if (other < 0) continue;
    EXPECT_GT(match, movieMatch(shot, d.frame(other)) + 0.05) << "frame " << n << " or " << other;
  }
}

int bestFrame(const QImage& view, int first, int last) {
  Demo& d = demo();
  int best = first;
  double bestMatch = -1;
  for (int n = std::max(first, 0); n <= last; ++n) {
    const double m = movieMatch(view, d.frame(n));
    if (m > bestMatch) {
      bestMatch = m;
      best = n;
    }
  }
  return best;
}

PanelMatch panelMatch(const QImage& view) {
  Demo& d = demo();
  const CatalogPicture& panel = d.picture("img_Panel");
  PanelMatch match;
  for (int y = 605; y < 758; y += 7)
    for (int x = 3; x < 800; x += 11) {
      bool covered = QRect(590, 600, 30, 160).contains(x, y) || QRect(480, 685, 80, 25).contains(x, y) ||
                     QRect(550, 606, 50, 50).contains(x, y);
      for (const CatalogPicture& p : d.loaded.pictures.pictures)
        if (p.name != "img_Panel" && p.name != "img_Panel2" && p.picture &&  // the overlay is never shown
            QRect(p.x, p.y, p.width, p.height).contains(x, y))
          covered = true;
      if (covered) continue;
      ++match.compared;
      match.same += rgbAt(view, x, y) == (panel.picture->at(x, y - 600) & 0xFFFFFFu);
    }
  return match;
}

QImage cabView(const QImage& screenshot) {
  const QImage screen = screenshot.convertToFormat(QImage::Format_RGB32);
  int bestTop = 0, bestSame = -1;
  for (int top = 0; top <= 60; ++top) {
    const int same = panelMatch(screen.copy(0, top, 1202, 758)).same;
    if (same > bestSame) {
      bestSame = same;
      bestTop = top;
    }
  }
  return screen.copy(0, bestTop, 1202, 758);
}

// Whether the sprite's place on the screen shows cell `cell` of its picture, wherever the cell is
// not of the transparent colour (allowing for a needle drawn across it).
bool showsCell(const QImage& shot, const CatalogPicture& p, int cell) {
  const int cols = p.picture->width / p.patternWidth;
  const int ox = (cell % cols) * p.patternWidth, oy = (cell / cols) * p.patternHeight;
  const uint32_t key = p.transparentColor & 0xFFFFFFu;
  // The cell's commonest colour is its ground; the rest is its ink (a digit, a caption).
  std::map<uint32_t, int> colours;
  for (int y = 0; y < p.patternHeight; ++y)
    for (int x = 0; x < p.patternWidth; ++x) colours[p.picture->at(ox + x, oy + y) & 0xFFFFFFu] += 1;
  colours.erase(key);
  if (colours.empty()) return false;
  const uint32_t ground = std::max_element(colours.begin(), colours.end(), [](auto& a, auto& b) {
                            return a.second < b.second;
                          })->first;
  // Most opaque pixels the same, and most of the ink of either the cell or the screen the same:
  // a cell whose ink is part of another's ("0" and "140") does not pass for it.
  int opaque = 0, same = 0, ink = 0, inkSame = 0;
  for (int y = 0; y < p.patternHeight; ++y)
    for (int x = 0; x < p.patternWidth; ++x) {
      const uint32_t c = p.picture->at(ox + x, oy + y) & 0xFFFFFFu;
      if (c == key) continue;
      const uint32_t shown = rgbAt(shot, static_cast<int>(p.x) + x, static_cast<int>(p.y) + y);
      ++opaque;
      same += shown == c;
      if (c != ground || shown != ground) {
        ++ink;
        inkSame += shown == c;
      }
    }
  return opaque > 0 && same >= opaque * 9 / 10 && inkSame >= ink * 9 / 10;
}

void expectCardWholeAndLabelsBelowIt(const QImage& view) {
  const CatalogPicture& card = *demo().loaded.pictures.stafCard;
  const int cardX = demo().loaded.settings.Disp.StafX;
  int differing = 0;
  for (int y = 0; y < card.picture->height; ++y)
    for (int x = 0; x < card.picture->width; ++x) {
      const uint32_t source = card.picture->at(x, y) & 0xFFFFFFu;
      differing += source != (card.transparentColor & 0xFFFFFFu) && rgbAt(view, cardX + x, y) != source;
    }
  EXPECT_EQ(differing, 0) << "pixels of the timetable card covered";
  int white = 0, black = 0;
  for (int y = card.picture->height; y < 545; ++y)
    for (int x = 806; x < 1202; ++x) {
      white += rgbAt(view, x, y) == 0xFFFFFFu;
      black += rgbAt(view, x, y) == 0;
    }
  EXPECT_GT(white, 200) << "label texts below the card";
  EXPECT_GT(black, 1000);
}

// The screen pixels the needle covers at `angle` (its opaque pixels turned about its centre).
std::vector<QPoint> needleFootprint(const CatalogPicture& p, int angle) {
  std::vector<QPoint> points;
  const double a = (angle & 0xFF) * 2 * M_PI / 256, cx = p.picture->width / 2.0, cy = p.picture->height / 2.0;
  for (int y = 0; y < p.picture->height; ++y)
    for (int x = 0; x < p.picture->width; ++x) {
      if ((p.picture->at(x, y) & 0xFFFFFFu) == (p.transparentColor & 0xFFFFFFu)) continue;
      const double dx = x + 0.5 - cx, dy = y + 0.5 - cy;
      points.emplace_back(static_cast<int>(std::floor(p.x + cx + dx * std::cos(a) - dy * std::sin(a))),
                          static_cast<int>(std::floor(p.y + cy + dx * std::sin(a) + dy * std::cos(a))));
    }
  return points;
}

bool near(const std::vector<QPoint>& points, QPoint q, int reach) {
  for (const QPoint& p : points)
    if (std::abs(p.x() - q.x()) <= reach && std::abs(p.y() - q.y()) <= reach) return true;
  return false;
}

}  // namespace kestrel::e2e
