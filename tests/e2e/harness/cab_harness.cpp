// kestrel-cab-harness: the cab view on a drive of its own, for the display's end-to-end tests and
// its benchmark (bench/display/cab_display_bench.sh). It loads a line and a train as the cab
// window does (pictures through Qt, the route movie through the desktop program's reader with its
// decoder thread, sounds left out), shows a CabView in a window of the cab window's size, and
// drives the train itself: the clock follows the wall clock as the desktop program's does, and
// before every 33 ms event the speed is set to the filming speed (forward, until the end of the
// line holds the train), its negative (backward) or left alone (stand); "paused" starts the drive
// and pauses it at once; "jump" stands and moves the train to each frame of --jump-frames in turn,
// as a station jump or a restore does, the next one half a second after the last was shown. With
// --keep-ready the reader is told those frames at the start, as the desktop program tells it the
// stations' stops and the saved places, and the first jump waits until it has them all ready.
//
// The harness paces the render steps itself, as the view's own timer would (a step per screen
// refresh, ten a second while paused), so that it can time each step without the view doing so.
//
// --shot-at S FILE stops the clock when the drive has run S seconds, lets the decoder thread
// finish, draws, and saves the window's picture as the X server shows it, printing what it shows
// ("shot ..."). At the end one line of key=value pairs reports CPU, frames, timings and memory.
//
//   kestrel-cab-harness --data DIR --line FILE --train FILE
//                       [--drive forward|backward|stand|paused|jump] [--jump-frames N,N...] [--keep-ready]
//                       [--seconds S] [--start-frame N] [--text-mode] [--shot-at S FILE]...
#include <sys/resource.h>
#include <time.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <iostream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "core/front/cab_session.h"
#include "core/front/movie_stage.h"
#include "core/front/session_loader.h"
#include "core/ports/memory_preference_store.h"
#include "core/ports/recording_mixer.h"
#include "core/util/fatal_error.h"
#include "platform/ffmpeg/threaded_movie_reader.h"
#include "platform/qt/cab_view.h"
#include "platform/qt/qt_picture_loader.h"
#include "support/forwarding_movie_reader.h"

namespace kestrel {
namespace {

using Clock = std::chrono::steady_clock;

struct Options {
  std::string data = ".", line, train, drive = "forward";
  std::vector<std::pair<double, std::string>> shots;  // drive seconds, file
  std::vector<int> jumps;                              // frames to jump to
  double seconds = 10;
  int startFrame = -1;
  bool textMode = false;
  bool keepReady = false;  // the jump frames are told to the reader in advance
};

[[noreturn]] void usage() {
  std::cerr << "usage: kestrel-cab-harness --data DIR --line FILE --train FILE [--drive "
               "forward|backward|stand|paused|jump] [--jump-frames N,N...] [--keep-ready] [--seconds S] [--start-frame N] "
               "[--text-mode] [--shot-at S FILE]...\n";
  std::exit(64);
}

Options parse(int argc, char** argv) {
  Options o;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    auto next = [&]() -> std::string {
      if (i + 1 >= argc) usage();
      return argv[++i];
    };
    if (a == "--data")
      o.data = next();
    else if (a == "--line")
      o.line = next();
    else if (a == "--train")
      o.train = next();
    else if (a == "--drive")
      o.drive = next();
    else if (a == "--seconds")
      o.seconds = std::stod(next());
    else if (a == "--start-frame")
      o.startFrame = std::stoi(next());
    else if (a == "--text-mode")
      o.textMode = true;
    else if (a == "--keep-ready")
      o.keepReady = true;
    else if (a == "--jump-frames") {
      std::istringstream list(next());
      for (std::string n; std::getline(list, n, ',');) o.jumps.push_back(std::stoi(n));
    }
    else if (a == "--shot-at") {
      const double at = std::stod(next());
      o.shots.emplace_back(at, next());
    } else
      usage();
  }
  if (o.line.empty() || o.train.empty()) usage();
  if (o.drive != "forward" && o.drive != "backward" && o.drive != "stand" && o.drive != "paused" && o.drive != "jump")
    usage();
  if ((o.drive == "jump") != !o.jumps.empty()) usage();
  return o;
}

double cpuSeconds() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
         static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) * 1e-6;
}

// The CPU time of the calling thread: the render step's own, apart from the decoder thread.
double threadCpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

