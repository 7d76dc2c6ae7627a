#include "tools/make_demo/movie_renderer.h"

#include <QPainter>
#include <QPolygonF>

#include <algorithm>
#include <cmath>

#include "tools/make_demo/pictures.h"

namespace kestrel::demo {

namespace {

constexpr double kOtherTrackM = 4.0;
constexpr double kIslandTrackM = 7.4;
constexpr double kRailHalfGauge = 0.5335;

double smoothstep(double a, double b, double x) {
  const double t = std::clamp((x - a) / (b - a), 0.0, 1.0);
  return t * t * (3 - 2 * t);
}

// Distances ahead at which the track is sampled: dense near the camera, sparse far away.
const std::vector<double>& aheadSteps() {
  static const std::vector<double> steps = [] {
    std::vector<double> d;
    for (double x = 1.0; x < 600.0; x += x < 40 ? 1.0 : (x < 150 ? 2.5 : 6.0)) d.push_back(x);
    return d;
  }();
  return steps;
}

}  // namespace

// The camera of one frame and its projection.
struct MovieRenderer::View {
  const MovieRenderer* r;
  double camM;      // along-track position of the camera
  double lateral;   // camera offset from the main track (the loop)
  Sample cam;
  double camX, camY, camZ, heading, pitch;
  bool inTunnel;

