// The table model and view over a Grid: coalesced updates, and the current
// row travelling both ways between the view and the Grid.
#include "gui/grid_table_model.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QBrush>

#include "gui/grid_view.h"

namespace tabrel::gui {
namespace {

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
    grid.AddItem("M\xFCller " + std::to_string(i) + "\t555-0100\t12345");
    grid.SetCellForeColorAt(grid.Rows() - 1, 0, i % 2 ? kCyan : kWhite);
    grid.SetRow(grid.Rows() - 1);
  }
  EXPECT_EQ(model.rowCount(), 0) << "the count changes only with the reset";
  QApplication::processEvents();

  EXPECT_EQ(resets, 1);
  ASSERT_EQ(model.rowCount(), 32767);
  // Cell texts are Windows-1252 bytes.
  EXPECT_EQ(model.data(model.index(32766, 0)).toString(), QString::fromUtf8("Müller 32767"));
  EXPECT_EQ(model.headerData(1, Qt::Horizontal).toString(), "Phone");
  EXPECT_EQ(model.data(model.index(0, 2), Qt::TextAlignmentRole).toInt() & Qt::AlignRight,
            Qt::AlignRight);
  EXPECT_EQ(model.data(model.index(0, 0), Qt::ForegroundRole).value<QBrush>().color(),
            QColor(0, 255, 255));

  // Rows removed before the next reset read as nothing, not out of range.
  grid.ClearToHeader();
  EXPECT_FALSE(model.data(model.index(32766, 0)).isValid());
  model.Flush();
  EXPECT_EQ(model.rowCount(), 0);
}

TEST_F(GridTableModelTest, CurrentRowTravelsBothWaysWithoutComingBack) {
  for (int i = 0; i < 20; ++i) grid.AddItem("Row " + std::to_string(i) + "\ta\tb");
  GridView view(grid);
  view.show();
  view.model().Flush();

  // A click selects the whole row in the Grid.
  view.setCurrentIndex(view.model().index(6, 1));
  EXPECT_EQ(grid.Row(), 7);
  EXPECT_EQ(grid.Col(), 0);
  EXPECT_TRUE(grid.IsSelected(7, 2));

  grid.SetRow(12);
  grid.SetCol(2);
  grid.SetVisible(false);
  view.model().Flush();
  EXPECT_EQ(view.currentIndex().row(), 11);
  // The view keeps the user's column: following the Grid's would scroll sideways.
  EXPECT_EQ(view.currentIndex().column(), 1);
  EXPECT_TRUE(view.isHidden());
  EXPECT_EQ(grid.Row(), 12);
  EXPECT_EQ(grid.Col(), 2);
  EXPECT_FALSE(view.model().HasPendingChanges()) << "applying a change must not make another";
}

}  // namespace
}  // namespace tabrel::gui
