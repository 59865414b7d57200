#pragma once

#include <QAbstractTableModel>
#include <QColor>
#include <QFont>
#include <QPalette>

#include "present/grid.h"

namespace tabrel::gui {

// Qt's view of one presenter-owned Grid. Row 0 of the Grid is the horizontal
// header; Grid row r + 1 is model row r.
//
// The presenter changes a Grid in bursts (a fill adds up to 32,767 rows one
// at a time), so every Grid notification only marks what is stale; one
// queued Flush() then resets or repaints once and emits the signals below.
// Until then rowCount() keeps the count of the last reset, and data() stays
// safe for rows the Grid no longer has.
class GridTableModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  // `grid` must outlive the model; the model becomes its only observer.
  explicit GridTableModel(Grid& grid, QObject* parent = nullptr);
  ~GridTableModel() override;

  Grid& grid() const { return grid_; }

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;

  // Used for column widths and the system colours of the Grid.
  void SetFont(const QFont& font) { font_ = font; }
  void SetPalette(const QPalette& palette) { palette_ = palette; }
  // Width in pixels of column `col`: its width in characters at the font's
  // average character width, plus the cell's margins.
  int ColumnWidth(int col) const;
  QColor ToQColor(Colour colour) const;

  // Applies every pending change now; normally it runs from the event loop.
  void Flush();
  bool HasPendingChanges() const { return pending_ != 0; }

 signals:
  void CurrentChanged();
  void ColoursChanged();
  void VisibilityChanged();
  void ColumnsChanged();

 private:
  void OnGridChange(GridChange change);

  Grid& grid_;
  QFont font_;
  QPalette palette_;
  int rows_ = 0;  // model rows as of the last reset
  int cols_ = 0;
  unsigned pending_ = 0;
  bool flush_queued_ = false;
};

}  // namespace tabrel::gui
