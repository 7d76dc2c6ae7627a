#pragma once
// The status texts of the cab view: where each is drawn over the movie (text mode 0), or which
// label shows it (text mode 1), and the commentary message in both modes. Places and font sizes
// are fractions of the view's W and H, each product rounded to whole pixels (ties to even); every
// text is drawn first in black, offset by d = round(0.002 W), then in white at its place.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/data/settings_data.h"
#include "core/state/drive_context.h"

namespace kestrel {

// The texts drawn over the movie, in the order of their white draws.
enum class OverlaySlot {
  Message,
  Speed,
  Reverser,
  Power,
  Brake,
  Label3,
  NextLimit,
  LimitNotice,
  Label8,
  Label9,
  Door,
  Station,
  Clock,
  OneMan,
};
inline constexpr size_t kOverlaySlotCount = 14;

inline constexpr uint32_t kTextBlack = 0x000000;
inline constexpr uint32_t kTextWhite = 0xFFFFFF;

struct TextExtent {
  int32_t width = 0, height = 0;
};

// Measures a text as the view draws it (the movie font at a point size). The cab display measures
// each text after drawing it; the message is centred on the width measured at the previous draw.
class TextMetrics {
 public:
  virtual ~TextMetrics() = default;
  virtual TextExtent measure(std::string_view text, int32_t pointSize) const = 0;
};

struct OverlayText {
  OverlaySlot slot;
  std::string text;
  int32_t x = 0, y = 0;  // top-left of the text cell, pixels of the view
  int32_t pointSize = 0;
  uint32_t rgb = kTextWhite;
};

using OverlayExtents = std::array<TextExtent, kOverlaySlotCount>;

// The draws of one frame, in order (shadows and whites), for a view of W x H. `extents` holds the
// sizes measured at the previous draw and receives this draw's.
std::vector<OverlayText> layOutOverlay(const DriveContext& ctx, const Preferences& preferences, int32_t W,
                                       int32_t H, const TextMetrics& metrics, OverlayExtents& extents);

// The fifteen labels of text mode (Label0 to Label14), as the tick copies them.
inline constexpr size_t kLabelCount = 15;
std::array<std::string, kLabelCount> labelTexts(const DriveContext& ctx);

}  // namespace kestrel
