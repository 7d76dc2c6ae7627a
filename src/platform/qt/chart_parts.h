#pragma once
// The parts the tools' charts are built of (the run curves, the line's timeline): series with
// their pen or markers, steps, value axes, and a chart without animation.
//
// Thread contract: GUI thread, with a QApplication.
#include <QColor>
#include <QString>
#include <QtCharts/QCategoryAxis>
#include <QtCharts/QChart>
#include <QtCharts/QLineSeries>
#include <QtCharts/QScatterSeries>
#include <QtCharts/QValueAxis>

namespace kestrel::charts {

QLineSeries* line(const QString& name, const QColor& color, qreal width = 1.5);
QScatterSeries* dots(const QString& name, const QColor& color, qreal size);
void hideFromLegend(QChart* chart, QAbstractSeries* series);

// Adds a value that holds until the next one as a step: across to x, then up or down. Only
// changes add points; finishStep draws the last value on to the end.
void appendStep(QLineSeries* s, double x, double y);
void finishStep(QLineSeries* s, double x);

struct Axes {
  QValueAxis* x;
  QValueAxis* y;
};
// A value axis below and one on the left, labelled in whole numbers.
Axes valueAxes(QChart* chart, const QString& xTitle, const QString& yTitle);
// The series on the chart, on both axes.
void add(QChart* chart, QAbstractSeries* s, const Axes& a);
QChart* newChart(const QString& title);

// An axis of named places (stations) with each label at its place's x. The axis needs every
// label once: a name that comes again gets a blank added.
QCategoryAxis* placeAxis(const QString& title);
void addPlace(QCategoryAxis* axis, QString name, double x);

}  // namespace kestrel::charts
