// Where the help, easy cab and value display windows open: beside the cab window where the screen
// has room, else over its right-hand side below the menu bar, never over the menu bar or off the
// screen, and not over each other.
#include "core/front/window_placement.h"

#include <gtest/gtest.h>

namespace kestrel {
namespace {

const CabWindowPlace kCab{{0, 0, 1202, 780}, 22};
const WindowRect kHelp{0, 0, 265, 331}, kEasyCab{0, 0, 241, 376}, kValues{0, 0, 800, 600};

TEST(WindowPlacement, BesideTheCabWhereThereIsRoomElseOverItsRightSideBelowTheMenuBar) {
  // A wide screen: right of the cab, the second window under the first.
  const WindowRect wide{0, 0, 1920, 1080};
  const WindowRect help = placeBesideCab(kHelp, kCab, wide, {});
  EXPECT_EQ(help.x, 1202);
  EXPECT_EQ(help.y, 0);
  const WindowRect easy = placeBesideCab(kEasyCab, kCab, wide, {help});
  EXPECT_EQ(easy.x, 1202);
  EXPECT_EQ(easy.y, 331);

  // A cab standing right: left of it.
  const CabWindowPlace right{{700, 100, 1202, 780}, 122};
  EXPECT_EQ(placeBesideCab(kHelp, right, wide, {}).x, 700 - 265);

  // 1280 x 1024: no room beside or below; at the right edge under the menu bar, then stacked.
  const WindowRect small{0, 0, 1280, 1024};
  const WindowRect help2 = placeBesideCab(kHelp, kCab, small, {});
  EXPECT_EQ(help2.x, 1280 - 265);
  EXPECT_EQ(help2.y, 22);
  const WindowRect easy2 = placeBesideCab(kEasyCab, kCab, small, {help2});
  EXPECT_EQ(easy2.x, 1280 - 241);
  EXPECT_EQ(easy2.y, 22 + 331);

  // Whatever the screen, inside it and off the menu bar.
  const WindowRect menuBar{0, 0, 1202, 22};
  for (const WindowRect& screen : {wide, small, WindowRect{0, 0, 1024, 768}, WindowRect{0, 0, 1366, 768}})
    for (const WindowRect& size : {kHelp, kEasyCab, kValues}) {
      const WindowRect r = placeBesideCab(size, kCab, screen, {});
      EXPECT_TRUE(r.inside(screen)) << screen.width << "x" << screen.height << " " << size.width;
      EXPECT_FALSE(r.intersects(menuBar)) << screen.width << "x" << screen.height << " " << size.width;
    }
}

}  // namespace
}  // namespace kestrel
