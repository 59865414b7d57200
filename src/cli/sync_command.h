#pragma once

#include "cli/cli_args.h"
#include "cli/commands.h"
#include "platform/clock.h"
#include "store/app_state.h"

namespace tabrel::cli {

// tabrel-cli sync [--dry-run] [--allow-mass-delete]: one two-way sync with
// the server carddav.ini names, holding the data set's lock; the report on
// stdout, a failure on stderr (exit 1).
int Sync(AppState& state, const Args& args, Environment& env, Clock& clock);

}  // namespace tabrel::cli
