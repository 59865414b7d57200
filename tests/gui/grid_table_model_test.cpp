// The table model and view over a Grid: coalesced updates, drawing data, and
// the current row travelling both ways between the view and the Grid.
#include "gui/grid_table_model.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QBrush>

#include "gui/grid_view.h"

namespace tabrel::gui {
namespace {

QColor Foreground(const GridTableModel& model, int row, int col) {
  return model.data(model.index(row, col), Qt::ForegroundRole).value<QBrush>().color();
}
QColor Background(const GridTableModel& model, int row, int col) {
  return model.data(model.index(row, col), Qt::BackgroundRole).value<QBrush>().color();
}

class GridTableModelTest : public ::testing::Test {
 protected:
  GridTableModelTest() {
    grid.SetFormatString("<Name      |<Phone |>Zip  ");
    grid.SetForeColor(kWhite);
    grid.SetBackColor(kDarkBlue);
  }
  Grid grid;
};

TEST_F(GridTableModelTest, CoalescesAFullFileOfAddedRowsIntoOneReset) {
  GridTableModel model(grid);
  int resets = 0;
  QObject::connect(&model, &QAbstractItemModel::modelReset, [&resets] { ++resets; });

  // What a fill of the largest possible file does, row by row.
  for (int i = 1; i <= 32767; ++i) {
    grid.AddItem("Name " + std::to_string(i) + "\t555-0100\t12345");
    grid.SetCellForeColorAt(grid.Rows() - 1, 0, i % 2 ? kCyan : kWhite);
    grid.SetRow(grid.Rows() - 1);
  }
  EXPECT_EQ(model.rowCount(), 0) << "the count changes only with the reset";
  QApplication::processEvents();

  EXPECT_EQ(resets, 1);
  ASSERT_EQ(model.rowCount(), 32767);
  EXPECT_EQ(model.data(model.index(32766, 0)).toString(), "Name 32767");
  EXPECT_EQ(Foreground(model, 0, 0), QColor(0, 255, 255));
}

TEST_F(GridTableModelTest, StaysSafeForRowsRemovedBeforeTheNextReset) {
  GridTableModel model(grid);
  for (int i = 0; i < 10; ++i) grid.AddItem("x\ty\tz");
  model.Flush();
  ASSERT_EQ(model.rowCount(), 10);

  grid.ClearToHeader();
  EXPECT_EQ(model.rowCount(), 10);
  EXPECT_FALSE(model.data(model.index(9, 0)).isValid());
  model.Flush();
  EXPECT_EQ(model.rowCount(), 0);
}

TEST_F(GridTableModelTest, DrawsDecodedTextHeaderCaptionsAndColours) {
  GridTableModel model(grid);
  QPalette palette;
  palette.setColor(QPalette::Button, QColor(10, 20, 30));
  model.SetPalette(palette);
  grid.AddItem("M\xFCller, J\xF6rg   \t555-0100  \t12345");
  grid.SetCellForeColorAt(1, 0, kCyan);
  grid.AddItem("Smith, Ann\t555-0199\t99999");
  grid.SetRow(2);
  grid.SetCol(0);
  grid.SetColSel(2);
  grid.SetBackColorFixed(kButtonFace);
  model.Flush();

  EXPECT_EQ(model.headerData(0, Qt::Horizontal).toString(), "Name");
  EXPECT_EQ(model.headerData(1, Qt::Horizontal).toString(), "Phone");
  EXPECT_EQ(model.headerData(0, Qt::Horizontal, Qt::BackgroundRole).value<QBrush>().color(),
            QColor(10, 20, 30));
  EXPECT_EQ(model.data(model.index(0, 0)).toString(), QString::fromUtf8("Müller, Jörg"));
  EXPECT_EQ(model.data(model.index(0, 2), Qt::TextAlignmentRole).toInt() & Qt::AlignRight,
            Qt::AlignRight);
  EXPECT_EQ(Foreground(model, 0, 0), QColor(0, 255, 255));
  EXPECT_EQ(Foreground(model, 0, 1), QColor(255, 255, 255));
  EXPECT_EQ(Background(model, 0, 1), QColor(0, 0, 192));
  // The selected row: black on yellow, every column.
  EXPECT_EQ(Foreground(model, 1, 2), QColor(0, 0, 0));
  EXPECT_EQ(Background(model, 1, 0), QColor(255, 255, 0));
}

TEST_F(GridTableModelTest, ColumnsAreAsWideAsTheirCaptionsInCharacters) {
  GridTableModel model(grid);
  QFont font;
  font.setPixelSize(12);
  model.SetFont(font);
  const int per_char = QFontMetrics(font).averageCharWidth();
  EXPECT_EQ(model.ColumnWidth(0) - model.ColumnWidth(1), (10 - 6) * per_char);
}

TEST_F(GridTableModelTest, ViewClickSelectsTheWholeRowInTheGrid) {
  for (int i = 0; i < 20; ++i) grid.AddItem("Row " + std::to_string(i) + "\ta\tb");
  GridView view(grid);
  view.model().Flush();

  view.setCurrentIndex(view.model().index(6, 1));
  EXPECT_EQ(grid.Row(), 7);
  EXPECT_EQ(grid.Col(), 0);
  EXPECT_EQ(grid.ColSel(), 2);
  EXPECT_TRUE(grid.IsSelected(7, 2));
}

TEST_F(GridTableModelTest, PresenterChangesReachTheViewWithoutComingBack) {
  for (int i = 0; i < 20; ++i) grid.AddItem("Row " + std::to_string(i) + "\ta\tb");
  GridView view(grid);
  view.show();
  view.model().Flush();
  grid.SetRow(12);
  grid.SetCol(0);
  grid.SetColSel(2);
  grid.SetFlat(true);
  grid.SetVisible(false);
  const int row_before = grid.Row();
  view.model().Flush();
  EXPECT_EQ(view.currentIndex().row(), 11);
  EXPECT_EQ(view.frameShape(), QFrame::NoFrame);
  EXPECT_TRUE(view.isHidden());
  EXPECT_EQ(grid.Row(), row_before);
  EXPECT_FALSE(view.model().HasPendingChanges()) << "applying a change must not make another";
}

}  // namespace
}  // namespace tabrel::gui
