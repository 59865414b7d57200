#pragma once

#include <optional>
#include <string>

#include "base/date_time.h"
#include "base/result.h"
#include "exchange/formats/comma_contact.h"
#include "exchange/importing/duplicate_index.h"
#include "exchange/importing/import_source.h"
#include "exchange/importing/new_records_import.h"
#include "exchange/importing/record_import.h"
#include "store/app_state.h"

namespace tabrel {

// What an import is told besides its file.
struct DecideOptions {
  DuplicateRules rules;          // native, DOS, vCard
  bool extras_to_notes = false;  // comma text, LDIF, vCard
  // Comma text: the first line as field names (unset: as the field
  // selector finds it), the links (unset: as it suggests them), records
  // without a type made individuals, and the keyword, as stored.
  std::optional<bool> header;
  std::optional<CommaLinks> links;
  bool individual = false;
  std::string keyword = std::string(kCommaKeyword);
  // Native, DOS: names the input in a refusal (its path, "The input").
  std::string input_name;
  // The import is to be committed, not previewed (ImportSource::write_ahead).
  bool write_ahead = false;
};

// An import's records decided, of whichever kind.
struct DecidedImport {
  std::optional<RecordImport> records;    // native, DOS, vCard
  std::optional<NewRecordsImport> added;  // comma text, LDIF, Agent
  std::string left_out;     // what became of the entries of `added` that became no record
  std::size_t skipped = 0;  // how many those were
  // Set when nothing may be imported: a comma import that links no field, a
  // vCard file whose cards do not pair up.
  std::string refusal;

  const DataSetMerge& merge() const { return records ? records->merge() : added->merge(); }
};

// Decides what becomes of every record of `input` in the data set of
// `state`: the bytes of whole records (native, DOS) or of a vCard file, or
// the decoded text of the other formats.
// `progress` is told the entries of text read so far.
Result<DecidedImport> DecideImport(const AppState& state, FormatId format, std::string input,
                                   const DecideOptions& options, const LocalDateTime& now,
                                   const ImportProgress& progress = nullptr);

}  // namespace tabrel
