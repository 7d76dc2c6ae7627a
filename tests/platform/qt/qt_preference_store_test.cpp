// The QSettings store: keys of the INI file under the user's configuration folder, values that
// come back as written (text with commas and Japanese included), failures that are reported.
#include "platform/qt/qt_preference_store.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QSettings>
#include <QStandardPaths>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "core/data/settings_loader.h"
#include "core/front/saved_drive.h"
#include "support/test_paths.h"

namespace kestrel {
namespace {

namespace fs = std::filesystem;

TEST(QtPreferenceStore, ValuesComeBackAsWrittenAndSurviveANewStore) {
  const fs::path ini = test::scratchDir("prefs_roundtrip") / "prefs.ini";
  {
    QtPreferenceStore store(QString::fromStdString(ini.string()));
    auto key = store.openKey(kPreferenceKeyPath);
    ASSERT_TRUE(key);
    EXPECT_EQ(key->readInt("Kanko"), std::nullopt);  // a first start
    EXPECT_TRUE(key->writeInt("Kanko", 1));
    EXPECT_TRUE(key->writeInt("ATS", -3));
    EXPECT_TRUE(key->writeString("Save1", "line_rapid.dat,3,86,12000,1085000,410000,900"));
    EXPECT_TRUE(key->writeString("Save1Title", "快速 鳥羽台行（鷹見～東鷹見）"));
    auto controller = store.openKey(kControllerKeyPath);
    EXPECT_TRUE(controller->writeInt("P0", 12));
  }
  QtPreferenceStore store(QString::fromStdString(ini.string()));
  auto key = store.openKey(kPreferenceKeyPath);
  EXPECT_EQ(key->readInt("Kanko"), 1);
  EXPECT_EQ(key->readInt("ATS"), -3);
  EXPECT_EQ(key->readString("Save1"), "line_rapid.dat,3,86,12000,1085000,410000,900");
  EXPECT_EQ(key->readString("Save1Title"), "快速 鳥羽台行（鷹見～東鷹見）");
  EXPECT_EQ(key->readInt("Save1Title"), std::nullopt);  // not a number
  EXPECT_EQ(key->readInt("P0"), std::nullopt);          // the other key's
  EXPECT_EQ(store.openKey(kControllerKeyPath)->readInt("P0"), 12);

  // The preferences as the loader reads them.
  Preferences p;
  readPreferences(store, p);
  EXPECT_EQ(p.CalloutsOff, 0);  // "Information" is missing: all five take their defaults
  writePreferences(store, {1, 0, 1, 1, 1});
  readPreferences(store, p);
  EXPECT_EQ(p.CalloutsOff, 1);
  EXPECT_EQ(p.NoCommentary, 0);
  EXPECT_EQ(p.TextMode, 1);
}

TEST(QtPreferenceStore, TheUserStoreIsAnIniFileUnderTheConfigurationFolder) {
  const fs::path home = test::scratchDir("prefs_xdg");
  QStandardPaths::setTestModeEnabled(false);
  ::setenv("XDG_CONFIG_HOME", home.c_str(), 1);
  QtPreferenceStore store;
  ASSERT_TRUE(store.openKey(kPreferenceKeyPath)->writeString("Save2", "a,b"));
  ASSERT_TRUE(store.openKey(kControllerKeyPath)->writeInt("EB", 7));
  std::ifstream kestrel(home / "Railvane" / "kestrel.conf");
  std::ifstream controller(home / "Railvane" / "dgcontroller.conf");
  ASSERT_TRUE(kestrel.good());
  ASSERT_TRUE(controller.good());
  const std::string text((std::istreambuf_iterator<char>(kestrel)), std::istreambuf_iterator<char>());
  EXPECT_NE(text.find("Save2"), std::string::npos);
  EXPECT_EQ(store.openKey(kPreferenceKeyPath)->readString("Save2"), "a,b");
  EXPECT_EQ(store.openKey("kestrel"), nullptr);  // not a key path
}

TEST(QtPreferenceStore, AWriteThatCannotReachTheDiskIsReported) {
  // The INI file would lie in a folder that is a file: nothing can be written there.
  const fs::path dir = test::scratchDir("prefs_blocked");
  std::ofstream(dir / "folder") << "a file";
  QtPreferenceStore store(QString::fromStdString((dir / "folder" / "prefs.ini").string()));
  auto key = store.openKey(kPreferenceKeyPath);
  ASSERT_TRUE(key);
  EXPECT_FALSE(key->writeString(slotValueName(1), "line_rapid.dat,0,0,0,0,0,0"));
  EXPECT_FALSE(key->writeInt("Kanko", 1));
}

// A file the store cannot read whole — a section that does not close, a file cut short, a folder
// in its place — is neither used nor written: the preferences keep what they were (the defaults
// at the program's start), a save says it could not save, and the file stays as it was.
TEST(QtPreferenceStore, AFileThatCannotBeReadIsNeitherUsedNorOverwritten) {
  const fs::path dir = test::scratchDir("prefs_unreadable");
  const std::pair<const char*, std::string> files[] = {
      {"unclosed", "[kestrel\nKanko=1\n"},
      {"cut", "[kestrel]\nKanko=1\nSave1=line_rapid.dat,3,86,12000,1085000,410000,900\n[dgcontr"},
  };
  for (const auto& [name, bytes] : files) {
    SCOPED_TRACE(name);
    const fs::path ini = dir / (std::string(name) + ".ini");
    std::ofstream(ini, std::ios::binary) << bytes;
    QtPreferenceStore store(QString::fromStdString(ini.string()));
    EXPECT_EQ(store.openKey(kPreferenceKeyPath), nullptr);
    Preferences p{1, 0, 1, 1, 1};
    readPreferences(store, p);
    EXPECT_EQ(p.CalloutsOff, 1);  // left as it was
    EXPECT_FALSE(SavedDriveStore(store).save(1, "line_rapid.dat,0,0,0,0,0,0", "title"));
    writePreferences(store, {0, 1, 0, 0, 0});
    EXPECT_EQ(store.openKey(kControllerKeyPath), nullptr);  // not on a second look either
    EXPECT_EQ(test::slurp(ini), bytes);
  }
  // A folder where the file should be cannot be read or replaced either.
  fs::create_directories(dir / "folder.ini");
  QtPreferenceStore store(QString::fromStdString((dir / "folder.ini").string()));
  EXPECT_EQ(store.openKey(kPreferenceKeyPath), nullptr);
  EXPECT_TRUE(fs::is_directory(dir / "folder.ini"));
}

// Every write replaces the file whole (a new file renamed over the old one), so that a crash or a
// full disk in the middle of a save leaves the old file, never half of a new one.
TEST(QtPreferenceStore, ASaveReplacesTheFileWhole) {
  const fs::path dir = test::scratchDir("prefs_atomic");
  const fs::path ini = dir / "prefs.ini";
  QtPreferenceStore store(QString::fromStdString(ini.string()));
  ASSERT_TRUE(store.openKey(kPreferenceKeyPath)->writeString("Save1", "a"));
  const auto before = fs::status(ini);
  struct stat first {};
  ASSERT_EQ(::stat(ini.c_str(), &first), 0);
  ASSERT_TRUE(store.openKey(kPreferenceKeyPath)->writeString("Save2", "b"));
  struct stat second {};
  ASSERT_EQ(::stat(ini.c_str(), &second), 0);
  EXPECT_NE(first.st_ino, second.st_ino);  // a new file, not the old one written over
  EXPECT_EQ(before.permissions(), fs::status(ini).permissions());
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir)) names.push_back(entry.path().filename().string());
  EXPECT_EQ(names, std::vector<std::string>{"prefs.ini"});  // no temporary or lock file left
  EXPECT_EQ(QtPreferenceStore(QString::fromStdString(ini.string())).openKey(kPreferenceKeyPath)->readString("Save1"), "a");
}

}  // namespace
}  // namespace kestrel
