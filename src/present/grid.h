#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "present/colour.h"

namespace tabrel {

// What a change touched, so a view can redraw no more than it must.
enum class GridChange {
  kStructure,  // columns, row count or header
  kCells,      // cell texts or cell colours
  kCurrent,    // current cell, selection or top row
  kColours,    // whole-grid colours or appearance
  kVisible,
};

enum class Alignment { kLeft, kCentre, kRight };

struct GridColumn {
  std::string caption;  // as given in the format string, blanks included
  int width_chars = 0;  // the caption's length
  Alignment alignment = Alignment::kLeft;
};

// A table of text cells with one fixed header row (row 0) and data rows 1 to
// Rows() - 1, a current cell, a selection that runs from the current column
// to the selection column in the current row, a top row, per-cell text
// colours and whole-grid colours. Texts are Windows-1252 bytes.
//
// Makes the text of rows kept as bytes held elsewhere (a record list keeps
// each row as its stored record), when the text is first needed: a view asks
// only for the rows it draws, so a list of 32,767 records makes a screenful.
class RowSource {
 public:
  virtual ~RowSource() = default;
  // The text of the row kept as `bytes`, cells joined by tabs.
  virtual void MakeRow(std::string_view bytes, std::string& text) const = 0;
  // Cell `col` of that text where it is a piece of `bytes` as it stands, so
  // that a look at one column of every row makes no row's text.
  virtual std::optional<std::string_view> CellIn(std::string_view bytes, int col) const = 0;
};

// Rows are kept as one string each, cells joined by tabs, or as the bytes
// their source makes that string from.
class Grid {
 public:
  Grid();

  // Notified after every change; the GUI's table model listens here.
  void SetObserver(std::function<void(GridChange)> observer);

  // "<Name   |<Phone  |..." : one column a piece; "<" left-aligns, "^"
  // centres, ">" right-aligns; the rest is the header caption, and its
  // length, blanks included, is the column's width. Data rows are kept.
  void SetFormatString(std::string_view format);
  // Only the header row remains, and every cell text is empty.
  void ClearToHeader();
  // Appends a row; tabs separate its cells from column 0 on.
  void AddItem(std::string text);
  // Appends a row that `source` makes from `bytes`, which `source` keeps
  // readable; the grid keeps `source` until ClearToHeader.
  void AddItem(const std::shared_ptr<const RowSource>& source, std::string_view bytes);
  // Room for `rows` more rows, so that a long fill moves no row.
  void ReserveRows(std::size_t rows);
  // Removes data row `row` (1..Rows()-1); later rows move up.
  void RemoveItem(int row);

  int Rows() const { return static_cast<int>(rows_.size()); }
  int Cols() const { return static_cast<int>(columns_.size()); }
  const std::vector<GridColumn>& columns() const { return columns_; }

  std::string_view TextAt(int row, int col) const;
  void SetTextAt(int row, int col, std::string_view text);

  int Row() const { return row_; }
  int Col() const { return col_; }
  int ColSel() const { return col_sel_; }
  int TopRow() const { return top_row_; }
  void SetRow(int row);
  void SetCol(int col);
  void SetColSel(int col);
  void SetTopRow(int row);
  // The current cell.
  std::string_view Text() const { return TextAt(row_, col_); }
  void SetText(std::string_view text) { SetTextAt(row_, col_, text); }
  bool IsSelected(int row, int col) const;

  // Text colour of one cell; cells never coloured use ForeColor().
  // A number kept with a row and moved with it (a record list keeps the
  // record's place in its file, so that opening the row needs no search).
  void SetRowTag(int row, std::uint32_t tag);
  std::uint32_t RowTag(int row) const;

  void SetCellForeColorAt(int row, int col, Colour colour);
  Colour CellForeColorAt(int row, int col) const;

  Colour ForeColor() const { return fore_color_; }
  Colour BackColor() const { return back_color_; }
  Colour BackColorBkg() const { return back_color_bkg_; }
  Colour BackColorFixed() const { return back_color_fixed_; }
  Colour ForeColorFixed() const { return fore_color_fixed_; }
  Colour BackColorSel() const { return back_color_sel_; }
  Colour ForeColorSel() const { return fore_color_sel_; }
  void SetForeColor(Colour c) { SetColour(fore_color_, c); }
  void SetBackColor(Colour c) { SetColour(back_color_, c); }
  void SetBackColorBkg(Colour c) { SetColour(back_color_bkg_, c); }
  void SetBackColorFixed(Colour c) { SetColour(back_color_fixed_, c); }
  void SetForeColorFixed(Colour c) { SetColour(fore_color_fixed_, c); }
  void SetBackColorSel(Colour c) { SetColour(back_color_sel_, c); }
  void SetForeColorSel(Colour c) { SetColour(fore_color_sel_, c); }

  bool flat() const { return flat_; }
  void SetFlat(bool flat);
  bool visible() const { return visible_; }
  void SetVisible(bool visible);

 private:
  struct RowData {
    // Made from `bytes` by `source` when first asked for; from then on, or
    // without a source, the row itself.
    mutable std::string text;
    std::uint32_t tag = 0;
    std::optional<Colour> first_cell_colour;  // column 0, the one lists colour
    mutable const RowSource* source = nullptr;
    std::string_view bytes;
  };

  const std::string& RowText(int row) const;

  void Notify(GridChange change) const;
  void SetColour(Colour& slot, Colour value);
  // Byte range of cell `col` inside a row's text; npos start when absent.
  static std::pair<std::size_t, std::size_t> CellRange(std::string_view row_text, int col);

  std::vector<GridColumn> columns_;
  std::vector<RowData> rows_;
  std::vector<std::shared_ptr<const RowSource>> sources_;  // of the rows kept as bytes
  std::map<std::pair<int, int>, Colour> other_cell_colours_;
  int row_ = 0;
  int col_ = 0;
  int col_sel_ = 0;
  int top_row_ = 1;
  Colour fore_color_ = kBlack;
  Colour back_color_ = kWhite;
  Colour back_color_bkg_ = kGrey;
  Colour back_color_fixed_ = kButtonFace;
  Colour fore_color_fixed_ = kButtonText;
  Colour back_color_sel_ = kYellow;
  Colour fore_color_sel_ = kBlack;
  bool flat_ = false;
  bool visible_ = true;
  std::function<void(GridChange)> observer_;
};

}  // namespace tabrel
