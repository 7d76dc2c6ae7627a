#pragma once
// The run curves of a graded drive, drawn with Qt Charts: speed against distance with the speed
// limits, the ATS patterns the train met, the signals passed (by the aspect they showed), the
// stations' platforms and stop targets; the driver's power and brake notches against the same
// distance, to go under it; and speed against drive time. The debrief window shows them; the
// runner's --plot and the debrief's "Save report…" write the first two as SVG or PNG.
//
// Thread contract: GUI thread; a QApplication must exist (the charts are graphics widgets).
#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QString>
#include <QtCharts/QChart>

#include "core/grade/grade_report.h"

namespace kestrel {

namespace curves {
// Series names (the legend) and colours; the SVG's series are told apart by their colours.
inline const QString kSpeed = QStringLiteral("Speed");
inline const QString kLimit = QStringLiteral("Speed limit");
inline const QString kPattern = QStringLiteral("ATS pattern");
inline const QString kSignalStop = QStringLiteral("Signal at stop");
inline const QString kSignalCaution = QStringLiteral("Signal restricting");
inline const QString kSignalClear = QStringLiteral("Signal clear");
inline const QString kPlatform = QStringLiteral("Platform");
inline const QString kStopTarget = QStringLiteral("Stop target");
inline const QString kPower = QStringLiteral("Power notch");
inline const QString kBrake = QStringLiteral("Brake step");
inline const QString kDistanceAxis = QStringLiteral("Distance (m)");
inline const QString kTimeAxis = QStringLiteral("Drive time (s)");
inline const QString kSpeedAxis = QStringLiteral("Speed (km/h)");
inline const QString kNotchAxis = QStringLiteral("Notch");
inline const QString kStationAxis = QStringLiteral("Stations");

inline const QColor kSpeedColor{0x1f, 0x77, 0xb4};
inline const QColor kLimitColor{0xd6, 0x27, 0x28};
inline const QColor kPatternColor{0xff, 0x7f, 0x0e};
inline const QColor kSignalStopColor{0xcc, 0x00, 0x00};
inline const QColor kSignalCautionColor{0xe6, 0xa0, 0x00};
inline const QColor kSignalClearColor{0x00, 0xa6, 0x51};
inline const QColor kPlatformColor{0xc7, 0xc7, 0xc7};
inline const QColor kStopTargetColor{0x33, 0x33, 0x33};
inline const QColor kPowerColor{0x2c, 0xa0, 0x2c};
inline const QColor kBrakeColor{0x94, 0x67, 0xbd};
inline const QColor kMarkColor{0xff, 0x00, 0xff};
}  // namespace curves

// New charts, owned by the caller (a QChartView or a QGraphicsScene takes them).
QChart* speedDistanceChart(const grade::GradeReport& report);
QChart* notchDistanceChart(const grade::GradeReport& report);
QChart* speedTimeChart(const grade::GradeReport& report);

// Marks one place on a chart made above (x in the chart's own unit, y a speed or notch); a new
// mark replaces the last.
void markPlace(QChart* chart, double x, double y);

// Speed against distance above, the notches below.
QByteArray runCurvesSvg(const grade::GradeReport& report);
QImage runCurvesImage(const grade::GradeReport& report);

}  // namespace kestrel
