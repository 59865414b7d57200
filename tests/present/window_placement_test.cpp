// Where a window opens, from the cases in
// testdata/present/window_placement.cases.
#include "present/window_placement.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "fakes/case_file.h"

namespace tabrel {
namespace {

using WindowPlacementTest = testing::FileCaseTest;

TEST_P(WindowPlacementTest, KeepsASavedPositionOnAScreenAndCutsTheSizeToIt) {
  std::vector<ScreenArea> screens;
  for (const std::string& line : GetParam().All("screen")) {
    std::istringstream in(line);
    ScreenArea& s = screens.emplace_back();
    in >> s.x >> s.y >> s.width >> s.height;
  }
  std::optional<WindowGeometry> saved;
  if (GetParam().Has("saved")) {
    std::istringstream in(GetParam().Get("saved"));
    saved.emplace();
    in >> saved->x >> saved->y >> saved->width >> saved->height >> saved->maximized;
  }
  const WindowPlacement placed = PlaceWindow(saved, screens, 1200, 800);
  std::ostringstream out;
  out << (placed.x ? std::to_string(*placed.x) : "-") << " "
      << (placed.y ? std::to_string(*placed.y) : "-") << " " << placed.width << " " << placed.height
      << " " << placed.maximized;
  EXPECT_EQ(out.str(), GetParam().Get("placed"));
}

TABREL_FILE_CASES(Screens, WindowPlacementTest, "present", "window_placement.cases");

}  // namespace
}  // namespace tabrel
