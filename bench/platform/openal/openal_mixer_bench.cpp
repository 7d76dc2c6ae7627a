// What the OpenAL mixer costs: CPU time of looped channels, memory of wave data, the configured
// latency and the price of the channel operations a tick makes. Run with the null backend unless
// an OpenAL configuration is chosen (ALSOFT_CONF or ALSOFT_DRIVERS), so nothing is heard.
//   cmake -DKESTREL_BENCH=ON ... && build/bench/bench_platform_openal
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <sndfile.h>
#include <sys/resource.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <numbers>
#include <thread>
#include <vector>

#include "platform/openal/openal_mixer.h"

namespace kestrel {
namespace {

using namespace std::chrono_literals;

[[maybe_unused]] const bool kNullBackend = [] {
  if (!std::getenv("ALSOFT_CONF") && !std::getenv("ALSOFT_DRIVERS")) setenv("ALSOFT_DRIVERS", "null", 1);
  return true;
}();

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

// One second of a 440 Hz tone, 44.1 kHz 16-bit mono.
std::filesystem::path oneSecondWave() {
  const auto dir = std::filesystem::path(KESTREL_BINARY_DIR) / "bench-scratch";
  std::filesystem::create_directories(dir);
  const auto path = dir / "one_second.wav";
  SF_INFO info{};
  info.samplerate = 44100;
  info.channels = 1;
  info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
  std::vector<float> samples(44100);
  for (size_t i = 0; i < samples.size(); ++i) {
    samples[i] = static_cast<float>(0.3 * std::sin(2 * std::numbers::pi * 440 * static_cast<double>(i) / 44100));
  }
  SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
  sf_writef_float(file, samples.data(), static_cast<sf_count_t>(samples.size()));
  sf_close(file);
  return path;
}

OpenAlMixer::Options optionsFor(int silent) {
  OpenAlMixer::Options options;
  if (silent) options.output = OpenAlMixer::Output::kSilent;
  return options;
}

// Forty looped channels for ten seconds of wall time, the drive's thread asking every 33 ms
// whether they still play, as the sound rules do. Arg: 0 the device, 1 the silent device.
void BM_FortyLoopedChannelsTenSeconds(benchmark::State& state) {
  OpenAlMixer mixer(optionsFor(static_cast<int>(state.range(0))));
  const WaveId wave = mixer.loadWave(oneSecondWave());
  for (int ch = 0; ch < 40; ++ch) {
    mixer.setWave(ch, wave);
    mixer.setFrequencyRatio(ch, 0.8 + 0.01 * ch);
    mixer.setVolume(ch, -100 * ch);
  }
  double cpu = 0;
  for (auto _ : state) {
    const double before = cpuSeconds();
    for (int ch = 0; ch < 40; ++ch) mixer.playLooped(ch);
    const auto end = std::chrono::steady_clock::now() + 10s;
    int playing = 0;
    while (std::chrono::steady_clock::now() < end) {
      std::this_thread::sleep_for(33ms);
      playing = 0;
      for (int ch = 0; ch < 40; ++ch) playing += mixer.isPlaying(ch);
    }
    for (int ch = 0; ch < 40; ++ch) mixer.stop(ch);
    cpu = cpuSeconds() - before;
    benchmark::DoNotOptimize(playing);
  }
  state.counters["cpu_s"] = cpu;
  state.counters["silent"] = mixer.silent();
}
BENCHMARK(BM_FortyLoopedChannelsTenSeconds)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kSecond);

// Heap taken by a hundred one-second waves, per wave.
void BM_OneSecondWaveMemory(benchmark::State& state) {
  OpenAlMixer mixer(optionsFor(static_cast<int>(state.range(0))));
  const auto path = oneSecondWave();
  double perWave = 0;
  for (auto _ : state) {
    mixer.freeAllWaves();
    const size_t before = heapBytes();
    for (int i = 0; i < 100; ++i) mixer.loadWave(path);
    perWave = static_cast<double>(heapBytes() - before) / 100;
  }
  state.counters["bytes_per_wave"] = perWave;
  state.counters["pcm_bytes"] = 44100 * 2;
}
BENCHMARK(BM_OneSecondWaveMemory)->Arg(0)->Arg(1)->Iterations(3)->Unit(benchmark::kMillisecond);

void BM_ConfiguredLatency(benchmark::State& state) {
  OpenAlMixer mixer;
  for (auto _ : state) benchmark::DoNotOptimize(mixer.outputLatency());
  const auto latency = mixer.outputLatency();
  state.counters["latency_ms"] = latency ? static_cast<double>(latency->count()) / 1e6 : -1;
  state.counters["silent"] = mixer.silent();
}
BENCHMARK(BM_ConfiguredLatency)->Iterations(1);

// A tick's worth of channel operations: volume and rate of 40 channels, and their play state.
void BM_TickOfChannelOperations(benchmark::State& state) {
  OpenAlMixer mixer(optionsFor(static_cast<int>(state.range(0))));
  const WaveId wave = mixer.loadWave(oneSecondWave());
  for (int ch = 0; ch < 40; ++ch) {
    mixer.setWave(ch, wave);
    mixer.playLooped(ch);
  }
  int v = 0;
  for (auto _ : state) {
    v = (v + 1) % 1000;
    for (int ch = 0; ch < 40; ++ch) {
      mixer.setVolume(ch, -v);
      mixer.setFrequencyRatio(ch, 1.0 + v * 1e-4);
      benchmark::DoNotOptimize(mixer.isPlaying(ch));
    }
  }
}
BENCHMARK(BM_TickOfChannelOperations)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace kestrel
