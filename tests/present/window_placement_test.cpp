#include "present/window_placement.h"

#include <gtest/gtest.h>

#include <vector>

namespace tabrel {
namespace {

constexpr int kDefaultWidth = 1200;
constexpr int kDefaultHeight = 800;

WindowPlacement Place(const std::optional<WindowGeometry>& saved,
                      const std::vector<ScreenArea>& screens) {
  return PlaceWindow(saved, screens, kDefaultWidth, kDefaultHeight);
}

TEST(WindowPlacementTest, WithoutASavedGeometryTheWindowManagerPlacesTheDefaultSize) {
  EXPECT_EQ(Place(std::nullopt, {{0, 0, 1920, 1050}}),
            (WindowPlacement{std::nullopt, std::nullopt, 1200, 800, false}));
  EXPECT_EQ(Place(std::nullopt, {{0, 0, 1024, 740}}),
            (WindowPlacement{std::nullopt, std::nullopt, 1024, 740, false}))
      << "cut to a small screen";
  EXPECT_EQ(Place(std::nullopt, {}),
            (WindowPlacement{std::nullopt, std::nullopt, 1200, 800, false}))
      << "no screen known";
}

TEST(WindowPlacementTest, KeepsASavedPositionOnlyWhileTheTopEdgeIsOnAScreen) {
  // Two screens side by side, the second one lower and smaller.
  const std::vector<ScreenArea> screens = {{0, 0, 1920, 1050}, {1920, 200, 1280, 800}};
  struct Case {
    const char* what;
    WindowGeometry saved;
    bool kept;
  };
  const Case cases[] = {
      {"inside the first", {100, 50, 1000, 700, false}, true},
      {"top-left corner of the first", {0, 0, 1000, 700, false}, true},
      {"on the second", {2000, 300, 800, 600, false}, true},
      {"hanging off the left, 100 pixels showing", {-900, 50, 1000, 700, false}, true},
      {"hanging off the left, 99 pixels showing", {-901, 50, 1000, 700, false}, false},
      {"narrow window wholly showing", {0, 50, 60, 300, false}, true},
      {"narrow window partly showing", {-1, 50, 60, 300, false}, false},
      {"above the top", {100, -1, 1000, 700, false}, false},
      {"title bar below the bottom", {100, 1019, 1000, 700, false}, false},
      {"title bar just on the bottom", {100, 1018, 1000, 700, false}, true},
      {"above the lower second screen", {2000, 100, 800, 600, false}, false},
      {"right of every screen", {3300, 300, 800, 600, false}, false},
      {"a screen that was unplugged", {-2000, 0, 1000, 700, false}, false},
  };
  for (const Case& c : cases) {
    const WindowPlacement placed = Place(c.saved, screens);
    EXPECT_EQ(placed.x.has_value(), c.kept) << c.what;
    EXPECT_EQ(placed.y.has_value(), c.kept) << c.what;
    if (c.kept) {
      EXPECT_EQ(*placed.x, c.saved.x) << c.what;
      EXPECT_EQ(*placed.y, c.saved.y) << c.what;
    }
    EXPECT_EQ(placed.width, c.saved.width) << c.what << ": the size stays";
    EXPECT_EQ(placed.height, c.saved.height) << c.what << ": the size stays";
  }
}

TEST(WindowPlacementTest, SizeIsCutToTheScreenTheWindowOpensOn) {
  const std::vector<ScreenArea> screens = {{0, 0, 1920, 1050}, {1920, 0, 1280, 800}};
  EXPECT_EQ(Place(WindowGeometry{2000, 10, 1800, 1000, false}, screens),
            (WindowPlacement{2000, 10, 1280, 800, false}));
  EXPECT_EQ(Place(WindowGeometry{100, 10, 3000, 2000, true}, screens),
            (WindowPlacement{100, 10, 1920, 1050, true}));
  EXPECT_EQ(Place(WindowGeometry{9000, 10, 3000, 2000, false}, screens),
            (WindowPlacement{std::nullopt, std::nullopt, 1920, 1050, false}))
      << "position dropped: the first screen";
}

}  // namespace
}  // namespace tabrel
