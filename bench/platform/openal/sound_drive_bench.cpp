// The sound of a whole drive on the OpenAL mixer: the memory the demo's sound data takes once
// loaded, and the CPU of the mixer while a drive runs in real time with forty channels playing
// (the drive's own sounds, topped up with looped vehicle sounds), against the same drive on the
// recording mixer. The demo content is KESTREL_DEMO_DIR, or the quick demo of the build tree;
// make the full one with `kestrel-make-demo DIR`. Runs on the null backend unless an OpenAL
// configuration is chosen (see openal_mixer_bench.cpp).
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <sys/resource.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <thread>

#include "core/front/cab_session.h"
#include "core/front/session_loader.h"
#include "core/front/sound_stages.h"
#include "core/ports/memory_preference_store.h"
#include "core/ports/recording_mixer.h"
#include "platform/openal/openal_mixer.h"

namespace kestrel {
namespace {

using namespace std::chrono_literals;

[[maybe_unused]] const bool kNullBackend = [] {
  if (!std::getenv("ALSOFT_CONF") && !std::getenv("ALSOFT_DRIVERS")) setenv("ALSOFT_DRIVERS", "null", 1);
  return true;
}();

// Pictures do not matter here: every one is a small blank.
class BlankPictures final : public PictureLoader {
 public:
  std::optional<Picture> load(const std::filesystem::path&) override {
    return Picture{4, 4, std::vector<uint32_t>(16, 0xFF000000)};
  }
};

std::filesystem::path demoDir() {
  if (const char* dir = std::getenv("KESTREL_DEMO_DIR")) return dir;
  return std::filesystem::path(KESTREL_BINARY_DIR) / "quick-demo";
}

double cpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6;
}

size_t heapBytes() {
  const auto info = mallinfo2();
  return info.uordblks + info.hblkhd;
}

LoadedSession loadDemo(Mixer& mixer) {
  MemoryPreferenceStore preferences;
  BlankPictures pictures;
  return loadSession({demoDir(), "line_local.dat", "", "train_313-1000_10cars.dat"}, {preferences, pictures},
                     nullptr, withSoundStages({}, mixer));
}

// The sound data of the local line with its train: the wave data as read, as the mixer keeps it
// (16-bit mono), and the heap the mixer took for it.
void BM_DemoSoundData(benchmark::State& state) {
  for (auto _ : state) {
    OpenAlMixer mixer;
    const size_t before = heapBytes();
    const LoadedSession session = loadDemo(mixer);
    state.counters["heap_bytes"] = static_cast<double>(heapBytes() - before);
    state.counters["waves"] = static_cast<double>(session.sounds.loaded.size());
    state.counters["file_data_bytes"] = static_cast<double>(session.sounds.dataBytes());
    state.counters["mono16_bytes"] = static_cast<double>(session.sounds.mono16Bytes());
  }
}
BENCHMARK(BM_DemoSoundData)->Iterations(1)->Unit(benchmark::kMillisecond);

// Ten seconds of wall time of a drive on auto-run (the train runs at the filming speed, so the
// line sounds, points and motor sounds follow the movie), the clock following the wall clock as
// the desktop program's does. Arg 0: the recording mixer, 1: OpenAL.
void BM_DriveWithFortyChannels(benchmark::State& state) {
  std::unique_ptr<Mixer> mixer;
  if (state.range(0) == 0)
    mixer = std::make_unique<RecordingMixer>();
  else
    mixer = std::make_unique<OpenAlMixer>();
  LoadedSession loaded = loadDemo(*mixer);
  ProgramInputState program;
  CabSession session(
      {loaded.settings, loaded.vehicle, loaded.panel, loaded.line, loaded.pictures, &loaded.sounds}, *mixer,
      program);
  if (auto* recording = dynamic_cast<RecordingMixer*>(mixer.get()))
    recording->setClock([&session] { return session.scheduler().now(); });
  double cpu = 0;
  int playing = 0;
  for (auto _ : state) {
    session.start();
    session.AsciiDown(U'5');
    session.keydowns(VirtualKey::F1, KeyModifiers::shifted());  // auto-run
    // Top up to forty channels with looped vehicle sounds that the drive does not touch.
    for (int ch = 1; ch < Mixer::kChannelCount; ++ch) {
      int sounding = 0;
      for (int c = 0; c < Mixer::kChannelCount; ++c) sounding += mixer->isPlaying(c);
      if (sounding >= 40) break;
      if (mixer->hasWave(ch) && !mixer->isPlaying(ch)) mixer->playLooped(ch);
    }
    const double before = cpuSeconds();
    const auto start = std::chrono::steady_clock::now();
    const int64_t startUs = session.scheduler().now();
    while (std::chrono::steady_clock::now() - start < 10s) {
      std::this_thread::sleep_for(5ms);
      const auto elapsed =
          std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start);
      session.scheduler().advanceBy(startUs + elapsed.count() - session.scheduler().now());
      if (auto* recording = dynamic_cast<RecordingMixer*>(mixer.get())) recording->clearOperations();
    }
    cpu = cpuSeconds() - before;
    playing = 0;
    for (int c = 0; c < Mixer::kChannelCount; ++c) playing += mixer->isPlaying(c);
  }
  state.counters["cpu_s"] = cpu;
  state.counters["playing_at_end"] = playing;
  state.counters["frame"] = session.train().MovieFrame;
}
BENCHMARK(BM_DriveWithFortyChannels)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
}  // namespace kestrel
