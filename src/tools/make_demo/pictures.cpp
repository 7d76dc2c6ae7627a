#include "tools/make_demo/pictures.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <cstdio>

namespace kestrel::demo::paint {

namespace {

QString q(const std::string& s) {
  return QString::fromStdString(s);
}

QImage blank(int w, int h, QColor c = kTransparent) {
  QImage img(w, h, QImage::Format_RGB32);
  img.fill(c);
  return img;
}

// Keeps the bottom-left pixel the transparent colour whatever was drawn there.
QImage keyed(QImage img) {
  img.setPixelColor(0, img.height() - 1, kTransparent);
  return img;
}

// A text too wide for its box is set smaller until it fits, so that no caption is cut off.
void centredText(QPainter& p, const QRectF& r, const std::string& text, int px, QColor c, bool bold = true) {
  p.setPen(c);
  QFont f = font(px, bold);
  while (px > 8 && QFontMetricsF(f).horizontalAdvance(q(text)) > r.width() - 8) f = font(--px, bold);
  p.setFont(f);
  p.drawText(r, Qt::AlignCenter, q(text));
}

// Cell of a signal code: which lamps of a five-lamp head are lit (from the top: G, Y, R, Y, G2).
struct Lamps {
  bool g = false, y1 = false, r = false, y2 = false, g2 = false;
};

Lamps lampsFor(int code) {
  // The aspect that each code stands for, by the call-out groups of the cab.
  static const int stop[] = {1, 4, 7, 10, 13, 17, 21, 26, 30, 35};
  static const int caution[] = {4, 8, 11, 14, 19, 23, 27, 31, 37};
  static const int restrict[] = {18, 22, 36};
  static const int reduce[] = {5, 15, 24, 32, 38};
  static const int clear[] = {3, 6, 9, 12, 16, 20, 25, 28, 33, 39};
  static const int high[] = {29, 34, 40};
  auto in = [code](const int* a, size_t n) {
    for (size_t i = 0; i < n; ++i)
      if (a[i] == code) return true;
    return false;
  };
  Lamps l;
  if (in(stop, 10) && code != 4)
    l.r = true;
  else if (in(caution, 9))
    l.y1 = true;
  else if (in(restrict, 3))
    l.y1 = l.y2 = true;
  else if (in(reduce, 5))
    l.y1 = l.g = true;
  else if (in(clear, 10))
    l.g = true;
  else if (in(high, 3))
    l.g = l.g2 = true;
  else if (code == 2)
    l.y2 = true;
  return l;
}

}  // namespace

QFont font(int pixelSize, bool bold) {
  QFont f;
  f.setFamilies({"IPAGothic", "IPAPGothic"});
  f.setPixelSize(std::max(1, pixelSize));
  f.setBold(bold);
  f.setStyleStrategy(QFont::NoAntialias);
  return f;
}

QImage stopMarkerStrip(int size, const std::vector<std::string>& names) {
  const int cells = static_cast<int>(names.size()) + 1;
  QImage img = blank(size * cells, size);
  QPainter p(&img);
  for (int i = 1; i < cells; ++i) {
    const QRectF r(i * size + 4, 4, size - 8, size - 8);
    p.setPen(QPen(Qt::black, 2));
    p.setBrush(QColor(250, 250, 250));
    p.drawRect(r);
    p.setBrush(QColor(220, 30, 30));
    p.setPen(Qt::NoPen);
    p.drawRect(QRectF(r.left(), r.top(), r.width(), r.height() * 0.3));
    centredText(p, QRectF(r.left(), r.top(), r.width(), r.height() * 0.3), "停目", size / 7, Qt::white);
    centredText(p, QRectF(r.left(), r.top() + r.height() * 0.3, r.width(), r.height() * 0.7),
                names[static_cast<size_t>(i - 1)],
                static_cast<int>(size / (1.2 + names[static_cast<size_t>(i - 1)].size() / 3.0 * 0.9)),
                Qt::black);
  }
  p.end();
  return keyed(img);
}

QImage stopLine(int width, int height, QColor colour) {
  return blank(width, height, colour);
}

QImage gradientPostStrip(int size, const std::vector<double>& permils) {
  const int cells = static_cast<int>(permils.size()) + 1;
  QImage img = blank(size * cells, size);
  QPainter p(&img);
  for (int i = 1; i < cells; ++i) {
    const double g = permils[static_cast<size_t>(i - 1)];
    const QRectF r(i * size + 6, 8, size - 12, size * 0.5);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::white);
    p.drawRect(r);
    // The arm points up for a rising and down for a falling gradient.
    p.setPen(QPen(Qt::black, 3));
    const double y0 = r.center().y(), dy = g > 0 ? -r.height() * 0.35 : r.height() * 0.35;
    p.drawLine(QPointF(r.left() + 4, y0 - dy), QPointF(r.right() - 4, y0 + dy));
    char t[16];
    std::snprintf(t, sizeof t, "%.0f", std::fabs(g));
    p.setBrush(QColor(30, 30, 30));
    p.setPen(Qt::NoPen);
    p.drawRect(QRectF(i * size + size / 2.0 - 2, r.bottom(), 4, size - r.bottom() - 2));
    const QRectF label(i * size + size * 0.2, r.bottom() + 2, size * 0.6, size - r.bottom() - 4);
    p.setBrush(Qt::white);
    p.drawRect(label);
    centredText(p, label, t, size / 4, QColor(20, 20, 20));
  }
  p.end();
  return keyed(img);
}

