#pragma once
// The movies of the line: the route movie, the branch movie through the passing loop and the
// station movie of the overtaking train; their names, frame counts and where they join the
// route movie. The line files and the renderer both read it.
#include <string>

#include "tools/make_demo/filming.h"
#include "tools/make_demo/route.h"

namespace kestrel::demo {

struct MoviePlan {
  std::string dir = "movie\\";  // railvane.dat [Path]
  std::string routeName = "kestrel_line";
  std::string branchName = "kestrel_loop";
  std::string stationName = "kestrel_overtake";
  int routeFrames = 0;
  // Branch: entered in [branchStart, branchStart + 30]; frame k of the branch movie is route
  // frame branchStart + k seen from the loop track; after branchFrames the route movie resumes
  // at branchResume.
  int branchStart = 0, branchFrames = 0, branchResume = 0;
  int stationMovieStation = 0, stationMovieFrames = 300;
  int stationMovieSoundFrame = 40;
};

inline MoviePlan makeMoviePlan(const Route& r, const Filming& f) {
  MoviePlan p;
  p.routeFrames = f.frameCount();
  p.branchStart = f.frameAt(r.loop.inM - 30.0);
  p.branchFrames = f.frameAt(r.loop.outM + 40.0) - p.branchStart;
  p.branchResume = p.branchStart + p.branchFrames + 12;
  p.stationMovieStation = r.variant == Variant::Full ? 2 : 1;
  p.stationMovieFrames = r.variant == Variant::Full ? 300 : 120;
  return p;
}

}  // namespace kestrel::demo
