#pragma once

#include <string>
#include <vector>

#include "base/result.h"
#include "base/status.h"
#include "store/app_state.h"
#include "store/atomic_file.h"

namespace tabrel {

// keyword.dat of the current data set: one 14-byte entry per keyword, a
// leading "~" marking a personal keyword.

// The entries in file order, each 14 bytes as stored.
Result<std::vector<std::string>> ReadKeywords(const AppState& state);
// Replaces keyword.dat by `entries` (each cut or padded to 14) in one atomic
// rewrite.
Status WriteKeywords(const AppState& state, const std::vector<std::string>& entries);

// Sorts keyword.dat by the upper-cased, blank-padded entries compared by
// character code; equal entries keep their order. An already sorted file is
// left untouched.
Status SortKeywordFile(const AppState& state);

// `entries` (14-byte keyword entries) in the order SortKeywordFile gives.
std::vector<std::string> SortedKeywords(std::vector<std::string> entries);

// `entries` followed by each of `collected` (cut or padded to 14) that they
// do not hold yet, compared on all 14 bytes, skipping entries without a
// character from "!" to "}"; later entries are also compared with the ones
// just added. One hash lookup an entry, however long both lists are.
std::vector<std::string> MergeKeywords(std::vector<std::string> entries,
                                       const std::vector<std::string>& collected);

// Appends to keyword.dat every entry of keyword.tmp (program folder) that it
// does not hold yet, as MergeKeywords does. keyword.tmp is left as it is;
// keyword.dat is not sorted.
Status MergeKeywordFile(const AppState& state);

// Adds `keyword` (cut to 14) as the last entry.
Status AppendKeyword(const AppState& state, const std::string& keyword);

// A keyword rename or delete as one change to the data set: each file it
// touches is written and flushed before either replaces its old file, and
// Commit replaces them together (GroupCommit), so keyword.dat and tabrel.dat
// never disagree about a keyword, even after a failure. A file with nothing
// to change is not written. Nothing is replaced before Commit; a change
// destroyed uncommitted leaves both files as they were.
class KeywordChange {
 public:
  explicit KeywordChange(const AppState& state);

  // Renames the keyword whose trimmed text is `old_name` to `new_name` (both
  // trimmed, compared case-sensitively): in keyword.dat, where a name already
  // held is never held twice afterwards, and in every KW1, KW2 and KW3 slot
  // of tabrel.dat.
  Status StageRename(const std::string& old_name, const std::string& new_name);
  // Drops from keyword.dat the entries whose trimmed text is `name`, and
  // every blank entry.
  Status StageDeleteEntry(const std::string& name);
  // Blanks every keyword slot of tabrel.dat whose trimmed text is `name`;
  // the other slots keep their places.
  Status StageRemoveFromRecords(const std::string& name);

  GroupCommit Commit();

 private:
  Status StageKeywords(const std::vector<std::string>& entries);
  template <typename Change>
  Status StageRecords(Change change);

  const AppState& state_;
  StagedRewrite keywords_;
  StagedRewrite records_;
  bool keywords_staged_ = false;
  bool records_staged_ = false;
};

// Each stages its change on a KeywordChange and commits it.
GroupCommit RenameKeyword(const AppState& state, const std::string& old_name,
                          const std::string& new_name);
Status DeleteKeywordEntry(const AppState& state, const std::string& name);
Status RemoveKeywordFromRecords(const AppState& state, const std::string& name);

inline constexpr const char* kKeywordMergeName = "keyword.tmp";

}  // namespace tabrel