QImage limitPostStrip(int size, const std::vector<std::string>& labels) {
  QImage img = blank(size * static_cast<int>(labels.size()), size);
  QPainter p(&img);
  for (size_t i = 1; i < labels.size(); ++i) {
    const double x = static_cast<double>(i) * size;
    const bool release = labels[i] == "解除";
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(release ? QColor(250, 250, 250) : QColor(250, 220, 30));
    QPolygonF diamond({QPointF(x + size / 2.0, 2), QPointF(x + size - 3, size / 2.0),
                       QPointF(x + size / 2.0, size - 3), QPointF(x + 3, size / 2.0)});
    if (release)
      p.drawRect(QRectF(x + 6, 12, size - 12, size - 24));
    else
      p.drawPolygon(diamond);
    centredText(p, QRectF(x, 0, size, size), labels[i], release ? size / 4 : size / 3, Qt::black);
  }
  p.end();
  return keyed(img);
}

QImage remainBarStrip(int width, int viewHeight) {
  const QColor colours[4] = {QColor(40, 180, 60), QColor(230, 200, 30), QColor(240, 130, 20),
                             QColor(220, 30, 30)};
  QImage img = blank(width * 4, viewHeight * 2, QColor(20, 20, 20));
  QPainter p(&img);
  for (int c = 0; c < 4; ++c) {
    // The lower half is the bar that slides into view; the overrun cell is red all the way.
    const int top = c == 3 ? 0 : viewHeight;
    p.fillRect(QRect(c * width + 3, top, width - 6, viewHeight * 2 - top), colours[c]);
    p.setPen(QPen(Qt::white, 1));
    for (int y = top; y < viewHeight * 2; y += viewHeight / 10)
      p.drawLine(c * width + 3, y, c * width + width - 4, y);
  }
  return img;
}

QImage signStrip(int size, const std::vector<std::string>& labels) {
  QImage img = blank(size * static_cast<int>(labels.size()), size);
  QPainter p(&img);
  for (size_t i = 1; i < labels.size(); ++i) {
    const QRectF r(static_cast<double>(i) * size + 4, 6, size - 8, size - 16);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(labels[i] == "ATS-P" ? QColor(255, 255, 255) : QColor(20, 60, 160));
    p.drawRect(r);
    centredText(p, r, labels[i], size / 4, labels[i] == "ATS-P" ? QColor(220, 20, 20) : Qt::white);
  }
  p.end();
  return keyed(img);
}

