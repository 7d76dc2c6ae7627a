#include "platform/qt/cab_renderer.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <numeric>
#include <string>
#include <vector>

#include "platform/qt/cab_fonts.h"

namespace kestrel {

namespace {

QColor rgb(uint32_t colour, int alpha = 255) {
  return QColor((colour >> 16) & 0xFF, (colour >> 8) & 0xFF, colour & 0xFF, alpha);
}

// The cell `pattern` of a picture made of equal patterns, left to right, then top to bottom; a
// pattern beyond the picture shows its last cell.
QRect cellOf(const SpriteImage& s, int pattern) {
  const QSize size = s.image.size();
  if (s.patternWidth <= 0 || s.patternHeight <= 0) return QRect(QPoint(0, 0), size);
  const int cols = std::max(1, size.width() / s.patternWidth);
  const int rows = std::max(1, size.height() / s.patternHeight);
  const int n = std::clamp(pattern, 0, cols * rows - 1);
  return QRect((n % cols) * s.patternWidth, (n / cols) * s.patternHeight, s.patternWidth, s.patternHeight);
}

// A cell turned by `turn` 256ths of a turn, clockwise, about the centre of `target` (whose size the
// cell is drawn at), smoothly, into a picture of its own; `at` is where its top-left corner goes.
QImage turned(const QImage& source, const QRect& cell, const QRectF& target, int turn, QPoint* at) {
  QTransform t;
  t.translate(target.center().x(), target.center().y());
  t.rotate(turn * 360.0 / 256.0);
  const QRectF local(-target.width() / 2, -target.height() / 2, target.width(), target.height());
  const QRect bounds = t.mapRect(local).toAlignedRect();
  QImage image(bounds.size(), QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::SmoothPixmapTransform);
  p.setTransform(t * QTransform::fromTranslate(-bounds.left(), -bounds.top()));
  p.drawImage(local, source, cell);
  *at = bounds.topLeft();
  return image;
}

}  // namespace

void CabRenderer::drawSprite(QPainter& p, const Sprite& s, const SpriteImage& image) const {
  if (s.width <= 0 || s.height <= 0 || image.image.isNull()) return;
  const int alpha = s.rotating ? std::clamp(s.alpha, 0, 255) : 255;
  if (alpha == 0) return;
  const QRect cell = cellOf(image, s.pattern);
  const QRectF target(std::floor(s.x), std::floor(s.y), s.width, s.height);
  const int turn = s.rotating ? (s.angle & 0xFF) : 0;
  if (alpha != 255) p.setOpacity(alpha / 255.0);
  if (turn == 0) {
    p.drawImage(target, image.image, cell);
  } else {
    // Low byte of the angle: 256ths of a turn, clockwise, about the picture's centre. A needle
    // stands at one of 256 angles and mostly keeps it from frame to frame: each turned picture is
    // made once and then only copied.
    const TurnKey key{&image,  cell.x(), cell.y(), static_cast<int>(target.x()), static_cast<int>(target.y()),
                      s.width, s.height, turn};
    auto it = turned_.find(key);
    if (it == turned_.end()) {
      if (turnedBytes_ > kTurnedBytes) {
        turned_.clear();
        turnedBytes_ = 0;
      }
      Turned made;
      made.image = turned(image.image, cell, target, turn, &made.at);
      turnedBytes_ += made.image.sizeInBytes();
      it = turned_.emplace(key, std::move(made)).first;
    }
    p.drawImage(it->second.at, it->second.image);
  }
  if (alpha != 255) p.setOpacity(1.0);
}

CabRenderer::CabRenderer(const PictureCatalog& catalog) : images_(catalog) {}

QImage CabRenderer::makeView() {
  QImage view(kViewWidth, kViewHeight, QImage::Format_RGB32);
  view.fill(Qt::black);
  return view;
}

void CabRenderer::render(const CabFrame& frame, const SpriteScene& sprites, QImage& view) {
  QPainter p(&view);
  // Black where the movie surface does not cover the view (all of it when there is no frame).
  const Picture* movie = frame.movie;
  const bool covered = !frame.still && movie && !movie->empty() && frame.W >= view.width() && frame.H > 0;
  p.fillRect(covered ? QRect(0, frame.H, view.width(), view.height() - frame.H) : view.rect(), Qt::black);
  if (frame.still) {
    drawSprites(p, sprites);
    drawMovieSurface(p, frame);
    return;
  }
  drawMovieSurface(p, frame);
  if (frame.tunnelAlpha > 0) {
    // The tunnel darkens the picture outside; the texts on it stay readable.
    p.fillRect(QRect(0, 0, frame.W, frame.H), rgb(0, frame.tunnelAlpha));
  }
  drawTexts(p, frame);
  drawSprites(p, sprites);
  drawKilometrePost(p, frame);
  drawClock(p, frame);
  if (frame.fadeAlpha) p.fillRect(QRect(0, 0, frame.W, frame.fadeHeight), rgb(0, *frame.fadeAlpha));
}

void CabRenderer::drawMovieSurface(QPainter& p, const CabFrame& frame) {
  // Without a frame the movie surface is black, as the view already is.
  const Picture* movie = frame.movie;
  if (!movie || movie->empty() || frame.W <= 0 || frame.H <= 0) return;
  // The decoded frame as it stands (no copy); its alpha byte is not looked at. Scaling it while
  // drawing costs less than keeping a scaled copy: most frames are drawn once.
  const QImage source(reinterpret_cast<const uchar*>(movie->pixels.data()), movie->width, movie->height,
                      static_cast<qsizetype>(movie->width) * 4, QImage::Format_RGB32);
  if (source.size() == QSize(frame.W, frame.H)) {
    p.drawImage(QPoint(0, 0), source);
    return;
  }
  p.save();
  p.setRenderHint(QPainter::SmoothPixmapTransform);
  p.drawImage(QRect(0, 0, frame.W, frame.H), source);
  p.restore();
}

// The picture a sprite shows: its own, or for a picture list's sprite the list's picture that the
// pattern names (a pattern beyond the list shows its last picture, as a cell beyond a strip does).
const SpriteImage* CabRenderer::imageFor(const Sprite& s) const {
  if (!s.pictureList) return images_.find(s.name);
  if (s.patternCount < 1) return nullptr;
  return images_.find(s.name + std::to_string(std::clamp(s.pattern, 0, s.patternCount - 1)));
}

void CabRenderer::drawSprites(QPainter& p, const SpriteScene& sprites) const {
  const std::vector<Sprite>& all = sprites.sprites();
  // Lower orders first; sprites of one order in the order they were made.
  std::vector<size_t> order(all.size());
  std::iota(order.begin(), order.end(), size_t{0});
  std::stable_sort(order.begin(), order.end(), [&all](size_t a, size_t b) { return all[a].z < all[b].z; });
  for (size_t i : order) {
    const Sprite& s = all[i];
    if (!s.visible) continue;
    if (const SpriteImage* image = imageFor(s)) drawSprite(p, s, *image);
  }
}

const QFont& CabRenderer::overlay(int32_t pointSize) {
  auto it = overlayFonts_.find(pointSize);
  if (it == overlayFonts_.end()) it = overlayFonts_.emplace(pointSize, overlayFont(pointSize)).first;
  return it->second;
}

void CabRenderer::drawTexts(QPainter& p, const CabFrame& frame) {
  // The texts change at most once a tick and every one is drawn twice (shadow and text): each is
  // laid out once and kept while it stays.
  if (texts_.size() > kTextsKept) texts_.clear();
  for (const OverlayText& t : frame.texts) {
    const QFont& font = overlay(t.pointSize);
    auto it = texts_.find({t.pointSize, t.text});
    if (it == texts_.end()) {
      QStaticText laidOut(QString::fromStdString(t.text));
      laidOut.setTextFormat(Qt::PlainText);
      laidOut.prepare(QTransform(), font);
      it = texts_.emplace(std::make_pair(t.pointSize, t.text), std::move(laidOut)).first;
    }
    p.setFont(font);
    p.setPen(rgb(t.rgb));
    // The places are the top-left corners of the text cells.
    p.drawStaticText(QPoint(t.x, t.y), it->second);
  }
}

void CabRenderer::drawKilometrePost(QPainter& p, const CabFrame& frame) const {
  if (!frame.kilometrePost) return;
  const KilometrePost& post = *frame.kilometrePost;
  const QFont font = plainFont(post.pointSize);
  p.setFont(font);
  p.setPen(rgb(post.rgb));
  p.drawText(QPoint(post.x, frame.H + post.y + QFontMetrics(font).ascent()),
             QString::fromStdString(post.text));
}

void CabRenderer::drawClock(QPainter& p, const CabFrame& frame) {
  if (!frame.clock) return;
  const ClockFace& face = *frame.clock;
  p.save();
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setPen(QPen(Qt::black, 0));  // one pixel wide
  p.translate(frame.clockX, frame.clockY);
  for (const ClockHand& hand : {face.hour, face.minute, face.second}) p.drawLine(25, 25, hand.x, hand.y);
  p.restore();
}

}  // namespace kestrel
