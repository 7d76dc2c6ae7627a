#pragma once
// The title window's pictures and sounds and the opening movie.
#include "tools/make_demo/assets.h"
#include "tools/make_demo/movie_renderer.h"

namespace kestrel::demo {

void writeTitleFiles(Assets& assets);
// move\opening.avi: a short run out of the first station under the title, 640 x 360.
void writeOpeningMovie(Assets& assets, const MovieRenderer& renderer, int frames);

}  // namespace kestrel::demo