QImage signalStrip(int w, int h) {
  // No antialiasing: a blended edge would not match the transparent colour.
  QImage img = blank(w * 41, h);
  QPainter p(&img);
  for (int code = 1; code <= 40; ++code) {
    const double x = code * w;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(30, 30, 30));
    p.drawRoundedRect(QRectF(x + 2, 2, w - 4, h - 4), 6, 6);
    const Lamps l = lampsFor(code);
    const bool on[5] = {l.g, l.y1, l.r, l.y2, l.g2};
    const QColor lit[5] = {QColor(40, 230, 160), QColor(255, 190, 30), QColor(255, 40, 30),
                           QColor(255, 190, 30), QColor(40, 230, 160)};
    for (int k = 0; k < 5; ++k) {
      p.setBrush(on[k] ? lit[k] : QColor(60, 60, 60));
      const double pitch = (h - 16) / 5.0, r = std::min((w - 12) / 2.0, pitch / 2.0 - 1.0);
      p.drawEllipse(QPointF(x + w / 2.0, 8 + pitch * (k + 0.5)), r, r);
    }
  }
  p.end();
  return keyed(img);
}

QImage plateStrip(int w, int h, const std::vector<std::string>& labels) {
  QImage img = blank(w * static_cast<int>(labels.size()), h);
  QPainter p(&img);
  for (size_t i = 1; i < labels.size(); ++i) {
    const QRectF r(static_cast<double>(i) * w + 1, 1, w - 2, h - 3);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRect(r);
    centredText(p, r, labels[i], h * 2 / 3, Qt::black);
  }
  p.end();
  return keyed(img);
}

QImage trafficLight(int w, int h, int lit) {
  QImage img = blank(w, h);
  QPainter p(&img);
  p.setBrush(QColor(40, 40, 40));
  p.setPen(Qt::NoPen);
  p.drawRect(QRectF(2, 2, w - 4, h * 0.75));
  p.drawRect(QRectF(w / 2.0 - 2, h * 0.75, 4, h * 0.25 - 2));
  const double r = w / 2.0 - 6;
  p.setBrush(lit == 1 ? QColor(40, 220, 140) : QColor(60, 70, 60));
  p.drawEllipse(QPointF(w / 2.0, 6 + r), r, r);
  p.setBrush(lit == 2 ? QColor(250, 40, 30) : QColor(70, 50, 50));
  p.drawEllipse(QPointF(w / 2.0, 10 + 3 * r), r, r);
  p.end();
  return keyed(img);
}

QImage crossingLamp(int w, int h, bool lit) {
  QImage img = blank(w, h);
  QPainter p(&img);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(20, 20, 20));
  p.drawRect(QRectF(4, 4, w - 8, h / 2.0));
  p.setBrush(lit ? QColor(255, 40, 30) : QColor(80, 20, 20));
  p.drawEllipse(QPointF(w * 0.3, h * 0.27), h * 0.18, h * 0.18);
  p.drawEllipse(QPointF(w * 0.7, h * 0.27), h * 0.18, h * 0.18);
  centredText(p, QRectF(0, h * 0.55, w, h * 0.4), "踏切", h / 4, QColor(250, 220, 20));
  p.end();
  return keyed(img);
}

