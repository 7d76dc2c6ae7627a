#include <gtest/gtest.h>

#include "core/data/jump_menu.h"
#include "core/data/line_loader.h"
#include "core/util/fatal_error.h"
#include "support/cp932_files.h"
#include "support/fake_picture_loader.h"

namespace kestrel {
namespace {

struct LineFixture : ::testing::Test {
  test::FakePictureLoader pictures;
  LineData line;
  PictureCatalog catalog;

  void load(const std::string& text) {
    line = LineData{};
    catalog = PictureCatalog{};
    LineLoadContext context{"/content", "train_383.dat", 800, 600, pictures};
    auto r = test::readerOf(text);
    loadLine(r, context, line, catalog);
  }

  std::string messageOf(const std::string& text) {
    try {
      load(text);
    } catch (const FatalError& e) {
      return e.message();
    }
    return "loaded";
  }
};

std::string fault(const std::string& label, const std::string& line) {
  return std::string(kLineFileFault) + label + ":" + line;
}

constexpr const char* kStation = "中間駅,0,3150,1000,2,1,0,1084500,60,0,0,5,0,1,0";

TEST_F(LineFixture, GeneralKeysAndStations) {
  load(std::string("[LineName]\n試験線～各駅停車\n[StartPos]\n120\n[Staf]\na.jpg\n\nc.jpg\n[Friction]\n0.35\n"
                   "[Perspective]\n30.5\n120\n[Station]\n") +
       kStation + "\n#\n");
  EXPECT_EQ(line.LineName, "試験線～各駅停車");
  EXPECT_EQ(line.StartPos, 120);
  EXPECT_EQ(line.Staf, (std::array<std::string, 3>{"a.jpg", "", "c.jpg"}));
  EXPECT_EQ(line.Friction.raw(), 3500);
  EXPECT_DOUBLE_EQ(line.PerspectiveValues.P, 30.5);
  ASSERT_EQ(line.Station.size(), 1u);
  const StationRow& s = line.Station[0];
  EXPECT_EQ(s.name, "中間駅");
  EXPECT_EQ(s.stopFrame(), 3150);
  EXPECT_EQ(s.departureTime(), 1084500);
  EXPECT_EQ(s.randomEvent(), 5);
  EXPECT_EQ(s.platformSide(), 1);
}

TEST_F(LineFixture, FaultMessageNamesTheLabelInForceAndTheLineReadLast) {
  const std::string short14 = "中間駅,0,3150,1000,2,1,0,1084500,60,0,0,5,0,1";
  EXPECT_EQ(messageOf("[Station]\n" + short14 + "\n#\n"), fault("[Station]", short14));
  EXPECT_EQ(messageOf("[StartPos]\n12O\n"), fault("その他", "12O"));
  // [DataName] and [Perspective] have no label of their own: [Speed_Signal]'s stays in force.
  EXPECT_EQ(messageOf("[Perspective]\nfar\n"), fault("[Speed_Signal]", "far"));
  EXPECT_EQ(messageOf("[OneMan]\nno\n"), fault("[Pre_Train]", "no"));
  EXPECT_EQ(messageOf("[Monitor]\ntrain_383.dat\n1\n"), fault("[SoundData]", "1"));
  EXPECT_EQ(messageOf("[Slope]\n5,100\n#\n"), fault("[Slope]", "5,100"));
  EXPECT_EQ(messageOf("[Signal]\n1,2,3\n"), fault("[Signal]", "1,2,3"));
  EXPECT_EQ(messageOf("[Switch]\n5820,1\n"), fault("[Switch]", "5820,1"));  // end of file: the last line
}

TEST_F(LineFixture, SmallListsAndTheirCapacities) {
  load("[StafSwitch]\n3\n4\n#\n[Speed_Signal]\n0\n25\n#\n[Pre_Train]\n1500,5800\n0,60,1078200\n#\n");
  EXPECT_EQ(line.StafSwitch, (std::vector<int32_t>{3, 4}));
  EXPECT_EQ(line.Speed_Signal, (std::vector<int32_t>{0, 25}));
  EXPECT_EQ(line.Pre_Train.removePos, 5800);
  EXPECT_EQ(line.Pre_Train.rows[0].departure, 1078200);
  // The first [StafSwitch] value line is read even when it starts with '#'.
  EXPECT_EQ(messageOf("[StafSwitch]\n#\n#\n"), fault("[StafSwitch]", "#"));
  std::string signals = "[Speed_Signal]\n";
  for (int i = 0; i < 12; ++i) signals += std::to_string(i * 10) + "\n";
  EXPECT_EQ(messageOf(signals + "#\n"), fault("[Speed_Signal]", "110"));
  std::string stations = "[Station]\n";
  for (int i = 0; i < 502; ++i) stations += std::string(kStation) + "\n";
  EXPECT_EQ(messageOf(stations + "#\n"), fault("[Station]", kStation));
}

TEST_F(LineFixture, SoundTablesSkipSemicolonRows) {
  load("[Sound]\n; 踏切\n2,1000,1400,60,1,0,1,0\n;\n#\n[Sound2]\n;x\n#\n[KankoSound2]\na.wav\nb.wav\nc.wav\n#\n");
  ASSERT_EQ(line.Sound.size(), 1u);
  EXPECT_EQ(line.Sound[0].f(3), 1400);
  EXPECT_TRUE(line.Sound2.empty());
  ASSERT_EQ(line.KankoSound2.size(), 3u);
  EXPECT_EQ(22 + line.KankoSound2[2].number, 24);
  EXPECT_EQ(messageOf("[Doppler]\n;1,2,3,4,5\n#\n"), fault("[Doppler]", ";1,2,3,4,5"));
}

TEST_F(LineFixture, MonitorAppliesOnlyToTheLoadedTrain) {
  load("[Monitor]\ntrain_313.dat\n620\n40\n60\n40\nmon.bmp\n");
  EXPECT_FALSE(line.Monitor.loaded);
  EXPECT_EQ(catalog.find("img_mon"), nullptr);
  EXPECT_TRUE(pictures.requests.empty());

  load("[Monitor]\ntrain_383.dat\n620\n40\n60\n40\nmon.bmp\n");
  ASSERT_TRUE(line.Monitor.loaded);
  const CatalogPicture* mon = catalog.find("img_mon");
  ASSERT_NE(mon, nullptr);
  EXPECT_EQ(mon->z, 51);
  EXPECT_TRUE(mon->visible);
  EXPECT_EQ(mon->transparentColor, test::FakePictureLoader::kBottomLeft);
  EXPECT_EQ(mon->patternWidth, 60);
  EXPECT_EQ(pictures.requests.back(), std::filesystem::path("/content/mon.bmp"));

  pictures.setMissing("mon.bmp");
  EXPECT_EQ(messageOf("[Monitor]\ntrain_383.dat\n620\n40\n60\n40\nmon.bmp\n"), "mon.bmpの生成エラー");
}

constexpr const char* kSignImages =
    "[SignImageList]\nteimoku.bmp,48\nS.bmp,8\nM.bmp,8\nE.bmp,8\nslope.bmp,48\nlimit.bmp,48\nremain.bmp,16\n"
    "other.bmp,48\n";

TEST_F(LineFixture, SignImageListSpritesOnTheDrawingSurface) {
  load(kSignImages);
  auto at = [&](const char* name) {
    const CatalogPicture* p = catalog.find(name);
    EXPECT_NE(p, nullptr) << name;
    return p ? *p : CatalogPicture{};
  };
  auto slope = at("img_unten_slope");
  EXPECT_EQ(slope.x, 660);
  EXPECT_EQ(slope.y, 330);
  EXPECT_EQ(slope.width, 48);
  EXPECT_EQ(slope.patternHeight, 48);
  EXPECT_TRUE(slope.transparent);
  EXPECT_EQ(at("img_unten_teimoku").x, 752);
  EXPECT_EQ(at("img_unten_limit").y, 210);
  EXPECT_EQ(at("img_unten_other").y, 240);
  auto remain = at("img_unten_remain");
  EXPECT_EQ(remain.x, 784);
  EXPECT_EQ(remain.height, 1200);
  auto stopLine = at("img_unten_teimokuM");
  EXPECT_EQ(stopLine.width, 800);
  EXPECT_EQ(stopLine.height, 8);
  EXPECT_EQ(stopLine.alpha, 64);
  EXPECT_FALSE(stopLine.transparent);
  EXPECT_TRUE(stopLine.rotating);
  EXPECT_EQ(line.SignImageList[6].size, 16);

  load("[SignImageList]\nt.bmp,-2147483648\nS.bmp,8\nM.bmp,8\nE.bmp,8\ns.bmp,1\nl.bmp,1\nr.bmp,1\no.bmp,1\n");
  EXPECT_EQ(at("img_unten_teimoku").x, 800.0 + 2147483648.0);  // no int overflow
}

TEST_F(LineFixture, EachImageListLineHasItsOwnMessage) {
  pictures.setMissing("slope.bmp");
  EXPECT_EQ(messageOf(kSignImages), "勾配標の生成エラー");
  EXPECT_EQ(messageOf("[SignImageList]\nteimoku.bmp,48\nS.bmp\n"), "停止線Sの生成エラー");  // missing field
  EXPECT_EQ(messageOf("[SignImageList]\nteimoku.bmp,48\n"), "停止線Sの生成エラー");      // end of file
  EXPECT_EQ(messageOf("[SignImageList]\nteimoku.bmp,4８\n"), "停目の生成エラー");
  EXPECT_EQ(messageOf("[SignImageList]\n,48\n"), "停目の生成エラー");  // an empty name never loads

  const std::string signals = "[SignalImageList]\n400,150,24,48,sig.bmp\n20,20,s.bmp\n20,20,l.bmp\n20,20,r.bmp\n";
  load(signals);
  EXPECT_EQ(line.SignalImageList[0].x, 400);
  EXPECT_EQ(line.SignalImageList[0].y, 150);
  EXPECT_EQ(catalog.find("img_unten_signal")->patternWidth, 24);
  EXPECT_EQ(catalog.find("img_unten_signal_S")->z, 101);
  EXPECT_EQ(catalog.find("img_unten_signal_R")->z, 100);
  pictures.setMissing("l.bmp");
  EXPECT_EQ(messageOf(signals), "サブ信号機1の生成エラー");
  EXPECT_EQ(messageOf("[SignalImageList]\n400,150,24,sig.bmp\n"), "信号機の生成エラー");
}

TEST_F(LineFixture, PictureListsLoadEveryPicture) {
  pictures.setSize("c2.bmp", 30, 20);
  load("[AnimImageList]\na1.bmp\na2.bmp\n#\n[CrossImageList]\nc1.bmp\nc2.bmp\n#\n");
  EXPECT_EQ(line.AnimImageList.size(), 2u);
  EXPECT_EQ(catalog.AnimImageList.pictures.size(), 2u);
  EXPECT_EQ(catalog.CrossImageList.width, 30);  // the last picture's size holds for all
  EXPECT_EQ(catalog.CrossImageList.height, 20);
  pictures.setMissing("t.bmp");
  EXPECT_EQ(messageOf("[TrafficSignalImageList]\nt.bmp\n#\n"), fault("[TrafficSignalImageList]", "t.bmp"));
}

TEST_F(LineFixture, MalformedShiftJisFaultsOnlyInUse) {
  LineLoadContext context{"/content", "train_383.dat", 800, 600, pictures};
  auto r = SectionReader::fromBytes("; \x8c\r\n[LineName]\r\nok\r\n[DataName]\r\nbad\x82\r\n");
  try {
    loadLine(r, context, line, catalog);
    FAIL();
  } catch (const FatalError& e) {
    EXPECT_EQ(e.message(), fault("[Speed_Signal]", "bad\xEF\xBF\xBD"));
  }
  EXPECT_EQ(line.LineName, "ok");
}

TEST_F(LineFixture, JumpMenuLeavesOutTheLastStationAndPassStations) {
  load(
      "[Station]\nA,0,1,0,0,0,0,0,0,0,0,0,0,0,0\nB,1,2,0,0,0,0,0,0,0,0,0,0,0,0\nC,2,3,0,0,0,0,0,0,0,0,0,0,0,0\n"
      "D,0,4,0,0,0,0,0,0,0,0,0,0,0,0\n#\n");
  auto entries = jumpMenuEntries(line);
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].name, "Sta0");
  EXPECT_EQ(entries[0].caption, "A");
  EXPECT_EQ(entries[1].name, "Sta2");
}

}  // namespace
}  // namespace kestrel
