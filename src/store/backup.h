#pragma once

#include <cstddef>
#include <ctime>
#include <string>

#include "base/result.h"
#include "store/app_state.h"
#include "store/atomic_file.h"

namespace tabrel {

inline constexpr const char* kContactBackupName = "tabrel.bak";
inline constexpr const char* kKeywordBackupName = "keyword.bak";

// What one set of a data folder holds: its records, its keywords and when
// its contact file was last written.
struct BackupSetCounts {
  std::size_t records = 0;
  std::size_t keywords = 0;
  std::time_t modified = 0;
};

struct BackupSets {
  BackupSetCounts live;
  BackupSetCounts backup;
  bool backup_empty() const { return backup.records + backup.keywords == 0; }
};

// Counts the live and the backup set of the current data folder. Counting
// opens each file, so a missing one is created empty.
Result<BackupSets> CountBackupSets(const AppState& state);

// Copies tabrel.dat and keyword.dat over tabrel.bak and keyword.bak as one
// change (GroupCommit): both copies are written before either replaces its
// file, and a failed rename puts the first file back, so a failure leaves
// the old backup set whole unless the undo fails too (see left_new).
GroupCommit CopyLiveToBackup(const AppState& state);

// Copies the backup set over the live files in the same way. The backup set
// stays as it was.
GroupCommit CopyBackupToLive(const AppState& state);

}  // namespace tabrel