  bool project(double m, double q, double h, QPointF* out, double* depth = nullptr) const {
    const Sample s = r->at(m);
    const double wx = s.x + q * std::cos(s.heading), wy = s.y - q * std::sin(s.heading);
    const double dx = wx - camX, dy = wy - camY;
    const double zf = dx * std::sin(heading) + dy * std::cos(heading);
    if (zf < 0.3) return false;
    const double xr = dx * std::cos(heading) - dy * std::sin(heading);
    const double yv = s.z + h - camZ - zf * std::tan(pitch);
    *out = QPointF(kMovieWidth / 2.0 + kFocalPx * xr / zf, kHorizonPx - kFocalPx * yv / zf);
    if (depth) *depth = zf;
    return true;
  }
};

MovieRenderer::MovieRenderer(const Route& route, const Filming& filming, const MoviePlan& plan)
    : route_(route), filming_(filming), plan_(plan) {
  const double endM = route.movieEndM + 800.0;
  double x = 0, y = 0, heading = 0, z = 0;
  for (double m = kStartM; m <= endM; m += kStepM) {
    samples_.push_back({x, y, heading, z});
    const double k = route.curvatureAt(m), g = route.gradientAt(m) / 1000.0;
    x += std::sin(heading) * kStepM;
    y += std::cos(heading) * kStepM;
    heading += k * kStepM;
    z += g * kStepM;
  }
}

MovieRenderer::Sample MovieRenderer::at(double m) const {
  const double i = (m - kStartM) / kStepM;
  const size_t a = static_cast<size_t>(std::clamp(std::floor(i), 0.0, static_cast<double>(samples_.size() - 2)));
  const double t = std::clamp(i - static_cast<double>(a), 0.0, 1.0);
  const Sample& p = samples_[a];
  const Sample& q = samples_[a + 1];
  return {p.x + (q.x - p.x) * t, p.y + (q.y - p.y) * t, p.heading + (q.heading - p.heading) * t, p.z + (q.z - p.z) * t};
}

double MovieRenderer::otherTrack(double m) const {
  double off = kOtherTrackM;
  for (const auto& st : route_.stations) {
    if (st.platformSide != 1) continue;
    const double a = st.platformFromM - 20.0, b = st.platformToM + 20.0;
    off = std::max(off, kOtherTrackM + (kIslandTrackM - kOtherTrackM) * smoothstep(a - 80.0, a, m) *
                                           (1.0 - smoothstep(b, b + 80.0, m)));
  }
  return off;
}

double MovieRenderer::loopTrack(double m) const {
  const auto& l = route_.loop;
  if (m < l.inM || m > l.outM) return std::nan("");
  return l.offsetM * smoothstep(l.inM, l.inM + 90.0, m) * (1.0 - smoothstep(l.outM - 90.0, l.outM, m));
}

QImage MovieRenderer::routeFrame(int frame) const { return draw(filming_.metres(frame), 0.0, frame / 30.0, std::nan("")); }

QImage MovieRenderer::branchFrame(int k) const {
  const double m = filming_.metres(plan_.branchStart + k);
  const double off = loopTrack(m);
  return draw(m, std::isnan(off) ? 0.0 : off, (plan_.branchStart + k) / 30.0, std::nan(""));
}

QImage MovieRenderer::stationFrame(int k) const {
  const double stop = route_.stations[static_cast<size_t>(plan_.stationMovieStation)].stopM;
  // An express on the other track comes towards the camera and has passed it by the end.
  const double front = stop + 200.0 - k * (260.0 / plan_.stationMovieFrames);
  return draw(stop, 0.0, k / 30.0, front);
}

QImage MovieRenderer::openingFrame(int k, int frames) const {
  // The opening movie: a short run out of the first station.
  const int first = filming_.frameAt(route_.stations[0].stopM);
  const int f = first + k * std::max(1, (filming_.frameCount() / 6) / std::max(1, frames));
  QImage img = routeFrame(std::min(f, filming_.frameCount() - 1));
  QPainter p(&img);
  p.setPen(Qt::white);
  p.setFont(paint::font(40, true));
  const double a = std::min(1.0, k / 30.0);
  p.setOpacity(a);
  p.drawText(QRectF(0, 300, kMovieWidth, 60), Qt::AlignCenter, QString::fromUtf8("鷹見線"));
  p.setFont(paint::font(18));
  p.drawText(QRectF(0, 360, kMovieWidth, 40), Qt::AlignCenter, QString::fromUtf8("鉄道運転シミュレータ"));
  return img;
}

QImage MovieRenderer::draw(double trainM, double lateral, double clock, double passingTrainM) const {
  QImage img(kMovieWidth, kMovieHeight, QImage::Format_RGB32);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setPen(Qt::NoPen);

  View v{this, trainM - kStopLinePerspectiveM, lateral, {}, 0, 0, 0, 0, 0, false};
  v.cam = at(v.camM);
  // Through the turnouts the camera turns with the loop track.
  double yaw = 0;
  if (lateral != 0.0) {
    const double a = loopTrack(v.camM - 1.0), b = loopTrack(v.camM + 1.0);
    if (!std::isnan(a) && !std::isnan(b)) yaw = std::atan((b - a) / 2.0);
  }
  v.heading = v.cam.heading + yaw;
  v.camX = v.cam.x + lateral * std::cos(v.cam.heading);
  v.camY = v.cam.y - lateral * std::sin(v.cam.heading);
  v.camZ = v.cam.z + kEyeHeightM;
  v.pitch = std::atan(route_.gradientAt(v.camM) / 1000.0);
  v.inTunnel = route_.inTunnel(v.camM);
  const bool tunnelAhead = !v.inTunnel && route_.tunnel.startM > v.camM && route_.tunnel.startM < v.camM + 600.0;
  const double visibleTo = v.inTunnel ? route_.tunnel.endM : (tunnelAhead ? route_.tunnel.startM : v.camM + 600.0);

  // Sky and ground, or the tunnel's darkness.
  if (v.inTunnel) {
    p.fillRect(img.rect(), QColor(14, 12, 10));
  } else {
    QLinearGradient sky(0, 0, 0, kHorizonPx);
    sky.setColorAt(0, QColor(70, 120, 200));
    sky.setColorAt(1, QColor(185, 210, 235));
    p.fillRect(QRectF(0, 0, kMovieWidth, kHorizonPx + 1), sky);
    // Distant hills, fixed to the compass: they slide sideways as the line curves.
    QPolygonF hills;
    hills << QPointF(0, kHorizonPx + 2);
    for (int x = 0; x <= kMovieWidth; x += 8) {
      const double ang = v.heading + std::atan((x - kMovieWidth / 2.0) / kFocalPx);
      const double h = 18 + 10 * std::sin(ang * 7.0) + 7 * std::sin(ang * 17.0 + 1.3) + 4 * std::sin(ang * 41.0);
      hills << QPointF(x, kHorizonPx - h);
    }
    hills << QPointF(kMovieWidth, kHorizonPx + 2);
    p.setBrush(QColor(96, 122, 118));
    p.drawPolygon(hills);
    QLinearGradient ground(0, kHorizonPx, 0, kMovieHeight);
    ground.setColorAt(0, QColor(104, 128, 78));
    ground.setColorAt(1, QColor(78, 104, 50));
    p.fillRect(QRectF(0, kHorizonPx, kMovieWidth, kMovieHeight - kHorizonPx), ground);
  }

  auto strip = [&](double from, double to, double q0, double q1, double h0, double h1, QColor c) {
    // A surface or a wall along the track between two lateral offsets (or two heights).
    QPolygonF left, right;
    for (double d : aheadSteps()) {
      const double m = v.camM + d;
      if (m < from) continue;
      if (m > to) break;
      QPointF a, b;
      if (v.project(m, q0, h0, &a) && v.project(m, q1, h1, &b)) {
        left << a;
        right << b;
      }
    }
    if (left.size() < 2) return;
    QPolygonF poly = left;
    for (auto it = right.rbegin(); it != right.rend(); ++it) poly << *it;
    p.setBrush(c);
    p.drawPolygon(poly);
  };
  auto box = [&](double m0, double m1, double q0, double q1, double h0, double h1, QColor c) {
    QPointF a, b, cc, d;
    if (v.project(m0, q0, h0, &a) && v.project(m0, q1, h0, &b) && v.project(m1, q1, h1, &cc) && v.project(m1, q0, h1, &d)) {
      p.setBrush(c);
      p.drawPolygon(QPolygonF({a, b, cc, d}));
    }
  };
  auto wall = [&](double m0, double m1, double q, double h0, double h1, QColor c) {
    QPointF a, b, cc, d;
    if (v.project(m0, q, h0, &a) && v.project(m0, q, h1, &b) && v.project(m1, q, h1, &cc) && v.project(m1, q, h0, &d)) {
      p.setBrush(c);
      p.drawPolygon(QPolygonF({a, b, cc, d}));
    }
  };
  auto fade = [&](QColor c, double depth) {
    if (!v.inTunnel) return c;
    const double k = std::clamp(1.4 - depth / 90.0, 0.05, 1.0);
    return QColor(static_cast<int>(c.red() * k), static_cast<int>(c.green() * k), static_cast<int>(c.blue() * k));
  };
  const double near = v.camM + 1.0;

  // The hill with the tunnel portal ahead.
  if (tunnelAhead) {
    const double m = route_.tunnel.startM;
    QPointF a, b;
    if (v.project(m, -70, 0, &a) && v.project(m, 70, 45, &b)) {
      p.setBrush(QColor(70, 96, 58));
      QPolygonF hill({QPointF(a.x() - 200, a.y()), QPointF(a.x(), b.y() + (a.y() - b.y()) * 0.4), QPointF((a.x() + b.x()) / 2, b.y()),
                      QPointF(b.x(), b.y() + (a.y() - b.y()) * 0.3), QPointF(b.x() + 200, a.y())});
      p.drawPolygon(hill);
    }
    wall(m, m + 0.1, -4.0, 0.0, 7.5, QColor(120, 116, 108));
    box(m, m, -4.5, 8.5, 0.0, 0.0, QColor(120, 116, 108));
    QPointF c0, c1;
    if (v.project(m, -3.0, 0, &c0) && v.project(m, 7.0, 6.5, &c1)) {
      p.setBrush(QColor(140, 136, 126));
      p.drawRect(QRectF(QPointF(c0.x() - (c1.x() - c0.x()) * 0.15, c1.y() - (c0.y() - c1.y()) * 0.2),
                        QPointF(c1.x() + (c1.x() - c0.x()) * 0.15, c0.y())));
      p.setBrush(QColor(12, 10, 8));
      p.drawChord(QRectF(QPointF(c0.x(), c1.y()), QPointF(c1.x(), c0.y() + (c0.y() - c1.y()))), 0, 180 * 16);
    }
  }
  // Inside: the walls, the exit ahead, lamps passing by.
  if (v.inTunnel) {
    const double exitM = route_.tunnel.endM;
    QPointF c0, c1;
    if (exitM < v.camM + 600.0 && v.project(exitM, -3.0, 0, &c0) && v.project(exitM, 7.0, 6.5, &c1)) {
      p.setBrush(QColor(225, 232, 236));
      p.drawChord(QRectF(QPointF(c0.x(), c1.y()), QPointF(c1.x(), c0.y() + (c0.y() - c1.y()))), 0, 180 * 16);
      p.drawRect(QRectF(QPointF(c0.x(), (c0.y() + c1.y()) / 2), QPointF(c1.x(), c0.y())));
    }
    strip(near, exitM, -3.5, -3.5, 0.0, 5.0, QColor(42, 38, 34));
    strip(near, exitM, 7.5, 7.5, 0.0, 5.0, QColor(38, 34, 30));
    for (double m = std::ceil(v.camM / 30.0) * 30.0; m < std::min(exitM, v.camM + 400.0); m += 30.0) {
      QPointF a;
      double depth;
      if (v.project(m, -3.4, 3.2, &a, &depth)) {
        const double s = std::max(1.0, 40.0 / depth);
        p.setBrush(QColor(255, 214, 120));
        p.drawRect(QRectF(a.x() - s, a.y() - s / 2, 2 * s, s));
      }
    }
  }

  const bool outside = !v.inTunnel;
  // The river under the bridge.
  if (outside && route_.bridgeToM > v.camM) {
    strip(std::max(near, route_.bridgeFromM), route_.bridgeToM, -60.0, 60.0, -3.0, -3.0, QColor(70, 110, 150));
  }
  // Ballast beds of the tracks.
  const QColor ballast = outside ? QColor(128, 122, 112) : QColor(60, 56, 50);
  strip(near, visibleTo, -2.0, kOtherTrackM + 2.0, 0.0, 0.0, ballast);
  for (const auto& st : route_.stations)
    if (st.platformSide == 1) strip(std::max(near, st.platformFromM - 120.0), std::min(visibleTo, st.platformToM + 120.0), 0, kIslandTrackM + 2.0, 0, 0, ballast);
  if (route_.loop.outM > v.camM) strip(std::max(near, route_.loop.inM), std::min(visibleTo, route_.loop.outM), route_.loop.offsetM - 2.0, 0.0, 0.0, 0.0, ballast);

  // The level crossing's road.
  if (outside && route_.crossingM > v.camM) box(route_.crossingM - 3, route_.crossingM + 3, -40.0, 40.0, 0.02, 0.02, QColor(80, 80, 84));

  // Sleepers and rails of every track that is in view.
  auto track = [&](auto offsetAt, double from, double to) {
    from = std::max(from, near);
    to = std::min(to, visibleTo);
    if (to <= from) return;
    for (double m = std::ceil(from / 0.65) * 0.65; m < std::min(to, v.camM + 70.0); m += 0.65) {
      const double o = offsetAt(m);
      QPointF a, b, c, d;
      double depth = 0;
      if (v.project(m, o - 1.05, 0.05, &a, &depth) && v.project(m, o + 1.05, 0.05, &b) && v.project(m + 0.22, o + 1.05, 0.05, &c) &&
          v.project(m + 0.22, o - 1.05, 0.05, &d)) {
        p.setBrush(fade(QColor(150, 146, 138), depth));
        p.drawPolygon(QPolygonF({a, b, c, d}));
      }
    }
    for (double side : {-kRailHalfGauge, kRailHalfGauge}) {
      QPolygonF top, bottom;
      for (double dd : aheadSteps()) {
        const double m = v.camM + dd;
        if (m < from) continue;
        if (m > to) break;
        const double o = offsetAt(m) + side;
        QPointF a, b;
        if (v.project(m, o - 0.035, 0.16, &a) && v.project(m, o + 0.035, 0.16, &b)) {
          top << a;
          bottom << b;
        }
      }
      if (top.size() < 2) continue;
      QPolygonF poly = top;
      for (auto it = bottom.rbegin(); it != bottom.rend(); ++it) poly << *it;
      p.setBrush(outside ? QColor(196, 198, 204) : QColor(150, 150, 156));
      p.drawPolygon(poly);
    }
  };
  track([](double) { return 0.0; }, near, visibleTo);
  track([this](double m) { return otherTrack(m); }, near, visibleTo);
  if (route_.loop.outM > v.camM)
    track([this](double m) { const double o = loopTrack(m); return std::isnan(o) ? 0.0 : o; }, route_.loop.inM, route_.loop.outM);

  // Platforms: the top, the edge face, the yellow line; a canopy over the stopping end.
  for (const auto& st : route_.stations) {
    if (st.platformToM < v.camM || st.platformFromM > visibleTo) continue;
    const double from = std::max(near, st.platformFromM), to = std::min(visibleTo, st.platformToM);
    if (to <= from) continue;
    const double edge = st.platformSide == 0 ? -1.7 : 1.7;
    const double back = st.platformSide == 0 ? (&st == &route_.stations[static_cast<size_t>(route_.loop.station)] ? -5.3 : -6.5)
                                             : kIslandTrackM - 1.7;
    strip(from, to, edge, edge, 0.0, 1.1, QColor(150, 146, 140));
    strip(from, to, edge, back, 1.1, 1.1, QColor(198, 194, 186));
    const double line = edge + (st.platformSide == 0 ? -0.8 : 0.8);
    strip(from, to, line, line + (st.platformSide == 0 ? -0.3 : 0.3), 1.11, 1.11, QColor(230, 200, 40));
    for (double m = std::ceil((st.platformFromM + 30.0) / 15.0) * 15.0; m < st.platformToM - 5.0; m += 15.0) {
      if (m < near || m > visibleTo) continue;
      const double q = (edge + back) / 2.0;
      QPointF a, b;
      double depth;
      if (v.project(m, q, 1.1, &a, &depth) && v.project(m, q, 3.6, &b)) {
        p.setBrush(QColor(90, 90, 96));
        const double w = std::max(1.0, kFocalPx * 0.2 / depth);
        p.drawRect(QRectF(a.x() - w / 2, b.y(), w, a.y() - b.y()));
      }
    }
    strip(std::max(from, st.stopM - 120.0), to, edge - (edge < 0 ? 0.5 : -0.5), back, 3.6, 3.7, QColor(170, 176, 184));
    // The station name board.
    QPointF a, b;
    double depth;
    const double q = (edge + back) / 2.0;
    if (st.stopM - 30.0 > near && v.project(st.stopM - 30.0, q - 1.0, 2.2, &a, &depth) && v.project(st.stopM - 30.0, q + 1.0, 2.9, &b) &&
        depth < 200.0) {
      const QRectF board(QPointF(std::min(a.x(), b.x()), b.y()), QPointF(std::max(a.x(), b.x()), a.y()));
      p.setBrush(Qt::white);
      p.drawRect(board);
      if (board.height() > 6) {
        p.setPen(QColor(20, 40, 120));
        p.setFont(paint::font(std::max(4, static_cast<int>(board.height() * 0.7))));
        p.drawText(board, Qt::AlignCenter, QString::fromStdString(st.name));
        p.setPen(Qt::NoPen);
      }
    }
  }

  // The overtaking train of the station movie.
  if (!std::isnan(passingTrainM)) {
    const double front = passingTrainM;
    auto q = [&](double m) { return otherTrack(m); };
    const double nearEnd = std::max(near, front), farEnd = std::min(visibleTo, front + 160.0);
    if (farEnd > nearEnd) {
      const double side = q(nearEnd) - 1.45;
      strip(nearEnd, farEnd, side, side, 0.9, 3.9, QColor(200, 204, 210));
      strip(nearEnd, farEnd, side - 0.01, side - 0.01, 2.0, 2.4, QColor(230, 120, 30));
      strip(nearEnd, farEnd, side - 0.02, side - 0.02, 2.6, 3.3, QColor(40, 50, 60));
      if (front > near) {
        box(front, front, q(front) - 1.45, q(front) + 1.45, 0.9, 3.9, QColor(215, 218, 224));
        box(front, front, q(front) - 1.2, q(front) + 1.2, 2.6, 3.4, QColor(30, 40, 50));
      }
    }
  }

  // Catenary: poles every 50 m beside the tracks, a beam across, the contact wires.
  for (double m = std::ceil(near / 50.0) * 50.0; m < std::min(visibleTo, v.camM + 500.0); m += 50.0) {
    for (double q : {-2.6, otherTrack(m) + 2.6}) {
      QPointF a, b;
      double depth;
      if (v.project(m, q, 0.0, &a, &depth) && v.project(m, q, 7.2, &b)) {
        const double w = std::max(1.0, kFocalPx * 0.3 / depth);
        p.setBrush(fade(QColor(120, 120, 116), depth));
        p.drawRect(QRectF(a.x() - w / 2, b.y(), w, a.y() - b.y()));
      }
    }
    box(m, m + 0.2, -2.6, otherTrack(m) + 2.6, 6.9, 6.9, QColor(110, 110, 106));
  }
  p.setPen(QPen(outside ? QColor(40, 40, 40) : QColor(70, 70, 70), 1));
  for (double q0 : {0.0, 1.0}) {
    QPolygonF wire;
    for (double d : aheadSteps()) {
      const double m = v.camM + d;
      if (m > visibleTo) break;
      QPointF a;
      if (v.project(m, q0 == 0.0 ? 0.0 : otherTrack(m), 5.3, &a)) wire << a;
    }
    p.drawPolyline(wire);
  }
  p.setPen(Qt::NoPen);

  if (outside) {
    // The crossing: barriers on both sides and warning lights that flash.
    if (route_.crossingM > v.camM && route_.crossingM < visibleTo) {
      const double m = route_.crossingM - 4.0;
      for (double q : {-3.5, kOtherTrackM + 3.5}) {
        QPointF a, b;
        double depth;
        if (v.project(m, q, 0.0, &a, &depth) && v.project(m, q, 2.6, &b)) {
          const double w = std::max(1.0, kFocalPx * 0.15 / depth);
          p.setBrush(QColor(30, 30, 30));
          p.drawRect(QRectF(a.x() - w / 2, b.y(), w, a.y() - b.y()));
          const bool lit = static_cast<int>(clock * 2.0) % 2 == 0;
          const double r = std::max(1.0, kFocalPx * 0.18 / depth);
          p.setBrush(lit ? QColor(255, 40, 30) : QColor(90, 20, 20));
          p.drawEllipse(QPointF(b.x() - r, b.y()), r, r);
          p.setBrush(!lit ? QColor(255, 40, 30) : QColor(90, 20, 20));
          p.drawEllipse(QPointF(b.x() + r, b.y()), r, r);
        }
      }
      for (double q0 : {-8.0, kOtherTrackM + 3.5}) {
        for (int k = 0; k < 6; ++k) box(m, m + 0.1, q0 + k * 0.75, q0 + k * 0.75 + 0.75, 1.0, 1.2,
                                        k % 2 ? QColor(20, 20, 20) : QColor(240, 200, 20));
      }
    }
    // The bridge girders.
    if (route_.bridgeToM > v.camM) {
      strip(std::max(near, route_.bridgeFromM), std::min(visibleTo, route_.bridgeToM), -2.4, -2.4, 0.0, 1.6, QColor(150, 50, 40));
      strip(std::max(near, route_.bridgeFromM), std::min(visibleTo, route_.bridgeToM), kOtherTrackM + 2.4, kOtherTrackM + 2.4,
            0.0, 1.6, QColor(140, 46, 36));
    }
    // Trees and the 100 m posts: they give the eye the speed.
    for (double m = std::ceil(near / 37.0) * 37.0; m < std::min(visibleTo, v.camM + 400.0); m += 37.0) {
      bool atStation = false;
      for (const auto& st : route_.stations) atStation |= m > st.platformFromM - 30.0 && m < st.platformToM + 30.0;
      if (atStation || (m > route_.bridgeFromM - 10 && m < route_.bridgeToM + 10)) continue;
      const int k = static_cast<int>(m / 37.0);
      const double q = (k % 2 ? -1.0 : 1.0) * (10.0 + (k * 7) % 18) + (k % 2 ? 0.0 : kOtherTrackM);
      QPointF a, b;
      double depth;
      if (v.project(m, q, 0.0, &a, &depth) && v.project(m, q, 9.0 + k % 4, &b)) {
        const double w = (a.y() - b.y()) * 0.45;
        p.setBrush(QColor(60 + (k * 13) % 30, 92 + (k * 7) % 30, 48));
        p.drawEllipse(QRectF(a.x() - w / 2, b.y(), w, (a.y() - b.y()) * 0.85));
      }
    }
    for (double m = std::ceil(near / 100.0) * 100.0; m < std::min(visibleTo, v.camM + 200.0); m += 100.0) {
      QPointF a, b;
      double depth;
      if (v.project(m, -2.2, 0.0, &a, &depth) && v.project(m, -2.2, 0.9, &b)) {
        const double w = std::max(1.0, kFocalPx * 0.12 / depth);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(a.x() - w / 2, b.y(), w, a.y() - b.y()));
      }
    }
  }
  return img;
}

}  // namespace kestrel::demo
