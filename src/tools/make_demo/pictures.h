#pragma once
// Pictures painted with QPainter: trackside strips, panel parts, timetable cards, title screen.
// Pattern strips lay their cells side by side, cell 0 at the left. Pictures that the program
// treats as transparent use the bottom-left pixel's colour as the transparent colour, so every
// such picture paints kTransparent there.
#include <QColor>
#include <QImage>

#include <string>
#include <vector>

namespace kestrel::demo::paint {

inline const QColor kTransparent(255, 0, 255);

QFont font(int pixelSize, bool bold = false);

// Trackside (line file)
QImage stopMarkerStrip(int size, const std::vector<std::string>& stationNames);
QImage stopLine(int width, int height, QColor colour);
QImage gradientPostStrip(int size, const std::vector<double>& permils);
QImage limitPostStrip(int size, const std::vector<std::string>& labels);  // cell 0 blank
QImage remainBarStrip(int width, int viewHeight);
QImage signStrip(int size, const std::vector<std::string>& labels);  // cell 0 blank
QImage signalStrip(int width, int height);                          // cells 0..40 by code
QImage plateStrip(int width, int height, const std::vector<std::string>& labels);  // cell 0 blank
QImage trafficLight(int width, int height, int lit);  // 0 dark, 1 green, 2 red
QImage crossingLamp(int width, int height, bool lit);  // the crossing indicator, its lamps lit or dark
QImage worksiteBeacon(int width, int height, int step, int steps);  // the beam turned step / steps
QImage monitorStrip(int width, int height, int cells);
QImage stafCard(int width, int height, const std::string& title, const std::vector<std::string>& rows);
QImage stillPicture(int width, int height, const std::string& title, const std::vector<std::string>& lines);
// Drawn in the top-left shownWidth x shownHeight, the part of it that the cab window shows.
QImage routeMap(int width, int height, int shownWidth, int shownHeight, const std::vector<std::string>& stations,
                const std::vector<bool>& stops);

// Cab panel (vehicle file)
struct PanelStyle {
  QColor body, face, text;
  std::string name;
};
QImage panel(int width, int height, const PanelStyle& style, bool twoHandles, bool diesel);
QImage panelOverlay(int width, int height);
QImage needle(int width, int height, QColor colour);
QImage lamp(int width, int height, const std::string& label, QColor lit);
QImage textStrip(int cellWidth, int cellHeight, const std::vector<std::string>& labels, QColor fg, QColor bg);
QImage digitStrip(int cellWidth, int cellHeight, int cells);
QImage linearBar(int width, int height, QColor colour);
QImage placard(int width, int height, const std::string& text, QColor bg, QColor fg);
QImage passenger(int width, int height);

// Title screen
QImage titlePicture(int width, int height, int variant);
QImage menuPicture(int width, int height);
// Rounded on the menu picture, whose colour its corners take; square where it stands on any of
// the title pictures.
QImage button(int width, int height, const std::string& text, QColor colour, bool rounded = true);

}  // namespace kestrel::demo::paint
