#pragma once

#include <array>
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/date_time.h"
#include "base/result.h"
#include "exchange/importing/duplicate_index.h"
#include "exchange/importing/import_report.h"
#include "exchange/importing/import_source.h"
#include "store/app_state.h"
#include "store/data_set_merge.h"
#include "store/stamp_set.h"

namespace tabrel {

// Bytes a record of `kind` takes in its file.
std::size_t RecordLengthOf(ImportKind kind);

// What an import did with one incoming record.
struct ImportDecision {
  DuplicateIndex::Verdict verdict = DuplicateIndex::Verdict::kAdd;
  // The record of the data set it replaced, or the one it is a duplicate of
  // when skipped (from 1); 0 when it was added.
  std::size_t existing = 0;
  // That record's stamp at that moment, as stored.
  std::array<char, 19> existing_stamp{};
  // The incoming record's names as the result list gives them
  // ("First Last / Org").
  std::string name;
};

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
  // count backwards from `now`. With `write_ahead` the added records are
  // written ahead (DataSetMerge::WriteAddedAhead).
  static Result<RecordImport> Open(const AppState& target, DuplicateRules rules,
                                   const LocalDateTime& now, bool write_ahead = false);
  // An import into no data set; Open() makes a real one.
  RecordImport() = default;

  // Makes room for `records` more incoming records, so that taking them
  // does not grow the stamp table and the decisions on the way.
  void Reserve(std::size_t records);

  // Decides and applies one incoming record of `kind` (RecordLengthOf bytes).
  // The decision is the last of decisions(), valid until the next record.
  const ImportDecision& Take(ImportKind kind, std::string_view incoming);
  // Decides and applies one stored record made from another format (a
  // vCard): its own stamp is ignored and it is written under a fresh one;
  // `dated_as` (a stamp, or empty when the record has no date) is the date
  // "If they are older" compares. Unless `privacy_given`, a record it
  // replaces keeps being public or personal.
  const ImportDecision& TakeNew(std::string_view record, std::string_view dated_as,
                                bool privacy_given);

  // Every decision, in the order the records were taken.
  const std::vector<ImportDecision>& decisions() const { return decisions_; }
  // "add: NAME", "replace STAMP: NAME" or "skip (duplicate of STAMP): NAME",
  // the stamp trimmed, the name as the result list gives it.
  static std::string DecisionText(const ImportDecision& decision);

  // A line the report adds to its summary (see ImportReport::Note).
  void Note(std::string line) { report_.Note(std::move(line)); }

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
  // Writes record_ as `decision` says, under a fresh stamp or, unless
  // `fresh_stamp`, its own when that may stay.
  const ImportDecision& Apply(const DuplicateIndex::Decision& decision, bool fresh_stamp);
  void CollectKeywords(std::string_view record);

  DataSetMerge merge_;
  StampSet stamps_;
  LocalDateTime next_stamp_;  // where the next fresh stamp is looked for
  std::unique_ptr<DuplicateIndex> index_;
  ImportReport report_;
  std::size_t restamped_ = 0;
  std::string record_;  // the record in hand
  std::vector<ImportDecision> decisions_;
};

}  // namespace tabrel
