#pragma once
// Text measurement without a font: every text is as wide as its bytes times half its size, and as
// tall as its size.
#include <string_view>

#include "core/present/overlay_layout.h"

namespace kestrel::test {

class FakeTextMetrics final : public TextMetrics {
 public:
  TextExtent measure(std::string_view text, int32_t pointSize) const override {
    return {static_cast<int32_t>(text.size()) * pointSize / 2, pointSize};
  }
};

}  // namespace kestrel::test
