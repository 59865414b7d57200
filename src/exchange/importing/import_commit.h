#pragma once

#include <functional>
#include <optional>

#include "platform/clock.h"
#include "platform/dialogs.h"
#include "present/main_list_host.h"
#include "store/app_state.h"
#include "store/data_set_merge.h"

namespace tabrel {

// The end every import of the menu shares once its records are decided and
// checked: the backup set offered right before anything is written (so that
// a refused file, a Cancel or a second press never costs the user the backup
// set that would undo an earlier import), the merge written by `commit`
// with the hourglass (`busy`) showing, a failed write reported, and the
// keyword list refilled. Empty after a failed write.
std::optional<MergeOutcome> CommitImport(AppState& target,
                                         const std::function<MergeOutcome()>& commit,
                                         const std::function<void(bool)>& busy, Dialogs& dialogs,
                                         Clock& clock, MainListHost& host);

}  // namespace tabrel
