#include "demo_cab.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "core/front/movie_stage.h"
#include "core/ports/memory_preference_store.h"
#include "platform/qt/qt_picture_loader.h"

namespace kestrel::test {

DemoCab::DemoCab(const std::string& line, const std::string& train) {
  SessionChoice choice{KESTREL_QUICK_DEMO_DIR, line, "", train};
  MemoryPreferenceStore preferences;
  QtPictureLoader pictures;
  SessionStages stages;
  stages.openMovie = openRouteMovieStage(reader);
  loaded = loadSession(choice, {preferences, pictures}, nullptr, stages);
  session = std::make_unique<CabSession>(
      CabSession::Records{loaded.settings, loaded.vehicle, loaded.panel, loaded.line, loaded.pictures}, mixer,
      program, StartOptions{}, 0, MovieSource{&reader, choice.programDirectory});
}

namespace {

template <class Speed>
void run(CabSession& session, double seconds, Speed speed) {
  Scheduler& s = session.scheduler();
  const int64_t end = s.now() + static_cast<int64_t>(seconds * 1e6);
  while (s.running() && s.nextDue(Scheduler::Timer::Multimedia) <= end) {
    session.context().train.speed = speed();
    s.advanceTo(s.nextDue(Scheduler::Timer::Multimedia));
  }
  s.advanceTo(end);
}

}  // namespace

Picture demoFrame(int n) {
  FfmpegMovieReader reader;
  reader.open(std::filesystem::path(KESTREL_QUICK_DEMO_DIR) / "movie/kestrel_line.avi");
  Picture p;
  reader.decodeFrame(n, p);
  return p;
}

void DemoCab::drive(double seconds, double kmh) {
  run(*session, seconds, [kmh] { return kmh; });
}

void DemoCab::film(double seconds, int direction) {
  run(*session, seconds,
      [this, direction] { return direction * static_cast<double>(train().UnitsPerFrame); });
}

}  // namespace kestrel::test
