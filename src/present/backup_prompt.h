#pragma once

#include "platform/clock.h"
#include "platform/dialogs.h"
#include "store/app_state.h"
#include "store/atomic_file.h"

namespace tabrel {

// Asks when a backup set exists, then copies the live set over it. Yields
// true when a new set was made; failures have been reported to the user.
bool MakeBackup(AppState& state, Dialogs& dialogs, Clock& clock);

// Asks, then copies the backup set over the live files. Yields true when the
// data was restored; failures have been reported to the user.
bool RestoreBackup(AppState& state, Dialogs& dialogs, Clock& clock);

}  // namespace tabrel
