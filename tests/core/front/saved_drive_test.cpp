// Saved drives: the text and its rounding, the refusal of a slot as a whole, the title, the menu
// captions and the store's slots.
#include "core/front/saved_drive.h"

#include <gtest/gtest.h>

#include "core/front/cab_menu.h"
#include "core/ports/memory_preference_store.h"
#include "support/drive_rig.h"
#include "support/station_line.h"

namespace kestrel {
namespace {

TEST(SavedDrive, SpeedsAndDistancesAreStoredRoundedTiesToEven) {
  SavedDrive d{"line_rapid.dat", 3, 85.5, 12000, 1085000, 410000.5, 900};
  EXPECT_EQ(formatSavedDrive(d), "line_rapid.dat,3,86,12000,1085000,410000,900");
  d.speed = 84.5;
  d.distanceRun = 410001.5;
  EXPECT_EQ(formatSavedDrive(d), "line_rapid.dat,3,84,12000,1085000,410002,900");
  d.speed = 0.4;
  EXPECT_EQ(formatSavedDrive(d).substr(0, 19), "line_rapid.dat,3,0,");

  TrainState t;
  t.stations.currentStation = 2;
  t.speed = 61.2;
  t.MovieFrame = 7000;
  t.TickCounter = 1084000;
  t.distanceRun = 250000.25;
  t.preTrain.preTrainFrame = 9100;
  EXPECT_EQ(formatSavedDrive(savedDriveOf(t, "line_exp.dat")), "line_exp.dat,2,61,7000,1084000,250000,9100");
}

TEST(SavedDrive, ATextIsReadWholeOrRefusedWhole) {
  const auto ok = parseSavedDrive("line_rapid.dat,3,86,12000,1085000,410000,900", "line_rapid.dat");
  ASSERT_TRUE(std::holds_alternative<SavedDrive>(ok));
  const SavedDrive& d = std::get<SavedDrive>(ok);
  EXPECT_EQ(d.currentStation, 3);
  EXPECT_EQ(d.speed, 86);
  EXPECT_EQ(d.MovieFrame, 12000);
  EXPECT_EQ(d.TickCounter, 1085000);
  EXPECT_EQ(d.distanceRun, 410000);
  EXPECT_EQ(d.preTrainFrame, 900);
  // Decimal numbers are read as such (a text written elsewhere).
  EXPECT_EQ(std::get<SavedDrive>(parseSavedDrive("l.dat,0,12.5,0,0,99.75,0", "l.dat")).speed, 12.5);

  const auto refused = [](std::string_view text, std::string_view line = "line_rapid.dat") {
    const auto r = parseSavedDrive(text, line);
    return std::holds_alternative<SavedDriveRefusal>(r) ? std::get<SavedDriveRefusal>(r)
                                                        : static_cast<SavedDriveRefusal>(-1);
  };
  EXPECT_EQ(refused(""), SavedDriveRefusal::Empty);
  EXPECT_EQ(refused("line_rapid.dat,3,86,12000,1085000,410000,900", "line_local.dat"),
            SavedDriveRefusal::OtherLine);
  // The line is checked before the numbers, as the menu reads them.
  EXPECT_EQ(refused("line_rapid.dat,x", "line_local.dat"), SavedDriveRefusal::OtherLine);
  EXPECT_EQ(refused("line_rapid.dat,3,86,12000,1085000,410000"), SavedDriveRefusal::Faulty);  // a field short
  EXPECT_EQ(refused("line_rapid.dat,3,86,12000,10850x0,410000,900"), SavedDriveRefusal::Faulty);
  EXPECT_EQ(refused("line_rapid.dat,3,fast,12000,1085000,410000,900"), SavedDriveRefusal::Faulty);
  EXPECT_EQ(refused("line_rapid.dat,3,86,12000,1085000,410000,9e"), SavedDriveRefusal::Faulty);
  EXPECT_EQ(refusalMessage(SavedDriveRefusal::Empty), "運転状態が保存されていません");
  EXPECT_EQ(refusalMessage(SavedDriveRefusal::OtherLine), "運転状態を保存したダイヤではありません");
  EXPECT_EQ(refusalMessage(SavedDriveRefusal::Faulty), "運転状態のデータに誤りがあります");
}

TEST(SavedDrive, OnlyValuesADriveOnTheLineCanHaveAreRestored) {
  LineData line;
  line.Station.resize(3);
  const auto fits = [&](std::string_view text, const LineData& on) {
    return savedDriveFitsLine(std::get<SavedDrive>(parseSavedDrive(text, "l.dat")), on);
  };
  // What the program writes: rolling back, a frame just below the start, the last station.
  EXPECT_TRUE(fits("l.dat,2,-12,-1,-900,-40,0", line));
  EXPECT_TRUE(fits("l.dat,0,2000,1000000000,1000000000,1000000000000,-1000000000", line));
  EXPECT_TRUE(fits("l.dat,0,0,0,0,0,0", LineData{}));  // a line without stations is at station 0
  for (const char* text : {"l.dat,3,0,0,0,0,0", "l.dat,-1,0,0,0,0,0", "l.dat,0,2000.5,0,0,0,0",
                           "l.dat,0,-2001,0,0,0,0", "l.dat,0,0,1000000001,0,0,0", "l.dat,0,0,0,-1000000001,0,0",
                           "l.dat,0,0,0,2147483647,0,0", "l.dat,0,0,0,0,0,-2147483648"})
    EXPECT_FALSE(fits(text, line)) << text;
  EXPECT_FALSE(fits("l.dat,1,0,0,0,0,0", LineData{}));
}

TEST(SavedDrive, TheTitleNamesTheStretchBetweenTwoStations) {
  LineData l;
  l.LineName2 = "快速 鳥羽台行";
  l.Station = {test::stationRow({"A", 0, 100, 10000}), test::stationRow({"B", 0, 3100, 110000}),
               test::stationRow({"C", 1, 6100, 210000})};
  EXPECT_EQ(savedDriveTitle(l, 10000), "快速 鳥羽台行（A～B）");
  EXPECT_EQ(savedDriveTitle(l, 109999.9), "快速 鳥羽台行（A～B）");
  EXPECT_EQ(savedDriveTitle(l, 110000), "快速 鳥羽台行（B～C）");
  EXPECT_EQ(savedDriveTitle(l, 500000), "快速 鳥羽台行（C～）");
  // Before the first stop: the stretch up to it, never an empty caption.
  EXPECT_EQ(savedDriveTitle(l, 5000), "快速 鳥羽台行（～A）");
}

TEST(SavedDrive, SlotsAndTheirMenuCaptions) {
  MemoryPreferenceStore prefs;
  SavedDriveStore store(prefs);
  const auto empty = savedDriveMenu(*store.titles());
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(empty.restore[i].caption, "No Data");
    EXPECT_FALSE(empty.restore[i].enabled);
    EXPECT_EQ(empty.save[i].caption, "No Data");
    EXPECT_TRUE(empty.save[i].enabled);
  }
  ASSERT_TRUE(store.save(2, "line_rapid.dat,0,0,30,1080000,3945,0", "快速（A～B）"));
  EXPECT_EQ(prefs.get("Software\\Railvane\\kestrel", "Save2"),
            MemoryPreferenceStore::Value(std::string("line_rapid.dat,0,0,30,1080000,3945,0")));
  EXPECT_EQ(prefs.get("Software\\Railvane\\kestrel", "Save2Title"),
            MemoryPreferenceStore::Value(std::string("快速（A～B）")));
  const auto menu = savedDriveMenu(*store.titles());
  EXPECT_EQ(menu.restore[1].caption, "快速（A～B）");
  EXPECT_TRUE(menu.restore[1].enabled);
  EXPECT_EQ(menu.save[1].caption, "快速（A～B）");
  EXPECT_FALSE(menu.restore[0].enabled);
  EXPECT_EQ(store.text(2), "line_rapid.dat,0,0,30,1080000,3945,0");
  EXPECT_EQ(store.text(3), "");

  prefs.failWrites(true);
  EXPECT_FALSE(store.save(1, "x", "y"));
  prefs.failWrites(false);
  prefs.failOpen("Software\\Railvane\\kestrel");
  EXPECT_FALSE(store.save(1, "x", "y"));
  EXPECT_EQ(store.titles(), std::nullopt);
  EXPECT_EQ(store.text(2), "");
}

}  // namespace
}  // namespace kestrel
