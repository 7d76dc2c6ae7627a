#include "core/present/frame_signature.h"

#include <string_view>

namespace kestrel {

namespace {

// FNV-1a, 64 bits.
class Hash {
 public:
  void bytes(const void* data, size_t n) {
    const auto* p = static_cast<const unsigned char*>(data);
    for (size_t i = 0; i < n; ++i) {
      h_ ^= p[i];
      h_ *= 0x100000001b3ULL;
    }
  }
  template <class T>
  void value(T v) {
    bytes(&v, sizeof v);
  }
  void text(std::string_view s) {
    value(s.size());
    bytes(s.data(), s.size());
  }
  uint64_t result() const { return h_; }

 private:
  uint64_t h_ = 0xcbf29ce484222325ULL;
};

}  // namespace

uint64_t frameSignature(const CabFrame& f, const SpriteScene& sprites) {
  Hash h;
  h.value(f.still);
  h.value(f.movieRevision);
  h.value(f.W);
  h.value(f.H);
  h.value(f.tunnelAlpha);
  h.value(f.texts.size());
  for (const OverlayText& t : f.texts) {
    h.text(t.text);
    h.value(t.x);
    h.value(t.y);
    h.value(t.pointSize);
    h.value(t.rgb);
  }
  h.value(f.kilometrePost.has_value());
  if (f.kilometrePost) h.text(f.kilometrePost->text);
  h.value(f.clock.has_value());
  if (f.clock) h.value(f.clock->revision);
  h.value(f.fadeAlpha.value_or(-1));
  h.value(f.closeAfter);
  for (const Sprite& s : sprites.sprites()) {
    h.value(s.visible);
    if (!s.visible) continue;
    h.value(s.x);
    h.value(s.y);
    h.value(s.width);
    h.value(s.height);
    h.value(s.pattern);
    h.value(s.angle);
    h.value(s.alpha);
  }
  return h.result();
}

}  // namespace kestrel
