#pragma once

#include <cstddef>
#include <string_view>

namespace tabrel {

// Where the first CR or LF at or after `from` stands; npos when none does.
std::size_t FindLineEnd(std::string_view text, std::size_t from);

// What a CR that stands before no LF means.
enum class LoneCr {
  kEndsLine,  // a line end, as old Macintosh programs wrote them
  // Within the line when the text holds any LF (a value's own line break,
  // as some writers leave it), else a line end.
  kKeptWhereLfEndsLines,
};

// The lines of a text from another program, each ended by CR LF, a lone CR
// or a lone LF, whichever the writer used (files mix them). CRs doubled
// before an LF ("\r\r\n", as some programs write) end one line, not two.
// The line end is not part of the line. A last line without an end counts;
// an empty text has no lines. Unlike the report line reader, a lone LF
// always ends a line.
class LineReader {
 public:
  explicit LineReader(std::string_view text, LoneCr lone_cr = LoneCr::kEndsLine);

  // The next line into `line`; false at the end of the text.
  bool Next(std::string_view& line) {
    if (!Peek(line)) return false;
    start_ = at_;
    at_ = after_;
    ++number_;
    return true;
  }
  // The line Next() would give, without taking it.
  bool Peek(std::string_view& line) {
    if (at_ >= text_.size()) return false;
    // Inline, since a file of megabytes has a line every few dozen bytes.
    if (scanned_for_ != at_) Scan();
    line = line_;
    return true;
  }
  // The number of the line Next() gave last, from 1.
  std::size_t number() const { return number_; }
  // Gives the line Next() gave last once more on the next call (once).
  void PutBack() {
    at_ = start_;
    --number_;
  }

 private:
  // Finds the line at at_ (once, however often it is peeked at).
  void Scan();

  std::string_view text_;
  bool lf_only_ = false;  // only an LF ends a line
  std::size_t at_ = 0;
  std::size_t start_ = 0;
  std::size_t number_ = 0;
  std::size_t scanned_for_ = std::string_view::npos;  // the at_ that line_ and after_ belong to
  std::string_view line_;
  std::size_t after_ = 0;
};

}  // namespace tabrel
