#pragma once

#include <array>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/result.h"
#include "present/grid.h"
#include "store/app_state.h"
#include "store/file_reader.h"

namespace tabrel {

// The selection texts of the record list.
inline constexpr std::string_view kAllRecords = "All Records";
inline constexpr std::string_view kWordSearchPrefix = "%%";

// The record list's format string: eleven columns, the last the ID stamp.
extern const std::string_view kMainGridFormat;
inline constexpr int kIdColumn = 10;

// Told the record count once, then each record number as it is read.
struct FillProgress {
  std::function<void(int count)> start;
  std::function<void(int record_number)> step;
};

// Reads tabrel.dat of the current data set in one pass and appends to `grid`
// a row for every record that `selection` selects and the public/personal
// filter lets through, colouring each Name cell. For a "%%" word search in
// normal list mode only the records whose stamps are lines of tabrel.tmp in
// the program folder take part. Leaves the last record read in
// state.current_record. Yields the number of rows added.
Result<int> AppendSelectedRows(Grid& grid, AppState& state, std::string_view selection,
                               const FillProgress& progress);

// The records AppendSelectedRows would list for `selection`, in file order,
// for a front end that needs the records rather than a list: tabrel.dat read
// whole, once, into `buffer`, which must outlive the views.
Result<std::vector<std::string_view>> SelectedRecords(const AppState& state,
                                                      std::string_view selection,
                                                      ReadBuffer& buffer);

// The same a run of the file at a time, for a front end that writes each
// record as it comes: `visit` is given the selected records of each run
// (views valid until it returns); false from it stops the pass.
using SelectedRun = std::function<bool(std::span<const std::string_view> records)>;
Status VisitSelectedRecords(const AppState& state, std::string_view selection,
                            const SelectedRun& visit);

// The row text (cells joined by tabs) of one stored record, or nothing when
// its type is not one of the four listed types.
bool BuildRowText(std::string_view record, std::string& row);

// The word test of a word search: a record contains the word (given in
// capitals) when it occurs in one of these texts, each the fields joined by
// single blanks, trailing blanks kept, in capitals: LastName FirstName Org;
// EMail Add1 Add2; City State Country; Notes; Phone Fax; the date part of
// Modified. Other fields are not searched.
class WordMatcher {
 public:
  explicit WordMatcher(std::string word);
  // `record` is one stored record of 1047 bytes.
  bool Matches(std::string_view record);

 private:
  // Appends `field` in capitals; its trailing blanks are copied as they are.
  void AppendUpper(std::string_view field);
  // The same test for a word without blanks, which cannot reach past the
  // text of one field: each field's text alone is upper-cased and searched.
  bool MatchesInOneField(std::string_view record);

  std::string word_;
  bool word_has_blank_;
  std::string text_;  // reused for every record
  // UpperCp1252 of every byte, looked up instead of called.
  std::array<char, 256> upper_;
};

}  // namespace tabrel
