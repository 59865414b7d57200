#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "exchange/formats/comma_columns.h"
#include "exchange/formats/record_builder.h"

namespace tabrel {

// Everything a comma-delimited import is told besides the file: what the
// field selector window shows, and what a command line passes instead.
struct CommaImportOptions {
  std::string encoding;  // an iconv name; empty: found from the bytes
  // The first record holds field names: it is never imported, and it names
  // the columns (and the typed ones) that the links may use.
  bool header = true;
  CommaLinks links{};                 // column numbers by RecordField; 0 leaves a field empty
  std::string keyword = "comma_new";  // UTF-8; every record's first keyword
  bool individual = false;            // "Default to Individual"; else "Default to Organization"
  bool extras_to_notes = false;       // "Add Extra Items to Notes"
};

// The keyword box's default.
inline constexpr std::string_view kCommaKeyword = "comma_new";

// What a first look at a comma-delimited text finds.
struct CommaSurvey {
  bool header_likely = false;      // the first record looks like field names
  std::vector<std::string> first;  // the first record as read
  CommaColumns columns;            // named by `first` when read with a header
  // The first five records the import would take, completed by `columns`.
  std::vector<std::vector<std::string>> sample;
  // The records the import would take; without `count_all` only those of
  // the sample.
  std::size_t records = 0;
};

// Reads `text` once, to its end with `count_all`, else as far as the
// sample; with `header` the first record is the names.
CommaSurvey SurveyComma(std::string_view text, bool header, bool count_all = true);

// Fills `out` (cleared first) from one record of the columns `columns`
// (completed), by the links of `options`: each linked field takes its
// column's text (a column may feed several fields), and with
// extras_to_notes the text of every column of the file no link takes is
// added to the notes, each after a blank. Yields the type code: with
// "Default to Organization" '2', but '1' without an organisation; with
// "Default to Individual" '1', but '2' without first and last name.
char ContactFromComma(const std::vector<std::string>& fields, const CommaColumns& columns,
                      const CommaImportOptions& options, RecordBuilder& out);

}  // namespace tabrel
