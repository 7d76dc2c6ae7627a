#pragma once
// Writes line_exp.dat, line_rapid.dat and line_local.dat with the trackside pictures they name.
#include <vector>

#include "tools/make_demo/assets.h"
#include "tools/make_demo/filming.h"
#include "tools/make_demo/line_sounds.h"
#include "tools/make_demo/movie_plan.h"
#include "tools/make_demo/route.h"
#include "tools/make_demo/services.h"

namespace kestrel::demo {

// Screen geometry of the cab drawing surface (railvane.dat [Disp]).
constexpr int kViewWidth = 800, kViewHeight = 600, kPanelHeight = 160;

void writeLineFiles(Assets& assets, const Route& route, const Filming& filming, const MoviePlan& plan,
                    const std::vector<Service>& services, const LineSounds& sounds);

}  // namespace kestrel::demo
