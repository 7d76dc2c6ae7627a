#pragma once
// What the cab display's end-to-end tests check a screenshot of the driver's view against, worked
// out from the quick demo itself: the route movie's frames, the panel picture, a pattern cell, a
// needle's footprint. `view` is the 1202 x 758 client area of the cab window, top-left first.
#include <QImage>
#include <QPoint>
#include <vector>

#include "core/front/session_loader.h"
#include "platform/ffmpeg/ffmpeg_movie_reader.h"
#include "support/picture_match.h"

namespace kestrel::e2e {

using test::movieMatch;
using test::rgbAt;

// The rapid line with the 313 (8 cars) of the quick demo: records, pictures and route movie.
struct Demo {
  Demo();
  Picture frame(int n);
  const CatalogPicture& picture(const char* name) const { return *loaded.pictures.find(name); }

  LoadedSession loaded;
  FfmpegMovieReader reader;
};
Demo& demo();

// The view shows frame n rather than one half a second before or after it.
void expectShowsFrame(const QImage& view, int n);
// Of the frames first .. last, the one the view shows best.
int bestFrame(const QImage& view, int first, int last);

// Sample points of the panel that no other picture, moving bar, kilometre post or clock hand
// covers: how many there are and how many show the panel picture exactly.
struct PanelMatch {
  int compared = 0, same = 0;
};
PanelMatch panelMatch(const QImage& view);
// The cab window's client area in a screenshot of the screen: the window at the top-left corner,
// below its menu bar, found by the panel.
QImage cabView(const QImage& screen);

// The sprite's place shows cell `cell` of its picture (at least 90 % of its opaque pixels, and of
// the ink of the cell and of the screen there).
bool showsCell(const QImage& view, const CatalogPicture& p, int cell);
// Text mode: the timetable card is shown whole, and the labels stand below it, white on black.
void expectCardWholeAndLabelsBelowIt(const QImage& view);
// The pixels a needle covers at `angle` (its opaque pixels turned about its centre).
std::vector<QPoint> needleFootprint(const CatalogPicture& p, int angle);
bool near(const std::vector<QPoint>& points, QPoint q, int reach);

}  // namespace kestrel::e2e
