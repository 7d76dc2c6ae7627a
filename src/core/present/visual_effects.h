#pragma once
// The visual effects of the cab view: the panel overlay "img_Panel2", the tunnel darkening and the
// exit fade. All follow the "Tunnel" preference (VisualEffectsOff), which every tick sets to 1 —
// so once a drive has run a tick, the overlay stays hidden, tunnels are not darkened, the fade
// ends on its first frame, and the preference is written back as 1 when the window closes.
#include <cstdint>
#include <optional>

#include "core/data/line_data.h"
#include "core/data/settings_data.h"
#include "core/state/sprite_scene.h"

namespace kestrel {

// Tick, stage Displays: VisualEffectsOff := 1, then "img_Panel2" hidden while it is 1.
void applyVisualEffectsRule(Preferences& preferences, SpriteScene& sprites);

// The darkening of the movie inside a [Tunnel] section (0 outside, or with visual effects off):
// the row's level, ramping linearly over the first and last 1500 cm, at most 255.
int32_t tunnelDarkness(const LineData& line, double distanceRun, const Preferences& preferences);

// One drawn frame of the exit fade (FadeLevel 1 to 255 after BackClick): the black fill's alpha,
// and whether the cab window closes after this frame. Without visual effects the level jumps to
// 256, so a fade is one black frame; otherwise it takes 26 frames (1, 11, ... 251).
struct FadeFrame {
  int32_t alpha = 0;  // 0 to 255
  bool close = false;
};
std::optional<FadeFrame> advanceFade(int32_t& fadeLevel, const Preferences& preferences);

}  // namespace kestrel
