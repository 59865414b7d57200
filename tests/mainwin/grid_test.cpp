#include "mainwin/grid.h"

#include <gtest/gtest.h>

#include <vector>

namespace tabrel {
namespace {

// A grid with columns A, B, C and the given rows.
Grid ThreeColumns(const std::vector<std::string>& rows) {
  Grid grid;
  grid.SetFormatString("<A  |^B|>C    ");
  for (const auto& row : rows) grid.AddItem(row);
  return grid;
}

TEST(GridTest, FormatStringSetsCaptionsWidthsAndAlignment) {
  Grid grid;
  grid.SetFormatString("<Name      |^Mid|>Right |Plain");
  ASSERT_EQ(grid.Cols(), 4);
  struct Expected {
    const char* caption;
    int width;
    Alignment alignment;
  };
  const Expected expected[] = {{"Name      ", 10, Alignment::kLeft},
                               {"Mid", 3, Alignment::kCentre},
                               {"Right ", 6, Alignment::kRight},
                               {"Plain", 5, Alignment::kLeft}};
  for (int c = 0; c < 4; ++c) {
    EXPECT_EQ(grid.columns()[c].caption, expected[c].caption);
    EXPECT_EQ(grid.columns()[c].width_chars, expected[c].width);
    EXPECT_EQ(grid.columns()[c].alignment, expected[c].alignment);
    EXPECT_EQ(grid.TextAt(0, c), expected[c].caption);
  }
  EXPECT_EQ(grid.Rows(), 1);
}

TEST(GridTest, ReassigningTheFormatStringKeepsTheDataRows) {
  Grid grid = ThreeColumns({"a1\tb1\tc1", "a2\tb2\tc2"});
  grid.SetFormatString("<X|<Y|<Z");
  ASSERT_EQ(grid.Rows(), 3);
  EXPECT_EQ(grid.TextAt(2, 1), "b2");
  EXPECT_EQ(grid.TextAt(0, 2), "Z");
}

TEST(GridTest, ClearToHeaderLeavesOneRowWithEmptyTexts) {
  Grid grid = ThreeColumns({"a1\tb1\tc1", "a2\tb2\tc2"});
  grid.SetRow(2);
  grid.ClearToHeader();
  EXPECT_EQ(grid.Rows(), 1);
  EXPECT_EQ(grid.Row(), 0);
  for (int c = 0; c < 3; ++c) EXPECT_EQ(grid.TextAt(0, c), "");
  grid.AddItem("new");
  EXPECT_EQ(grid.CellForeColorAt(1, 0), grid.ForeColor()) << "old colours must not come back";
}

TEST(GridTest, AddItemSplitsTabsIntoCellsFromColumnZero) {
  Grid grid = ThreeColumns({"one\ttwo", "\t\tthree", "x\ty\tz\textra"});
  EXPECT_EQ(grid.TextAt(1, 0), "one");
  EXPECT_EQ(grid.TextAt(1, 1), "two");
  EXPECT_EQ(grid.TextAt(1, 2), "");
  EXPECT_EQ(grid.TextAt(2, 0), "");
  EXPECT_EQ(grid.TextAt(2, 2), "three");
  EXPECT_EQ(grid.TextAt(3, 2), "z");
  EXPECT_EQ(grid.TextAt(9, 0), "") << "a missing row reads empty";
}

TEST(GridTest, RemoveItemMovesLaterRowsAndTheirColoursUp) {
  Grid grid = ThreeColumns({"r1", "r2", "r3", "r4"});
  grid.SetCellForeColorAt(3, 0, kCyan);
  grid.SetCellForeColorAt(3, 2, kYellow);
  grid.SetCellForeColorAt(2, 2, kGrey);
  grid.RemoveItem(2);
  ASSERT_EQ(grid.Rows(), 4);
  EXPECT_EQ(grid.TextAt(1, 0), "r1");
  EXPECT_EQ(grid.TextAt(2, 0), "r3");
  EXPECT_EQ(grid.TextAt(3, 0), "r4");
  EXPECT_EQ(grid.CellForeColorAt(2, 0), kCyan);
  EXPECT_EQ(grid.CellForeColorAt(2, 2), kYellow);
  EXPECT_EQ(grid.CellForeColorAt(3, 2), grid.ForeColor());
  grid.RemoveItem(0);
  grid.RemoveItem(4);
  EXPECT_EQ(grid.Rows(), 4) << "the header and rows past the end are never removed";
}

TEST(GridTest, RemovingTheCurrentLastRowKeepsTheCurrentRowInside) {
  Grid grid = ThreeColumns({"r1", "r2", "r3"});
  grid.SetRow(3);
  grid.SetTopRow(3);
  grid.RemoveItem(3);
  EXPECT_EQ(grid.Row(), 2);
  EXPECT_EQ(grid.TopRow(), 2);
  grid.RemoveItem(2);
  grid.RemoveItem(1);
  EXPECT_EQ(grid.Rows(), 1);
  EXPECT_EQ(grid.Row(), 0);
  EXPECT_EQ(grid.TopRow(), 1);
}

TEST(GridTest, CurrentCellSelectionAndTopRowAreClampedToTheGrid) {
  Grid grid = ThreeColumns({"r1", "r2", "r3"});
  struct Case {
    int asked, row, top;
  };
  for (const Case& c : {Case{-5, 0, 1}, Case{0, 0, 1}, Case{2, 2, 2}, Case{99, 3, 3}}) {
    grid.SetRow(c.asked);
    grid.SetTopRow(c.asked);
    EXPECT_EQ(grid.Row(), c.row) << c.asked;
    EXPECT_EQ(grid.TopRow(), c.top) << c.asked;
  }
  grid.SetCol(7);
  EXPECT_EQ(grid.Col(), 2);
  grid.SetCol(-1);
  EXPECT_EQ(grid.Col(), 0);
  grid.SetColSel(40);
  EXPECT_EQ(grid.ColSel(), 2);
}

TEST(GridTest, SelectionRunsFromTheCurrentColumnToTheSelectionColumnInTheCurrentRow) {
  Grid grid = ThreeColumns({"r1", "r2"});
  grid.SetRow(2);
  grid.SetCol(0);
  grid.SetColSel(2);
  for (int c = 0; c < 3; ++c) {
    EXPECT_TRUE(grid.IsSelected(2, c));
    EXPECT_FALSE(grid.IsSelected(1, c));
    EXPECT_FALSE(grid.IsSelected(0, c));
  }
  grid.SetCol(1);  // a new current column collapses the selection to it
  EXPECT_FALSE(grid.IsSelected(2, 2));
  EXPECT_TRUE(grid.IsSelected(2, 1));
}

}  // namespace
}  // namespace tabrel
