// The loaders' collecting mode: every fault with its line and the message a drive stops with,
// the rows around a fault still read, and where each key and row stood.
#include <gtest/gtest.h>

#include "core/data/line_loader.h"
#include "core/data/vehicle_loader.h"
#include "support/cp932_files.h"
#include "support/fake_picture_loader.h"
#include "support/test_paths.h"

namespace kestrel {
namespace {

struct Found {
  int32_t line;
  std::string message;
  bool operator==(const Found&) const = default;
};

std::vector<Found> found(const FaultLog& log) {
  std::vector<Found> all;
  for (const LoadFault& f : log.faults()) all.push_back({f.line, f.message});
  return all;
}

std::ostream& operator<<(std::ostream& out, const Found& f) { return out << f.line << ": " << f.message; }

std::string lineFault(const std::string& label, const std::string& row) {
  return std::string(kLineFileFault) + label + ":" + row;
}

constexpr const char* kStation1 = "始発駅,0,150,1000,0,1,0,1080000,60,0,0,0,0,0,0";
constexpr const char* kStation4 = "終着駅,0,5850,1000,0,0,0,0,60,0,0,0,0,1,0";
constexpr const char* kSignal = "0,0,0,1,2700,3000,2850,2950,0,0,0,0,0,0,0,0,0,0,0,0,0,0";

TEST(CollectedFaults, SixFaultsInThreeTablesOfALineFileEachOnItsLine) {
  const std::string text = std::string("[LineName]\n試験線\n[Station]\n") +  // 1-3
                           kStation1 + "\n"                                  // 4
                           "中間駅,0,3150,1000\n"                            // 5: too few fields
                           "通過駅,1,45OO,1000,0,0,0,0,60,0,0,0,0,0,0\n"     // 6: not a number
                           + kStation4 + "\n#\n"                             // 7-8
                           "[Signal]\n1,2,3\n" + kSignal + "\n"              // 9-11: 10 short
                           "0,0,0,2,4600,5000,x\n#\n"                        // 12-13
                           "[SpeedUnit]\n0,300,36,36\n300,600,fast,36\n"     // 14-16
                           "600,900\n900,1200,36,36\n#\n"                    // 17-19
                           "[FrameRate]\n30\n";                              // 20-21
  test::FakePictureLoader pictures;
  LineData line;
  PictureCatalog catalog;
  FaultLog log;
  auto reader = test::readerOf(text);
  loadLine(reader, {"/content", "train.dat", 800, 600, pictures}, line, catalog, &log);

  EXPECT_EQ(found(log), (std::vector<Found>{
                            {5, lineFault("[Station]", "中間駅,0,3150,1000")},
                            {6, lineFault("[Station]", "通過駅,1,45OO,1000,0,0,0,0,60,0,0,0,0,0,0")},
                            {10, lineFault("[Signal]", "1,2,3")},
                            {12, lineFault("[Signal]", "0,0,0,2,4600,5000,x")},
                            {16, lineFault("[SpeedUnit]", "300,600,fast,36")},
                            {17, lineFault("[SpeedUnit]", "600,900")},
                        }));
  // The good rows around the faults are read, and their lines are known.
  ASSERT_EQ(line.Station.size(), 2u);
  EXPECT_EQ(line.Station[1].stopFrame(), 5850);
  EXPECT_EQ(line.Signal.size(), 1u);
  ASSERT_EQ(line.SpeedUnit.size(), 2u);
  EXPECT_EQ(line.FrameRate, 30);
  const SourceLines& lines = log.linesOf("");
  EXPECT_EQ(lines.rows.at("[Station]"), (std::vector<int32_t>{4, 7}));
  EXPECT_EQ(lines.rowLine("[SpeedUnit]", 1), 18);
  EXPECT_EQ(lines.keyLine("[FrameRate]"), 20);
  EXPECT_EQ(lines.rowLine("[Time]", 0), 0);
}

TEST(CollectedFaults, AValueLineThatIsTheNextKeyIsReadAsThatKey) {
  test::FakePictureLoader pictures;
  pictures.setMissing("limit.bmp");
  pictures.setMissing("other.bmp");
  LineData line;
  PictureCatalog catalog;
  FaultLog log;
  auto reader = test::readerOf(
      "[StartPos]\n[FrameRate]\n30\n"
      "[SignImageList]\na.bmp,32\nb.bmp,8\nc.bmp,8\nd.bmp,8\ne.bmp,48\nlimit.bmp,48\nf.bmp,16\nother.bmp,48\n"
      "[TunnelR]\n15\n[Slope]\n5.0,100,200\n");
  loadLine(reader, {"/content", "train.dat", 800, 600, pictures}, line, catalog, &log);
  EXPECT_EQ(found(log), (std::vector<Found>{{2, lineFault("その他", "[FrameRate]")},
                                            {10, std::string(kSignImageFaults[5])},
                                            {12, std::string(kSignImageFaults[7])},
                                            {16, lineFault("[Slope]", "5.0,100,200")}}));
  EXPECT_EQ(line.FrameRate, 30);
  EXPECT_EQ(line.TunnelR, 15);
  EXPECT_NE(catalog.find("img_unten_slope"), nullptr);
}

TEST(CollectedFaults, TwoFaultsOfAVehicleFileAndTheKeysAfterThem) {
  const std::string text =
      "[Engine_Type]\n1\n"                              // 1-2
      "[Notch]\n3.0\n3.0\n40\n1OO\n2.0\n0\n"            // 3-9: line 7 faulty
      "2.5\n2.5\n45\n100\n2.0\n0\n#\n"                  // 10-16: passed over to the '#'
      "[CurrentP]\n400\n3.0\n40\n1,0.5,0.2,1\n2,0.5\n#\n"  // 17-23: line 22 short
      "[DriveSound]\nsound\\a.wav\n#\n";                // 24-26
  VehicleParams vehicle;
  PanelLayout panel;
  FaultLog log;
  auto reader = test::readerOf(text);
  loadVehicle(reader, vehicle, panel, &log);
  EXPECT_EQ(found(log), (std::vector<Found>{{7, std::string(kVehicleFileFault) + "[Notch]"},
                                            {22, std::string(kVehicleFileFault) + "[CurrentP]"}}));
  EXPECT_TRUE(vehicle.Notch.empty());
  EXPECT_EQ(vehicle.CurrentP.size(), 1u);
  EXPECT_EQ(vehicle.DriveSound, (std::vector<std::string>{"sound\\a.wav"}));
}

TEST(CollectedFaults, AGroupCutShortByTheTableEndEndsTheTableThere) {
  VehicleParams vehicle;
  PanelLayout panel;
  FaultLog log;
  auto reader = test::readerOf("[Engine_Type]\n0\n[Engine]\n0\n10\n#\n[Cars]\n4\n");
  loadVehicle(reader, vehicle, panel, &log);
  EXPECT_EQ(found(log), (std::vector<Found>{{6, std::string(kVehicleFileFault) + "[Engine]"}}));
  EXPECT_EQ(vehicle.Cars, 4);
}

TEST(CollectedFaults, ANamedFileStandsOnTheLineThatNamesIt) {
  const auto dir = test::scratchDir("named_fault");
  test::writeCp932File(dir / "train.dat", "[Panel]\nimage\\panel.bmp\n0\n0\n[DriveSound]\nsound\\a.wav\n#\n");
  FaultLog log;
  log.addNamed(dir / "train.dat", "sound\\a.wav", "a.wav: not a readable wave file");
  log.addNamed(dir / "train.dat", "gone.bmp", "gone.bmp" + std::string(kPictureFault));
  ASSERT_EQ(log.faults().size(), 2u);
  EXPECT_EQ(log.faults()[0].line, 6);
  EXPECT_EQ(log.faults()[1].line, 0);  // named nowhere: the file as a whole
}

}  // namespace
}  // namespace kestrel
