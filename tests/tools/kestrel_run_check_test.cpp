// kestrel-run --check as later tools and authors use it: exit statuses, exact messages, summary
// and JSON of the fixture content.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "support/test_paths.h"

namespace kestrel {
namespace {

namespace fs = std::filesystem;

struct Result {
  int status = -1;
  std::string out, err;
};

using kestrel::test::slurp;

// shellPrefix goes before the program: "cd DIR && env VAR=VALUE ".
Result run(const std::vector<std::string>& args, const std::string& shellPrefix = "") {
  // CTest runs each test in a process of its own, in parallel: the folder is named by the test.
  static int n = 0;
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name = std::string(info->test_suite_name()) + "_" + info->name();
  for (char& c : name)
    if (c == '/') c = '_';
  fs::path dir = test::scratchDir("kestrel_run_" + name + "_" + std::to_string(n++));
  std::string command = shellPrefix + "'" + KESTREL_RUN + "'";
  for (const auto& a : args) command += " '" + a + "'";
  command += " >'" + (dir / "out").string() + "' 2>'" + (dir / "err").string() + "'";
  int raw = std::system(command.c_str());
  return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, slurp(dir / "out"), slurp(dir / "err")};
}

fs::path content() {
  return test::sourceDir() / "tests/fixtures/content";
}

std::vector<std::string> checkArgs(const fs::path& data, const std::string& line, const std::string& train) {
  return {"--data", data.string(), "--line", line, "--train", train, "--check"};
}

TEST(KestrelRunCheck, FixtureContentLoadsWithASummary) {
  Result r = run(checkArgs(content(), "line_local.dat", "train_313-1000_10cars.dat"));
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  EXPECT_NE(r.out.find("Station 4,"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("1 中間駅: type 0, frame 3150 -> 159875 cm (1598.75 m); platform 158875 to 160875 cm"),
            std::string::npos)
      << r.out;
  EXPECT_NE(r.out.find("warnings: none"), std::string::npos);
}

TEST(KestrelRunCheck, JsonHoldsTheLoadedRecords) {
  auto args = checkArgs(content(), "line_local.dat", "train_313-1000_10cars.dat");
  args.push_back("--json");
  Result r = run(args);
  ASSERT_EQ(r.status, 0) << r.err;
  auto j = nlohmann::json::parse(r.out);
  EXPECT_EQ(j["settings"]["Disp"]["DisplayWidth"], 800);
  EXPECT_EQ(j["settings"]["InfoLabel"][0], "①番線に到着します");
  EXPECT_EQ(j["settings"]["preferences"]["Information"], 1);
  EXPECT_EQ(j["settings"]["Move"], "移動(&M)");
  EXPECT_EQ(j["vehicle"]["Tons"], 330.25);
  EXPECT_EQ(j["vehicle"]["Sound_EB"], nlohmann::json::array({3, 0}));
  EXPECT_EQ(j["vehicle"]["Sound_BA"].size(), 9u);
  EXPECT_EQ(j["vehicle"]["Notch"][3][0], 3.0);
  EXPECT_EQ(j["vehicle"]["powerModeIndex"].size(), 10u);
  EXPECT_EQ(j["line"]["LineName"], "試験線～各駅停車");
  EXPECT_EQ(j["line"]["Friction"], 0.3);
  EXPECT_EQ(j["line"]["tables"]["Signal"], 3);
  EXPECT_EQ(j["line"]["stations"][3]["stopDistanceCm"], 294875.0);
  EXPECT_EQ(j["line"]["speedUnit"][1]["endDistanceCm"], 300000.0);
  ASSERT_EQ(j["line"]["events"].size(), 4u);
  EXPECT_EQ(j["line"]["events"][0]["distanceCm"], 150000.0);  // on the [SpeedUnit] boundary, once
  EXPECT_EQ(j["line"]["events"][3]["kind"], 1);
  EXPECT_EQ(j["line"]["soundLengths"], nlohmann::json::array({3, 1, 1}));
  EXPECT_EQ(j["warnings"].size(), 0u);
}

struct BrokenCase {
  const char* fixture;    // in tests/fixtures/broken
  const char* installAs;  // name in the copied content folder
  const char* line;
  const char* train;
  const char* message;
};

class KestrelRunBroken : public ::testing::TestWithParam<BrokenCase> {};

TEST_P(KestrelRunBroken, ExitsTwoWithExactlyTheMessage) {
  const BrokenCase& c = GetParam();
  fs::path dir = test::scratchDir(std::string("broken_") + c.fixture);
  fs::copy(content(), dir, fs::copy_options::recursive);
  fs::copy_file(test::sourceDir() / "tests/fixtures/broken" / c.fixture, dir / c.installAs,
                fs::copy_options::overwrite_existing);
  Result r = run(checkArgs(dir, c.line, c.train));
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.err, std::string(c.message) + "\n");
  EXPECT_EQ(r.out, "");
}

constexpr const char* kLine = "line_local.dat";
constexpr const char* kTrain = "train_313-1000_10cars.dat";

INSTANTIATE_TEST_SUITE_P(
    Messages, KestrelRunBroken,
    ::testing::Values(
        BrokenCase{"railvane_disp_no_comma.dat", "railvane.dat", kLine, kTrain,
                   "stringファイルに誤りがあります"},
        BrokenCase{"train_engine_on_electric.dat", "bad.dat", kLine, "bad.dat",
                   "動力が電車なのにEngine指定があります"},
        BrokenCase{"train_currentp_short_row.dat", "bad.dat", kLine, "bad.dat",
                   "車両ファイルに誤りがあります[CurrentP]"},
        BrokenCase{"train_two_brake_steps.dat", "bad.dat", kLine, "bad.dat",
                   "ブレーキの段数を3段以上に設定してください"},
        BrokenCase{"line_station_14_fields.dat", "bad.dat", "bad.dat", kTrain,
                   "路線ファイルに誤りがあります。[Station]:中間駅,0,3150,1000,0,1,0,1084500,60,0,0,0,0,1"},
        BrokenCase{"line_perspective_text.dat", "bad.dat", "bad.dat", kTrain,
                   "路線ファイルに誤りがあります。[Speed_Signal]:三十"},
        BrokenCase{"line_missing_slope_post.dat", "bad.dat", "bad.dat", kTrain, "勾配標の生成エラー"},
        BrokenCase{"line_missing_staf.dat", "bad.dat", "bad.dat", kTrain,
                   "image\\staf\\nothing.jpgが見つかりません"}));

TEST(KestrelRunCheck, BrokenPicturesAndMissingFiles) {
  fs::path dir = test::scratchDir("kestrel_run_cut_png");
  fs::copy(content(), dir, fs::copy_options::recursive);
  std::string png = slurp(dir / "image/panel/panel.png");
  std::ofstream(dir / "image/panel/panel.png", std::ios::binary) << png.substr(0, 100);
  Result r = run(checkArgs(dir, kLine, kTrain));
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.err, "image\\panel\\panel.pngの生成エラー\n");  // and nothing from libpng

