#pragma once

#include <functional>
#include <string>

#include "base/result.h"
#include "platform/clock.h"
#include "store/app_state.h"
#include "sync/carddav_sync.h"
#include "sync/secret_store.h"
#include "sync/sync_config.h"

namespace tabrel {

// Asks the user for the password of `config` (the window's "ask"); empty
// when nobody can be asked (the command line).
using AskPassword = std::function<Result<std::string>(const SyncConfig& config)>;

// A sync as both front ends run it: carddav.ini read, the password taken
// from its command, from `secrets` (the desktop's secret store when null)
// or asked, a libcurl client for the server's origin, then CarddavSync.
// The password lives only in memory.
Result<SyncReport> RunSyncJob(AppState& state, Clock& clock, const SyncOptions& options,
                              SyncObserver* observer, const AskPassword& ask,
                              SecretStore* secrets = nullptr);

// The largest answer a server may give: a batch of cards with photos.
inline constexpr std::size_t kMaxServerAnswer = 64u << 20;

}  // namespace tabrel
