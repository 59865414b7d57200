#pragma once

#include <cstddef>
#include <functional>
#include <optional>

#include "platform/clock.h"
#include "platform/dialogs.h"
#include "present/main_list_host.h"
#include "store/app_state.h"
#include "store/data_set_merge.h"

namespace tabrel {

// The end of every import of the windows once its records are decided:
// FinishImport with message boxes for its questions (`proceed` the one a
// format asks once the limit is checked), its refusals and a
// failed write told, and after a write the keyword list refilled and the
// main window's current record blanked. Yields the number of keywords added,
// or nothing when nothing was written (the user has been told why, unless
// he stopped it himself).
std::optional<std::size_t> CommitImport(AppState& target, const DataSetMerge& merge,
                                        const std::function<void(bool)>& busy, Dialogs& dialogs,
                                        Clock& clock, MainListHost& host,
                                        const std::function<bool()>& proceed = nullptr);

}  // namespace tabrel
