#include "platform/qt/cab_view.h"

#include <QElapsedTimer>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QTimer>
#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "core/front/cab_session.h"
#include "core/front/session_loader.h"
#include "core/present/cab_display.h"
#include "core/present/frame_signature.h"
#include "core/util/path_lookup.h"
#include "platform/qt/cab_fonts.h"
#include "platform/qt/cab_renderer.h"
#include "platform/qt/qt_picture_loader.h"
#include "platform/qt/sprite_images.h"

namespace kestrel {

namespace {

// The cab window's client area and the controls on it.
constexpr QSize kClient(1202, 758);
const QRect kSubDisplay(798, 545, 480, 360);
const QRect kBack(1168, 727, 20, 20);
constexpr int kLabelX = 806, kLabelTop = 6, kLabelPitch = 34, kLabelPoints = 12, kLabelGap = 6;
constexpr const char* kPausedMark = "一時停止";

int refreshRateOf(const QScreen* screen) {
  const double hz = screen ? screen->refreshRate() : 0;
  return hz >= 10 && hz <= 480 ? static_cast<int>(std::lround(hz)) : 60;
}

}  // namespace

struct CabView::Impl {
  Impl(CabView& view, CabSession& s, LoadedSession& l, MovieReader* movie)
      : session(s),
        loaded(l),
        display(s.context(), l.settings.preferences, movie, &s.moviePlayback(), l.choice.vehicleFileName,
                metrics),
        renderer(l.pictures),
        image(CabRenderer::makeView()),
        pacer(&view) {
    if (l.pictures.stafCard) staf = imageOf(*l.pictures.stafCard);
    if (l.pictures.subDisplay) sub = imageOf(*l.pictures.subDisplay);
    clock.start();
    pacer.setTimerType(Qt::PreciseTimer);
  }

  CabSession& session;
  LoadedSession& loaded;
  QtTextMetrics metrics;
  CabDisplay display;
  CabRenderer renderer;
  QImage image;
  QImage staf, sub;
  QTimer pacer;
  QElapsedTimer clock;
  std::optional<uint64_t> signature;
  int64_t composed = 0;
  std::array<QString, kLabelCount> labels;
  std::array<bool, kLabelCount> labelShown{};
  std::array<QRect, kLabelCount> labelPlaces;
  bool pausedMark = false;
  bool owedWhilePaused = false;  // redrawPaused's frame was still being decoded
  int32_t labelTick = -1;
  int32_t shownTop = 0;
  std::function<void(QPainter&)> overlay;

  // Where the client area stands in the widget, and its scale.
  QTransform layout(const QSize& widget) const {
    const double s =
        std::min(widget.width() / double(kClient.width()), widget.height() / double(kClient.height()));
    QTransform t;
    t.translate((widget.width() - kClient.width() * s) / 2, (widget.height() - kClient.height() * s) / 2);
    t.scale(s, s);
    return t;
  }
  QRect viewRect() const { return QRect(0, shownTop, kViewWidth, kViewHeight); }

