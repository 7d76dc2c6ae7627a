// kestrel-make-demo OUTDIR [--quick]: writes the demo content directory (a line with three
// services, four trains, the title screen), deterministically.
#include <QGuiApplication>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <future>
#include <string>
#include <vector>

#include <unistd.h>

#include "tools/make_demo/assets.h"
#include "tools/make_demo/filming.h"
#include "tools/make_demo/line_files.h"
#include "tools/make_demo/line_sounds.h"
#include "tools/make_demo/movie_encoder.h"
#include "tools/make_demo/movie_plan.h"
#include "tools/make_demo/movie_renderer.h"
#include "tools/make_demo/route.h"
#include "tools/make_demo/services.h"
#include "tools/make_demo/settings_files.h"
#include "tools/make_demo/title_files.h"
#include "tools/make_demo/vehicle_files.h"
#include "tools/make_demo/voices.h"

using namespace kestrel::demo;

namespace {

constexpr long kMovieBitRate = 1200000;

// Renders on a second thread while the encoder works on the previous batch.
template <class Draw>
void encodeMovie(Assets& a, const std::string& name, int frames, Draw draw) {
  MovieEncoder enc(a.pathOf(name), kMovieWidth, kMovieHeight, 30, 15, kMovieBitRate);
  constexpr int kBatch = 48;
  auto batch = [&](int from) {
    std::vector<QImage> out;
    for (int f = from; f < std::min(frames, from + kBatch); ++f) out.push_back(draw(f));
    return out;
  };
  auto next = std::async(std::launch::async, batch, 0);
  for (int from = 0; from < frames; from += kBatch) {
    std::vector<QImage> done = next.get();
    if (from + kBatch < frames) next = std::async(std::launch::async, batch, from + kBatch);
    for (const auto& img : done) enc.add(img);
  }
  enc.finish();
}

double seconds(std::chrono::steady_clock::time_point t0) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

int usage() {
  std::fprintf(stderr, "usage: kestrel-make-demo [--quick] OUTDIR\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  bool quick = false;
  std::string out;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--quick")
      quick = true;
    else if (!arg.empty() && arg[0] == '-')
      return usage();
    else if (out.empty())
      out = arg;
    else
      return usage();
  }
  if (out.empty()) return usage();
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QGuiApplication app(argc, argv);
  const auto t0 = std::chrono::steady_clock::now();
  try {
    const Route route = makeRoute(quick ? Variant::Quick : Variant::Full);
    const Filming filming(route);
    const MoviePlan plan = makeMoviePlan(route, filming);
    const std::vector<Service> services = makeServices(route);
    Assets assets(out, route.variant);
    const Voices voices(std::filesystem::temp_directory_path() / ("kestrel-make-demo-" + std::to_string(getpid())));

    writeSettingsFiles(assets);
    writeTitleFiles(assets);
    writeVehicleFiles(assets);
    const LineSounds sounds = makeLineSounds(assets, route, voices);
    writeLineFiles(assets, route, filming, plan, services, sounds);
    std::printf("make-demo: data files, pictures and sounds in %.1f s (%s)\n", seconds(t0), voices.note().c_str());

    const MovieRenderer renderer(route, filming, plan);
    const auto t1 = std::chrono::steady_clock::now();
    encodeMovie(assets, plan.dir + plan.routeName + ".avi", plan.routeFrames, [&](int f) { return renderer.routeFrame(f); });
    encodeMovie(assets, plan.dir + plan.branchName + ".avi", plan.branchFrames + 30, [&](int k) { return renderer.branchFrame(k); });
    encodeMovie(assets, plan.dir + plan.stationName + ".avi", plan.stationMovieFrames, [&](int k) { return renderer.stationFrame(k); });
    writeOpeningMovie(assets, renderer, quick ? 120 : 240);
    std::printf("make-demo: route movie of %d frames and the other movies in %.1f s\n", plan.routeFrames, seconds(t1));
    std::filesystem::remove_all(std::filesystem::temp_directory_path() / ("kestrel-make-demo-" + std::to_string(getpid())));
  } catch (const std::exception& e) {
    std::fprintf(stderr, "kestrel-make-demo: %s\n", e.what());
    return 1;
  }
  std::printf("make-demo: %s content written to %s in %.1f s\n", quick ? "quick" : "full", out.c_str(), seconds(t0));
  return 0;
}
