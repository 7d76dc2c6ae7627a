// The cab window's menu model: captions from the settings file, checks from the preferences, the
// toggles and what they change, and the "Move" entries.
#include "core/front/cab_menu.h"

#include <gtest/gtest.h>

#include "support/drive_rig.h"
#include "support/station_line.h"

namespace kestrel {
namespace {

TEST(CabMenu, CaptionsComeFromTheSettingsFileWhereItHasThem) {
  SettingsData s;
  CabMenuCaptions c = CabMenuCaptions::of(s);
  EXPECT_EQ(c.start, "Start");
  EXPECT_EQ(c.move, "Move");
  EXPECT_EQ(c.display, "Display");
  EXPECT_EQ(c.controller, "Controller(&C)");
  EXPECT_EQ(c.save, "Save(&S)");
  s.Start = "運転開始(&S)";
  s.Save = "保存(&S)";
  c = CabMenuCaptions::of(s);
  EXPECT_EQ(c.start, "運転開始(&S)");
  EXPECT_EQ(c.save, "保存(&S)");
  EXPECT_EQ(c.move, "Move");
}

TEST(CabMenu, ChecksStartFromThePreferencesAndToggleThem) {
  SettingsData s;
  s.preferences = {1, 1, 1, 0, 5};  // Kanko, Information, ATS, Tunnel, Moji
  LineData line;
  line.Station = {test::stationRow({"A", 0}), test::stationRow({"B", 1}), test::stationRow({"C", 2}),
                  test::stationRow({"D", 0})};
  CabMenu menu(s, line);
  EXPECT_TRUE(menu.checked(CabMenuItem::CalloutsOff));
  EXPECT_TRUE(menu.checked(CabMenuItem::NoCommentary));
  EXPECT_TRUE(menu.checked(CabMenuItem::StopLinesHidden));  // follows the ATS preference
  EXPECT_FALSE(menu.checked(CabMenuItem::VisualEffectsOff));
  EXPECT_FALSE(menu.checked(CabMenuItem::TextMode));  // checked only at exactly 1
  EXPECT_TRUE(menu.checked(CabMenuItem::ControllerStandard));
  EXPECT_TRUE(CabMenu::hidden(CabMenuItem::VisualEffectsOff));
  EXPECT_FALSE(CabMenu::hidden(CabMenuItem::TextMode));

  Preferences& p = s.preferences;
  test::DriveRig rig;
  DriveContext& ctx = rig.c();
  EXPECT_FALSE(toggleMenuItem(menu, CabMenuItem::CalloutsOff, p, ctx));
  EXPECT_EQ(p.CalloutsOff, 0);
  EXPECT_TRUE(toggleMenuItem(menu, CabMenuItem::TextMode, p, ctx));
  EXPECT_EQ(p.TextMode, 1);
  EXPECT_TRUE(toggleMenuItem(menu, CabMenuItem::VisualEffectsOff, p, ctx));
  EXPECT_EQ(p.VisualEffectsOff, 1);
  EXPECT_FALSE(toggleMenuItem(menu, CabMenuItem::NoCommentary, p, ctx));
  EXPECT_EQ(p.NoCommentary, 0);
  // The stop lines change no preference; the ATS stays as it was.
  EXPECT_FALSE(toggleMenuItem(menu, CabMenuItem::StopLinesHidden, p, ctx));
  EXPECT_EQ(p.AtsOff, 1);
  // The controller kinds are one choice; the debug option a check of its own.
  toggleMenuItem(menu, CabMenuItem::ControllerPsGo, p, ctx);
  EXPECT_EQ(menu.controller(), ControllerKind::PsGo);
  EXPECT_FALSE(menu.checked(CabMenuItem::ControllerStandard));
  EXPECT_TRUE(menu.checked(CabMenuItem::ControllerPsGo));
  EXPECT_TRUE(toggleMenuItem(menu, CabMenuItem::Debug, p, ctx));
  EXPECT_TRUE(rig.keys.padDebug);
  EXPECT_FALSE(toggleMenuItem(menu, CabMenuItem::Debug, p, ctx));
  EXPECT_FALSE(rig.keys.padDebug);

  // "Move": stations of type 0 or 2, the last excepted, in table order.
  ASSERT_EQ(menu.moveEntries().size(), 2u);
  EXPECT_EQ(menu.moveEntries()[0].caption, "A");
  EXPECT_EQ(menu.moveEntries()[1].caption, "C");
  EXPECT_EQ(menu.moveEntries()[1].station, 2);
}

TEST(CabMenu, TheControllerKindLastsForTheProgramRunAndTheNextWindowChecksIt) {
  test::DriveRig rig;
  CabMenu first(rig.settings, LineData{}, rig.program.controllerKind);
  EXPECT_TRUE(first.checked(CabMenuItem::ControllerStandard));
  toggleMenuItem(first, CabMenuItem::ControllerOhc, rig.settings.preferences, rig.c());
  toggleMenuItem(first, CabMenuItem::Debug, rig.settings.preferences, rig.c());
  EXPECT_EQ(rig.program.controllerKind, ControllerKind::Ohc);

  CabMenu next(rig.settings, LineData{}, rig.program.controllerKind);
  EXPECT_TRUE(next.checked(CabMenuItem::ControllerOhc));
  EXPECT_FALSE(next.checked(CabMenuItem::ControllerStandard));
  EXPECT_FALSE(next.checked(CabMenuItem::Debug));  // the debug option is the window's own
  toggleMenuItem(next, CabMenuItem::ControllerStandard, rig.settings.preferences, rig.c());
  EXPECT_EQ(rig.program.controllerKind, ControllerKind::Standard);
}

TEST(CabMenu, TheStopLineItemHidesAndShowsTheThreeStopLineSprites) {
  SettingsData s;
  CabMenu menu(s, LineData{});
  test::DriveRig rig;
  SpriteScene& sprites = rig.sprites;
  for (const char* name :
       {"img_unten_teimokuS", "img_unten_teimokuM", "img_unten_teimokuE", "img_unten_teimoku"})
    sprites.add(Sprite{name});
  toggleMenuItem(menu, CabMenuItem::StopLinesHidden, s.preferences, rig.c());
  EXPECT_FALSE(sprites.find("img_unten_teimokuS")->visible);
  EXPECT_FALSE(sprites.find("img_unten_teimokuM")->visible);
  EXPECT_FALSE(sprites.find("img_unten_teimokuE")->visible);
  EXPECT_TRUE(sprites.find("img_unten_teimoku")->visible);
  toggleMenuItem(menu, CabMenuItem::StopLinesHidden, s.preferences, rig.c());
  EXPECT_TRUE(sprites.find("img_unten_teimokuM")->visible);
}

}  // namespace
}  // namespace kestrel
