#include <gtest/gtest.h>

#include "core/data/vehicle_loader.h"
#include "core/util/fatal_error.h"
#include "support/cp932_files.h"
#include "support/test_paths.h"

namespace kestrel {
namespace {

struct Loaded {
  VehicleParams v;
  PanelLayout p;
};

Loaded load(const std::string& text) {
  Loaded l;
  auto r = test::readerOf(text);
  loadVehicle(r, l.v, l.p);
  return l;
}

std::string messageOf(const std::string& text) {
  try {
    load(text);
  } catch (const FatalError& e) {
    return e.message();
  }
  return "loaded";
}

std::string fault(const std::string& label) { return std::string(kVehicleFileFault) + label; }

TEST(VehicleFile, ScalarKeysInTheirTypes) {
  auto l = load(
      "; コメント\n[Handle]  ← 2ハンドル\n1\n [Brake]\n5\n[Brake]\n8\n[Const]\n2\n40\n"
      "[BrakeRate]\n4.6\n3.8\n70\n[BrakeRate2]\n0.123456\n[Tons]\n330.25\n[Gear_Type]\nMT\n");
  EXPECT_EQ(l.v.Handle, 1);
  EXPECT_EQ(l.v.Brake, 8);  // " [Brake]" with a leading blank is no key
  EXPECT_EQ(l.v.Const, (std::array<int32_t, 2>{2, 40}));
  EXPECT_EQ(l.v.BrakeRate[0].raw(), 46000);
  EXPECT_EQ(l.v.BrakeRate[2].raw(), 700000);
  EXPECT_DOUBLE_EQ(l.v.BrakeRate2, 0.1235);  // four decimals
  EXPECT_EQ(l.v.Tons.raw(), 3302500);
  EXPECT_EQ(l.v.Gear_Type, 1);
  EXPECT_EQ(load("[Gear_Type]\nMT\n[Gear_Type]\nat\n").v.Gear_Type, 1);  // "at" leaves it unchanged
  EXPECT_EQ(load("[Gear_Type]\nMT\n[Gear_Type]\nAT\n").v.Gear_Type, 0);
}

TEST(VehicleFile, SoundListsTakeTheirCountsFromBrakeAndPowerInForce) {
  auto l = load("[Sound_BK]\n1\n2\n[Brake]\n2\n[Power]\n1\n[Sound_BK]\n3\n4\n[Sound_BA]\n5\n6\n7\n[Sound_PA]\n8\n");
  EXPECT_TRUE(load("[Sound_BK]\n1\n").v.Sound_BK.empty());  // [Brake] not yet read: nothing
  EXPECT_EQ(l.v.Sound_BK, (std::vector<int32_t>{3, 4}));
  EXPECT_EQ(l.v.Sound_BA, (std::vector<int32_t>{5, 6, 7}));
  EXPECT_EQ(l.v.Sound_PA, (std::vector<int32_t>{8}));
  EXPECT_EQ(load("[Brake]\n0\n[Sound_BA]\n9\n").v.Sound_BA, (std::vector<int32_t>{9}));
  EXPECT_TRUE(load("[Brake]\n-1\n[Sound_BA]\n9\n").v.Sound_BA.empty());
  // Brake steps 0 to 10 fit; an eleventh step has no place in the list.
  std::string eleven = "[Brake]\n11\n[Sound_BA]\n";
  for (int i = 0; i < 12; ++i) eleven += "1\n";
  EXPECT_EQ(messageOf(eleven), fault("- 列車の基本設定"));
  EXPECT_EQ(messageOf("[Brake]\n2147483647\n[Sound_BA]\n1\n"), fault("- 列車の基本設定"));  // B + 1 overflows int32
}

TEST(VehicleFile, SoundEbSecondLineMayBeACommentAndHorn4KeepsItsSixthLine) {
  auto l = load("[Sound_EB]\n3\n; なし\n[Sound_Horn4]\n1\n2\n3\n4\n5\n-6\n");
  EXPECT_EQ(l.v.Sound_EB, (std::array<int32_t, 2>{3, 0}));
  EXPECT_EQ(l.v.Sound_Horn4, (std::array<int32_t, 5>{1, 2, 3, 4, 5}));
  EXPECT_EQ(l.v.Sound_Horn4Value, -6);
  EXPECT_EQ(l.v.Sound_Horn4Fixed.raw(), -60000);
  EXPECT_EQ(load("[Sound_EB]\n3\n4\n").v.Sound_EB, (std::array<int32_t, 2>{3, 4}));
}

std::string notch(const std::vector<int>& groups) {
  std::string t = "[Engine_Type]\n1\n[Notch]\n";
  for (int g : groups) t += "1.0\n2.0\n30\n60\n2.5\n" + std::to_string(g) + "\n";
  return t + "#\n";
}

TEST(VehicleFile, NotchRowsAndThePowerModeIndex) {
  auto a = load(notch({1, 1, 2, 2, 3}));
  ASSERT_EQ(a.v.Notch.size(), 5u);
  EXPECT_DOUBLE_EQ(a.v.Notch[4].E, 2.5);
  EXPECT_EQ(a.v.powerModeIndex, (std::array<int32_t, 10>{0, 0, 2, 4, 0, 0, 0, 0, 0, 0}));
  auto b = load(notch({0, 0, 1, 1, 2}));
  EXPECT_EQ(b.v.powerModeIndex, (std::array<int32_t, 10>{0, 2, 4, 0, 0, 0, 0, 0, 0, 0}));
  // More groups than the index holds is a faulty file, not an overrun.
  EXPECT_EQ(messageOf(notch({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10})), fault("[Notch]"));
  // The '#' test is made on a group's first line only: "#" as a value line fails to convert.
  EXPECT_EQ(messageOf("[Engine_Type]\n1\n[Notch]\n1.0\n#\n"), fault("[Notch]"));
}

TEST(VehicleFile, ConsistencyChecksAtTheEndOfTheirTables) {
  EXPECT_EQ(messageOf("[Engine_Type]\n1\n[Engine]\n0\n10\n20\n1\n2\n3\n#\n"), kEngineOnElectric);
  EXPECT_EQ(messageOf("[Engine_Type]\n0\n[Notch]\n#\n"), kNotchOnDiesel);
  EXPECT_EQ(messageOf("[Notch]\n#\n"), kNotchOnDiesel);  // [Engine_Type] must come first
  // A faulty row is reported before the check.
  EXPECT_EQ(messageOf("[Engine_Type]\n1\n[Engine]\nx\n"), fault("[Engine]"));
  EXPECT_EQ(load("[Engine_Type]\n0\n[Engine]\n0\n10\n20\n1\n2\n3\n#\n").v.Engine.size(), 1u);
}

TEST(VehicleFile, CommaRowTablesAndTheirLabels) {
  auto l = load("[CurrentP]\n400\n2.5\n40\n1,0.5,0.25,3\n#\n[PowerMode]\nP,直並列\nS\n#\n[EngineRate]\n100,2.5\n#\n");
  EXPECT_EQ(l.v.CurrentPHead.Iref, 400);
  ASSERT_EQ(l.v.CurrentP.size(), 1u);
  EXPECT_DOUBLE_EQ(l.v.CurrentP[0].b, 0.25);
  EXPECT_EQ(l.v.PowerMode[0].name, "直並列");
  EXPECT_EQ(l.v.PowerMode[1].name, "Error");  // a missing text field reads "Error", as every field
  EXPECT_DOUBLE_EQ(l.v.EngineRate[0].ratio, 2.5);
  EXPECT_EQ(messageOf("[CurrentP]\n400\n2.5\n40\n1,0.5,0.25\n#\n"), fault("[CurrentP]"));
  EXPECT_EQ(messageOf("[CurrentB]\n1.5,x,1\n#\n"), fault("[CurrentB]"));
  EXPECT_EQ(messageOf("[DriveSound]\na.wav\n"), fault("[DriveSound]"));  // end of file in a table
  EXPECT_EQ(messageOf("[SwitchSound]\n1,2\n#\n"), fault("- 列車の基本設定"));
  EXPECT_EQ(messageOf("[Cars]\n10両\n"), fault("- 列車の基本設定"));
}

TEST(VehicleFile, TablesLongerThanTheirCapacityAreFaulty) {
  auto rows = [](const char* key, const char* row, int n) {
    std::string t = std::string(key) + "\n";
    for (int i = 0; i < n; ++i) t += std::string(row) + "\n";
    return t + "#\n";
  };
  EXPECT_EQ(load(rows("[EngineRate]", "1,1.0", 10)).v.EngineRate.size(), 10u);
  EXPECT_EQ(messageOf(rows("[EngineRate]", "1,1.0", 11)), fault("- 列車の基本設定"));
  EXPECT_EQ(messageOf(rows("[BrakeCurr]", "100", 11)), fault("[BrakeCurr]"));
  EXPECT_EQ(messageOf(rows("[PowerMode]", "P,M", 11)), fault("[PowerMode]"));
  EXPECT_EQ(load(rows("[DriveSound]", "a.wav", 501)).v.DriveSound.size(), 501u);
  EXPECT_EQ(messageOf(rows("[DriveSound]", "a.wav", 502)), fault("[DriveSound]"));
  EXPECT_EQ(messageOf(rows("[Others]", "o.bmp\n1\n2", 12)), fault("[Others]"));
}

TEST(VehicleFile, PanelSectionsAndTheirLabels) {
  auto l = load(
      "[Clock]\n700\n650\n20\n[Panel]\npanel.bmp\n0\n600\n[Panel2]\n\n0\n0\n"
      "[Needle_Speed]\nn.bmp\n300\n640\n0\n0\n30\n1.5\n3\n[Needle_I]\ni.bmp\n1\n2\n0\n0\n64\n1\n2\n"
      "[Needle_MR_L]\nbar.bmp\n5\n700\n0.2\n"
      "[Lamp_signal]\n1\n2\n32\n32\ncab.bmp\n0\n\n45\n#\n[NotchImageP]\n3\n4\n24\n24\n\n"
      "[Others]\na.bmp\n1\n2\nb.bmp\n3\n4\n#\n");
  EXPECT_TRUE(l.p.Clock.drawn());
  EXPECT_EQ(l.p.Panel.file, "panel.bmp");
  EXPECT_FALSE(l.p.Panel2.present());
  EXPECT_DOUBLE_EQ(l.p.Needle_Speed.k2, 3);
  EXPECT_EQ(l.p.Needle_I.mode, 2);
  EXPECT_EQ(l.p.Needle_MR_L.baseY, 700);
  EXPECT_EQ(l.p.Lamp_signalPatterns, (std::vector<std::optional<int32_t>>{0, std::nullopt, 45}));
  EXPECT_FALSE(l.p.NotchImageP.present());
  ASSERT_EQ(l.p.Others.size(), 2u);
  EXPECT_EQ(l.p.Others[1].y, 4);

  EXPECT_EQ(messageOf("[Clock]\nx\n"), fault("- アナログ時計"));
  EXPECT_EQ(messageOf("[Lamp_Door]\nd.bmp\nx\n"), fault("- 運転台パネル2"));  // carried over from [Panel2]
  EXPECT_EQ(messageOf("[Lamp_Y]\ny.bmp\nx\n"), fault("- 運転台パネル3"));
  EXPECT_EQ(messageOf("[Needle_BC_L]\nb.bmp\n1\n2\nk\n"), fault("- BC圧力計（リニア）"));
  EXPECT_EQ(messageOf("[Needle_I]\ni.bmp\n1\n2\n0\n0\n64\n1\nx\n"), fault("- 電流計"));
  EXPECT_EQ(messageOf("[Lamp_signal]\n1\n2\n32\n32\ncab.bmp\nx\n#\n"), fault("[Lamp_signal]"));
  EXPECT_EQ(messageOf("[Digi_Speed]\n1\n2\n3\n"), fault("[Digi_Speed]"));
}

TEST(VehicleFile, MissingFileAndTheBrakeStepCheck) {
  VehicleParams v;
  PanelLayout p;
  try {
    loadVehicleFile(test::scratchDir("vehicle_missing") / "train.dat", v, p);
    FAIL();
  } catch (const FatalError& e) {
    EXPECT_EQ(e.message(), fault("- 列車の基本設定"));
  }
  auto check = [](int brakeType, int brake) {
    VehicleParams x;
    x.BrakeType = brakeType;
    x.Brake = brake;
    try {
      checkBrakeSteps(x);
    } catch (const FatalError& e) {
      return e.message();
    }
    return std::string("ok");
  };
  EXPECT_EQ(check(1, 2), kTooFewBrakeSteps);
  EXPECT_EQ(check(2, 2), kTooFewBrakeSteps);
  EXPECT_EQ(check(2, 3), "ok");
  EXPECT_EQ(check(0, 1), "ok");
}

}  // namespace
}  // namespace kestrel