QImage worksiteBeacon(int w, int h, int step, int steps) {
  QImage img = blank(w, h);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);
  const QPointF lamp(w / 2.0, h * 0.22);
  const double r = w * 0.16;
  // The beam sweeps round; seen from the side it is widest when it points at the driver.
  const double turn = 2 * M_PI * step / steps;
  const double reach = w * 0.48 * std::fabs(std::cos(turn)) + r;
  const double side = std::sin(turn) >= 0 ? 1 : -1;
  QPainterPath beam;
  beam.moveTo(lamp);
  beam.lineTo(lamp + QPointF(side * reach, -h * 0.12));
  beam.lineTo(lamp + QPointF(side * reach, h * 0.12));
  beam.closeSubpath();
  p.setBrush(QColor(255, 200, 40, 150));
  p.drawPath(beam);
  p.setBrush(QColor(90, 90, 90));
  p.drawRect(QRectF(w / 2.0 - 2, lamp.y(), 4, h * 0.5));
  p.setBrush(std::cos(turn) > 0.5 ? QColor(255, 230, 120) : QColor(250, 160, 20));
  p.drawEllipse(lamp, r, r);
  const QRectF plate(4, h * 0.66, w - 8, h * 0.3);
  p.setBrush(QColor(250, 220, 20));
  p.drawRect(plate);
  p.end();
  QPainter t(&img);
  centredText(t, plate, "工事", static_cast<int>(h * 0.2), Qt::black);
  t.end();
  return keyed(img);
}

QImage monitorStrip(int w, int h, int cells) {
  QImage img = blank(w * cells, h);
  QPainter p(&img);
  for (int i = 0; i < cells; ++i) {
    const QRectF r(i * w + 2, 2, w - 4, h - 5);
    p.setPen(QPen(QColor(90, 90, 90), 2));
    p.setBrush(QColor(10, 20, 40));
    p.drawRect(r);
    const char* texts[] = {"快速 鳥羽台", "次 緑町", "ATS-P 正常", "回生 ON"};
    centredText(p, r, texts[i % 4], h / 5, QColor(120, 230, 255));
  }
  p.end();
  return keyed(img);
}

QImage stafCard(int w, int h, const std::string& title, const std::vector<std::string>& rows) {
  QImage img = blank(w, h, QColor(245, 242, 228));
  QPainter p(&img);
  p.setPen(QPen(Qt::black, 2));
  p.drawRect(1, 1, w - 3, h - 3);
  centredText(p, QRectF(0, 8, w, 40), title, 24, Qt::black);
  p.drawLine(10, 52, w - 10, 52);
  p.setFont(font(20));
  int y = 70;
  for (const auto& r : rows) {
    p.drawText(QPointF(24, y + 18), q(r));
    p.setPen(QPen(QColor(160, 160, 160), 1));
    p.drawLine(16, y + 28, w - 16, y + 28);
    p.setPen(Qt::black);
    y += 40;
  }
  p.end();
  img.setPixelColor(0, h - 1, kTransparent);
  return img;
}

QImage stillPicture(int w, int h, const std::string& title, const std::vector<std::string>& lines) {
  QImage img = blank(w, h, QColor(20, 30, 50));
  QPainter p(&img);
  centredText(p, QRectF(0, h * 0.25, w, 60), title, 40, Qt::white);
  int y = static_cast<int>(h * 0.45);
  for (const auto& l : lines) {
    centredText(p, QRectF(0, y, w, 40), l, 22, QColor(200, 220, 255), false);
    y += 44;
  }
  return img;
}

QImage routeMap(int w, int h, int shownWidth, int shownHeight, const std::vector<std::string>& stations,
                const std::vector<bool>& stops) {
  // The cab window shows only the top-left shownWidth x shownHeight of the picture: the map is
  // drawn there, the names level, above and below the line in turn so that neighbours never meet.
  QImage img = blank(w, h, QColor(250, 250, 246));
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing, true);
  const double y = shownHeight * 0.55, x0 = 44, x1 = shownWidth - 44;
  p.setPen(QPen(QColor(40, 90, 200), 6));
  p.drawLine(QPointF(x0, y), QPointF(x1, y));
  const double pitch = (x1 - x0) / static_cast<double>(std::max<size_t>(1, stations.size() - 1));
  for (size_t i = 0; i < stations.size(); ++i) {
    const double x = x0 + pitch * static_cast<double>(i);
    p.setPen(QPen(Qt::black, 2));
    p.setBrush(stops[i] ? QColor(220, 40, 40) : Qt::white);
    p.drawEllipse(QPointF(x, y), 8, 8);
    const QRectF name(x - pitch, i % 2 == 0 ? y + 14 : y - 14 - 28, 2 * pitch, 28);
    centredText(p, name.intersected(QRectF(0, 0, shownWidth, shownHeight)), stations[i], 18, Qt::black,
                false);
  }
  centredText(p, QRectF(0, 6, shownWidth, 34), "鷹見線 路線図（赤: 停車駅）", 20, Qt::black);
  return img;
}

