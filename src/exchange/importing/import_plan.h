#pragma once

#include <cstddef>
#include <ctime>
#include <functional>
#include <string>

#include "base/date_time.h"
#include "base/result.h"
#include "base/status.h"
#include "exchange/importing/duplicate_index.h"
#include "exchange/importing/import_source.h"
#include "exchange/importing/record_import.h"
#include "store/app_state.h"

namespace tabrel {

// What an import file holds, as far as a look tells without deciding
// anything: for record files their length, for vCards a reading of the
// cards.
struct ImportFileFacts {
  bool exists = false;
  std::size_t size = 0;
  std::time_t modified = 0;
  std::size_t entries = 0;  // records, or cards, in the file
  bool importable = false;  // whole records of the kind, or at least one card
};
Result<ImportFileFacts> LookAtImportFile(const ImportSource& source);

// "This file contains N Tabrel 3 records," (or DOS version Tabrel records,
// or vCards): how the import window describes a file.
std::string EntriesText(ImportKind kind, std::size_t entries);
// The refusal of a file that holds no whole records, or no card, of `kind`.
std::string NotRecordsText(ImportKind kind);

// Told how far the reading of an import file has come.
using PlanProgress = std::function<void(std::size_t done, std::size_t total)>;

// An import file read and every record of it decided against one data set
// under the duplicate rules, all in memory: what Import does before it
// writes, and all that a preview or a dry run does. Nothing is written;
// `import.Commit()` writes the outcome, `import.decisions()` says what
// became of each record (RecordImport::DecisionText) and `import.report()`
// sums it up.
struct ImportPlan {
  // The file or the data set could not be read: nothing was decided.
  Status failure = Status::Ok();
  // Why the file cannot be imported (UTF-8, CR LF between lines): it holds
  // no whole records of its kind, no card, or a vCard file whose BEGIN and
  // END lines do not pair up (each fault with its line). Nothing was decided.
  std::string refusal;
  ImportFileFacts file;  // the file as it was read
  RecordImport import;

  bool ready() const { return failure.ok() && refusal.empty(); }
};

// Reads the file `source` names afresh and decides each of its records
// against the data set `target` names. Records of another format (vCards)
// are added under fresh stamps counting back from `now`; what they lost on
// the way (characters the code page cannot hold, values cut to their field,
// categories past the third, cards with nothing to import) becomes notes of
// the report.
ImportPlan PlanImport(const AppState& target, const ImportSource& source, DuplicateRules rules,
                      const LocalDateTime& now, const PlanProgress& progress = nullptr);

// The same for the bytes of a record file already read, `name` naming it
// in a refusal (its path, "The input"); `write_ahead` as in ImportSource.
ImportPlan PlanRecordBytes(const AppState& target, ImportKind kind, std::string_view bytes,
                           const std::string& name, DuplicateRules rules, const LocalDateTime& now,
                           const PlanProgress& progress = nullptr, bool write_ahead = false);

// The same for the bytes of a vCard file already read (a command line's
// input), last modified at `modified`.
// With `extras_to_notes` the values of a card no field holds go to its
// notes; otherwise the report counts them.
ImportPlan PlanVcardBytes(const AppState& target, std::string bytes, std::time_t modified,
                          DuplicateRules rules, const LocalDateTime& now,
                          const PlanProgress& progress = nullptr, bool extras_to_notes = false,
                          bool write_ahead = false);

}  // namespace tabrel
