// The title window's state: the phases and their counters, the reveal ticks of the menu, the
// trains each line offers, the picked vehicle and the window positions.
#include "core/front/title_menu.h"

#include <gtest/gtest.h>

#include <set>

namespace kestrel {
namespace {

using Action = TitleMenu::TimerAction;

TitleMenu inMenu() {
  TitleMenu m(0, true);
  m.Imageclick();
  m.Imageclick();
  return m;
}

TEST(TitleMenu, WithoutAnOpeningMovieTheFirstTickPlaysTheFallbackSoundAndShowsTheTitle) {
  TitleMenu m(2, false);
  EXPECT_EQ(m.phase(), TitlePhase::Opening);
  EXPECT_TRUE(m.visible(TitleImage::MovieArea));
  EXPECT_FALSE(m.visible(TitleImage::StartPrompt));
  EXPECT_EQ(m.windowSize().width, 640);
  ASSERT_EQ(m.Timer1Timer(), Action::FallbackSoundClick);
  m.Imageclick();
  EXPECT_EQ(m.phase(), TitlePhase::Title);
  EXPECT_FALSE(m.visible(TitleImage::MovieArea));
  EXPECT_TRUE(m.visible(TitleImage::StartPrompt));
  EXPECT_FALSE(m.visible(TitleImage::Quit));  // only after a return from the menu
  EXPECT_EQ(m.backgroundPicture(), "image\\title\\title03.jpg");
  EXPECT_EQ(m.windowSize().width, 800);
  EXPECT_EQ(m.Timer1Timer(), Action::None);  // the title phase does nothing
}

TEST(TitleMenu, TheOpeningMovieGivesWayAtThe1600thTickOrAtAClick) {
  TitleMenu m(0, true);
  for (int i = 0; i < 1599; ++i) ASSERT_EQ(m.Timer1Timer(), Action::None) << "tick " << i + 1;
  EXPECT_EQ(m.Timer1Timer(), Action::Click);
  EXPECT_EQ(m.openingTicks(), 1600);

  TitleMenu early(0, true);
  for (int i = 0; i < 20; ++i) early.Timer1Timer();
  early.Imageclick();
  EXPECT_EQ(early.phase(), TitlePhase::Title);
  // Once the movie area is hidden nothing more comes from the opening counter.
  for (int i = 0; i < 1700; ++i) ASSERT_EQ(early.Timer1Timer(), Action::None);
}

TEST(TitleMenu, TheFirstMenuRevealsItsImagesTickByTickAndALaterOneAtOnce) {
  TitleMenu m = inMenu();
  EXPECT_EQ(m.phase(), TitlePhase::Menu);
  EXPECT_EQ(m.backgroundPicture(), "image\\title\\title2.jpg");
  EXPECT_FALSE(m.visible(TitleImage::StartPrompt));
  const std::pair<int, TitleImage> reveals[] = {{3, TitleImage::Line1},
                                                {4, TitleImage::Line2},
                                                {5, TitleImage::Line3},
                                                {11, TitleImage::Help},
                                                {12, TitleImage::Back}};
  for (int tick = 1; tick <= 12; ++tick) {
    m.Timer1Timer();
    for (auto [at, image] : reveals) EXPECT_EQ(m.visible(image), tick >= at) << "tick " << tick;
  }
  EXPECT_FALSE(m.timerRunning());
  EXPECT_FALSE(m.visible(TitleImage::Train1));

  m.backclick();
  EXPECT_EQ(m.phase(), TitlePhase::Title);
  EXPECT_TRUE(m.visible(TitleImage::Quit));
  EXPECT_TRUE(m.visible(TitleImage::StartPrompt));
  for (auto [at, image] : reveals) EXPECT_FALSE(m.visible(image));
  m.Imageclick();
  EXPECT_TRUE(m.timerRunning());
  EXPECT_FALSE(m.visible(TitleImage::Quit));
  m.Timer1Timer();  // the counter was never reset: everything on the first tick
  for (auto [at, image] : reveals) EXPECT_TRUE(m.visible(image));
  EXPECT_EQ(m.menuRevealTicks(), 13);
}

TEST(TitleMenu, ALineOffersItsOneTrainOnItsOwnRowUnlessShiftIsHeld) {
  TitleMenu m = inMenu();
  m.lineclick(TitleImage::Line2);
  EXPECT_EQ(m.lineFileName(), "line_rapid.dat");
  EXPECT_TRUE(m.visible(TitleImage::Train1));
  EXPECT_FALSE(m.visible(TitleImage::Train2));
  EXPECT_FALSE(m.visible(TitleImage::Train3));
  EXPECT_TRUE(m.visible(TitleImage::Cursor));
  EXPECT_EQ(m.position(TitleImage::Cursor).x, m.position(TitleImage::Line2).x - 32);
  EXPECT_EQ(m.position(TitleImage::Cursor).y, m.position(TitleImage::Line2).y + 7);
  EXPECT_EQ(m.position(TitleImage::Train1).y, m.position(TitleImage::Line2).y);  // the pointer's row
  m.lineclick(TitleImage::Line1);
  EXPECT_TRUE(m.visible(TitleImage::Train3));
  EXPECT_FALSE(m.visible(TitleImage::Train1));
  EXPECT_EQ(m.position(TitleImage::Train3).y, m.position(TitleImage::Line1).y);
  EXPECT_GT(m.position(TitleImage::Train3).x, m.position(TitleImage::Line1).x);

  m.keyDown(true);
  m.lineclick(TitleImage::Line3);
  EXPECT_EQ(m.lineFileName(), "line_local.dat");
  // All three, each on a row of its own.
  std::set<int32_t> rows;
  for (TitleImage t : {TitleImage::Train1, TitleImage::Train2, TitleImage::Train3}) {
    EXPECT_TRUE(m.visible(t));
    rows.insert(m.position(t).y);
  }
  EXPECT_EQ(rows.size(), 3u);
  m.keyUp();  // any release clears the flag
  m.lineclick(TitleImage::Line3);
  EXPECT_FALSE(m.visible(TitleImage::Train1));
  m.keyDown(false);  // Shift with another modifier does not count
  EXPECT_FALSE(m.shiftFlag());
  m.keyDown(true);
  m.afterDrive();
  EXPECT_FALSE(m.shiftFlag());
}

TEST(TitleMenu, APickedVehicleRunsOnceWhicheverTrainIsClicked) {
  TitleMenu m = inMenu();
  m.lineclick(TitleImage::Line2);
  m.Menumousedown(TitleImage::Line2, std::string("D:\\cars\\my.dat"));
  EXPECT_TRUE(m.hasPickedVehicle());
  SessionChoice c = m.Trainclick(TitleImage::Train1, "/content");
  EXPECT_EQ(c.lineFileName, "line_rapid.dat");
  EXPECT_EQ(c.vehicleDirectory, "D:\\cars\\");
  EXPECT_EQ(c.vehicleFileName, "my.dat");
  EXPECT_EQ(c.programDirectory, "/content");
  c = m.Trainclick(TitleImage::Train1, "/content");  // the next run uses a built-in train again
  EXPECT_EQ(c.vehicleDirectory, "");
  EXPECT_EQ(c.vehicleFileName, "train_313-1000_8cars.dat");

  // A path of this system, and a right click on a train (all trains shown).
  m.Menumousedown(TitleImage::Train1, std::string("/home/me/cars/other.dat"));
  EXPECT_TRUE(m.visible(TitleImage::Train2));
  EXPECT_EQ(m.pickedVehicleName(), "other.dat");
  c = m.Trainclick(TitleImage::Train3, "/content");
  EXPECT_EQ(c.vehicleDirectory, "/home/me/cars/");
  EXPECT_EQ(c.vehicleFileName, "other.dat");
  EXPECT_EQ(m.pickedVehicleName(), "");
}

TEST(TitleMenu, ACancelledVehicleDialogLeavesTheMenuAsItWas) {
  TitleMenu m = inMenu();
  m.lineclick(TitleImage::Line2);
  m.Menumousedown(TitleImage::Line1, std::nullopt);
  EXPECT_FALSE(m.hasPickedVehicle());
  EXPECT_EQ(m.lineFileName(), "line_rapid.dat");
  EXPECT_TRUE(m.visible(TitleImage::Train1));
  EXPECT_FALSE(m.visible(TitleImage::Train3));
  EXPECT_EQ(m.position(TitleImage::Cursor).y, m.position(TitleImage::Line2).y + 7);
  EXPECT_EQ(m.Trainclick(TitleImage::Train1, "/content").vehicleFileName, "train_313-1000_8cars.dat");
}

TEST(TitleMenu, WindowPositionsAndTheTitlePictureChoice) {
  EXPECT_EQ(openingWindowPosition({1280, 1024}).x, 140);
  EXPECT_EQ(openingWindowPosition({1280, 1024}).y, 179);
  // Halves round to even: (1365 - 1000) / 2 = 182.5 -> 182, (1023 - 666) / 2 = 178.5 -> 178.
  EXPECT_EQ(openingWindowPosition({1365, 1023}).x, 182);
  EXPECT_EQ(openingWindowPosition({1365, 1023}).y, 178);
  EXPECT_EQ(centredWindowPosition({1281, 1025}, kTitleSize).x, 240);  // 240.5
  EXPECT_EQ(centredWindowPosition({1283, 1027}, kTitleSize).y, 214);  // 213.5
  std::set<int> seen;
  for (uint64_t seed = 0; seed < 64; ++seed) {
    const int picture = chooseTitlePicture(seed);
    ASSERT_GE(picture, 0);
    ASSERT_LT(picture, 4);
    seen.insert(picture);
  }
  EXPECT_EQ(seen.size(), 4u);
  EXPECT_EQ(titlePictureName(0), "image\\title\\title01.jpg");
}

}  // namespace
}  // namespace kestrel
