#pragma once

#include <cstddef>
#include <string_view>

namespace tabrel {

// Where the first CR or LF at or after `from` stands; npos when none does.
std::size_t FindLineEnd(std::string_view text, std::size_t from);

// The lines of a text from another program, each ended by CR LF, a lone CR
// or a lone LF, whichever the writer used (files mix them). The line end is
// not part of the line. A last line without an end counts; an empty text
// has no lines. Unlike the report line reader, a lone LF always ends a line.
class LineReader {
 public:
  explicit LineReader(std::string_view text) : text_(text) {}

  // The next line into `line`; false at the end of the text.
  bool Next(std::string_view& line);
  // The number of the line Next() gave last, from 1.
  std::size_t number() const { return number_; }
  // Gives the line Next() gave last once more on the next call (once).
  void PutBack() {
    at_ = start_;
    --number_;
  }

 private:
  std::string_view text_;
  std::size_t at_ = 0;
  std::size_t start_ = 0;
  std::size_t number_ = 0;
};

}  // namespace tabrel
