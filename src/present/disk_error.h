#pragma once

#include <string_view>

#include "base/status.h"
#include "platform/dialogs.h"

namespace tabrel {

inline constexpr std::string_view kDiskErrorTitle = "Disk access error!";

// Tells the user that a file could not be read or written: the error line
// ("Error 76: Path not found (...)"), then on a line of its own what that
// means for them ("Nothing was saved."), when given. Every window says it
// this way, under the same title and icon.
void ReportDiskError(Dialogs& dialogs, const Status& status, std::string_view consequence = {});

}  // namespace tabrel
