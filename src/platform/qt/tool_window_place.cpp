#include "platform/qt/tool_window_place.h"

#include <QGuiApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QScreen>

#include "core/front/window_placement.h"

namespace kestrel {

namespace {

WindowRect rectOf(const QRect& r) {
  return {r.x(), r.y(), r.width(), r.height()};
}

}  // namespace

void moveBesideCab(QWidget& window, const QMainWindow& cab, const std::vector<const QWidget*>& others) {
  const QScreen* screen = cab.screen() ? cab.screen() : QGuiApplication::primaryScreen();
  if (!screen) return;
  // A window not yet shown has no frame: take the cab window's margins for it.
  QSize size = window.frameGeometry().size();
  if (!window.isVisible() && size == window.size())
    size += cab.frameGeometry().size() - cab.geometry().size();
  const QMenuBar* bar = cab.menuBar();
  const int menuBottom =
      bar && bar->isVisible() ? bar->mapToGlobal(QPoint(0, bar->height())).y() : cab.geometry().top();
  std::vector<WindowRect> open;
  for (const QWidget* other : others)
    if (other && other != &window && other->isVisible()) open.push_back(rectOf(other->frameGeometry()));
  const WindowRect at =
      placeBesideCab({0, 0, size.width(), size.height()}, {rectOf(cab.frameGeometry()), menuBottom},
                     rectOf(screen->availableGeometry()), open);
  window.move(at.x, at.y);
}

}  // namespace kestrel
