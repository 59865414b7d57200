#include "gui/grid_table_model.h"

#include <QBrush>
#include <QFontMetrics>
#include <QMetaObject>

#include "base/codec.h"

namespace tabrel::gui {
namespace {

unsigned Bit(GridChange change) {
  return 1u << static_cast<unsigned>(change);
}

// Stored fields keep their trailing blanks; drawn, they would only push the
// text towards the column's edge and an ellipsis.
QString CellText(std::string_view bytes) {
  while (!bytes.empty() && bytes.back() == ' ') bytes.remove_suffix(1);
  const std::string utf8 = DecodeCp1252(bytes);
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

Qt::Alignment ToQtAlignment(Alignment alignment) {
  switch (alignment) {
    case Alignment::kCentre:
      return Qt::AlignHCenter | Qt::AlignVCenter;
    case Alignment::kRight:
      return Qt::AlignRight | Qt::AlignVCenter;
    case Alignment::kLeft:
      break;
  }
  return Qt::AlignLeft | Qt::AlignVCenter;
}

}  // namespace

GridTableModel::GridTableModel(Grid& grid, QObject* parent)
    : QAbstractTableModel(parent), grid_(grid) {
  rows_ = grid_.Rows() - 1;
  cols_ = grid_.Cols();
  grid_.SetObserver([this](GridChange change) { OnGridChange(change); });
}

GridTableModel::~GridTableModel() {
  grid_.SetObserver(nullptr);
}

void GridTableModel::OnGridChange(GridChange change) {
  pending_ |= Bit(change);
  if (flush_queued_) return;
  flush_queued_ = true;
  QMetaObject::invokeMethod(this, &GridTableModel::Flush, Qt::QueuedConnection);
}

void GridTableModel::Flush() {
  flush_queued_ = false;
  const unsigned pending = pending_;
  pending_ = 0;
  if (pending == 0) return;
  if (pending & Bit(GridChange::kStructure)) {
    beginResetModel();
    rows_ = grid_.Rows() - 1;
    cols_ = grid_.Cols();
    endResetModel();
    emit ColumnsChanged();
  } else if (pending &
             (Bit(GridChange::kCells) | Bit(GridChange::kCurrent) | Bit(GridChange::kColours))) {
    // The selection and the colours are drawn through data(), so each of
    // these repaints the cells; the view only redraws what it shows.
    if (rows_ > 0 && cols_ > 0) emit dataChanged(index(0, 0), index(rows_ - 1, cols_ - 1));
  }
  if (pending & Bit(GridChange::kColours)) {
    if (cols_ > 0) emit headerDataChanged(Qt::Horizontal, 0, cols_ - 1);
    emit ColoursChanged();
  }
  if (pending & (Bit(GridChange::kCurrent) | Bit(GridChange::kStructure))) emit CurrentChanged();
  if (pending & Bit(GridChange::kVisible)) emit VisibilityChanged();
}

int GridTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : rows_;
}

int GridTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : cols_;
}

QColor GridTableModel::ToQColor(Colour colour) const {
  switch (colour.system) {
    case Colour::System::kButtonFace:
      return palette_.color(QPalette::Button);
    case Colour::System::kButtonText:
      return palette_.color(QPalette::ButtonText);
    case Colour::System::kGrayText:
      return palette_.color(QPalette::Disabled, QPalette::WindowText);
    case Colour::System::kNone:
      break;
  }
  return QColor(colour.red, colour.green, colour.blue);
}

QVariant GridTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  const int row = index.row() + 1;
  const int col = index.column();
  if (row >= grid_.Rows() || col >= grid_.Cols()) return {};
  switch (role) {
    case Qt::DisplayRole:
      return CellText(grid_.TextAt(row, col));
    case Qt::ForegroundRole:
      return QBrush(ToQColor(grid_.IsSelected(row, col) ? grid_.ForeColorSel()
                                                        : grid_.CellForeColorAt(row, col)));
    case Qt::BackgroundRole:
      return QBrush(
          ToQColor(grid_.IsSelected(row, col) ? grid_.BackColorSel() : grid_.BackColor()));
    case Qt::TextAlignmentRole:
      return static_cast<int>(ToQtAlignment(grid_.columns()[col].alignment));
    default:
      return {};
  }
}

QVariant GridTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section < 0 || section >= grid_.Cols()) return {};
  switch (role) {
    case Qt::DisplayRole: {
      QString caption = CellText(grid_.TextAt(0, section));
      return caption.trimmed();
    }
    case Qt::ForegroundRole:
      return QBrush(ToQColor(grid_.ForeColorFixed()));
    case Qt::BackgroundRole:
      return QBrush(ToQColor(grid_.BackColorFixed()));
    case Qt::TextAlignmentRole:
      return static_cast<int>(ToQtAlignment(grid_.columns()[section].alignment));
    default:
      return {};
  }
}

int GridTableModel::ColumnWidth(int col) const {
  if (col < 0 || col >= grid_.Cols()) return 0;
  const QFontMetrics metrics(font_);
  return grid_.columns()[col].width_chars * metrics.averageCharWidth() + 8;
}

}  // namespace tabrel::gui
