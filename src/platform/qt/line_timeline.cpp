#include "platform/qt/line_timeline.h"

#include <QtCharts/QCategoryAxis>
#include <QtCharts/QLegend>
#include <algorithm>
#include <cmath>
#include <optional>

#include "core/data/line_distances.h"
#include "platform/qt/chart_document.h"
#include "platform/qt/chart_parts.h"

namespace kestrel {

using namespace charts;

namespace {

constexpr int kWidth = 1600;
constexpr int kSpeedsHeight = 380;
constexpr int kGradientHeight = 180;
constexpr int kLanesHeight = 300;
// Points drawn of a [SpeedUnit] row at most: its speed is linear in frames, not in distance.
constexpr int kPointsPerRow = 40;
constexpr int kMostFrameLabels = 12;

const QString kDistanceAxis = QStringLiteral("Distance (m)");

// Where frame f lies, in metres; none outside every [SpeedUnit] row. A row holds the frames from
// its start up to its end; the last row's end is where the line ends.
std::optional<double> metresOf(const LineData& l, int32_t frame) {
  if (auto cm = frameDistanceCm(l.SpeedUnit, frame)) return *cm / 100;
  if (!l.SpeedUnit.empty() && frame == l.SpeedUnit.back().end) return l.SpeedUnit.back().endDistanceCm / 100;
  return std::nullopt;
}

double lineLength(const LineData& l) {
  return std::max(1.0, l.SpeedUnit.empty() ? 0.0 : l.SpeedUnit.back().endDistanceCm / 100);
}

// The distance axis of every chart: the same range, so that the three line up.
void distanceRange(const LineData& l, QValueAxis* x) {
  x->setRange(0, lineLength(l));
  x->applyNiceNumbers();
}

// A piece of a lane or a level from frame a to frame b, when both have a distance.
QLineSeries* segment(const LineData& l, int32_t a, int32_t b, double y, const QColor& color, qreal width) {
  const auto from = metresOf(l, a), to = metresOf(l, b);
  if (!from || !to) return nullptr;
  QLineSeries* s = line(QString(), color, width);
  s->append(*from, y);
  s->append(*to, y);
  return s;
}

// A series on the chart, on its x axis and `y`.
void addOn(QChart* chart, QAbstractSeries* s, QAbstractAxis* x, QAbstractAxis* y) {
  chart->addSeries(s);
  s->attachAxis(x);
  s->attachAxis(y);
}

void addSegment(QChart* chart, QLineSeries* s, QAbstractAxis* x, QAbstractAxis* y, const QString& legend = {}) {
  if (!s) return;
  addOn(chart, s, x, y);
  if (legend.isEmpty()) {
    hideFromLegend(chart, s);
  } else {
    s->setName(legend);
  }
}

void addMark(QScatterSeries* s, const LineData& l, int32_t frame, double y) {
  if (auto x = metresOf(l, frame)) s->append(*x, y);
}

QLineSeries* filmingSpeed(const LineData& l) {
  QLineSeries* s = line(QStringLiteral("Filming speed"), timeline::kFilmingColor, 1.6);
  for (const SpeedUnitRow& r : l.SpeedUnit) {
    const int32_t span = r.end - r.start;
    const int points = std::clamp(span, 1, kPointsPerRow);
    for (int k = 0; k <= points; ++k) {
      const int32_t f = r.start + static_cast<int32_t>(std::lround(static_cast<double>(span) * k / points));
      if (auto x = metresOf(l, f))
        s->append(*x, span > 0 ? r.vStart + (r.vEnd - r.vStart) * (f - r.start) / span : r.vStart);
    }
  }
  return s;
}

// The movie's frames at round numbers, along the top of a chart.
void frameAxis(QChart* chart, const LineData& l, const QValueAxis* x, QAbstractSeries* anchor) {
  if (l.SpeedUnit.empty()) return;
  const int32_t last = l.SpeedUnit.back().end;
  int32_t step = 1;
  for (int32_t base = 1; last / step > kMostFrameLabels; base *= 10)
    for (int32_t m : {1, 2, 5})
      if (last / step > kMostFrameLabels) step = base * m;
  auto* frames = new QCategoryAxis;
  frames->setTitleText(QStringLiteral("Frame"));
  frames->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
  for (int32_t f = l.SpeedUnit.front().start; f <= last; f += step)
    if (auto at = metresOf(l, f)) addPlace(frames, QString::number(f), *at);
  frames->setRange(x->min(), x->max());
  chart->addAxis(frames, Qt::AlignTop);
  anchor->attachAxis(frames);
}

}  // namespace

QChart* lineSpeedsChart(const LineData& l) {
  QChart* chart = newChart(QString::fromStdString(l.LineName));
  const Axes a = valueAxes(chart, kDistanceAxis, QStringLiteral("Speed (km/h)"));
  QLineSeries* filming = filmingSpeed(l);
  add(chart, filming, a);
  double top = 10;
  for (const QPointF& p : filming->points()) top = std::max(top, p.y());

  bool first = true;
  for (const SpeedLimitRow& r : l.SpeedLimit) {
    QLineSeries* s = segment(l, r.start(), r.end(), r.limit(), timeline::kLimitColor, 2);
    addSegment(chart, s, a.x, a.y, s && first ? QStringLiteral("Speed limit") : QString());
    first = first && !s;
    top = std::max(top, static_cast<double>(r.limit()));
  }
  first = true;
  for (const SpeedCheck2Row& r : l.SpeedCheck2) {
    QLineSeries* s = segment(l, r.f(3), r.f(4), r.f(1), timeline::kCheckColor, 2);
    addSegment(chart, s, a.x, a.y, s && first ? QStringLiteral("Speed check section") : QString());
    first = first && !s;
  }
  QScatterSeries* checks = dots(QStringLiteral("Speed check point"), timeline::kCheckColor, 9);
  checks->setMarkerShape(QScatterSeries::MarkerShapeRectangle);
  for (const SpeedCheck1Row& r : l.SpeedCheck1) addMark(checks, l, r.f(3), r.f(1));
  add(chart, checks, a);

  distanceRange(l, a.x);
  a.y->setRange(0, std::ceil(top * 1.1 / 10) * 10);
  a.y->applyNiceNumbers();
  // The stations' names along the top.
  QCategoryAxis* stations = placeAxis(QStringLiteral("Stations"));
  for (const StationRow& s : l.Station)
    if (auto x = metresOf(l, s.stopFrame())) addPlace(stations, QString::fromStdString(s.name), *x);
  stations->setRange(a.x->min(), a.x->max());
  chart->addAxis(stations, Qt::AlignTop);
  filming->attachAxis(stations);
  return chart;
}

QChart* lineGradientChart(const LineData& l) {
  QChart* chart = newChart(QString());
  const Axes a = valueAxes(chart, kDistanceAxis, QStringLiteral("Gradient (‰)"));
  QLineSeries* gradient = line(QStringLiteral("Gradient"), timeline::kGradientColor, 1.6);
  appendStep(gradient, 0, 0);
  double steepest = 5;
  // A gradient holds from its row's start until the next row's.
  for (const SlopeRow& r : l.Slope) {
    const auto x = metresOf(l, r.start);
    if (!x) continue;
    appendStep(gradient, *x, r.gradient.toDouble());
    steepest = std::max(steepest, std::fabs(r.gradient.toDouble()));
  }
  finishStep(gradient, lineLength(l));
  add(chart, gradient, a);
  distanceRange(l, a.x);
  a.y->setRange(-std::ceil(steepest * 1.2), std::ceil(steepest * 1.2));
  chart->legend()->hide();
  return chart;
}

QChart* lineLanesChart(const LineData& l) {
  QChart* chart = newChart(QString());
  enum Lane { Stations, Signals, TrafficLights, Tunnels, Sounds, MovieSwitches, kLanes };
  const char* names[kLanes] = {"Stations", "Signals", "Traffic lights", "Tunnels", "Sounds", "Movie switches"};
  auto* x = new QValueAxis;
  x->setTitleText(kDistanceAxis);
  x->setLabelFormat("%.0f");
  chart->addAxis(x, Qt::AlignBottom);
  distanceRange(l, x);
  // The lanes by name, the first on top.
  auto* y = new QCategoryAxis;
  y->setLabelsPosition(QCategoryAxis::AxisLabelsPositionCenter);
  for (int lane = kLanes - 1; lane >= 0; --lane) y->append(names[lane], kLanes - lane);
  y->setRange(0, kLanes);
  chart->addAxis(y, Qt::AlignLeft);
  auto at = [](Lane lane) { return kLanes - lane - 0.5; };

  for (const StationRow& s : l.Station) {
    const auto stop = metresOf(l, s.stopFrame());
    if (!stop) continue;
    QLineSeries* platform = line(QString(), timeline::kPlatformColor, 7);
    platform->append(*stop - s.halfWidthCm() / 100.0, at(Stations));
    platform->append(*stop + s.halfWidthCm() / 100.0, at(Stations));
    addSegment(chart, platform, x, y);
  }
  for (const TunnelRow& t : l.Tunnel)
    addSegment(chart, segment(l, t.entry, t.exit, at(Tunnels), timeline::kTunnelColor, 7), x, y);
  for (const IntRow<8>& s : l.Sound)
    addSegment(chart, segment(l, s.f(2), s.f(3), at(Sounds), timeline::kSoundColor, 4), x, y);
  for (const MovieSwitchRow& m : l.MovieSwitch)
    addSegment(chart, segment(l, m.windowStart, m.windowEnd, at(MovieSwitches), timeline::kMovieSwitchColor, 7), x, y);

  QScatterSeries* stations = dots(QStringLiteral("Station"), timeline::kStationColor, 10);
  for (const StationRow& s : l.Station) addMark(stations, l, s.stopFrame(), at(Stations));
  QScatterSeries* signals_ = dots(QStringLiteral("Signal"), timeline::kSignalColor, 10);
  for (const SignalRow& s : l.Signal) addMark(signals_, l, s.position(), at(Signals));
  QScatterSeries* lights = dots(QStringLiteral("Traffic light"), timeline::kTrafficLightColor, 10);
  for (const TrafficSignalRow& s : l.TrafficSignal) addMark(lights, l, s.position(), at(TrafficLights));
  QScatterSeries* doppler = dots(QStringLiteral("Passing sound"), timeline::kSoundColor, 8);
  for (const DopplerRow& d : l.Doppler) addMark(doppler, l, d.f(2), at(Sounds));
  for (QScatterSeries* s : {stations, signals_, lights, doppler}) addOn(chart, s, x, y);

  frameAxis(chart, l, x, stations);
  chart->legend()->hide();
  return chart;
}

QByteArray lineTimelineSvg(const LineData& l) {
  return chartPanelsSvg({{[&l] { return lineSpeedsChart(l); }, kSpeedsHeight},
                         {[&l] { return lineGradientChart(l); }, kGradientHeight},
                         {[&l] { return lineLanesChart(l); }, kLanesHeight}},
                        kWidth, QString::fromStdString(l.LineName),
                        QStringLiteral("The line along its distance and frames: speeds, gradient, stations, signals, "
                                       "tunnels, sounds and movie switches"));
}

}  // namespace kestrel
