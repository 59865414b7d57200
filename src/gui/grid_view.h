#pragma once

#include <QTableView>

#include "gui/grid_table_model.h"
#include "present/grid.h"

namespace tabrel::gui {

// A table view that shows one Grid and keeps it told of what the user does:
// a click or a cursor key makes the row current with the whole row selected,
// and scrolling moves the Grid's top row. Changes the presenter makes reach
// the view through the model's coalesced signals; changes applied that way
// are not reported back to the Grid.
class GridView : public QTableView {
  Q_OBJECT

 public:
  // `grid` must outlive the view.
  explicit GridView(Grid& grid, QWidget* parent = nullptr);

  GridTableModel& model() const { return *model_; }
  // Width in pixels of `chars` average characters of the view's font, with
  // room for the frame and the scroll bar.
  int WidthForChars(int chars) const;

 signals:
  void GotFocus();
  // Only when the focus moves to another control of the same window.
  void LostFocus();

 protected:
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void OnUserCurrentChanged(const QModelIndex& current);
  void OnUserScrolled(int value);
  void SyncCurrent();
  void ApplyColours();
  void ApplyFrame();
  void ApplyVisibility();
  void ApplyColumns();
  void ApplyFont();

  GridTableModel* model_;
  bool syncing_ = false;
  bool reset_since_sync_ = true;
  int applied_top_row_ = 1;
  // Setting a style sheet polishes the whole view again: done only when
  // the colours change it.
};

}  // namespace tabrel::gui
