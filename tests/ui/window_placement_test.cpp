#include "ui/window_placement.h"

#include <gtest/gtest.h>

#include <vector>

namespace kelvarine {
namespace {

// A 1600 x 1000 screen whose top 30 pixels are a panel; helper windows of 400 x 300.
TEST(WindowPlacementTest, BesideTheOwnerWhereThereIsRoomAndAlwaysOnScreen) {
  const WindowRect screen{0, 30, 1600, 970};
  struct Case {
    WindowRect owner;
    int width, height;
    int left, top;
  };
  const std::vector<Case> cases = {
      {{100, 100, 800, 600}, 400, 300, 908, 100},   // right of it
      {{700, 100, 800, 600}, 400, 300, 292, 100},   // no room right: left
      {{100, 100, 1400, 500}, 400, 300, 100, 608},  // no room either side: below
      {{100, 600, 1400, 400}, 400, 300, 100, 292},  // above
      {{0, 30, 1600, 970}, 400, 300, 1192, 62},     // screen-filling owner: over its right part
      {{-300, 0, 800, 600}, 400, 300, 508, 30},     // owner partly off-screen: the right, moved down
      {{100, 100, 800, 600}, 2000, 1200, 0, 30},    // bigger than the screen: its top-left corner
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.owner.left);
    const WindowRect place = PlaceBeside(c.owner, c.width, c.height, screen);
    EXPECT_EQ(place.left, c.left);
    EXPECT_EQ(place.top, c.top);
  }
  // A window already beside the owner: the next one goes below it, or to the other side when there
  // is no room below.
  const WindowRect owner{500, 100, 600, 600};
  EXPECT_EQ(PlaceBeside(owner, 400, 300, screen, {{1108, 100, 400, 300}}).top, 408);
  EXPECT_EQ(PlaceBeside(owner, 400, 300, screen, {{1108, 100, 400, 700}}).left, 92);
}

}  // namespace
}  // namespace kelvarine
