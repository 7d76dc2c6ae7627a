#include "platform/qt/chart_document.h"

#include <QApplication>
#include <QBuffer>
#include <QGraphicsScene>
#include <QPainter>
#include <QSvgGenerator>
#include <clocale>
#include <memory>

namespace kestrel {

namespace {

int heightOf(const std::vector<ChartPanel>& panels) {
  int height = 0;
  for (const ChartPanel& p : panels) height += p.height;
  return height;
}

void paintPanels(QPainter& painter, const std::vector<ChartPanel>& panels, int width) {
  painter.fillRect(QRect(0, 0, width, heightOf(panels)), Qt::white);
  int top = 0;
  for (const ChartPanel& panel : panels) {
    QGraphicsScene scene;
    QChart* chart = panel.make();
    scene.addItem(chart);  // the scene owns it
    chart->setGeometry(0, 0, width, panel.height);
    scene.setSceneRect(0, 0, width, panel.height);
    scene.render(&painter, QRectF(0, top, width, panel.height), QRectF(0, 0, width, panel.height));
    top += panel.height;
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
