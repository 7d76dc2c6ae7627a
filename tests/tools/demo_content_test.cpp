// The quick demo content (made by the make_quick_demo fixture) against the rules that the loaders
// and the movie playback rely on.
#include <gtest/gtest.h>

#include <QImageReader>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <set>

#include "support/test_paths.h"
#include "tools/demo_files.h"

namespace kestrel::test {
namespace {

const std::vector<std::string> kLines = {"line_exp.dat", "line_rapid.dat", "line_local.dat"};
const std::vector<std::string> kTrains = {"train_313-1000_8cars.dat", "train_313-1000_10cars.dat",
                                          "train_383.dat", "train_kiha25.dat"};

QSize imageSize(const std::string& windowsName) {
  QImageReader r(QString::fromStdString(demoPath(windowsName).string()));
  return r.size();
}

QImage image(const std::string& windowsName) {
  return QImage(QString::fromStdString(demoPath(windowsName).string()));
}

std::string routeMovie(const DataLines& line) {
  return "movie/" + line.values("[DataName]", 1).at(0) + ".avi";
}

TEST(QuickDemo, SpeedUnitRowsCoverEveryFrameOfTheRouteMovie) {
  for (const auto& name : kLines) {
    SCOPED_TRACE(name);
    const auto line = DataLines::read(quickDemo() / name);
    const AviInfo avi = readAvi(quickDemo() / routeMovie(line));
    EXPECT_EQ(avi.totalFrames, avi.indexedFrames) << "the header and the index disagree";
    EXPECT_LT(avi.totalFrames, 1500);
    const auto rows = line.table("[SpeedUnit]");
    ASSERT_FALSE(rows.empty());
    ASSERT_LE(rows.size(), 100u);
    int expectStart = 0;
    for (const auto& row : rows) {
      EXPECT_EQ(intField(row, 1), expectStart) << row;
      EXPECT_GT(intField(row, 2), intField(row, 1)) << row;
      EXPECT_GE(std::stod(fields(row)[2]), 5.0) << "filming speed below 5 km/h: " << row;
      EXPECT_GE(std::stod(fields(row)[3]), 5.0) << row;
      expectStart = intField(row, 2);
    }
    EXPECT_GE(expectStart, avi.totalFrames) << "frames past the last [SpeedUnit] row";
  }
}

TEST(QuickDemo, TrackPositionsLieInsideTheMovieInOrder) {
  for (const auto& name : kLines) {
    SCOPED_TRACE(name);
    const auto line = DataLines::read(quickDemo() / name);
    const int frames = readAvi(quickDemo() / routeMovie(line)).totalFrames;
    const auto stations = line.table("[Station]");
    ASSERT_GE(stations.size(), 3u);
    int prev = -1;
    for (const auto& st : stations) {
      ASSERT_EQ(fields(st).size(), 15u) << st;
      const int stop = intField(st, 3);
      EXPECT_GT(stop, prev) << st;
      EXPECT_GE(stop, 0);
      EXPECT_LT(stop, frames) << st;
      prev = stop;
    }
    EXPECT_EQ(std::stoi(line.values("[StartPos]", 1).at(0)), intField(stations.front(), 3));
    const int movieStop = std::stoi(line.table("[MovieStop]").at(0));
    EXPECT_GT(movieStop, intField(stations.back(), 3));
    EXPECT_LT(movieStop + 2, frames) << "no frames to turn back into";
    int lastSignal = -1;
    for (const auto& sg : line.table("[Signal]")) {
      ASSERT_EQ(fields(sg).size(), 22u) << sg;
      EXPECT_GT(intField(sg, 6), lastSignal) << "signals out of order: " << sg;
      EXPECT_LE(intField(sg, 5), intField(sg, 6)) << sg;
      lastSignal = intField(sg, 6);
    }
    EXPECT_LT(lastSignal, frames);
    int lastLimit = -1;
    for (const auto& l : line.table("[SpeedLimit]")) {
      EXPECT_GE(intField(l, 4), lastLimit) << l;
      EXPECT_LT(intField(l, 5), frames) << l;
      lastLimit = intField(l, 4);
    }
    for (const auto& s : line.table("[Slope]")) {
      EXPECT_LT(std::stoi(fields(s)[2]), frames) << s;
    }
    for (const auto& m : line.table("[MovieSwitch]")) {
      ASSERT_EQ(fields(m).size(), 9u) << m;
      const AviInfo sw = readAvi(quickDemo() / ("movie/" + fields(m)[3] + ".avi"));
      EXPECT_GE(sw.totalFrames, intField(m, 5)) << "switched movie shorter than its frame count: " << m;
      if (intField(m, 1) < 2) {
        // The branch returns only once the route frame is past the window and before the resume frame.
        EXPECT_GT(intField(m, 2) + intField(m, 5), intField(m, 3)) << m;
        EXPECT_LT(intField(m, 2) + intField(m, 5), intField(m, 6)) << m;
        EXPECT_LT(intField(m, 6), frames) << m;
      } else {
        EXPECT_LT(intField(m, 6), static_cast<int>(stations.size())) << m;
      }
    }
  }
}

TEST(QuickDemo, MoviesHaveAKeyframeAtLeastEveryFifteenFrames) {
  for (const auto& entry : std::filesystem::directory_iterator(quickDemo() / "movie")) {
    SCOPED_TRACE(entry.path().string());
    const AviInfo avi = readAvi(entry.path());
    EXPECT_EQ(avi.width, 640);
    EXPECT_EQ(avi.height, 480);
    EXPECT_GT(avi.totalFrames, 0);
    EXPECT_LE(avi.longestKeyframeGap, 15);
  }
  const AviInfo opening = readAvi(quickDemo() / "move" / "opening.avi");
  EXPECT_EQ(opening.width, 640);
  EXPECT_EQ(opening.height, 360);
}

// The strips have one cell per pattern the tables can select.
TEST(QuickDemo, TracksidePicturesHaveTheCellsTheTablesSelect) {
  const auto line = DataLines::read(quickDemo() / "line_local.dat");
  const auto signs = line.values("[SignImageList]", 8);
  const auto sizeOf = [&](int i) { return std::stoi(fields(signs.at(static_cast<size_t>(i)))[1]); };
  const auto fileOf = [&](int i) { return fields(signs.at(static_cast<size_t>(i)))[0]; };
  const int stations = static_cast<int>(line.table("[Station]").size());
  const int slopes = static_cast<int>(line.table("[Slope]").size());
  EXPECT_EQ(imageSize(fileOf(0)), QSize(sizeOf(0) * (stations + 1), sizeOf(0)))
      << "one stop-marker cell per station";
  EXPECT_EQ(imageSize(fileOf(4)), QSize(sizeOf(4) * (slopes + 1), sizeOf(4)))
      << "one gradient-post cell per slope row";
  int maxPost = 0;
  for (const auto& l : line.table("[SpeedLimit]"))
    maxPost = std::max({maxPost, intField(l, 2), intField(l, 6)});
  EXPECT_GE(imageSize(fileOf(5)).width() / sizeOf(5), maxPost + 1);
  EXPECT_EQ(imageSize(fileOf(6)), QSize(sizeOf(6) * 4, 2 * 600))
      << "four remaining-distance cells, twice the view high";
  int maxSign = 0;
  for (const auto& s : line.table("[Sign]")) maxSign = std::max(maxSign, intField(s, 1));
  EXPECT_GE(imageSize(fileOf(7)).width() / sizeOf(7), maxSign + 1);
  for (int i : {1, 2, 3}) {
    EXPECT_EQ(imageSize(fileOf(i)).height(), sizeOf(i));
  }

  const auto sig = line.values("[SignalImageList]", 4);
  const auto head = fields(sig.at(0));
  EXPECT_EQ(imageSize(head[4]), QSize(std::stoi(head[2]) * 41, std::stoi(head[3])))
      << "one signal cell per code 0..40";
  int maxPlate = 0;
  for (const auto& sg : line.table("[Signal]")) maxPlate = std::max(maxPlate, intField(sg, 2));
  const auto plate = fields(sig.at(1));
  EXPECT_GE(imageSize(plate[2]).width() / std::stoi(plate[0]), maxPlate + 1);
  EXPECT_EQ(imageSize(plate[2]).height(), std::stoi(plate[1]));

  // Transparent pictures paint their key colour at the bottom-left pixel.
  const QImage marker = image(fileOf(0));
  EXPECT_EQ(marker.pixelColor(0, marker.height() - 1), QColor(255, 0, 255));
  for (const auto& staf : line.values("[Staf]", 3)) {
    EXPECT_TRUE(std::filesystem::exists(demoPath(staf))) << staf;
  }
  EXPECT_EQ(imageSize(line.values("[Staf]", 3).at(1)), QSize(800, 600));
}

TEST(QuickDemo, CabPanelPicturesMatchTheirSections) {
  for (const auto& train : kTrains) {
    SCOPED_TRACE(train);
    const auto v = DataLines::read(quickDemo() / train);
    const auto digits = v.values("[Digi_Speed]", 5);
    EXPECT_EQ(imageSize(digits.at(4)), QSize(std::stoi(digits[2]) * 200, std::stoi(digits[3])))
        << "200 speed patterns";
    const int brakes = std::stoi(v.values("[Brake]", 1).at(0));
    const int power = std::stoi(v.values("[Power]", 1).at(0));
    const auto nb = v.values("[NotchImageB]", 5);
    const int nbCells = imageSize(nb.at(4)).width() / std::stoi(nb[2]);
    EXPECT_GE(nbCells, (v.values("[BrakeType]", 1).at(0) == "0" ? 5 : brakes) + 1);
    const auto np = v.values("[NotchImageP]", 5);
    EXPECT_EQ(imageSize(np.at(4)).width() / std::stoi(np[2]), power + 1);
    const auto b2 = v.values("[NotchImageB2]", 5);
    EXPECT_EQ(imageSize(b2.at(4)).width() / std::stoi(b2[2]), nbCells + 2)
        << "the two ATS cells after the brake steps";
    const auto sig = v.table("[Lamp_signal]");
    ASSERT_GE(sig.size(), 6u);
    EXPECT_LE(sig.size() - 5, 12u);
    EXPECT_EQ(imageSize(sig.at(4)).width() / std::stoi(sig[2]), static_cast<int>(sig.size() - 5));
    const auto panel = v.values("[Panel]", 3);
    EXPECT_EQ(imageSize(panel.at(0)), QSize(800, 160));
    EXPECT_EQ(std::stoi(panel[2]) + 160, 760);
    const auto others = v.table("[Others]");
    ASSERT_EQ(others.size() % 3, 0u);
    EXPECT_GE(others.size() / 3, 5u) << "the third and the fifth [Others] pictures are used by the rules";
    const int clockX = std::stoi(v.values("[Clock]", 3).at(0));
    EXPECT_GT(clockX, 0);
  }
}

// Every file named in a data file exists (names end in .bmp, .jpg, .wav).
TEST(QuickDemo, EveryNamedFileExists) {
  std::vector<std::string> files = kLines;
  files.insert(files.end(), kTrains.begin(), kTrains.end());
  for (const auto& name : files) {
    const auto d = DataLines::read(quickDemo() / name);
    for (const auto& l : d.lines) {
      if (l.empty() || l[0] == ';') continue;
      for (const auto& f : fields(l)) {
        const auto ext = f.size() > 4 ? f.substr(f.size() - 4) : "";
        if (ext == ".bmp" || ext == ".jpg" || ext == ".wav") {
          EXPECT_TRUE(std::filesystem::exists(demoPath(f))) << name << ": " << f;
        }
      }
    }
  }
  for (const char* f : {"railvane.dat", "mascon.dat", "operation.dat", "readme.html", "sound/start.wav",
                        "sound/46807.wav", "image/title/title01.jpg", "image/title/title04.jpg",
                        "image/title/title2.jpg", "image/title/line03.bmp", "image/title/train3.bmp"})
    EXPECT_TRUE(std::filesystem::exists(quickDemo() / f)) << f;
  const auto railvane = DataLines::read(quickDemo() / "railvane.dat");
  const auto path = railvane.values("[Path]", 1).at(0);
  EXPECT_TRUE(std::filesystem::exists(demoPath(path + "kestrel_line.avi")));
}

// Canonical 44-byte headers: the line file's announcement lengths are read from offsets 28 and 40.
TEST(QuickDemo, WavesHaveCanonicalHeadersAndAnnouncementsWholeSeconds) {
  int count = 0;
  for (const auto& e : std::filesystem::recursive_directory_iterator(quickDemo())) {
    if (e.path().extension() != ".wav") continue;
    ++count;
    std::ifstream in(e.path(), std::ios::binary);
    const std::string b((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    SCOPED_TRACE(e.path().string());
    ASSERT_GE(b.size(), 44u);
    auto u32 = [&](size_t at) {
      return static_cast<uint32_t>(static_cast<uint8_t>(b[at])) |
             static_cast<uint32_t>(static_cast<uint8_t>(b[at + 1])) << 8 |
             static_cast<uint32_t>(static_cast<uint8_t>(b[at + 2])) << 16 |
             static_cast<uint32_t>(static_cast<uint8_t>(b[at + 3])) << 24;
    };
    EXPECT_EQ(b.substr(0, 4), "RIFF");
    EXPECT_EQ(u32(4), b.size() - 8);
    EXPECT_EQ(b.substr(8, 8), "WAVEfmt ");
    EXPECT_EQ(u32(16), 16u);
    EXPECT_EQ(u32(20) & 0xFFFF, 1u) << "PCM";
    EXPECT_EQ(b.substr(36, 4), "data");
    EXPECT_EQ(u32(40), b.size() - 44);
    EXPECT_GT(u32(40), 0u);
  }
  EXPECT_GT(count, 40);
  const auto line = DataLines::read(quickDemo() / "line_local.dat");
  for (const auto& name : line.table("[SoundData]")) {
    std::ifstream in(demoPath(name), std::ios::binary);
    std::string h(44, '\0');
    in.read(h.data(), 44);
    uint32_t rate = 0, data = 0;
    std::memcpy(&rate, h.data() + 28, 4);
    std::memcpy(&data, h.data() + 40, 4);
    // Rounded and truncated whole seconds agree, so the departure sound ends on time either way.
    EXPECT_EQ(data % rate, 0u) << name;
  }
}

TEST(QuickDemo, ServicesStopAtTheirStations) {
  auto stops = [](const std::string& file) {
    int n = 0;
    for (const auto& st : DataLines::read(quickDemo() / file).table("[Station]")) n += intField(st, 2) == 0;
    return n;
  };
  const auto local = DataLines::read(quickDemo() / "line_local.dat");
  EXPECT_EQ(stops("line_local.dat"), static_cast<int>(local.table("[Station]").size()));
  EXPECT_EQ(local.values("[OneMan]", 1).at(0), "1");
  EXPECT_FALSE(local.table("[Announce]").empty());
  EXPECT_LT(stops("line_exp.dat"), stops("line_rapid.dat"));
  const auto rapid = DataLines::read(quickDemo() / "line_rapid.dat");
  EXPECT_GE(rapid.table("[Pre_Train]").size(), 2u) << "the rapid follows a preceding train";
  // Departure times rise along each line.
  for (const auto& name : kLines) {
    int last = 0;
    for (const auto& st : DataLines::read(quickDemo() / name).table("[Station]")) {
      if (intField(st, 8) == 0) continue;
      EXPECT_GT(intField(st, 8), last) << name << ": " << st;
      last = intField(st, 8);
    }
  }
}

// Same build, same bytes: a second quick run reproduces every file.
TEST(QuickDemo, MakingItAgainGivesTheSameBytes) {
  const auto again = scratchDir("quick-demo-again");
  const std::string cmd = std::string(KESTREL_MAKE_DEMO) + " --quick " + again.string() + " > /dev/null 2>&1";
  ASSERT_EQ(std::system(cmd.c_str()), 0);
  std::set<std::string> names;
  for (const auto& e : std::filesystem::recursive_directory_iterator(quickDemo()))
    if (e.is_regular_file() && e.path().filename() != ".made-by")  // the build's stamp, not the tool's
      names.insert(std::filesystem::relative(e.path(), quickDemo()).string());
  int compared = 0;
  for (const auto& rel : names) {
    auto slurp = [](const std::filesystem::path& p) {
      std::ifstream in(p, std::ios::binary);
      return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    };
    ASSERT_TRUE(std::filesystem::exists(again / rel)) << rel;
    EXPECT_TRUE(slurp(quickDemo() / rel) == slurp(again / rel)) << rel << " differs between two runs";
    ++compared;
  }
  EXPECT_GT(compared, 100);
}

}  // namespace
}  // namespace kestrel::test
