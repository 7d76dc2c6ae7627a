#pragma once
// A fingerprint of everything a described frame and the sprite scene would put on the screen.
// Two equal fingerprints draw the same picture, so the view composes a frame only when the
// fingerprint changed: at the filming speed the movie changes 30 times a second while the screen
// refreshes 60 times, and a train standing still changes only its clock and needles.
#include <cstdint>

#include "core/present/cab_display.h"
#include "core/state/sprite_scene.h"

namespace kestrel {

uint64_t frameSignature(const CabFrame& frame, const SpriteScene& sprites);

}  // namespace kestrel
