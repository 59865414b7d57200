#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tabrel {

// The records of comma-separated text (RFC 4180, read leniently), from text
// already decoded to UTF-8:
// - fields are separated by commas; records end at CR LF, a lone CR or a
//   lone LF outside quotes, and the last one may lack its line end;
// - a field that starts with a quote (blanks before it allowed) runs to the
//   next quote that is not doubled; a doubled quote inside stands for one,
//   and commas and line breaks inside belong to the field; text between the
//   closing quote and the next comma is kept; a quote that is never closed
//   runs to the end of the text;
// - a field without a leading quote is taken as it stands, quotes included;
// - records may have any number of fields (ragged rows).
// Records whose fields are all empty or blank (empty lines among them) are
// skipped and counted.
class CommaReader {
 public:
  explicit CommaReader(std::string_view text) : text_(text) {}

  // The next record's fields into `fields`, whose strings are reused from
  // call to call; false at the end of the text.
  bool Next(std::vector<std::string>& fields);

  // The line (from 1) on which the record Next() gave last begins.
  std::size_t line() const { return record_line_; }
  std::size_t skipped_empty() const { return skipped_empty_; }

 private:
  // Reads one record, empty or not; false at the end of the text.
  bool ReadRecord(std::vector<std::string>& fields, std::size_t& count);
  // Reads the field starting at at_ into `field`; true when the record goes
  // on after it (a comma followed).
  bool ReadField(std::string& field);
  // Steps over a line end at at_, if there is one, counting the line.
  void EndLine();

  std::string_view text_;
  std::size_t at_ = 0;
  std::size_t line_ = 1;
  std::size_t record_line_ = 0;
  std::size_t skipped_empty_ = 0;
};

}  // namespace tabrel
