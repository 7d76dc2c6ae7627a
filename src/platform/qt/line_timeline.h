#pragma once
// A line at a glance, drawn with Qt Charts along its distance (with the movie's frames on a top
// axis): the filming speed with the speed limits and speed checks; the gradient; and lanes of the
// stations (with their platforms), signals, traffic lights, tunnels, sounds and movie switches.
// Places that have no distance (outside every [SpeedUnit] row) are left out.
//
// Thread contract: GUI thread, with a QApplication (chart_document.h).
#include <QByteArray>
#include <QColor>
#include <QString>
#include <QtCharts/QChart>

#include "core/data/line_data.h"

namespace kestrel {

namespace timeline {
// Each kind of mark has a colour of its own, so that a reader of the SVG tells them apart.
inline const QColor kStationColor{0x1f, 0x3a, 0x93};
inline const QColor kSignalColor{0xc0, 0x10, 0x10};
inline const QColor kTrafficLightColor{0xe6, 0x8a, 0x00};
inline const QColor kFilmingColor{0x1f, 0x77, 0xb4};
inline const QColor kLimitColor{0xd6, 0x27, 0x28};
inline const QColor kCheckColor{0xff, 0x7f, 0x0e};
inline const QColor kGradientColor{0x2c, 0xa0, 0x2c};
inline const QColor kPlatformColor{0x9e, 0xb4, 0xe0};
inline const QColor kTunnelColor{0x55, 0x55, 0x55};
inline const QColor kSoundColor{0x94, 0x67, 0xbd};
inline const QColor kMovieSwitchColor{0x8c, 0x56, 0x4b};
}  // namespace timeline

// New charts, owned by the caller; `line` with its distances derived.
QChart* lineSpeedsChart(const LineData& line);
QChart* lineGradientChart(const LineData& line);
QChart* lineLanesChart(const LineData& line);

// The three one under the other.
QByteArray lineTimelineSvg(const LineData& line);

}  // namespace kestrel