QImage panel(int w, int h, const PanelStyle& s, bool twoHandles, bool diesel) {
  QImage img = blank(w, h, s.body);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing, true);
  QLinearGradient g(0, 0, 0, h);
  g.setColorAt(0, s.body.lighter(130));
  g.setColorAt(1, s.body.darker(140));
  p.fillRect(img.rect(), g);
  // Gauge faces at the centres of the needle sections of the vehicle file: speed, BC/MR,
  // voltmeter (or BP/ER) and ammeter. A value v lies at -135 + 270 * (v - low) / (high - low)
  // degrees from 12 o'clock.
  // The caption stands above the centre, below it, or (for the crowded BC / MR scale) under the
  // dial on the panel itself.
  enum class Caption { Above, Below, Under };
  auto dial = [&](QPointF c, double r, const char* label, int low, int high, int step,
                  Caption caption = Caption::Below) {
    p.setPen(QPen(QColor(30, 30, 30), 3));
    p.setBrush(s.face);
    p.drawEllipse(c, r, r);
    p.setPen(QPen(s.text, 1));
    for (int v = low; v <= high; v += step) {
      const double a = (-135.0 + 270.0 * (v - low) / (high - low)) * 3.14159265 / 180.0;
      p.drawLine(c + QPointF(std::sin(a) * r * 0.82, -std::cos(a) * r * 0.82),
                 c + QPointF(std::sin(a) * r * 0.95, -std::cos(a) * r * 0.95));
      if (((v - low) / step) % 2 == 0) {
        p.setFont(font(static_cast<int>(r / 5.5)));
        p.drawText(QRectF(c.x() + std::sin(a) * r * 0.64 - 20, c.y() - std::cos(a) * r * 0.64 - 8, 40, 16),
                   Qt::AlignCenter,
                   QString::number(high <= 2000 && high >= 1000 && low == 0 && step == 1000 ? v / 1000 : v));
      }
    }
    p.setFont(font(static_cast<int>(r / 5)));
    if (caption == Caption::Under) {
      p.setPen(Qt::white);
      p.drawText(QRectF(c.x() - r, c.y() + r + 2, 2 * r, h - (c.y() + r + 2)),
                 Qt::AlignHCenter | Qt::AlignTop, QString::fromUtf8(label));
      return;
    }
    p.drawText(QRectF(c.x() - r, c.y() + (caption == Caption::Above ? -r * 0.5 : r * 0.3), 2 * r, r * 0.3),
               Qt::AlignCenter, QString::fromUtf8(label));
  };
  dial(QPointF(80, 80), 70, "km/h", 0, 160, 10, Caption::Above);
  dial(QPointF(220, 80), 58, "BC / MR kPa", 0, 1000, 100, Caption::Under);
  if (diesel) {
    dial(QPointF(340, 46), 34, "BP/ER", 0, 1000, 250);
  } else {
    dial(QPointF(340, 46), 34, "kV", 0, 2000, 1000);
    dial(QPointF(430, 46), 34, "A", -500, 500, 250);
  }
  // The clock's face: the program draws its three hands from the centre of the [Clock] square
  // (550, 6) to (600, 56), in black.
  const QPointF clock(575, 31);
  p.setPen(QPen(QColor(30, 30, 30), 2));
  p.setBrush(QColor(248, 248, 240));
  p.drawEllipse(clock, 24, 24);
  for (int hour = 0; hour < 12; ++hour) {
    const double a = hour * 30.0 * 3.14159265 / 180.0, inner = hour % 3 == 0 ? 17.0 : 19.5;
    p.setPen(QPen(QColor(30, 30, 30), hour % 3 == 0 ? 2 : 1));
    p.drawLine(clock + QPointF(std::sin(a) * inner, -std::cos(a) * inner),
               clock + QPointF(std::sin(a) * 22, -std::cos(a) * 22));
  }
  // The plate behind the handle indicators.
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(30, 30, 34));
  p.drawRoundedRect(QRectF(612, 6, 184, 132), 6, 6);
  centredText(p, QRectF(470, 60, 130, 30), s.name, 16, s.text);
  centredText(p, QRectF(612, 112, 184, 22), twoHandles ? "力行  /  ブレーキ" : "ワンハンドル", 12, Qt::white);
  p.end();
  return img;
}

