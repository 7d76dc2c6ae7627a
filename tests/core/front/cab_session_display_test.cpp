// What the tick leaves for the cab display: the speed needle and the digital speed from the speed
// before the tick's integration, and the visual effects switched off by every tick (written into
// the preferences the window will store) with the panel overlay hidden; the value display written
// last, once F3 has shown it.
#include <gtest/gtest.h>

#include <memory>

#include "core/front/cab_session.h"
#include "core/present/needle_rules.h"
#include "support/drive_rig.h"

namespace kestrel {
namespace {

struct SessionDisplayTest : ::testing::Test {
  test::DriveRig rig;
  std::unique_ptr<CabSession> session;

  void SetUp() override {
    rig.panel.Needle_Speed.file = "needle.bmp";
    rig.panel.Needle_Speed.a0 = 30;
    rig.panel.Needle_Speed.k = 1.5;
    rig.panel.Needle_Speed.k2 = 3;
    for (auto [name, cells] :
         {std::pair{"img_Needle_speed", 1}, {"img_Panel2", 1}, {"img_digi_speed", 200}}) {
      CatalogPicture p;
      p.name = name;
      p.width = 10 * cells;
      p.height = 10;
      p.patternWidth = cells > 1 ? 10 : 0;
      p.patternHeight = cells > 1 ? 10 : 0;
      p.rotating = true;
      p.visible = std::string(name) != "img_digi_speed";
      rig.pictures.put(p);
    }
    session = std::make_unique<CabSession>(
        CabSession::Records{rig.settings, rig.vehicle, rig.panel, rig.line, rig.pictures}, rig.mixer,
        rig.program);
  }
  const Sprite& sprite(const char* name) { return *session->sprites().find(name); }
};

TEST_F(SessionDisplayTest, EveryTickSwitchesTheVisualEffectsOffAndHidesThePanelOverlay) {
  Preferences live;
  live.VisualEffectsOff = 0;
  session->setPreferences(live);
  EXPECT_TRUE(sprite("img_Panel2").visible);
  session->start();
  session->scheduler().advanceBy(99999);
  EXPECT_EQ(live.VisualEffectsOff, 0);  // no tick yet
  session->scheduler().advanceBy(1);
  EXPECT_EQ(live.VisualEffectsOff, 1);
  EXPECT_FALSE(sprite("img_Panel2").visible);
  EXPECT_EQ(&session->preferences(), &live);
}

TEST_F(SessionDisplayTest, WithoutLivePreferencesTheSessionWorksOnItsOwnCopy) {
  rig.settings.preferences.VisualEffectsOff = 0;
  session = std::make_unique<CabSession>(
      CabSession::Records{rig.settings, rig.vehicle, rig.panel, rig.line, rig.pictures}, rig.mixer,
      rig.program);
  session->start();
  session->scheduler().advanceBy(100000);
  EXPECT_EQ(session->preferences().VisualEffectsOff, 1);
  EXPECT_EQ(rig.settings.preferences.VisualEffectsOff, 0);
}

TEST_F(SessionDisplayTest, TheTickShowsTheSpeedItStartedWith) {
  session->start();
  TrainState& t = session->context().train;
  t.speed = 40;
  session->scheduler().advanceBy(99999);
  t.speed = 40;  // the events do not change the speed; the tick's integration does
  session->scheduler().advanceBy(1);
  EXPECT_EQ(sprite("img_Needle_speed").angle, 74);
  EXPECT_TRUE(sprite("img_digi_speed").visible);
  EXPECT_EQ(sprite("img_digi_speed").pattern, 40);
  EXPECT_NE(t.speed, 40);  // braking at emergency: the needle lags by one tick
}

TEST_F(SessionDisplayTest, TheTickWritesTheValueDisplayOnceF3HasShownIt) {
  session->valueDisplay().setRateSource([] { return 60; });
  session->start();
  session->scheduler().advanceBy(100000);
  EXPECT_EQ(session->valueDisplay().revision(), 0u);
  session->keydowns(VirtualKey::F3, KeyModifiers::none());
  session->scheduler().advanceBy(100000);
  ASSERT_EQ(session->valueDisplay().revision(), 1u);
  const ValueDisplayTexts& v = session->valueDisplay().texts();
  EXPECT_EQ(v.Label30, std::to_string(session->train().MovieFrame));
  EXPECT_EQ(v.Label63, "60");
}

}  // namespace
}  // namespace kestrel
