#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "exchange/formats/record_builder.h"

namespace tabrel {

// True when the first record of a comma-delimited file looks like a line of
// field names: every field a name (not empty, not a number, a phone number
// or a date, no "@") but for empty fields at its end, and no name twice
// (compared without case).
bool LooksLikeHeader(const std::vector<std::string>& fields);

// The columns a comma-delimited import offers, numbered from 1: the file's
// own, in its order, and after them, when the header names typed pairs as
// Google Contacts writes them ("Phone 1 - Type" beside "Phone 1 - Value",
// "Address 2 - Type" beside "Address 2 - City"...), columns that pick from
// each record the value its type asks for: the primary one (marked "* "),
// else the work one, else the first (and a phone's kind by its type: fax,
// mobile, pager or voice). Without them a contact's work phone would land
// in whichever field the first contact's types chose.
//
// A record read from the file becomes a record of these columns through
// Complete(); extra fields beyond the header's come after the typed ones.
class CommaColumns {
 public:
  // The file's columns only, unnamed (a file without a header line).
  CommaColumns() = default;
  explicit CommaColumns(const std::vector<std::string>& header);

  // The number of columns the header names, and of typed ones after them.
  std::size_t named() const { return names_.size() - typed_.size(); }
  std::size_t typed() const { return typed_.size(); }
  // The name of column `number` (from 1): the header's text, or the typed
  // column's own name ("Phone, by type"); empty when the file names none.
  std::string_view Name(std::size_t number) const;
  const std::vector<std::string>& names() const { return names_; }

  // Appends the typed columns' values to `fields`, a record of the file.
  void Complete(std::vector<std::string>& fields) const;

 private:
  // One typed column: what it holds and the pairs it chooses from.
  struct Typed {
    int kind;  // a TypedKind, private to the .cpp
    // Per group of the header (one "Phone 3"): its type column and the
    // column of the value this typed column takes (0-based; npos: none).
    std::vector<std::size_t> type_columns;
    std::vector<std::size_t> value_columns;
  };
  std::vector<std::string> names_;
  std::vector<Typed> typed_;
};

// The link of each record field (in RecordField order) to a column number
// (from 1); 0 leaves the field empty.
using CommaLinks = std::array<std::size_t, kRecordFieldCount>;

// The links the header's names suggest: this program's own twenty names and
// the common ones other address books write (Given Name, Family Name,
// Company, Job Title, E-mail Address, Primary Email, Business Phone, Mobile
// Phone, Business Street, Business City, Business Postal Code, Web Page,
// the typed columns...). Where several columns could feed a field (a
// business and a home address, say), the first one that holds a value in
// `sample` (the first records, completed) is taken, else the first named;
// the address fields come from one address together. "Title" is a form of
// address in some programs and a job title in others: it is suggested only
// when no job title column exists.
CommaLinks SuggestLinks(const CommaColumns& columns,
                        const std::vector<std::vector<std::string>>& sample);

}  // namespace tabrel
