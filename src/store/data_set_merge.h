#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/result.h"
#include "base/status.h"
#include "store/app_state.h"
#include "store/atomic_file.h"
#include "store/file_reader.h"

namespace tabrel {

// How writing a merge ended: `written.left_new` names a file left with its
// new content when a failure could not be undone (see GroupCommit); when it
// is empty, a failure left both files as they were.
struct MergeOutcome {
  GroupCommit written;
  std::size_t keywords_added = 0;  // entries keyword.dat gained
  bool ok() const { return written.ok(); }
};

// A batch of changes to one data set (the records an import adds and
// replaces, and the keywords they bring), decided in memory against the
// files as they were when the merge was opened and written as one:
// tabrel.dat and keyword.dat are replaced as a pair, each once, or not at
// all. Nothing touches the files before Commit(): records written ahead go
// to its staged file only.
//
// Records are 1047-byte stored records, numbered from 1 in file order.
class DataSetMerge {
 public:
  // Reads tabrel.dat and keyword.dat of the data set `state` names (each
  // created empty when missing, as every open of a data set does). `state`
  // must outlive the merge.
  static Result<DataSetMerge> Open(const AppState& state);

  DataSetMerge() = default;
  DataSetMerge(DataSetMerge&&) = default;
  DataSetMerge& operator=(DataSetMerge&&) = default;

  // The whole records of tabrel.dat as opened, and their number.
  std::string_view records() const { return records_; }
  std::size_t count() const { return count_; }
  // Record `number` (1..count()) as it will be written. The view holds
  // until the next Replace().
  std::string_view Record(std::size_t number) const;

  // Record `number` is to hold `record` instead; a later call for the same
  // number wins.
  void Replace(std::size_t number, std::string_view record);
  // `record` is to follow the last record; added records keep their order.
  void Add(std::string_view record);
  // The same written in place: the bytes of the record to follow the last
  // (kRecordLength), for the caller to fill before the next call. Past the
  // limit of a data set the record is only counted, and this is scratch.
  std::span<char> AddInPlace();
  // Record `number` is to be left out of the file.
  void Remove(std::size_t number);
  // Before the first Add: the added records are to go to the staged
  // tabrel.dat as they come, a batch at a time, instead of being held in
  // memory, so that the writing overlaps the deciding and Commit's flush
  // finds little left to do. For a merge that is to be committed and
  // removes no record; nothing is written ahead while the data set may not
  // be written, and a failure to write ahead is what Commit reports.
  void WriteAddedAhead();
  // `rewrite` (staged, outliving the merge) is to be committed in the same
  // group commit as tabrel.dat and keyword.dat, after them: a sync's own
  // files change with the records or not at all.
  void CommitAlso(StagedRewrite& rewrite) { also_.push_back(&rewrite); }
  // A keyword (any width; blanks trimmed or not) that is to be listed.
  void CollectKeyword(std::string_view keyword);

  std::size_t added() const { return added_count_; }
  std::size_t replaced() const { return replaced_count_; }
  std::size_t removed() const { return removed_count_; }
  bool changed() const { return added() + replaced_count_ + removed_count_ + also_.size() > 0; }

  // Stamps the replaced records change are noted in the stamp journal
  // (store/stamp_journal.h) before anything is written.
  // error_number::kOverflow, naming the numbers, when the added records
  // would take the data set past layout::kMaxRecords.
  Status CheckLimit() const;

  // Checks that the data set may be written (CheckWritable) and the limit,
  // merges the collected keywords into the list (entries compared on all 14
  // bytes, as MergeKeywords does) and sorts it as SortKeywordFile does, then
  // writes what changed: both files staged and committed as one
  // (GroupCommit), or the one that changed. Writes nothing when nothing
  // changed. A trailing partial record of either file is kept after its
  // records. The state's write_fault fails chosen steps.
  MergeOutcome Commit() const;

 private:
  static constexpr std::size_t kRecordLength = 1047;

  Status NoteStampChanges() const;
  // Where the next added record goes.
  char* NextAddedSlot();
  void WriteBatchAhead();

  const AppState* state_ = nullptr;
  ReadBuffer contacts_;  // its memory stays put when the merge moves
  std::string_view records_;
  std::size_t count_ = 0;
  std::vector<std::string> keyword_entries_;
  // The replacements, one after the other, and where each record's stands:
  // 0 for a record not replaced, else its place in `replacements_` plus 1.
  // Room for every record is reserved at the first one, so none moves;
  // memory is taken only as it is written.
  ReadBuffer replacements_;
  char* replacement_data_ = nullptr;
  std::vector<std::uint32_t> replacement_of_;
  std::size_t replaced_count_ = 0;
  // The added records, as far as a data set could hold them; more are
  // counted only, and refused by CheckLimit().
  ReadBuffer added_;
  char* added_data_ = nullptr;
  std::size_t added_count_ = 0;
  std::string past_limit_;  // what AddInPlace gives past the limit
  std::vector<std::string> keywords_;
  std::vector<bool> removed_;
  std::size_t removed_count_ = 0;
  std::vector<StagedRewrite*> also_;
  // Added records written ahead (WriteAddedAhead): the staged tabrel.dat
  // holds the first `written` after the old records, and `batch` the
  // `in_batch` that follow.
  struct Ahead {
    static constexpr std::size_t kBatchRecords = 1024;
    StagedRewrite stage;
    std::unique_ptr<char[]> batch;
    std::size_t in_batch = 0;
    std::size_t written = 0;
    Status failed = Status::Ok();
  };
  std::unique_ptr<Ahead> ahead_;
};

}  // namespace tabrel
