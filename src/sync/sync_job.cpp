#include "sync/sync_job.h"

#include <algorithm>

#include "sync/curl_http_client.h"
#include "sync/libsecret_store.h"

namespace tabrel {

Result<SyncReport> RunSyncJob(AppState& state, Clock& clock, const SyncOptions& options,
                              SyncObserver* observer, const AskPassword& ask,
                              SecretStore* secrets) {
  auto config = SyncConfig::Read(state);
  if (!config.ok()) return config.status();
  if (!config.value().configured()) {
    return Status::Error(75, "No server is set for this data set: give its address in " +
                                 state.DataFile(kSyncConfigName));
  }
  if (Status s = config.value().CheckUrl(); !s.ok()) return s;
  HttpCredentials credentials{config.value().user, {}};
  if (!config.value().password_command.empty()) {
    auto password = RunPasswordCommand(config.value().password_command);
    if (!password.ok()) return password.status();
    credentials.password = std::move(password.value());
  } else if (config.value().secret_store) {
    LibsecretStore desktop;
    auto password = (secrets ? *secrets : desktop).Lookup(config.value().url, credentials.user);
    if (!password.ok()) return password.status();
    if (password.value().empty()) {
      return Status::Error(75, "The desktop's secret store keeps no password for " +
                                   credentials.user + " on " + config.value().url +
                                   ": give it in Server Settings");
    }
    credentials.password = std::move(password.value());
  } else if (!credentials.user.empty()) {
    if (!ask) {
      return Status::Error(75, state.DataFile(kSyncConfigName) +
                                   " names no password-command, and nobody can be asked here");
    }
    auto password = ask(config.value());
    if (!password.ok()) return password.status();
    credentials.password = std::move(password.value());
  }
  auto origin = SplitUrl(config.value().url);
  if (!origin.ok()) return origin.status();
  CurlHttpClient http(origin.value().Origin(), std::move(credentials), kMaxServerAnswer);
  CarddavSync sync(state, http, config.value(), clock, observer);
  return sync.Run(options);
}

}  // namespace tabrel