long peakKilobytes() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return u.ru_maxrss;
}

double secondsSince(Clock::time_point t) {
  return std::chrono::duration<double>(Clock::now() - t).count();
}

// The session's movie reader, timed: what the render step spends asking for frames and taking
// them over (the decoding itself is the decoder thread's).
class TimedReader final : public test::ForwardingMovieReader {
 public:
  using ForwardingMovieReader::ForwardingMovieReader;
  FrameState requestFrame(int n, const MovieTravel& travel, Picture& out) override {
    const auto t = Clock::now();
    const FrameState state = reader_.requestFrame(n, travel, out);
    seconds += secondsSince(t);
    calls += 1;
    return state;
  }
  double seconds = 0;
  int64_t calls = 0;
};

// Reports the first paint of a drive frame with a frame of the route movie on it (the still
// picture stays until the decoder thread hands the first one over).
class FirstFrameWatch final : public QObject {
 public:
  FirstFrameWatch(CabView& view, int64_t stillComposed) : view_(view), still_(stillComposed) {}
  std::optional<double> at;
  Clock::time_point since;
  std::function<void()> onFirst;

 protected:
  bool eventFilter(QObject* object, QEvent* event) override {
    if (!at && event->type() == QEvent::Paint && view_.counters().composed > still_ && view_.counters().decodes > 0) {
      view_.removeEventFilter(this);
      QTimer::singleShot(0, this, [this] {
        at = secondsSince(since);
        if (onFirst) onFirst();
      });
    }
    return QObject::eventFilter(object, event);
  }

 private:
  CabView& view_;
  int64_t still_;
};

