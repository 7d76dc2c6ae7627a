#pragma once
// The picture a movie reader handed out last, handed out again whenever no new one can be (a
// frame the movie lacks, a closed movie): the screen keeps what it showed.
#include <memory>
#include <utility>

#include "core/ports/picture.h"

namespace kestrel {

class ShownPicture {
 public:
  // Copies `picture` into `out` and keeps it; null copies the last one again (an empty picture
  // before any). True for a new picture.
  bool handOut(std::shared_ptr<const Picture> picture, Picture& out) {
    const bool fresh = picture != nullptr;
    if (fresh) shown_ = std::move(picture);
    if (shown_) {
      out.width = shown_->width;
      out.height = shown_->height;
      out.pixels.assign(shown_->pixels.begin(), shown_->pixels.end());
    } else {
      out = Picture{};
    }
    return fresh;
  }

 private:
  std::shared_ptr<const Picture> shown_;
};

}  // namespace kestrel
