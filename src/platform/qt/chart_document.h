#pragma once
// Qt Charts written as documents: charts one under the other, their plot areas lined up, drawn
// into an SVG (Qt SVG's generator) or a picture. The run curves of a drive and the timeline of a line are written so.
//
// Thread contract: GUI thread; a QApplication must exist (the charts are graphics widgets), which
// ensureChartApplication makes for a headless tool.
#include <QByteArray>
#include <QImage>
#include <QString>
#include <QtCharts/QChart>
#include <functional>
#include <vector>

namespace kestrel {

struct ChartPanel {
  std::function<QChart*()> make;  // a new chart each time: the drawing scene takes it
  int height = 0;
};

QByteArray chartPanelsSvg(const std::vector<ChartPanel>& panels, int width, const QString& title,
                          const QString& description);
QImage chartPanelsImage(const std::vector<ChartPanel>& panels, int width);

// For a command-line tool: an application on the offscreen platform (unless QT_QPA_PLATFORM names
// another), made once, with the C locale kept for the tool's own numbers.
void ensureChartApplication();

}  // namespace kestrel