  Result noContent = run(checkArgs(content() / "image", kLine, kTrain));
  EXPECT_EQ(noContent.status, 2);
  EXPECT_EQ(noContent.err, "実行ファイルが正しい場所に配置されていません\n");

  // A file that is missing and a directory named as the file are the same fault.
  for (const char* train : {"cars/none.dat", "sound"}) {
    Result noTrain = run(checkArgs(content(), kLine, train));
    EXPECT_EQ(noTrain.status, 2) << train;
    EXPECT_EQ(noTrain.err, "車両ファイルに誤りがあります- 列車の基本設定\n") << train;
  }
  Result noLine = run(checkArgs(content(), "none.dat", kTrain));
  EXPECT_EQ(noLine.status, 2);
  Result dirLine = run(checkArgs(content(), "image", kTrain));
  EXPECT_EQ(dirLine.status, 2);
  EXPECT_EQ(dirLine.err, noLine.err);
  EXPECT_NE(noLine.err, "");

  // A [DriveSound] wave that is missing fails the check as it fails a drive, with its message.
  fs::path noWave = test::scratchDir("kestrel_run_missing_wave");
  fs::copy(content(), noWave, fs::copy_options::recursive);
  fs::remove(noWave / "sound/train/brake.wav");
  Result check = run(checkArgs(noWave, kLine, kTrain));
  auto driveArgs = checkArgs(noWave, kLine, kTrain);
  driveArgs.back() = "--duration=1";
  Result drive = run(driveArgs);
  EXPECT_EQ(drive.status, 2);
  EXPECT_NE(drive.err.find("brake.wav"), std::string::npos) << drive.err;
  EXPECT_EQ(check.status, 2);
  EXPECT_EQ(check.err, drive.err);
  EXPECT_EQ(check.out, "");
}

TEST(KestrelRunCheck, WithoutDataTheContentIsSearchedFor) {
  const fs::path empty = fs::canonical(test::scratchDir("kestrel_run_no_data"));
  const std::string inEmpty = "cd '" + empty.string() + "' && env -u XDG_DATA_HOME HOME='" + empty.string() + "' ";
  const std::vector<std::string> args = {"--line", kLine, "--train", kTrain, "--check"};
  Result found = run(args, inEmpty + "KESTREL_DATA='" + content().string() + "' ");
  EXPECT_EQ(found.status, 0) << found.err;

  Result none = run(args, inEmpty + "KESTREL_DATA= ");
  EXPECT_EQ(none.status, 2);
  const fs::path installed = (fs::canonical(KESTREL_RUN).parent_path() / "../share/kestrel").lexically_normal();
  EXPECT_EQ(none.err, "実行ファイルが正しい場所に配置されていません\n"
                      "railvane.dat is in none of these folders (--data DIR names another):\n"
                      "  " + empty.string() + "/.local/share/kestrel  (~/.local/share/kestrel)\n"
                      "  " + installed.string() + "  (installed with the program)\n"
                      "  " + empty.string() + "  (the working directory)\n");
  EXPECT_EQ(none.out, "");
}

TEST(KestrelRunCheck, BadUsageExits64WithTheUsage) {
  for (const auto& args : std::vector<std::vector<std::string>>{
           {}, {"--check"}, {"--check", "--line", "a.dat"}, {"--bogus"}, {"--line"}, {"--check=1"}}) {
    Result r = run(args);
    EXPECT_EQ(r.status, 64);
    EXPECT_NE(r.err.find("usage: kestrel-run"), std::string::npos);
  }
  Result help = run({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("--json"), std::string::npos);
  Result inlineForm = run(
      {"--data=" + content().string(), "--line=line_local.dat", "--train=" + std::string(kTrain), "--check"});
  EXPECT_EQ(inlineForm.status, 0) << inlineForm.err;
}

}  // namespace
}  // namespace kestrel
