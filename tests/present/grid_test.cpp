#include "present/grid.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

namespace tabrel {
namespace {

// Row texts, colours and selection as the lists show them are checked
// through the main window; these are the edges the lists never reach.

TEST(GridTest, CellColoursMoveUpWithTheirRowsAndClearToHeaderForgetsThem) {
  Grid grid;
  grid.SetFormatString("<A|<B");
  for (const char* row : {"a\tb", "c\td"}) grid.AddItem(row);
  grid.SetCellForeColorAt(2, 1, kCyan);
  grid.RemoveItem(1);
  EXPECT_EQ(grid.TextAt(1, 1), "d");
  EXPECT_EQ(grid.CellForeColorAt(1, 1), kCyan);
  grid.ClearToHeader();
  grid.AddItem("new");
  EXPECT_EQ(grid.TextAt(0, 0), "");
  EXPECT_EQ(grid.CellForeColorAt(1, 1), grid.ForeColor());
}

TEST(GridTest, CurrentCellAndTopRowStayInsideTheGridAsRowsGo) {
  Grid grid;
  grid.SetFormatString("<A|<B|<C");
  for (const char* row : {"r1", "r2", "r3"}) grid.AddItem(row);
  for (const auto& [asked, row, top] : {std::tuple{-5, 0, 1}, {2, 2, 2}, {99, 3, 3}}) {
    grid.SetRow(asked);
    grid.SetTopRow(asked);
    EXPECT_EQ(grid.Row(), row) << asked;
    EXPECT_EQ(grid.TopRow(), top) << asked;
  }
  grid.RemoveItem(3);
  EXPECT_EQ(std::pair(grid.Row(), grid.TopRow()), std::pair(2, 2));
  grid.RemoveItem(2);
  grid.RemoveItem(1);
  EXPECT_EQ(std::tuple(grid.Rows(), grid.Row(), grid.TopRow()), std::tuple(1, 0, 1));
}

TEST(GridTest, TheFormatStringGivesEachColumnItsAlignmentCaptionAndWidth) {
  Grid grid;
  grid.SetFormatString("<A|^B|>C|D  ");
  grid.SetCol(3);
  grid.SetFormatString("<Left |^Mid|>R|Plain ");
  std::string columns;
  for (const GridColumn& c : grid.columns()) {
    columns += "<^>"[static_cast<int>(c.alignment)] + c.caption + std::to_string(c.width_chars);
  }
  EXPECT_EQ(columns, "<Left 5^Mid3>R1<Plain 6");
  EXPECT_EQ(grid.TextAt(0, 3), "Plain ");
  grid.SetFormatString("<One|<Two");
  EXPECT_EQ(std::pair(grid.Col(), grid.ColSel()), std::pair(1, 1)) << "kept inside the grid";
  grid.SetFormatString("<Keywords");
  grid.SetCol(5);
  grid.SetColSel(5);
  EXPECT_EQ(std::pair(grid.Col(), grid.ColSel()), std::pair(0, 0));
}

// The view redraws what each change says it touched: the structure, cells,
// the current cell, colours, visibility.
TEST(GridTest, EachChangeTellsTheViewWhatItTouched) {
  Grid grid;
  std::string told;
  grid.SetObserver([&](GridChange change) { told += "SCUKV"[static_cast<int>(change)]; });
  grid.SetFormatString("<A|<B");
  for (const char* row : {"a\tb", "c\td"}) grid.AddItem(row);
  grid.SetTextAt(0, 0, "H");
  grid.SetTextAt(1, 1, "x");
  grid.SetCellForeColorAt(1, 1, kCyan);
  grid.SetRow(2);
  grid.SetCol(1);
  grid.SetColSel(0);
  grid.SetTopRow(2);
  grid.SetForeColorFixed(kBlack);
  grid.SetFlat(true);
  grid.SetVisible(false);
  grid.RemoveItem(1);
  grid.ClearToHeader();
  EXPECT_EQ(told, "SSSSCCUUUUKKVSS");
}

}  // namespace
}  // namespace tabrel
