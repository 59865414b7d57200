#include "present/grid.h"

#include <algorithm>

namespace tabrel {

Grid::Grid() {
  rows_.push_back(RowData{});
}

void Grid::SetObserver(std::function<void(GridChange)> observer) {
  observer_ = std::move(observer);
}

void Grid::Notify(GridChange change) const {
  if (observer_) observer_(change);
}

void Grid::SetColour(Colour& slot, Colour value) {
  if (slot == value) return;
  slot = value;
  Notify(GridChange::kColours);
}

std::pair<std::size_t, std::size_t> Grid::CellRange(std::string_view row_text, int col) {
  std::size_t begin = 0;
  for (int c = 0; c < col; ++c) {
    const auto tab = row_text.find('\t', begin);
    if (tab == std::string_view::npos) return {std::string_view::npos, 0};
    begin = tab + 1;
  }
  const auto end = row_text.find('\t', begin);
  return {begin, (end == std::string_view::npos ? row_text.size() : end) - begin};
}

void Grid::SetFormatString(std::string_view format) {
  columns_.clear();
  std::string header;
  std::size_t start = 0;
  while (true) {
    const auto bar = format.find('|', start);
    std::string_view piece =
        format.substr(start, bar == std::string_view::npos ? format.npos : bar - start);
    GridColumn column;
    if (!piece.empty() && (piece[0] == '<' || piece[0] == '^' || piece[0] == '>')) {
      column.alignment = piece[0] == '<'   ? Alignment::kLeft
                         : piece[0] == '^' ? Alignment::kCentre
                                           : Alignment::kRight;
      piece.remove_prefix(1);
    }
    column.caption = std::string(piece);
    column.width_chars = static_cast<int>(piece.size());
    if (!columns_.empty()) header += '\t';
    header += column.caption;
    columns_.push_back(std::move(column));
    if (bar == std::string_view::npos) break;
    start = bar + 1;
  }
  rows_[0].text = std::move(header);
  col_ = std::min(col_, Cols() - 1);
  col_sel_ = std::min(col_sel_, Cols() - 1);
  Notify(GridChange::kStructure);
}

void Grid::ClearToHeader() {
  rows_.resize(1);
  sources_.clear();
  rows_[0] = RowData{};
  rows_[0].text.assign(static_cast<std::size_t>(std::max(Cols() - 1, 0)), '\t');
  other_cell_colours_.clear();
  row_ = 0;
  top_row_ = 1;
  Notify(GridChange::kStructure);
}

void Grid::AddItem(std::string text) {
  RowData data;
  data.text = std::move(text);
  rows_.push_back(std::move(data));
  Notify(GridChange::kStructure);
}

void Grid::AddItem(const std::shared_ptr<const RowSource>& source, std::string_view bytes) {
  if (sources_.empty() || sources_.back() != source) sources_.push_back(source);
  RowData data;
  data.source = source.get();
  data.bytes = bytes;
  rows_.push_back(std::move(data));
  Notify(GridChange::kStructure);
}

void Grid::ReserveRows(std::size_t rows) {
  rows_.reserve(rows_.size() + rows);
}

const std::string& Grid::RowText(int row) const {
  const RowData& data = rows_[static_cast<std::size_t>(row)];
  if (data.source != nullptr) {
    data.source->MakeRow(data.bytes, data.text);
    data.source = nullptr;
  }
  return data.text;
}

void Grid::RemoveItem(int row) {
  if (row < 1 || row >= Rows()) return;
  rows_.erase(rows_.begin() + row);
  std::map<std::pair<int, int>, Colour> moved;
  for (const auto& [cell, colour] : other_cell_colours_) {
    if (cell.first == row) continue;
    moved[{cell.first > row ? cell.first - 1 : cell.first, cell.second}] = colour;
  }
  other_cell_colours_ = std::move(moved);
  row_ = std::min(row_, Rows() - 1);
  top_row_ = std::max(1, std::min(top_row_, Rows() - 1));
  Notify(GridChange::kStructure);
}

std::string_view Grid::TextAt(int row, int col) const {
  if (row < 0 || row >= Rows() || col < 0) return {};
  const RowData& data = rows_[static_cast<std::size_t>(row)];
  if (data.source != nullptr) {
    if (auto cell = data.source->CellIn(data.bytes, col)) return *cell;
  }
  const std::string_view text = RowText(row);
  const auto [begin, length] = CellRange(text, col);
  if (begin == std::string_view::npos) return {};
  return text.substr(begin, length);
}

void Grid::SetTextAt(int row, int col, std::string_view text) {
  if (row < 0 || row >= Rows() || col < 0 || col >= std::max(Cols(), 1)) return;
  std::string clean(text);
  std::replace(clean.begin(), clean.end(), '\t', ' ');
  RowText(row);
  std::string& row_text = rows_[static_cast<std::size_t>(row)].text;
  auto [begin, length] = CellRange(row_text, col);
  if (begin == std::string::npos) {
    // The row has fewer cells than the grid has columns: pad it with empty ones.
    int have = static_cast<int>(std::count(row_text.begin(), row_text.end(), '\t')) + 1;
    row_text.append(static_cast<std::size_t>(col - have + 1), '\t');
    std::tie(begin, length) = CellRange(row_text, col);
  }
  row_text.replace(begin, length, clean);
  Notify(row == 0 ? GridChange::kStructure : GridChange::kCells);
}

void Grid::SetRow(int row) {
  row = std::clamp(row, 0, Rows() - 1);
  if (row == row_) return;
  row_ = row;
  Notify(GridChange::kCurrent);
}

void Grid::SetCol(int col) {
  col = std::clamp(col, 0, std::max(Cols() - 1, 0));
  col_ = col;
  col_sel_ = col;
  Notify(GridChange::kCurrent);
}

void Grid::SetColSel(int col) {
  col_sel_ = std::clamp(col, 0, std::max(Cols() - 1, 0));
  Notify(GridChange::kCurrent);
}

void Grid::SetTopRow(int row) {
  top_row_ = std::clamp(row, 1, std::max(Rows() - 1, 1));
  Notify(GridChange::kCurrent);
}

bool Grid::IsSelected(int row, int col) const {
  if (row < 1 || row != row_) return false;
  return col >= std::min(col_, col_sel_) && col <= std::max(col_, col_sel_);
}

void Grid::SetCellForeColorAt(int row, int col, Colour colour) {
  if (row < 0 || row >= Rows() || col < 0) return;
  if (col == 0) {
    rows_[static_cast<std::size_t>(row)].first_cell_colour = colour;
  } else {
    other_cell_colours_[{row, col}] = colour;
  }
  Notify(GridChange::kCells);
}

Colour Grid::CellForeColorAt(int row, int col) const {
  if (row < 0 || row >= Rows()) return fore_color_;
  if (col == 0) return rows_[static_cast<std::size_t>(row)].first_cell_colour.value_or(fore_color_);
  const auto it = other_cell_colours_.find({row, col});
  return it == other_cell_colours_.end() ? fore_color_ : it->second;
}

void Grid::SetFlat(bool flat) {
  if (flat_ == flat) return;
  flat_ = flat;
  Notify(GridChange::kColours);
}

void Grid::SetVisible(bool visible) {
  if (visible_ == visible) return;
  visible_ = visible;
  Notify(GridChange::kVisible);
}

void Grid::SetRowTag(int row, std::uint32_t tag) {
  if (row >= 0 && row < Rows()) rows_[static_cast<std::size_t>(row)].tag = tag;
}

std::uint32_t Grid::RowTag(int row) const {
  return row >= 0 && row < Rows() ? rows_[static_cast<std::size_t>(row)].tag : 0;
}

}  // namespace tabrel
