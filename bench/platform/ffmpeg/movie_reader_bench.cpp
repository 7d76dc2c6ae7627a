// The movie reader on a 640 x 480 MPEG-4 movie with a keyframe every 15 frames, made with the
// ffmpeg tool when the benchmark starts: time per frame handed out when playing forwards,
// backwards and jumping at random, with the decodes and seeks it took.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/ffmpeg/ffmpeg_movie_reader.h"

namespace {

constexpr int kFrames = 300;

class BenchMovies {
 public:
  BenchMovies() {
    dir_ = std::filesystem::temp_directory_path() / ("kestrel-bench-ffmpeg-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir_);
    const std::string source =
        "ffmpeg -nostdin -v error -y -f lavfi -i testsrc2=size=640x480:rate=30 -frames:v " +
        std::to_string(kFrames) + " -c:v mpeg4 -g 15 -q:v 4 ";
    make("gop15.avi", source + "-bf 0");
    make("gop15-bframes.avi", source + "-bf 2");
  }
  ~BenchMovies() { std::filesystem::remove_all(dir_); }
  std::filesystem::path path(const char* name) const { return dir_ / name; }

 private:
  void make(const char* name, const std::string& command) {
    if (std::system((command + " '" + path(name).string() + "'").c_str()) != 0) {
      throw std::runtime_error("the ffmpeg tool could not make " + std::string(name));
    }
  }
  std::filesystem::path dir_;
};

const BenchMovies& movies() {
  static const BenchMovies instance;
  return instance;
}

const char* movieFor(const benchmark::State& state) {
  return state.range(0) ? "gop15-bframes.avi" : "gop15.avi";
}

using Counters = kestrel::FfmpegMovieReader::Counters;

void addTo(Counters& total, const Counters& c) {
  total.framesDecoded += c.framesDecoded;
  total.framesConverted += c.framesConverted;
  total.seeks += c.seeks;
  total.cacheHits += c.cacheHits;
}

void reportCounters(benchmark::State& state, const Counters& c) {
  auto perFrame = [](int64_t v) {
    return benchmark::Counter(static_cast<double>(v), benchmark::Counter::kAvgIterations);
  };
  state.counters["decodes/frame"] = perFrame(c.framesDecoded);
  state.counters["seeks/frame"] = perFrame(c.seeks);
  state.counters["converts/frame"] = perFrame(c.framesConverted);
}

// Plays through the movie one frame at a time; `step` is +1 or -1. Reopening at the end of a
// pass is neither timed nor counted.
void play(benchmark::State& state, int step) {
  kestrel::FfmpegMovieReader reader;
  const auto path = movies().path(movieFor(state));
  kestrel::Picture picture;
  Counters total;
  int n = 0;
  auto restart = [&] {
    if (!reader.open(path)) state.SkipWithError("open failed");
    reader.resetCounters();
    n = step > 0 ? 0 : kFrames - 1;
  };
  restart();
  for (auto _ : state) {
    if (!reader.decodeFrame(n, picture)) state.SkipWithError("decode failed");
    benchmark::DoNotOptimize(picture.pixels.data());
    n += step;
    if (n < 0 || n >= kFrames) {
      state.PauseTiming();
      addTo(total, reader.counters());
      restart();
      state.ResumeTiming();
    }
  }
  addTo(total, reader.counters());
  reportCounters(state, total);
}

void BM_Forward(benchmark::State& state) {
  play(state, +1);
}
void BM_Backward(benchmark::State& state) {
  play(state, -1);
}

void BM_Random(benchmark::State& state) {
  kestrel::FfmpegMovieReader reader;
  if (!reader.open(movies().path(movieFor(state)))) state.SkipWithError("open failed");
  std::mt19937 random(7);
  std::uniform_int_distribution<int> frame(0, kFrames - 1);
  std::vector<int> order(4096);
  for (int& n : order) n = frame(random);
  reader.resetCounters();
  kestrel::Picture picture;
  size_t i = 0;
  for (auto _ : state) {
    if (!reader.decodeFrame(order[i++ % order.size()], picture)) state.SkipWithError("decode failed");
    benchmark::DoNotOptimize(picture.pixels.data());
  }
  reportCounters(state, reader.counters());
}

}  // namespace

// Argument: 0 = no B-frames, 1 = two B-frames.
BENCHMARK(BM_Forward)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Backward)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Random)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
