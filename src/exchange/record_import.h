#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "base/date_time.h"
#include "base/result.h"
#include "exchange/duplicate_index.h"
#include "exchange/exchange_view.h"
#include "exchange/import_report.h"
#include "store/app_state.h"
#include "store/data_set_merge.h"
#include "store/stamp_set.h"

namespace tabrel {

// Bytes a record of `kind` takes in its file.
std::size_t RecordLengthOf(ImportKind kind);

// The merge of native or DOS records into one data set under the duplicate
// rules: each incoming record is added, skipped or written over the existing
// record it duplicates (DuplicateIndex), all in memory; Commit() then writes
// tabrel.dat and keyword.dat once, as a pair.
//
// Stamps stay identities: a record written with a stamp that is blank, not
// a readable date and time, or held by another record of the data set (or
// one this import wrote before it) gets a fresh stamp instead: the stamps of
// the data set are held in a StampSet, and fresh ones are taken from it
// counting back from one reading of the clock (StampSet::TakeBackFrom). Every other stamp is kept,
// so a later import can still compare dates. Keywords of the records written are added to the
// keyword list.
class RecordImport {
 public:
  // Opens the data set `target` names and indexes its records; fresh stamps
  // count backwards from `now`.
  static Result<RecordImport> Open(const AppState& target, DuplicateRules rules,
                                   const LocalDateTime& now);
  // An import into no data set; Open() makes a real one.
  RecordImport() = default;

  // What became of one incoming record. `existing` is the stamp the
  // duplicated record had before the import touched it; blank for an
  // addition. It holds until the next Take().
  struct Step {
    DuplicateIndex::Verdict verdict = DuplicateIndex::Verdict::kAdd;
    std::string_view existing;
  };
  // Decides and applies one incoming record of `kind` (RecordLengthOf bytes).
  Step Take(ImportKind kind, std::string_view incoming);

  const ImportReport& report() const { return report_; }
  const DataSetMerge& merge() const { return merge_; }
  // Records written under a fresh stamp.
  std::size_t restamped() const { return restamped_; }

  // See DataSetMerge::Commit.
  MergeOutcome Commit() const { return merge_.Commit(); }

 private:
  RecordImport(DataSetMerge merge, const LocalDateTime& now)
      : merge_(std::move(merge)), next_stamp_(now) {}
  // Gives `record` a fresh stamp unless its own may stay; holds the stamp.
  void SettleStamp(std::string& record);
  void CollectKeywords(std::string_view record);

  DataSetMerge merge_;
  StampSet stamps_;
  LocalDateTime next_stamp_;  // where the next fresh stamp is looked for
  std::unique_ptr<DuplicateIndex> index_;
  ImportReport report_;
  std::size_t restamped_ = 0;
  std::string record_;  // the record in hand
  std::string existing_stamp_;
};

}  // namespace tabrel
