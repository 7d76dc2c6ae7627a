// The cost of composing one cab frame with QPainter on the demo's 313 panel, over a movie frame of
// the demo's size (640 x 480, scaled to 800 x 600): a new movie frame each time (scale and
// compose), the same frame (compose only), and the parts — scaling alone, sprites alone, texts
// alone. The demo content is KESTREL_DEMO_DIR, or the quick demo of the build tree.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "core/front/cab_session.h"
#include "core/front/session_loader.h"
#include "core/ports/memory_preference_store.h"
#include "core/ports/recording_mixer.h"
#include "core/present/cab_display.h"
#include "platform/qt/cab_fonts.h"
#include "platform/qt/cab_renderer.h"
#include "platform/qt/qt_picture_loader.h"

namespace kestrel {
namespace {

std::filesystem::path demoDir() {
  if (const char* dir = std::getenv("KESTREL_DEMO_DIR")) return dir;
  return std::filesystem::path(KESTREL_BINARY_DIR) / "quick-demo";
}

QGuiApplication& app() {
  static int argc = 1;
  static char name[] = "bench";
  static char* argv[] = {name, nullptr};
  static QGuiApplication* a = [] {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    return new QGuiApplication(argc, argv);
  }();
  return *a;
}

struct Demo {
  LoadedSession loaded;
  RecordingMixer mixer;
  ProgramInputState program;
  std::unique_ptr<CabSession> session;
  QtTextMetrics metrics;
  std::unique_ptr<CabDisplay> display;
  Picture movie;

  Demo() {
    app();
    MemoryPreferenceStore preferences;
    QtPictureLoader pictures;
    SessionChoice choice{demoDir(), "line_rapid.dat", "", "train_313-1000_8cars.dat"};
    loaded = loadSession(choice, {preferences, pictures}, nullptr);
    session = std::make_unique<CabSession>(
        CabSession::Records{loaded.settings, loaded.vehicle, loaded.panel, loaded.line, loaded.pictures},
        mixer, program);
    display = std::make_unique<CabDisplay>(session->context(), loaded.settings.preferences, nullptr, nullptr,
                                           choice.vehicleFileName, metrics);
    session->start();
    session->scheduler().advanceBy(1000000);
    movie.width = 640;
    movie.height = 480;
    movie.pixels.resize(640 * 480);
    for (size_t i = 0; i < movie.pixels.size(); ++i)
      movie.pixels[i] = 0xFF000000u | static_cast<uint32_t>(i * 2654435761u);
  }
  CabFrame frame() {
    CabFrame f = *display->step(0, true);
    f.movie = &movie;
    return f;
  }
};

Demo& demo() {
  static Demo d;
  return d;
}

void BM_NewMovieFrame(benchmark::State& state) {
  Demo& d = demo();
  CabRenderer renderer(d.loaded.pictures);
  QImage view = CabRenderer::makeView();
  CabFrame f = d.frame();
  for (auto _ : state) {
    f.movieRevision += 1;
    renderer.render(f, d.session->sprites(), view);
  }
}
BENCHMARK(BM_NewMovieFrame)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

void BM_SameMovieFrame(benchmark::State& state) {
  Demo& d = demo();
  CabRenderer renderer(d.loaded.pictures);
  QImage view = CabRenderer::makeView();
  const CabFrame f = d.frame();
  for (auto _ : state) renderer.render(f, d.session->sprites(), view);
}
BENCHMARK(BM_SameMovieFrame)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

void BM_SpritesOnly(benchmark::State& state) {
  Demo& d = demo();
  CabRenderer renderer(d.loaded.pictures);
  QImage view = CabRenderer::makeView();
  CabFrame f = d.frame();
  f.movie = nullptr;
  f.texts.clear();
  for (auto _ : state) renderer.render(f, d.session->sprites(), view);
}
BENCHMARK(BM_SpritesOnly)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

void BM_TextsOnly(benchmark::State& state) {
  Demo& d = demo();
  CabRenderer renderer(d.loaded.pictures);
  QImage view = CabRenderer::makeView();
  CabFrame f = d.frame();
  f.movie = nullptr;
  const SpriteScene none;
  for (auto _ : state) renderer.render(f, none, view);
}
BENCHMARK(BM_TextsOnly)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

}  // namespace
}  // namespace kestrel
