#pragma once
// Draws the brake guidance over the driver's view: a panel at the top right of the movie with the
// distance left to the next stop and, for each service step, a bar as long as the train would run
// at that step before it stands, against a line at the stop target. A bar that ends on the line
// stops at the mark; the step the driver holds is framed.
#include <QPainter>
#include <string>

#include "core/grade/brake_guidance.h"

namespace kestrel {

// `station` names the next stop. Coordinates are those of the 800 x 760 view.
void paintBrakeGuidance(QPainter& painter, const grade::BrakeGuidance& guidance, const std::string& station);

// Where a bar of `stopCm` ends, as a share of the bar's full width: the stop target stands at
// kGuideMarkShare; a distance beyond the panel's reach is 1.
inline constexpr double kGuideMarkShare = 0.7;
double guideBarShare(double stopCm, double remainingCm);

}  // namespace kestrel
