#include "platform/qt/ghost_overlay.h"

#include <QLabel>
#include <QWidget>
#include <cmath>

#include "core/front/ghost_track.h"

namespace kestrel {

namespace {

constexpr int kGapWidth = 120, kGapHeight = 28, kGapMargin = 8;

}  // namespace

GhostOverlay::GhostOverlay(QWidget* view) {
  gap_ = new QLabel(view);
  gap_->setObjectName(QStringLiteral("GhostGap"));
  gap_->setAlignment(Qt::AlignCenter);
  QFont f = gap_->font();
  f.setPixelSize(20);
  f.setBold(true);
  gap_->setFont(f);
  gap_->resize(kGapWidth, kGapHeight);
  gap_->setAttribute(Qt::WA_TransparentForMouseEvents);
  gap_->hide();
  mark_ = new QWidget(view);
  mark_->setObjectName(QStringLiteral("GhostMark"));
  mark_->setAutoFillBackground(true);
  QPalette p = mark_->palette();
  p.setColor(QPalette::Window, QColor(0x40, 0xa0, 0xff));
  mark_->setPalette(p);
  mark_->setAttribute(Qt::WA_TransparentForMouseEvents);
  mark_->hide();
}

GhostOverlay::~GhostOverlay() {
  delete gap_;
  delete mark_;
}

void GhostOverlay::show(const DriveContext& ctx, std::optional<double> deltaS, std::optional<double> ghostDistanceCm) {
  if (!gap_ || !mark_) return;
  if (deltaS) {
    const QString text = QString::fromStdString(ghostDeltaText(*deltaS));
    if (gap_->text() != text) {
      gap_->setText(text);
      // Behind: red; ahead (or level): green.
      gap_->setStyleSheet(text.startsWith(u'+') ? QStringLiteral("color: #ff3030") : QStringLiteral("color: #30e030"));
    }
    // At the top of the movie, in the middle: clear of the signs at its corners.
    gap_->move((ctx.settings.Disp.DisplayWidth - kGapWidth) / 2, kGapMargin);
    gap_->show();
  } else {
    gap_->hide();
  }
  const auto mark = ghostDistanceCm ? ghostMark(ctx, *ghostDistanceCm) : std::nullopt;
  if (mark) {
    mark_->setGeometry(static_cast<int>(std::lround(mark->x)), static_cast<int>(std::lround(mark->y)), mark->width, 2);
    mark_->show();
    mark_->raise();
  } else {
    mark_->hide();
  }
}

}  // namespace kestrel
