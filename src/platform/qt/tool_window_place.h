#pragma once
// Moves one of the drive's small windows (help, easy cab, value display) beside the cab window:
// the rule of core/front/window_placement.h on the cab window's screen. GUI thread only.
#include <vector>

class QMainWindow;
class QWidget;

namespace kestrel {

// `others`: the small windows that may be open; those shown are kept clear of.
void moveBesideCab(QWidget& window, const QMainWindow& cab, const std::vector<const QWidget*>& others);

}  // namespace kestrel
