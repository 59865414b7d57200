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
// rewrite through keyword.$$$ in the data folder.
Status WriteKeywords(const AppState& state, const std::vector<std::string>& entries,
                     const RewriteFaultHook* fault = nullptr);

// Sorts keyword.dat by the upper-cased, blank-padded entries compared by
// character code; equal entries keep their order. An already sorted file is
// left untouched.
Status SortKeywordFile(const AppState& state, const RewriteFaultHook* fault = nullptr);

// `entries` (14-byte keyword entries) in the order SortKeywordFile gives.
std::vector<std::string> SortedKeywords(std::vector<std::string> entries);

// `entries` followed by each of `collected` (cut or padded to 14) that they
// do not hold yet, compared on all 14 bytes, skipping entries without a
// character from "!" to "}"; later entries are also compared with the ones
// just added. One hash lookup an entry, however long both lists are.
std::vector<std::string> MergeKeywords(std::vector<std::string> entries,
                                       const std::vector<std::string>& collected);

// Adds `keyword` (cut to 14) as the last entry.
Status AppendKeyword(const AppState& state, const std::string& keyword);

// Renames the keyword whose trimmed text is `old_name` to `new_name` (both
// trimmed, compared case-sensitively): in keyword.dat, where a name already
// held is never held twice afterwards, and in every KW1, KW2 and KW3 slot of
// tabrel.dat. Each file is rewritten atomically, and only when it changes.
Status RenameKeyword(const AppState& state, const std::string& old_name,
                     const std::string& new_name, const RewriteFaultHook* fault = nullptr);

// Drops from keyword.dat the entries whose trimmed text is `name`, and every
// blank entry.
Status DeleteKeywordEntry(const AppState& state, const std::string& name,
                          const RewriteFaultHook* fault = nullptr);

// Blanks every keyword slot of tabrel.dat whose trimmed text is `name`; the
// other slots keep their places.
Status RemoveKeywordFromRecords(const AppState& state, const std::string& name,
                                const RewriteFaultHook* fault = nullptr);

inline constexpr const char* kKeywordTempName = "keyword.$$$";

}  // namespace tabrel
