// Load time of a line file with every table at 500 rows (or its capacity, where that is less),
// generated here: reading and decoding the file, the reading loop with the image lists (pictures
// from a fake loader, so the disk and the decoder are not measured), and the distance conversion.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

#include "core/data/line_distances.h"
#include "core/data/line_loader.h"
#include "core/util/cp932.h"

namespace kestrel {
namespace {

constexpr int kRows = 500;

class TinyPictures final : public PictureLoader {
 public:
  std::optional<Picture> load(const std::filesystem::path&) override {
    Picture p;
    p.width = 4;
    p.height = 4;
    p.pixels.assign(16, 0xFF000000u);
    return p;
  }
};

std::string generateLine() {
  std::ostringstream t;
  auto table = [&](const char* key, int rows, const std::function<std::string(int)>& row) {
    t << "; " << key << " の表\n" << key << "\n";
    for (int i = 0; i < rows; ++i) t << row(i) << "\n";
    t << "#\n";
  };
  auto n = [](int i) { return std::to_string(i); };
  auto pos = [](int i) { return std::to_string(100 + i * 100); };  // within the [SpeedUnit] rows
  t << "[LineName]\n試験線～快速\n[LineName2]\nbench\n[StartPos]\n120\n[FrameRate]\n30\n[Staf]\na.jpg\nb.jpg\nc.jpg\n"
    << "[Friction]\n0.3\n[DataName]\nbench\n[Perspective]\n30.0\n120\n[OneMan]\n0\n[TunnelR]\n15\n";
  t << "[StafSwitch]\n0\n";
  for (int i = 1; i < 10; ++i) t << i << "\n";
  t << "#\n";
  table("[MovieStop]", 100, pos);
  table("[MovieSwitch]", 100, [&](int i) { return "0," + pos(i) + "," + pos(i + 1) + ",branch" + n(i) + ",300,0,0,0,0"; });
  table("[Speed_Signal]", 11, [&](int i) { return n(i * 10); });
  t << "[Pre_Train]\n1500,50000\n";
  for (int i = 0; i < kRows; ++i) t << i << ",60," << 1080000 + i * 900 << "\n";
  t << "#\n";
  table("[SoundData]", kRows, [&](int i) { return "sound\\line\\s" + n(i) + ".wav"; });
  t << "[Announce]\n0\n";
  for (int i = 0; i < kRows; ++i) t << i << ",0," << i << ",0\n";
  t << "#\n[KankoSound1]\n";
  for (int i = 0; i < 22; ++i) t << "sound\\kanko\\k" << i << ".wav\n";
  table("[KankoSound2]", 479, [&](int i) { return "sound\\kanko\\x" + n(i) + ".wav"; });
  table("[Sound]", kRows, [&](int i) { return n(i) + "," + pos(i) + "," + pos(i + 1) + ",60,1,0,1,0"; });
  table("[Sound2]", kRows, [&](int i) { return n(i) + "," + pos(i) + ",1"; });
  table("[Doppler]", kRows, [&](int i) { return n(i) + "," + pos(i) + ",300,0,0"; });
  table("[Tunnel]", kRows, [&](int i) { return pos(i) + "," + pos(i + 1) + ",80"; });
  table("[Atten]", kRows, [&](int i) { return pos(i) + "," + pos(i + 1) + ",0,50"; });
  table("[Station]", kRows, [&](int i) { return "駅" + n(i) + ",0," + pos(i) + ",1000,0,1,0,1080000,60,0,0,0,0,1,0"; });
  table("[StopSound]", kRows, n);
  table("[Signal]", kRows, [&](int i) {
    return "0,0,0,1," + pos(i) + "," + pos(i) + "," + pos(i) + "," + pos(i) + ",0,0,0,0,0,0,0,0,0,0,0,0,0,0";
  });
  table("[TrafficSignal]", kRows, [&](int i) {
    return pos(i) + "," + pos(i) + "," + pos(i + 1) + ",0,50,0,1,30,1,2,50,0,0,0,0,0,0,0,0,0,0,0,1,1150,0,1,0";
  });
  table("[Slope]", kRows, [&](int i) { return "-3.5," + pos(i) + "," + pos(i + 1); });
  table("[Sign]", kRows, [&](int i) { return "0," + pos(i) + "," + pos(i + 1) + ",0"; });
  table("[Anim]", kRows, [&](int i) { return pos(i) + "," + pos(i + 1) + ",3,0"; });
  table("[SignalKanko]", kRows, [&](int i) { return n(i) + ",0,1"; });
  table("[StationKanko]", kRows, [&](int i) { return n(i) + ",0,1"; });
  table("[SpeedLimit]", kRows, [&](int i) { return "45,1,1," + pos(i) + "," + pos(i + 1) + ",0"; });
  table("[SpeedCheck1]", kRows, [&](int i) { return "45,0," + pos(i) + ",0"; });
  table("[SpeedCheck2]", kRows, [&](int i) { return "25,0," + pos(i) + "," + pos(i + 1); });
  t << "[SignImageList]\n";
  for (int i = 0; i < 8; ++i) t << "image\\sign\\s" << i << ".bmp,48\n";
  t << "[SignalImageList]\n400,150,24,48,sig.bmp\n20,20,s.bmp\n20,20,l.bmp\n20,20,r.bmp\n";
  table("[OtherKanko]", kRows, [&](int i) { return "sound\\kanko\\o" + n(i) + ".wav"; });
  table("[LimitKanko]", kRows, [&](int i) { return "sound\\kanko\\l" + n(i) + ".wav"; });
  table("[AnimImageList]", kRows, [&](int i) { return "image\\anim\\a" + n(i) + ".bmp"; });
  table("[TrafficSignalImageList]", kRows, [&](int i) { return "image\\ts\\t" + n(i) + ".bmp"; });
  table("[SpeedUnit]", 100, [&](int i) { return n(i * 600) + "," + n(i * 600 + 600) + ",72,72"; });
  table("[CrossImageList]", kRows, [&](int i) { return "image\\cross\\c" + n(i) + ".bmp"; });
  table("[Cross]", kRows, [&](int i) { return pos(i) + "," + pos(i + 1) + ",0,0,0"; });
  table("[Time]", 100, [&](int i) { return pos(i) + "," + pos(i + 1) + ",1080000"; });
  table("[Switch]", kRows, [&](int i) { return pos(i) + ",1"; });
  std::string crlf;
  for (char c : t.str()) {
    if (c == '\n') crlf += '\r';
    crlf += c;
  }
  return encodeCp932(crlf);
}

const std::filesystem::path& lineFile() {
  static const std::filesystem::path path = [] {
    auto dir = std::filesystem::path(KESTREL_BINARY_DIR) / "bench-scratch";
    std::filesystem::create_directories(dir);
    auto p = dir / "line_500.dat";
    std::ofstream(p, std::ios::binary) << generateLine();
    return p;
  }();
  return path;
}

void checkLoaded(benchmark::State& state, const LineData& line) {
  if (line.Station.size() != kRows || line.SpeedUnit.size() != 100 || line.CrossImageList.size() != kRows)
    state.SkipWithError("the generated line did not load completely");
}

void BM_LoadLineFile(benchmark::State& state) {
  TinyPictures pictures;
  LineLoadContext context{"/bench", "train.dat", 800, 600, pictures};
  for (auto _ : state) {
    LineData line;
    PictureCatalog catalog;
    loadLineFile(lineFile(), context, line, catalog);
    convertLineDistances(line);
    benchmark::DoNotOptimize(line.events.data());
    checkLoaded(state, line);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(std::filesystem::file_size(lineFile())));
}
BENCHMARK(BM_LoadLineFile)->Unit(benchmark::kMillisecond);

void BM_DecodeLineFile(benchmark::State& state) {
  std::ifstream in(lineFile(), std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), {});
  for (auto _ : state) benchmark::DoNotOptimize(decodeCp932Lines(bytes).size());
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes.size()));
}
BENCHMARK(BM_DecodeLineFile)->Unit(benchmark::kMillisecond);

void BM_ConvertDistances(benchmark::State& state) {
  TinyPictures pictures;
  LineLoadContext context{"/bench", "train.dat", 800, 600, pictures};
  LineData line;
  PictureCatalog catalog;
  loadLineFile(lineFile(), context, line, catalog);
  checkLoaded(state, line);
  for (auto _ : state) {
    convertLineDistances(line);
    benchmark::DoNotOptimize(line.events.data());
  }
}
BENCHMARK(BM_ConvertDistances)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kestrel
