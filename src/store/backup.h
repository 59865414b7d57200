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

// Copies tabrel.dat and keyword.dat over tabrel.bak and keyword.bak. Both
// copies are written before either replaces its file, so a failure leaves
// the old backup set whole.
Status CopyLiveToBackup(const AppState& state, const RewriteFaultHook& fault = nullptr);

// Copies the backup set over the live files, both staged before either is
// replaced. The backup set stays as it was.
Status CopyBackupToLive(const AppState& state, const RewriteFaultHook& fault = nullptr);

}  // namespace tabrel
