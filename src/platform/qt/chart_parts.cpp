#include "platform/qt/chart_parts.h"

#include <QPen>
#include <QtCharts/QLegendMarker>

namespace kestrel::charts {

QLineSeries* line(const QString& name, const QColor& color, qreal width) {
  auto* s = new QLineSeries;
  s->setName(name);
  QPen pen(color);
  pen.setWidthF(width);
  s->setPen(pen);
  return s;
}

QScatterSeries* dots(const QString& name, const QColor& color, qreal size) {
  auto* s = new QScatterSeries;
  s->setName(name);
  s->setColor(color);
  s->setBorderColor(Qt::white);
  s->setMarkerSize(size);
  return s;
}

void hideFromLegend(QChart* chart, QAbstractSeries* series) {
  for (QLegendMarker* m : chart->legend()->markers(series)) m->setVisible(false);
}

void appendStep(QLineSeries* s, double x, double y) {
  if (s->count() > 0 && s->at(s->count() - 1).y() == y) return;
  if (s->count() > 0) s->append(x, s->at(s->count() - 1).y());
  s->append(x, y);
}
void finishStep(QLineSeries* s, double x) {
  if (s->count() > 0 && s->at(s->count() - 1).x() != x) s->append(x, s->at(s->count() - 1).y());
}

Axes valueAxes(QChart* chart, const QString& xTitle, const QString& yTitle) {
  auto* x = new QValueAxis;
  x->setTitleText(xTitle);
  x->setLabelFormat("%.0f");
  auto* y = new QValueAxis;
  y->setTitleText(yTitle);
  y->setLabelFormat("%.0f");
  chart->addAxis(x, Qt::AlignBottom);
  chart->addAxis(y, Qt::AlignLeft);
  return {x, y};
}

void add(QChart* chart, QAbstractSeries* s, const Axes& a) {
  chart->addSeries(s);
  s->attachAxis(a.x);
  s->attachAxis(a.y);
}

QChart* newChart(const QString& title) {
  auto* chart = new QChart;
  chart->setTitle(title);
  chart->setAnimationOptions(QChart::NoAnimation);
  chart->legend()->setAlignment(Qt::AlignBottom);
  chart->setMargins(QMargins(4, 4, 4, 4));
  return chart;
}

QCategoryAxis* placeAxis(const QString& title) {
  auto* axis = new QCategoryAxis;
  axis->setTitleText(title);
  axis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
  return axis;
}

void addPlace(QCategoryAxis* axis, QString name, double x) {
  while (axis->categoriesLabels().contains(name)) name += QChar(' ');
  axis->append(name, x);
}

}  // namespace kestrel::charts
