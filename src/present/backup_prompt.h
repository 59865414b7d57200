#pragma once

#include <string>

#include "base/status.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "store/app_state.h"
#include "store/atomic_file.h"

namespace tabrel {

// Asks when a backup set exists, then copies the live set over it. Yields
// true when a new set was made; failures have been reported to the user.
bool MakeBackup(AppState& state, Dialogs& dialogs, Clock& clock);

// What became of a backup set offered before an import.
struct BackupOffer {
  // kUnanswered: a command line gave no answer to the question, so nothing
  // may be written.
  enum class Outcome { kMade, kDeclined, kFailed, kUnanswered };
  Outcome outcome = Outcome::kDeclined;
  Status failure = Status::Ok();  // kFailed: why
  // kFailed: what it means for the files; `halfway` when the backup files
  // are no longer as they were.
  std::string consequence;
  bool halfway = false;
};
// As MakeBackup, but a failure is handed back rather than shown: the import
// asks whether to go on without it.
BackupOffer OfferBackup(AppState& state, Dialogs& dialogs, Clock& clock);

// Asks, then copies the backup set over the live files. Yields true when the
// data was restored; failures have been reported to the user.
bool RestoreBackup(AppState& state, Dialogs& dialogs, Clock& clock);

}  // namespace tabrel
