#include "platform/qt/run_charts.h"

#include <QtCharts/QAreaSeries>
#include <QtCharts/QCategoryAxis>
#include <QtCharts/QLegendMarker>
#include <QtCharts/QLineSeries>
#include <QtCharts/QScatterSeries>
#include <QtCharts/QValueAxis>
#include <algorithm>
#include <cmath>
#include <functional>
#include <optional>

#include "platform/qt/chart_document.h"
#include "platform/qt/chart_parts.h"

namespace kestrel {

using namespace charts;

namespace {

using grade::CurveSample;
using grade::GradeReport;

constexpr int kWidth = 1200;
constexpr int kSpeedHeight = 560;
constexpr int kNotchHeight = 240;
const char* kMarkName = "kestrel-mark";
constexpr double kSpeedStepKmh = 2;

double metres(double cm) {
  return cm / 100;
}
double seconds(int64_t us) {
  return static_cast<double>(us) / 1e6;
}

// The samples worth a point: a pixel further along x, or a change of speed that shows, or of
// the limit or the pattern; and the last. A curve of a long drive keeps about as many points as
// the chart has pixels across.
void eachDrawn(const GradeReport& r, const std::function<double(const CurveSample&)>& x, double minDx,
               const std::function<void(const CurveSample&, double)>& f) {
  const CurveSample* kept = nullptr;
  for (const CurveSample& s : r.samples) {
    const bool draw = !kept || &s == &r.samples.back() || std::fabs(x(s) - x(*kept)) >= minDx ||
                      std::fabs(s.speed - kept->speed) >= kSpeedStepKmh || s.limit != kept->limit ||
                      s.pattern.has_value() != kept->pattern.has_value() || (s.speed == 0) != (kept->speed == 0);
    if (!draw) continue;
    f(s, x(s));
    kept = &s;
  }
}

// The distance the drive covered, with a margin that shows the stop targets at its ends.
std::pair<double, double> distanceRange(const GradeReport& r) {
  if (r.samples.empty()) return {0, 1};
  const auto [lo, hi] = std::minmax_element(r.samples.begin(), r.samples.end(),
                                            [](const auto& a, const auto& b) { return a.distanceCm < b.distanceCm; });
  const double from = metres(lo->distanceCm), to = std::max(metres(hi->distanceCm), from + 1);
  const double margin = (to - from) / 100;
  return {std::floor(from - margin), std::ceil(to + margin)};
}

double speedCeiling(const GradeReport& r) {
  double top = 10;
  for (const CurveSample& s : r.samples) {
    top = std::max(top, s.speed);
    if (s.limit) top = std::max(top, static_cast<double>(*s.limit));
    if (s.pattern) top = std::max(top, static_cast<double>(*s.pattern));
  }
  return std::ceil(top * 1.1 / 10) * 10;
}

double speedFloor(const GradeReport& r) {
  double bottom = 0;
  for (const CurveSample& s : r.samples) bottom = std::min(bottom, s.speed);
  return std::floor(bottom / 10) * 10;
}

// Speed, limit and patterns against x (distance or time) over `width` of x.
void addSpeedCurves(QChart* chart, const GradeReport& r, const Axes& a, const std::function<double(const CurveSample&)>& x,
                    double width) {
  QLineSeries* limit = line(curves::kLimit, curves::kLimitColor, 1.2);
  QLineSeries* speed = line(curves::kSpeed, curves::kSpeedColor, 1.6);
  std::vector<QLineSeries*> patterns;
  bool inPattern = false;
  double last = 0;
  eachDrawn(r, x, width / kWidth, [&](const CurveSample& s, double at) {
    speed->append(at, s.speed);
    if (s.limit) appendStep(limit, at, *s.limit);
    if (s.pattern) {
      if (!inPattern) patterns.push_back(line(curves::kPattern, curves::kPatternColor, 1.2));
      patterns.back()->append(at, *s.pattern);
    }
    inPattern = s.pattern.has_value();
    last = at;
  });
  finishStep(limit, last);

  add(chart, limit, a);
  for (size_t i = 0; i < patterns.size(); ++i) {
    add(chart, patterns[i], a);
    if (i > 0) hideFromLegend(chart, patterns[i]);
  }
  add(chart, speed, a);
}

}  // namespace

QChart* speedDistanceChart(const GradeReport& r) {
  QChart* chart = newChart(QString::fromStdString(r.lineName));
  const Axes a = valueAxes(chart, curves::kDistanceAxis, curves::kSpeedAxis);
  const auto [from, to] = distanceRange(r);
  const double top = speedCeiling(r);

  // The platforms as low bars on the axis, the stop targets as marks on them.
  auto* upper = new QLineSeries;
  QScatterSeries* targets = dots(curves::kStopTarget, curves::kStopTargetColor, 7);
  QCategoryAxis* stations = placeAxis(curves::kStationAxis);
  for (const grade::StationMark& m : r.marks) {
    const double stop = metres(m.stopCm);
    if (stop < from || stop > to) continue;
    const double h = top / 40;
    upper->append(metres(m.platformStartCm), 0);
    upper->append(metres(m.platformStartCm), h);
    upper->append(metres(m.platformEndCm), h);
    upper->append(metres(m.platformEndCm), 0);
    targets->append(stop, 0);
    addPlace(stations, QString::fromStdString(m.name), stop);
  }
  auto* platforms = new QAreaSeries(upper);
  upper->setParent(platforms);  // the area series draws it but does not own it
  platforms->setName(curves::kPlatform);
  platforms->setColor(curves::kPlatformColor);
  platforms->setBorderColor(curves::kPlatformColor);
  add(chart, platforms, a);
  addSpeedCurves(chart, r, a, [](const CurveSample& s) { return metres(s.distanceCm); }, to - from);

  QScatterSeries* stop = dots(curves::kSignalStop, curves::kSignalStopColor, 9);
  QScatterSeries* caution = dots(curves::kSignalCaution, curves::kSignalCautionColor, 9);
  QScatterSeries* clear = dots(curves::kSignalClear, curves::kSignalClearColor, 9);
  for (const grade::SignalPass& p : r.signals) {
    QScatterSeries* s = p.aspect == 0 ? stop : p.aspect >= p.aspects - 1 ? clear : caution;
    s->append(metres(p.distanceCm), p.speed);
  }
  for (QScatterSeries* s : {stop, caution, clear}) add(chart, s, a);

  a.x->setRange(from, to);
  a.x->applyNiceNumbers();
  if (stations->count() > 0) {
    stations->setRange(a.x->min(), a.x->max());
    chart->addAxis(stations, Qt::AlignTop);
    add(chart, targets, a);
    targets->attachAxis(stations);
  } else {
    delete stations;
    add(chart, targets, a);
  }
  a.y->setRange(speedFloor(r), top);
  a.y->applyNiceNumbers();
  return chart;
}

QChart* notchDistanceChart(const GradeReport& r) {
  QChart* chart = newChart(QString());
  const Axes a = valueAxes(chart, curves::kDistanceAxis, curves::kNotchAxis);
  QLineSeries* power = line(curves::kPower, curves::kPowerColor);
  QLineSeries* brake = line(curves::kBrake, curves::kBrakeColor);
  int32_t topNotch = 1;
  for (const CurveSample& s : r.samples) {
    const double at = metres(s.distanceCm);
    appendStep(power, at, s.powerHandle);
    appendStep(brake, at, -s.brakeStep);
    topNotch = std::max(topNotch, s.powerHandle);
  }
  if (!r.samples.empty()) {
    finishStep(power, metres(r.samples.back().distanceCm));
    finishStep(brake, metres(r.samples.back().distanceCm));
  }
  add(chart, power, a);
  add(chart, brake, a);
  const auto [from, to] = distanceRange(r);
  a.x->setRange(from, to);
  a.x->applyNiceNumbers();  // as the speed chart above, so that the two line up
  a.y->setRange(-std::max(r.brakeSteps, 1), topNotch + 1);
  a.y->setTickType(QValueAxis::TicksDynamic);
  a.y->setTickAnchor(0);
  a.y->setTickInterval(std::max(2, (std::max(r.brakeSteps, 1) + topNotch + 4) / 4));  // four or five labels
  return chart;
}

QChart* speedTimeChart(const GradeReport& r) {
  QChart* chart = newChart(QString::fromStdString(r.lineName));
  const Axes a = valueAxes(chart, curves::kTimeAxis, curves::kSpeedAxis);
  const double begin = r.samples.empty() ? 0 : seconds(r.samples.front().timeUs);
  const double end = std::max(r.samples.empty() ? 1 : seconds(r.samples.back().timeUs), begin + 1);
  addSpeedCurves(chart, r, a, [](const CurveSample& s) { return seconds(s.timeUs); }, end - begin);
  a.x->setRange(begin, end);
  a.x->applyNiceNumbers();
  a.y->setRange(speedFloor(r), speedCeiling(r));
  a.y->applyNiceNumbers();
  return chart;
}

void markPlace(QChart* chart, double x, double y) {
  QScatterSeries* mark = nullptr;
  for (QAbstractSeries* s : chart->series())
    if (s->objectName() == kMarkName) mark = static_cast<QScatterSeries*>(s);
  if (!mark) {
    mark = dots(QString(), curves::kMarkColor, 14);
    mark->setObjectName(kMarkName);
    chart->addSeries(mark);
    for (QAbstractAxis* axis : chart->axes())
      if (qobject_cast<QValueAxis*>(axis)) mark->attachAxis(axis);
    hideFromLegend(chart, mark);
  }
  mark->clear();
  mark->append(x, y);
}

namespace {

std::vector<ChartPanel> curvePanels(const GradeReport& r) {
  return {{[&r] { return speedDistanceChart(r); }, kSpeedHeight}, {[&r] { return notchDistanceChart(r); }, kNotchHeight}};
}

}  // namespace

QByteArray runCurvesSvg(const GradeReport& r) {
  return chartPanelsSvg(curvePanels(r), kWidth, QString::fromStdString(r.lineName),
                        QStringLiteral("Speed against distance, and the notches under it"));
}

QImage runCurvesImage(const GradeReport& r) { return chartPanelsImage(curvePanels(r), kWidth); }

}  // namespace kestrel
