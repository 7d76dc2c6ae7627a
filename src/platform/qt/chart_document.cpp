#include "platform/qt/chart_document.h"

#include <QApplication>
#include <QBuffer>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QPainter>
#include <QSvgGenerator>
#include <algorithm>
#include <clocale>
#include <cmath>
#include <memory>

namespace kestrel {

namespace {

int heightOf(const std::vector<ChartPanel>& panels) {
  int height = 0;
  for (const ChartPanel& p : panels) height += p.height;
  return height;
}

// Each chart in a scene of its own, at its size.
struct Laid {
  std::unique_ptr<QGraphicsScene> scene;
  QChart* chart;
  int height;
};

// The panels' plot areas made to start and end at the same x, by widening the margins of those
// whose axes take less room, so that places one above the other stand at one x.
void lineUp(std::vector<Laid>& laid) {
  qreal left = 0, right = 1e9;
  for (const Laid& l : laid) left = std::max(left, l.chart->plotArea().left()), right = std::min(right, l.chart->plotArea().right());
  for (Laid& l : laid) {
    const QRectF area = l.chart->plotArea();
    QMargins m = l.chart->margins();
    m.setLeft(m.left() + static_cast<int>(std::lround(left - area.left())));
    m.setRight(m.right() + static_cast<int>(std::lround(area.right() - right)));
    l.chart->setMargins(m);
    if (l.chart->layout()) l.chart->layout()->activate();
  }
}

void paintPanels(QPainter& painter, const std::vector<ChartPanel>& panels, int width) {
  painter.fillRect(QRect(0, 0, width, heightOf(panels)), Qt::white);
  std::vector<Laid> laid;
  for (const ChartPanel& panel : panels) {
    Laid l{std::make_unique<QGraphicsScene>(), panel.make(), panel.height};
    l.scene->addItem(l.chart);  // the scene owns it
    l.chart->setGeometry(0, 0, width, panel.height);
    l.scene->setSceneRect(0, 0, width, panel.height);
    laid.push_back(std::move(l));
  }
  lineUp(laid);
  int top = 0;
  for (const Laid& l : laid) {
    l.scene->render(&painter, QRectF(0, top, width, l.height), QRectF(0, 0, width, l.height));
    top += l.height;
  }
}

}  // namespace

QByteArray chartPanelsSvg(const std::vector<ChartPanel>& panels, int width, const QString& title,
                          const QString& description) {
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  QSvgGenerator svg;
  svg.setOutputDevice(&buffer);
  svg.setSize(QSize(width, heightOf(panels)));
  svg.setViewBox(QRect(0, 0, width, heightOf(panels)));
  svg.setTitle(title);
  svg.setDescription(description);
  {
    QPainter painter(&svg);
    paintPanels(painter, panels, width);
  }
  return buffer.data();
}

QImage chartPanelsImage(const std::vector<ChartPanel>& panels, int width) {
  QImage image(width, heightOf(panels), QImage::Format_RGB32);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  paintPanels(painter, panels, width);
  return image;
}

void ensureChartApplication() {
  if (QCoreApplication::instance()) return;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "kestrel";
  static char* argv[] = {name, nullptr};
  static std::unique_ptr<QApplication> app = std::make_unique<QApplication>(argc, argv);
  std::setlocale(LC_NUMERIC, "C");  // the application takes the user's locale; the tools' numbers do not
}

}  // namespace kestrel