int run(int argc, char** argv, Clock::time_point started) {
  const Options o = parse(argc, argv);
  QApplication app(argc, argv);

  SessionChoice choice;
  choice.programDirectory = o.data;
  choice.lineFileName = o.line;
  choice.vehicleFileName = o.train;
  MemoryPreferenceStore preferences;
  QtPictureLoader pictures;
  ThreadedMovieReader reader;
  TimedReader timed(reader);
  std::string movieMessage;
  SessionStages stages;
  stages.openMovie = openRouteMovieStage(reader, &movieMessage);
  std::unique_ptr<LoadedSession> loaded;
  RecordingMixer mixer;
  ProgramInputState program;
  std::unique_ptr<CabSession> session;
  try {
    loaded = std::make_unique<LoadedSession>(loadSession(choice, {preferences, pictures}, nullptr, stages));
    loaded->settings.preferences.TextMode = o.textMode ? 1 : 0;
    session = std::make_unique<CabSession>(
        CabSession::Records{loaded->settings, loaded->vehicle, loaded->panel, loaded->line, loaded->pictures},
        mixer, program, StartOptions{}, 0, MovieSource{&timed, choice.programDirectory});
  } catch (const FatalError& e) {
    std::cerr << e.message() << "\n";
    return 2;
  }
  if (!movieMessage.empty()) std::cerr << movieMessage << "\n";
  TrainState& train = session->context().train;
  if (o.startFrame >= 0) train.MovieFrame = o.startFrame;

  CabView view(*session, *loaded, &timed);
  view.setWindowTitle(QString::fromStdString(loaded->line.LineName));
  view.show();
  view.applyTextMode(true);
  view.showStill();
  const double loadSeconds = secondsSince(started);

  FirstFrameWatch watch(view, view.counters().composed);
  watch.since = started;
  view.installEventFilter(&watch);

  // The drive's clock, as the desktop program runs it; it stands still while a shot is taken.
  Scheduler& scheduler = session->scheduler();
  QElapsedTimer driveClock;
  int64_t standingUs = 0;
  double direction = o.drive == "forward" ? 1 : (o.drive == "backward" ? -1 : 0);
  const std::optional<int32_t> lineEnd =
      loaded->line.MovieStop.empty() ? std::nullopt : std::optional<int32_t>(loaded->line.MovieStop[0]);
  std::vector<std::pair<double, std::string>> shots = o.shots;
  std::sort(shots.begin(), shots.end());
  const auto takeShot = [&](const std::string& file) {
    QElapsedTimer pause;
    pause.start();
    reader.waitUntilIdle();  // the frame the drive is at, whatever the decoder thread's pace
    view.renderStep();
    view.repaint();  // on the X server before it is read back
    const QPixmap shot = view.screen()->grabWindow(view.winId());
    shot.save(QString::fromStdString(file));
    const Sprite* needle = session->sprites().find("img_Needle_speed");
    const Sprite* digits = session->sprites().find("img_digi_speed");
    std::printf("shot file=%s t_s=%.3f frame=%d shown=%d mode=%d speed=%.3f needle=%d digits=%d\n",
                file.c_str(), static_cast<double>(scheduler.now()) / 1e6, train.MovieFrame,
                train.LastShownFrame, train.MovieMode, train.speed, needle ? needle->angle : 0,
                digits ? digits->pattern : -1);
    std::fflush(stdout);
    standingUs += pause.nsecsElapsed() / 1000;
  };
  QTimer clockTimer;
  clockTimer.setTimerType(Qt::PreciseTimer);
  QObject::connect(&clockTimer, &QTimer::timeout, [&] {
    int64_t target = driveClock.nsecsElapsed() / 1000 - standingUs;
    if (!shots.empty()) target = std::min(target, static_cast<int64_t>(shots.front().first * 1e6));
    while (scheduler.running() && scheduler.nextDue(Scheduler::Timer::Multimedia) <= target) {
      if (direction != 0) train.speed = direction * train.UnitsPerFrame;
      scheduler.advanceTo(scheduler.nextDue(Scheduler::Timer::Multimedia));
      // Once the end of the line has held the train, it stands there.
      if (direction > 0 && lineEnd && train.MovieFrame == *lineEnd && train.speed == 0) direction = 0;
    }
    scheduler.advanceTo(target);
    while (!shots.empty() && scheduler.now() >= static_cast<int64_t>(shots.front().first * 1e6)) {
      takeShot(shots.front().second);
      shots.erase(shots.begin());
    }
  });

  session->start();
  if (o.keepReady) session->moviePlayback().keepJumpTargetsReady(session->context(), o.jumps);
  if (o.drive == "paused") session->start1Click();
  driveClock.start();
  // A paused drive's clock stands still, and so does its timer.
  if (session->running()) clockTimer.start(4);
  const double cpuAtStart = cpuSeconds();
  const auto driveStart = Clock::now();

  // The steady drive begins with the first frame shown: the seek to the start frame is the
  // first frame's cost, not the playing's.
  struct Steady {
    bool on = false;
    Clock::time_point since;
    CabView::Counters view;
    int32_t frame = 0;
    double requestSeconds = 0;
    int64_t requests = 0;
    double newFrameWall = 0, newFrameCpu = 0, maxStep = 0;
  } steady;
  watch.onFirst = [&] {
    reader.resetCounters();
    steady = {true, Clock::now(), view.counters(), train.MovieFrame, timed.seconds, timed.calls, 0, 0, 0};
  };

  // Jumps, once the drive shows its first frame: each frame in turn, the next half a second after
  // the last one was shown.
  std::vector<double> jumpSeconds;
  size_t nextJump = 0;
  std::optional<Clock::time_point> jumpedAt, shownAt;
  std::optional<double> readySeconds;  // from the start until the frames were all kept ready
  const auto followJumps = [&] {
    if (!steady.on) return;
    const auto now = Clock::now();
    if (o.keepReady && !readySeconds) {
      if (!std::all_of(o.jumps.begin(), o.jumps.end(), [&](int n) { return reader.keptReady(n); })) return;
      readySeconds = secondsSince(driveStart);
    }
    if (jumpedAt && !shownAt && train.LastShownFrame == o.jumps[nextJump - 1]) {
      shownAt = now;
      jumpSeconds.push_back(std::chrono::duration<double>(now - *jumpedAt).count());
    }
    const bool settled = !jumpedAt || (shownAt && now - *shownAt >= std::chrono::milliseconds(500));
    if (settled && nextJump < o.jumps.size()) {
      train.MovieFrame = o.jumps[nextJump++];
      jumpedAt = now;
      shownAt.reset();
    }
  };

  // The render steps, paced as the view's own timer paces them, each timed.
  QTimer pacer;
  pacer.setTimerType(Qt::PreciseTimer);
  QObject::connect(&pacer, &QTimer::timeout, [&] {
    const int64_t decodes = view.counters().decodes;
    const auto wallStart = Clock::now();
    const double cpuStart = threadCpuSeconds();
    view.renderStep();
    const double wallStep = secondsSince(wallStart);
    const double cpuStep = threadCpuSeconds() - cpuStart;
    if (steady.on) {
      steady.maxStep = std::max(steady.maxStep, wallStep);
      if (view.counters().decodes != decodes) {
        steady.newFrameWall += wallStep;
        steady.newFrameCpu += cpuStep;
      }
    }
    if (!o.jumps.empty()) followJumps();
    if (pacer.interval() != view.pacingIntervalMs()) pacer.setInterval(view.pacingIntervalMs());
  });
  pacer.start(view.pacingIntervalMs());

  QTimer::singleShot(static_cast<int>(o.seconds * 1000), &app, &QApplication::quit);
  app.exec();

  const double cpu = cpuSeconds() - cpuAtStart;
  const double wall = secondsSince(driveStart);
  const double steadyWall = steady.on ? secondsSince(steady.since) : 0;
  clockTimer.stop();
  pacer.stop();
  const CabView::Counters all = view.counters();
  const int64_t shown = all.decodes - steady.view.decodes;
  const int64_t standIns = all.standIns - steady.view.standIns;
  const int64_t steps = all.steps - steady.view.steps;
  const int moved = std::abs(train.MovieFrame - steady.frame);
  const FfmpegMovieReader::Counters r = reader.counters();
  const auto perShown = [&](double total) { return shown ? total / static_cast<double>(shown) : 0.0; };
  for (const auto& [at, file] : shots)
    std::fprintf(stderr, "kestrel-cab-harness: no shot at %.3f s (%s)\n", at, file.c_str());
  double jumpMax = jumpSeconds.empty() ? -1e-3 : 0, jumpSum = 0;
  for (double j : jumpSeconds) {
    jumpMax = std::max(jumpMax, j);
    jumpSum += j;
  }
  std::printf(
      "drive=%s wall_s=%.3f cpu_s=%.3f cpu_total_s=%.3f cpu_share=%.4f load_s=%.3f first_frame_s=%.3f "
      "pacing_hz=%d measured_rate=%d step_hz=%.1f steps=%lld shown_frames=%lld stand_ins=%lld frames_moved=%d "
      "shown_share=%.3f exact_share=%.3f pending_steps=%lld composed=%lld decoder_frames=%lld seeks=%lld decodes_per_shown=%.3f "
      "ms_per_new_frame=%.3f cpu_ms_per_new_frame=%.3f request_ms=%.3f max_step_ms=%.2f "
      "jumps=%zu jump_ms_max=%.0f jump_ms_mean=%.0f ready_s=%.3f cache_peak_mb=%.1f peak_rss_mb=%.1f\n",
      o.drive.c_str(), wall, cpu, cpuSeconds(), cpu / wall, loadSeconds, watch.at.value_or(-1), view.pacingRate(),
      view.measuredRate(), steadyWall > 0 ? static_cast<double>(steps) / steadyWall : 0.0,
      static_cast<long long>(all.steps), static_cast<long long>(shown), static_cast<long long>(standIns), moved,
      moved ? static_cast<double>(shown + standIns) / moved : 0.0, moved ? static_cast<double>(shown) / moved : 0.0,
      static_cast<long long>(all.pending - steady.view.pending),
      static_cast<long long>(all.composed), static_cast<long long>(r.framesDecoded), static_cast<long long>(r.seeks),
      perShown(static_cast<double>(r.framesDecoded)), perShown(steady.newFrameWall * 1e3),
      perShown(steady.newFrameCpu * 1e3),
      timed.calls > steady.requests
          ? (timed.seconds - steady.requestSeconds) * 1e3 / static_cast<double>(timed.calls - steady.requests)
          : 0.0,
      steady.maxStep * 1e3, jumpSeconds.size(), jumpMax * 1e3,
      jumpSeconds.empty() ? -1.0 : jumpSum / static_cast<double>(jumpSeconds.size()) * 1e3, readySeconds.value_or(-1),
      static_cast<double>(reader.peakCacheBytes()) / (1 << 20), peakKilobytes() / 1024.0);
  session->close();
  return 0;
}

}  // namespace
}  // namespace kestrel

int main(int argc, char** argv) {
  const auto started = kestrel::Clock::now();
  return kestrel::run(argc, argv, started);
}
