#include "gui/grid_view.h"

#include <QApplication>
#include <QFocusEvent>
#include <QHeaderView>
#include <QScrollBar>
#include <QStyledItemDelegate>

#include "gui/application.h"

namespace tabrel::gui {
namespace {

// The Grid draws its own selection; Qt's dotted focus rectangle on the
// current cell would only add noise to it.
class NoFocusRectDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

 protected:
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
    QStyledItemDelegate::initStyleOption(option, index);
    option->state &= ~QStyle::State_HasFocus;
  }
};

QColor Mix(const QColor& a, const QColor& b, double share_of_b) {
  const auto mix = [share_of_b](int x, int y) {
    return static_cast<int>(x + (y - x) * share_of_b + 0.5);
  };
  return QColor(mix(a.red(), b.red()), mix(a.green(), b.green()), mix(a.blue(), b.blue()));
}

}  // namespace

GridView::GridView(Grid& grid, QWidget* parent)
    : QTableView(parent), model_(new GridTableModel(grid, this)) {
  model_->SetPalette(QApplication::palette());
  setModel(model_);
  setItemDelegate(new NoFocusRectDelegate(this));
  setSelectionMode(QAbstractItemView::NoSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setTabKeyNavigation(false);
  setWordWrap(false);
  setCornerButtonEnabled(false);
  setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
  setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  verticalHeader()->hide();
  // Fixed row heights keep 32,767 rows as cheap as 10.
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  horizontalHeader()->setSectionsClickable(false);
  horizontalHeader()->setHighlightSections(false);
  horizontalHeader()->setStretchLastSection(false);
  horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);

  connect(model_, &GridTableModel::CurrentChanged, this, &GridView::SyncCurrent);
  connect(model_, &GridTableModel::ColoursChanged, this, &GridView::ApplyColours);
  connect(model_, &GridTableModel::VisibilityChanged, this, &GridView::ApplyVisibility);
  connect(model_, &GridTableModel::ColumnsChanged, this, &GridView::ApplyColumns);
  connect(
      selectionModel(), &QItemSelectionModel::currentChanged, this,
      [this](const QModelIndex& current, const QModelIndex&) { OnUserCurrentChanged(current); });
  connect(verticalScrollBar(), &QScrollBar::valueChanged, this, &GridView::OnUserScrolled);

  ApplyFont();
  ApplyColours();
  ApplyVisibility();
}

int GridView::WidthForChars(int chars) const {
  return chars * fontMetrics().averageCharWidth() + 2 * frameWidth() +
         style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 12;
}

void GridView::OnUserCurrentChanged(const QModelIndex& current) {
  if (syncing_ || !current.isValid()) return;
  Grid& grid = model_->grid();
  // Column 0 stays current: it names the row (the record's name, the
  // keyword), and the whole row shows selected, as the presenter does it.
  grid.SetRow(current.row() + 1);
  grid.SetCol(0);
  grid.SetColSel(grid.Cols() - 1);
}

void GridView::OnUserScrolled(int value) {
  if (syncing_ || model_->HasPendingChanges()) return;
  applied_top_row_ = value + 1;
  model_->grid().SetTopRow(value + 1);
}

void GridView::SyncCurrent() {
  const Grid& grid = model_->grid();
  syncing_ = true;
  const int row = grid.Row() - 1;
  if (row >= 0 && row < model_->rowCount()) {
    // The view keeps the column the user clicked as its own current cell:
    // the Grid draws its own selection, and following the Grid's column
    // (0 for a row, the ID column after a report) would scroll the list
    // sideways.
    if (currentIndex().row() != row) {
      selectionModel()->setCurrentIndex(model_->index(row, std::max(currentIndex().column(), 0)),
                                        QItemSelectionModel::NoUpdate);
    }
  } else {
    selectionModel()->clearCurrentIndex();
  }
  const int top = grid.TopRow();
  if (top != applied_top_row_ || reset_since_sync_) {
    applied_top_row_ = top;
    reset_since_sync_ = false;
    if (top - 1 < model_->rowCount()) {
      // The scroll range of a freshly reset view is only set by its layout.
      executeDelayedItemsLayout();
      verticalScrollBar()->setValue(top - 1);
    }
  }
  syncing_ = false;
}

void GridView::ApplyColours() {
  const Grid& grid = model_->grid();
  const QColor beyond = model_->ToQColor(grid.BackColorBkg());
  const QColor cells = model_->ToQColor(grid.BackColor());
  const QColor text = model_->ToQColor(grid.ForeColor());
  const QColor fixed_back = model_->ToQColor(grid.BackColorFixed());
  const QColor fixed_fore = model_->ToQColor(grid.ForeColorFixed());
  // A palette and a style hint, not a style sheet: a sheet per list costs
  // milliseconds at start-up and slows every paint after.
  QPalette colours = palette();
  colours.setColor(QPalette::Base, beyond);
  setPalette(colours);
  QPalette header = horizontalHeader()->palette();
  header.setColor(QPalette::Window, fixed_back);
  header.setColor(QPalette::Button, fixed_back);
  header.setColor(QPalette::ButtonText, fixed_fore);
  horizontalHeader()->setPalette(header);
  setProperty(kGridLineColourProperty, Mix(cells, text, 0.3));
  viewport()->update();
  ApplyFrame();
}

void GridView::ApplyFrame() {
  // Two pixels wide, flat or sunken, for the style's focus frame to cover.
  const bool flat = model_->grid().flat();
  setFrameShape(flat ? QFrame::Box : QFrame::Panel);
  setFrameShadow(flat ? QFrame::Plain : QFrame::Sunken);
  setLineWidth(2);
}

void GridView::ApplyVisibility() {
  setVisible(model_->grid().visible());
}

void GridView::ApplyColumns() {
  for (int col = 0; col < model_->columnCount(); ++col) {
    horizontalHeader()->resizeSection(col, model_->ColumnWidth(col));
  }
  reset_since_sync_ = true;
}

void GridView::ApplyFont() {
  model_->SetFont(font());
  verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
  ApplyColumns();
}

void GridView::changeEvent(QEvent* event) {
  QTableView::changeEvent(event);
  if (event->type() == QEvent::FontChange) ApplyFont();
}

void GridView::focusInEvent(QFocusEvent* event) {
  QTableView::focusInEvent(event);
  emit GotFocus();
}

void GridView::focusOutEvent(QFocusEvent* event) {
  QTableView::focusOutEvent(event);
  const Qt::FocusReason reason = event->reason();
  if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason &&
      reason != Qt::MenuBarFocusReason) {
    emit LostFocus();
  }
}

}  // namespace tabrel::gui