  // The labels shown stand in the column right of the driver's view, below the timetable card,
  // which they must not cover: in one column when its rows are roomy, else in two; above
  // `sub_disp` when they fit there, else down to the `back` picture.
  void layOutLabels() {
    std::vector<size_t> shown;
    for (size_t i = 0; i < kLabelCount; ++i)
      if (labelShown[i]) shown.push_back(i);
    labelPlaces.fill(QRect());
    if (shown.empty()) return;
    const QRect column(kLabelX, 0, kClient.width() - kLabelX, kClient.height());
    const QRect card = staf.isNull() ? QRect() : QRect(QPoint(loaded.settings.Disp.StafX, 0), staf.size());
    const int top = card.intersects(column) ? std::max(kLabelTop, card.bottom() + 1 + kLabelGap) : kLabelTop;
    const int line = QFontMetrics(labelFont(kLabelPoints)).height() + 2;
    const int n = static_cast<int>(shown.size());
    int columns = 2, pitch = line;
    bool found = false;
    for (int bottom : {sub.isNull() ? kBack.top() : kSubDisplay.top(), kBack.top()}) {
      for (int c : {1, 2}) {
        const int rows = (n + c - 1) / c;
        const int p = std::min(kLabelPitch, (bottom - top) / rows);
        if (found || p < (c == 1 ? line * 3 / 2 : line)) continue;
        columns = c;
        pitch = p;
        found = true;
      }
    }
    const int rows = (n + columns - 1) / columns;
    const int width = column.width() / columns;
    for (int k = 0; k < n; ++k)
      labelPlaces[shown[static_cast<size_t>(k)]] =
          QRect(kLabelX + (k / rows) * width, top + (k % rows) * pitch, width - 4, pitch);
  }
};

CabView::CabView(CabSession& session, LoadedSession& loaded, MovieReader* movie, QWidget* parent)
    : QWidget(parent), impl_(nullptr) {
  session.setPreferences(loaded.settings.preferences);
  impl_ = new Impl(*this, session, loaded, movie);
  setMinimumSize(kClient / 2);
  resize(kClient);
  setAttribute(Qt::WA_OpaquePaintEvent);
  impl_->pacer.setInterval(1000 / refreshRateOf(QGuiApplication::primaryScreen()));
  connect(&impl_->pacer, &QTimer::timeout, this, &CabView::renderStep);
}

CabView::~CabView() {
  delete impl_;
}

int CabView::pacingRate() const {
  return refreshRateOf(screen() ? screen() : QGuiApplication::primaryScreen());
}

int CabView::pacingIntervalMs() const {
  // While the drive is paused the view only looks, ten times a second, whether it runs again.
  return impl_->session.running() ? 1000 / pacingRate() : kPausedPollMs;
}

void CabView::showStill() {
  Impl& d = *impl_;
  if (d.session.running()) return;
  const std::string& name = d.loaded.line.Staf[1];
  Picture still;
  if (!name.empty()) {
    QtPictureLoader loader;
    // A still picture that does not load leaves the movie area black; the drive can go on.
    if (auto picture = loader.load(resolveDataPath(d.loaded.choice.programDirectory, name)))
      still = std::move(*picture);
  }
  const CabFrame& frame = d.display.showStill(std::move(still));
  d.renderer.render(frame, d.session.sprites(), d.image);
  d.signature.reset();
  d.composed += 1;
  update();
}

void CabView::redrawPaused() {
  Impl& d = *impl_;
  if (d.session.running()) return;
  d.renderer.render(d.display.redrawPaused(), d.session.sprites(), d.image);
  d.owedWhilePaused = d.display.framePending();
  d.signature.reset();
  d.composed += 1;
  update();
}

void CabView::setPausedMark(bool shown) {
  if (impl_->pausedMark == shown) return;
  impl_->pausedMark = shown;
  update();
}

void CabView::startRendering() {
  impl_->pacer.setInterval(1000 / pacingRate());
  impl_->pacer.start();
}

void CabView::stopRendering() {
  impl_->pacer.stop();
}

void CabView::renderStep() {
  Impl& d = *impl_;
  const bool running = d.session.running();
  const TrainState& t = d.session.train();
  if (d.pacer.isActive()) {
    const int interval = pacingIntervalMs();
    if (d.pacer.interval() != interval) d.pacer.setInterval(interval);
  }
  // Shift+Up and Shift+Down move the driver's view, also while paused.
  if (d.session.keys().cabDisplayTop != d.shownTop) {
    d.shownTop = d.session.keys().cabDisplayTop;
    update();
  }
  // Text mode: the labels take the texts once per tick.
  if (running && d.loaded.settings.preferences.TextMode != 0 && t.tickCount != d.labelTick) {
    d.labelTick = t.tickCount;
    const auto texts = labelTexts(d.session.context());
    bool changed = false;
    for (size_t i = 0; i < kLabelCount; ++i) {
      const QString s = QString::fromStdString(texts[i]);
      if (s == d.labels[i]) continue;
      d.labels[i] = s;
      changed = changed || d.labelShown[i];
    }
    if (changed) update();
  }
  // While paused, the frame a restore or a station jump moved to is shown once the decoder has it.
  if (!running && d.owedWhilePaused) redrawPaused();
  const CabFrame* frame = d.display.step(d.clock.elapsed(), running, isVisible());
  if (!frame) return;
  const uint64_t signature = frameSignature(*frame, d.session.sprites());
  if (signature != d.signature) {
    d.signature = signature;
    d.renderer.render(*frame, d.session.sprites(), d.image);
    d.composed += 1;
    update(d.layout(size()).mapRect(d.viewRect()).adjusted(-1, -1, 1, 1));
  }
  if (frame->closeAfter) {
    repaint();  // the last, black, frame is on the screen before the window goes
    stopRendering();
    Q_EMIT fadeFinished();
  }
}

void CabView::applyTextMode(bool atStart) {
  Impl& d = *impl_;
  const bool on = d.loaded.settings.preferences.TextMode != 0;
  for (size_t i = 0; i < kLabelCount; ++i) d.labelShown[i] = (i == 5 || i == 6) && !atStart ? false : on;
  d.layOutLabels();
  update();
}

QRect CabView::labelRect(size_t i) const {
  return i < kLabelCount ? impl_->labelPlaces[i] : QRect();
}

int CabView::measuredRate() const {
  return impl_->display.measuredRate();
}

CabView::Counters CabView::counters() const {
  const CabDisplay::Counters& c = impl_->display.counters();
  return {c.steps, c.decodes, c.pending, c.standIns, impl_->composed};
}

void CabView::setOverlay(std::function<void(QPainter&)> overlay) {
  impl_->overlay = std::move(overlay);
  update();
}

const QImage& CabView::viewImage() const {
  return impl_->image;
}

void CabView::paintEvent(QPaintEvent*) {
  Impl& d = *impl_;
  QPainter p(this);
  p.fillRect(rect(), Qt::black);
  const QTransform layout = d.layout(size());
  p.setTransform(layout);
  if (!layout.isIdentity()) p.setRenderHint(QPainter::SmoothPixmapTransform);
  p.setClipRect(QRect(QPoint(0, 0), kClient));
  p.drawImage(d.viewRect().topLeft(), d.image);
  if (d.overlay) {
    p.save();
    p.translate(d.viewRect().topLeft());
    p.setClipRect(QRect(0, 0, kViewWidth, kViewHeight), Qt::IntersectClip);
    d.overlay(p);
    p.restore();
  }
  if (!d.sub.isNull()) p.drawImage(kSubDisplay, d.sub);
  if (!d.staf.isNull()) p.drawImage(QPoint(d.loaded.settings.Disp.StafX, 0), d.staf);

  // `back`: a small arrow back to the title.
  p.fillRect(kBack, QColor(64, 64, 64));
  QPainterPath arrow;
  arrow.moveTo(kBack.left() + 4, kBack.center().y() + 0.5);
  arrow.lineTo(kBack.right() - 3, kBack.top() + 4);
  arrow.lineTo(kBack.right() - 3, kBack.bottom() - 3);
  arrow.closeSubpath();
  p.fillPath(arrow, Qt::white);

  const QFont font = labelFont(kLabelPoints);
  const QFontMetrics metrics(font);
  p.setFont(font);
  for (size_t i = 0; i < kLabelCount; ++i) {
    if (!d.labelShown[i] || d.labels[i].isEmpty()) continue;
    const QRect r = d.labelPlaces[i];
    const QString text = metrics.elidedText(d.labels[i], Qt::ElideRight, r.width() - 4);
    p.fillRect(QRect(r.topLeft(), QSize(metrics.horizontalAdvance(text) + 4, metrics.height() + 2)),
               Qt::black);
    p.setPen(Qt::white);
    p.drawText(r.left() + 2, r.top() + 1 + metrics.ascent(), text);
  }

  if (d.pausedMark) {
    // Top right of the driver's view, small, so that the picture stays readable under it.
    const QFont markFont = labelFont(kLabelPoints);
    const QFontMetrics markMetrics(markFont);
    const QString mark = QString::fromUtf8(kPausedMark);
    const QSize box(markMetrics.horizontalAdvance(mark) + 16, markMetrics.height() + 8);
    const QRect at(QPoint(kViewWidth - box.width() - 8, d.shownTop + 8), box);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::white, 1));
    p.setBrush(QColor(0, 0, 0, 170));
    p.drawRoundedRect(at, 4, 4);
    p.setFont(markFont);
    p.drawText(at, Qt::AlignCenter, mark);
  }
}

void CabView::mousePressEvent(QMouseEvent* event) {
  Impl& d = *impl_;
  if (event->button() != Qt::LeftButton) return;
  bool invertible = false;
  const QPointF at = d.layout(size()).inverted(&invertible).map(event->position());
  if (!invertible) return;
  if (QRectF(kBack).contains(at)) {
    Q_EMIT backClicked();
  } else if (QRectF(d.viewRect()).contains(at)) {
    Q_EMIT displayClicked();
  }
}

}  // namespace kestrel