QImage panelOverlay(int w, int h) {
  QImage img = blank(w, h);
  QPainter p(&img);
  p.setPen(QPen(QColor(200, 200, 200), 2));
  p.drawRect(2, 2, w - 5, h - 5);
  p.end();
  return keyed(img);
}

QImage needle(int w, int h, QColor colour) {
  // Drawn pointing up from the centre, so that rotation 0 points to 12 o'clock.
  QImage img = blank(w, h);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setPen(Qt::NoPen);
  p.setBrush(colour);
  QPolygonF poly({QPointF(w / 2.0 - 2, h / 2.0 + 6), QPointF(w / 2.0, 3), QPointF(w / 2.0 + 2, h / 2.0 + 6)});
  p.drawPolygon(poly);
  p.setBrush(QColor(40, 40, 40));
  p.drawEllipse(QPointF(w / 2.0, h / 2.0), 4, 4);
  p.end();
  return keyed(img);
}

QImage lamp(int w, int h, const std::string& label, QColor lit) {
  QImage img = blank(w, h);
  QPainter p(&img);
  p.setPen(QPen(Qt::black, 1));
  p.setBrush(lit);
  p.drawRoundedRect(QRectF(1, 1, w - 3, h - 4), 3, 3);
  centredText(p, QRectF(1, 1, w - 3, h - 4), label,
              std::min(h - 6, w / std::max<int>(2, static_cast<int>(label.size() / 2) + 1)), Qt::black);
  p.end();
  return keyed(img);
}

QImage textStrip(int cw, int ch, const std::vector<std::string>& labels, QColor fg, QColor bg) {
  QImage img = blank(cw * static_cast<int>(labels.size()), ch);
  QPainter p(&img);
  for (size_t i = 0; i < labels.size(); ++i) {
    const QRectF r(static_cast<double>(i) * cw + 1, 1, cw - 2, ch - 3);
    p.setPen(Qt::NoPen);
    p.setBrush(bg);
    p.drawRect(r);
    centredText(p, r, labels[i], ch * 3 / 5, fg);
  }
  p.end();
  return keyed(img);
}

QImage digitStrip(int cw, int ch, int cells) {
  QImage img = blank(cw * cells, ch, QColor(10, 10, 10));
  QPainter p(&img);
  p.setFont(font(ch - 6, true));
  p.setPen(QColor(255, 150, 30));
  for (int i = 0; i < cells; ++i)
    p.drawText(QRectF(i * cw, 0, cw - 4, ch), Qt::AlignRight | Qt::AlignVCenter, QString::number(i));
  p.end();
  return keyed(img);
}

QImage linearBar(int w, int h, QColor colour) {
  return blank(w, h, colour);
}

QImage placard(int w, int h, const std::string& text, QColor bg, QColor fg) {
  QImage img = blank(w, h);
  QPainter p(&img);
  p.setPen(QPen(Qt::black, 1));
  p.setBrush(bg);
  p.drawRect(QRectF(1, 1, w - 3, h - 4));
  centredText(p, QRectF(1, 1, w - 3, h - 4), text, h / 2, fg);
  p.end();
  return keyed(img);
}

