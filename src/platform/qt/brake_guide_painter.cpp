#include "platform/qt/brake_guide_painter.h"

#include <algorithm>
#include <cmath>

#include "core/grade/grade_texts.h"
#include "platform/qt/cab_fonts.h"

namespace kestrel {

namespace {

constexpr int kLeft = 548, kTop = 36, kWidth = 240;
constexpr int kRow = 17, kLabel = 30, kValue = 58;
constexpr double kOnMarkCm = 500;  // a stand this close to the target counts as on the mark
const QColor kPanel(0, 0, 0, 170);
const QColor kShort(120, 170, 255);
const QColor kOnMark(80, 220, 80);
const QColor kOver(255, 80, 60);

QString metresText(double cm) {
  return QString::fromStdString(grade::texts::decimal(cm / 100, cm < 10000 ? 1 : 0) + " m");
}

}  // namespace

double guideBarShare(double stopCm, double remainingCm) {
  if (remainingCm <= 0) return 1;
  return std::clamp(stopCm / remainingCm * kGuideMarkShare, 0.0, 1.0);
}

void paintBrakeGuidance(QPainter& p, const grade::BrakeGuidance& g, const std::string& station) {
  const int rows = static_cast<int>(g.steps.size());
  const QRect panel(kLeft, kTop, kWidth, kRow * (rows + 2) + 6);
  p.save();
  p.setRenderHint(QPainter::Antialiasing, false);
  p.fillRect(panel, kPanel);
  QFont font = labelFont(9);
  p.setFont(font);
  p.setPen(Qt::white);
  const QString title = QString::fromStdString(station) + QStringLiteral("  ") + metresText(g.remainingCm);
  p.drawText(QRect(kLeft + 6, kTop + 2, kWidth - 12, kRow), Qt::AlignLeft | Qt::AlignVCenter, title);

  const int barLeft = kLeft + kLabel, barWidth = kWidth - kLabel - kValue;
  const int markX = barLeft + static_cast<int>(std::lround(barWidth * kGuideMarkShare));
  for (int i = 0; i < rows; ++i) {
    const grade::StepStop& s = g.steps[static_cast<size_t>(i)];
    const int y = kTop + kRow * (i + 1) + 4;
    p.setPen(Qt::white);
    p.drawText(QRect(kLeft + 4, y, kLabel - 6, kRow), Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("B%1").arg(s.step));
    QColor color = kOver;
    double share = 1;
    if (s.stopCm) {
      share = guideBarShare(*s.stopCm, g.remainingCm);
      const double miss = *s.stopCm - g.remainingCm;
      color = std::fabs(miss) <= kOnMarkCm ? kOnMark : miss < 0 ? kShort : kOver;
    }
    p.fillRect(QRect(barLeft, y + 4, static_cast<int>(std::lround(barWidth * share)), kRow - 8), color);
    p.drawText(QRect(barLeft + barWidth + 4, y, kValue - 6, kRow), Qt::AlignLeft | Qt::AlignVCenter,
               s.stopCm ? metresText(*s.stopCm) : QStringLiteral("—"));
    if (s.step == g.currentStep) {
      p.setPen(QPen(Qt::white, 1));
      p.drawRect(QRect(kLeft + 2, y, kWidth - 5, kRow - 1));
    }
  }
  // The stop target.
  p.setPen(QPen(Qt::white, 2));
  p.drawLine(markX, kTop + kRow + 2, markX, kTop + kRow * (rows + 1) + 6);
  p.setPen(Qt::white);
  const QString held = g.currentStep == 0                   ? QStringLiteral("brake released")
                       : g.currentStopCm                    ? QStringLiteral("held: stands in ") + metresText(*g.currentStopCm)
                                                            : QStringLiteral("held: does not stand in reach");
  p.drawText(QRect(kLeft + 6, kTop + kRow * (rows + 1) + 6, kWidth - 12, kRow), Qt::AlignLeft | Qt::AlignVCenter, held);
  p.restore();
}

}  // namespace kestrel
