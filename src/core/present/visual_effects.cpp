#include "core/present/visual_effects.h"

#include <algorithm>

#include "core/util/rounding.h"

namespace kestrel {

namespace {
constexpr double kTunnelRampCm = 1500;
}

void applyVisualEffectsRule(Preferences& preferences, SpriteScene& sprites) {
  preferences.VisualEffectsOff = 1;
  if (preferences.VisualEffectsOff == 1) sprites.setVisible("img_Panel2", false);
}

int32_t tunnelDarkness(const LineData& line, double distanceRun, const Preferences& preferences) {
  if (preferences.VisualEffectsOff == 1) return 0;
  int32_t darkest = 0;
  for (const TunnelRow& row : line.Tunnel) {
    if (!(row.entryCm < distanceRun && distanceRun < row.exitCm)) continue;
    const double fromEnd = std::min(distanceRun - row.entryCm, row.exitCm - distanceRun);
    const double level = fromEnd >= kTunnelRampCm ? row.level : row.level * fromEnd / kTunnelRampCm;
    darkest = std::max(darkest, std::clamp(roundHalfAway(level), 0, 255));
  }
  return darkest;
}

std::optional<FadeFrame> advanceFade(int32_t& fadeLevel, const Preferences& preferences) {
  if (fadeLevel <= 0) return std::nullopt;
  if (preferences.VisualEffectsOff == 1) fadeLevel = 256;
  FadeFrame frame{std::min(fadeLevel, 255), false};
  fadeLevel += 10;
  if (fadeLevel > 255) {
    fadeLevel = 0;
    frame.close = true;
  }
  return frame;
}

}  // namespace kestrel
