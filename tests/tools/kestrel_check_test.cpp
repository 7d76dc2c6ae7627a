// kestrel-check on copies of the fixture content with faults and slips put in: every fault at
// once on its line with the program's own message, then the warnings; JSON; exit statuses.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "core/util/cp932.h"
#include "support/cp932_files.h"
#include "support/program_run.h"
#include "support/test_paths.h"

namespace kestrel {
namespace {

namespace fs = std::filesystem;

constexpr const char* kLine = "line_local.dat";
constexpr const char* kTrain = "train_313-1000_10cars.dat";

// A copy of the fixture content with lines of its data files replaced: {file, line, text}.
struct Edit {
  const char* file;
  int line;
  std::string text;
};

fs::path contentWith(const std::string& name, const std::vector<Edit>& edits) {
  const fs::path dir = test::scratchDir(name);
  fs::copy(test::sourceDir() / "tests/fixtures/content", dir, fs::copy_options::recursive);
  for (const char* file : {kLine, kTrain}) {
    std::vector<DecodedLine> lines = decodeCp932Lines(test::slurp(dir / file));
    for (const Edit& e : edits)
      if (std::string(e.file) == file) lines.at(static_cast<size_t>(e.line - 1)).text = e.text;
    std::string text;
    for (const DecodedLine& l : lines) text += l.text + "\n";
    test::writeCp932File(dir / file, text);
  }
  return dir;
}

test::ProgramResult check(const fs::path& dir, std::vector<std::string> more = {}) {
  std::vector<std::string> args{"--data", dir.string(), "--line", kLine, "--train", kTrain};
  args.insert(args.end(), more.begin(), more.end());
  return test::runProgram(KESTREL_CHECK, args);
}

std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> lines;
  size_t at = 0;
  for (size_t nl; (nl = text.find('\n', at)) != std::string::npos; at = nl + 1) lines.push_back(text.substr(at, nl - at));
  return lines;
}

TEST(KestrelCheck, SixFaultsInThreeLineTablesAndTwoInTheVehicleFileAllOnTheirLines) {
  const fs::path dir = contentWith(
      "kestrel_check_faults",
      {{kTrain, 204, "1,80"},
       {kTrain, 212, "3O"},
       {kLine, 114, "中間駅,0,3150,1000"},
       {kLine, 115, "通過駅,1,45OO,1000,0,0,0,0,60,0,0,0,0,0,0"},
       {kLine, 124, "0,0,0,2,4600"},
       {kLine, 125, "0,0,0,1,5500,5800,x,5750,0,0,0,0,0,0,0,0,0,0,0,0,0,0"},
       {kLine, 184, "0,3000,36"},
       {kLine, 185, "3000,6000,fast,36"}});
  const auto r = check(dir);
  EXPECT_EQ(r.status, 2) << r.err;
  EXPECT_EQ(r.err, "");
  const std::vector<std::string> out = linesOf(r.out);
  ASSERT_GE(out.size(), 8u) << r.out;
  const std::vector<std::string> faults(out.begin(), out.begin() + 8);
  EXPECT_EQ(faults, (std::vector<std::string>{
                        "train_313-1000_10cars.dat:204: 車両ファイルに誤りがあります- 列車の基本設定",
                        "train_313-1000_10cars.dat:212: 車両ファイルに誤りがあります[Notch]",
                        "line_local.dat:114: 路線ファイルに誤りがあります。[Station]:中間駅,0,3150,1000",
                        "line_local.dat:115: 路線ファイルに誤りがあります。[Station]:通過駅,1,45OO,1000,0,0,0,0,60,0,0,0,0,0,0",
                        "line_local.dat:124: 路線ファイルに誤りがあります。[Signal]:0,0,0,2,4600",
                        "line_local.dat:125: 路線ファイルに誤りがあります。[Signal]:0,0,0,1,5500,5800,x,5750,0,0,0,0,0,0,0,0,0,0,0,0,0,0",
                        "line_local.dat:184: 路線ファイルに誤りがあります。[SpeedUnit]:0,3000,36",
                        "line_local.dat:185: 路線ファイルに誤りがあります。[SpeedUnit]:3000,6000,fast,36",
                    }))
      << r.out;

  // The first is the one a drive stops with.
  const auto run = test::runProgram(KESTREL_RUN, {"--data", dir.string(), "--line", kLine, "--train", kTrain, "--check"});
  EXPECT_EQ(run.err, "車両ファイルに誤りがあります- 列車の基本設定\n");

  // What loaded is drawn all the same.
  const auto drawn = check(dir, {"--timeline", (dir / "line.svg").string()});
  EXPECT_EQ(drawn.status, 2);
  EXPECT_EQ(test::slurp(dir / "line.svg").rfind("<?xml", 0), 0u);

  const auto json = check(dir, {"--json"});
  EXPECT_EQ(json.status, 2);
  const auto doc = nlohmann::json::parse(json.out);
  ASSERT_EQ(doc["faults"].size(), 8u);
  EXPECT_EQ(doc["faults"][7]["file"], "line_local.dat");
  EXPECT_EQ(doc["faults"][7]["line"], 185);
  EXPECT_EQ(doc["faults"][7]["kind"], "syntax");
  EXPECT_TRUE(doc["warnings"].is_array());
}

TEST(KestrelCheck, WarningsOfALineThatLoadsAndTheFilesNothingNames) {
  const fs::path dir = contentWith(
      "kestrel_check_warnings",
      {{kLine, 16, "image\\staf\\missing.jpg"},
       {kLine, 114, "中間駅,0,3150,1000,0,1,0,1070000,60,0,0,0,0,1,0"},
       {kLine, 125, "0,0,0,1,4700,4900,4800,4850,0,0,0,0,0,0,0,0,0,0,0,0,0,0"},
       {kLine, 185, "3100,6000,72,36"}});
  fs::copy_file(dir / "image/monitor.bmp", dir / "image/unused.bmp");
  const auto r = test::runProgram(KESTREL_CHECK, {"--data", dir.string(), "--all"});
  EXPECT_EQ(r.status, 0) << r.out << r.err;
  EXPECT_EQ(linesOf(r.out),
            (std::vector<std::string>{
                "line_local.dat:16: [Staf]: the still picture image\\staf\\missing.jpg cannot be loaded; the movie "
                "area stays black until the drive starts",
                "line_local.dat:36: movie\\local.avi映像ファイルを開けません",
                "line_local.dat:114: [Station] 中間駅: departs at 09:54:26, before 始発駅 above it at 10:00:00",
                "line_local.dat:125: [Signal]: frame 4900 comes before frame 5000 of the row above; the table must "
                "run in position order",
                "line_local.dat:185: [SpeedUnit]: frames 3000 to 3099 lie in no row",
                "image/staf/still.jpg: named by no line or vehicle file",  // the still it named before
                "image/unused.bmp: named by no line or vehicle file",
            }))
      << r.out;
}

TEST(KestrelCheck, AFolderWithoutTheProgramsFilesAndBadUsage) {
  const fs::path empty = test::scratchDir("kestrel_check_empty");
  const auto r = test::runProgram(KESTREL_CHECK, {"--data", empty.string(), "--all"});
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.err, "実行ファイルが正しい場所に配置されていません\n");
  const auto usage = test::runProgram(KESTREL_CHECK, {"--line", kLine});
  EXPECT_EQ(usage.status, 64);
  EXPECT_EQ(usage.err.rfind("kestrel-check: give --line FILE and --train FILE, or --all\n", 0), 0u) << usage.err;
}

}  // namespace
}  // namespace kestrel
