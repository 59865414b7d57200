#pragma once

#include <string>

#include "platform/clock.h"
#include "platform/dialogs.h"
#include "store/app_state.h"
#include "store/atomic_file.h"
#include "store/result.h"

namespace tabrel {

inline constexpr const char* kContactBackupName = "tabrel.bak";
inline constexpr const char* kKeywordBackupName = "keyword.bak";

// The two texts that describe the live and the backup set of the current
// data folder. Counting opens each file, so a missing one is created empty.
struct BackupSummaries {
  std::string current;
  std::string backup;
  bool backup_empty = true;
};
Result<BackupSummaries> SummariseBackup(const AppState& state, Clock& clock);

// Asks when a backup set exists, then copies tabrel.dat and keyword.dat over
// tabrel.bak and keyword.bak. Both copies are written before either replaces
// its file, so a failure leaves the old backup set whole. Yields true when a
// new set was made; failures have been reported to the user.
bool MakeBackup(AppState& state, Dialogs& dialogs, Clock& clock,
                const RewriteFaultHook& fault = nullptr);

// Asks, then copies the backup set over the live files, both staged before
// either is replaced. The backup set stays as it was. Yields true when the
// data was restored.
bool RestoreBackup(AppState& state, Dialogs& dialogs, Clock& clock,
                   const RewriteFaultHook& fault = nullptr);

}  // namespace tabrel
