#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "base/date_time.h"
#include "base/result.h"
#include "base/status.h"
#include "exchange/importing/duplicate_index.h"
#include "exchange/importing/import_source.h"
#include "exchange/importing/record_import.h"
#include "store/app_state.h"

namespace tabrel {

// What an import would do, decided by the import itself (RecordImport) over
// the data set as it is now, with nothing written. Texts are Windows-1252.
struct ImportPreview {
  std::vector<std::string> lines;  // one per incoming record, in file order
  std::size_t added = 0;
  std::size_t replaced = 0;
  std::size_t skipped = 0;
  // What the import would lose on the way (ImportReport::Note).
  std::vector<std::string> notes;
  // The refusal the import would meet for the size of its result.
  Status limit = Status::Ok();

  // "N to add, N to replace, N to skip (duplicates)."
  std::string Counts() const;
  // Every line, then the counts, the notes and any refusal, each ended by
  // `line_end`.
  std::string Text(std::string_view line_end) const;
};

// The preview of an import whose records are all decided and nothing
// written: a line per record (RecordImport::DecisionText), the counts, the
// report's notes and the size check.
ImportPreview PreviewOf(const RecordImport& import);

// Decides every whole record of `records` (RecordLengthOf(kind) bytes each)
// against the data set `target` names, under `rules`. The import window's
// Preview button and the command line's dry run both show this.
Result<ImportPreview> PreviewImport(const AppState& target, ImportKind kind,
                                    std::string_view records, DuplicateRules rules,
                                    const LocalDateTime& now);

}  // namespace tabrel