QImage passenger(int w, int h) {
  QImage img = blank(w, h);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(40, 40, 60));
  p.drawEllipse(QPointF(w / 2.0, h * 0.15), w * 0.13, w * 0.13);
  p.drawRect(QRectF(w * 0.3, h * 0.27, w * 0.4, h * 0.4));
  p.drawRect(QRectF(w * 0.32, h * 0.67, w * 0.14, h * 0.3));
  p.drawRect(QRectF(w * 0.54, h * 0.67, w * 0.14, h * 0.3));
  centredText(p, QRectF(0, h * 0.02, w, h * 0.1), "駆け込み!", h / 12, QColor(230, 30, 30));
  p.end();
  return keyed(img);
}

QImage titlePicture(int w, int h, int variant) {
  const QColor skies[4][2] = {{QColor(60, 110, 190), QColor(200, 220, 240)},
                              {QColor(230, 120, 60), QColor(250, 210, 150)},
                              {QColor(20, 30, 70), QColor(90, 80, 140)},
                              {QColor(120, 170, 210), QColor(235, 240, 245)}};
  QImage img = blank(w, h);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing, true);
  QLinearGradient g(0, 0, 0, h * 0.6);
  g.setColorAt(0, skies[variant % 4][0]);
  g.setColorAt(1, skies[variant % 4][1]);
  p.fillRect(QRectF(0, 0, w, h * 0.6), g);
  p.fillRect(QRectF(0, h * 0.6, w, h * 0.4), QColor(70, 100, 60));
  // A train on an embankment.
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(110, 100, 90));
  p.drawRect(QRectF(0, h * 0.62, w, h * 0.05));
  for (int c = 0; c < 4; ++c) {
    const double x = 60 + c * 170 + variant * 25;
    p.setBrush(QColor(225, 228, 232));
    p.drawRoundedRect(QRectF(x, h * 0.5, 165, h * 0.12), 6, 6);
    p.setBrush(variant % 2 ? QColor(230, 120, 30) : QColor(40, 110, 200));
    p.drawRect(QRectF(x, h * 0.575, 165, h * 0.015));
    p.setBrush(QColor(40, 50, 70));
    for (int k = 0; k < 6; ++k) p.drawRect(QRectF(x + 10 + k * 25, h * 0.515, 16, h * 0.03));
  }
  centredText(p, QRectF(0, h * 0.12, w, 80), "鉄道運転シミュレータ", 52, Qt::white);
  centredText(p, QRectF(0, h * 0.26, w, 40), "鷹見線", 30, QColor(255, 240, 200));
  centredText(p, QRectF(0, h * 0.8, w, 30), "クリックしてください", 22, Qt::white, false);
  return img;
}

QImage menuPicture(int w, int h) {
  QImage img = blank(w, h, QColor(24, 36, 60));
  QPainter p(&img);
  centredText(p, QRectF(0, 20, w, 50), "路線と列車を選んでください", 32, Qt::white);
  centredText(p, QRectF(0, h - 60, w, 30), "Shift を押しながら路線を選ぶと、どの列車でも運転できます", 18,
              QColor(200, 210, 230), false);
  centredText(p, QRectF(0, h - 34, w, 30), "右クリックで任意の車両ファイルを選べます", 18,
              QColor(200, 210, 230), false);
  return img;
}

QImage button(int w, int h, const std::string& text, QColor colour, bool rounded) {
  QImage img = blank(w, h, QColor(24, 36, 60));
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(QPen(Qt::white, 2));
  p.setBrush(colour);
  if (rounded)
    p.drawRoundedRect(QRectF(2, 2, w - 4, h - 4), 10, 10);
  else
    p.drawRect(QRectF(1, 1, w - 2, h - 2));
  centredText(p, QRectF(0, 0, w, h), text, h * 2 / 5, Qt::white);
  return img;
}

}  // namespace kestrel::demo::paint
