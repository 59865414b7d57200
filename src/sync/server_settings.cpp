#include "sync/server_settings.h"

namespace tabrel {

void ServerSettings::Form_Load() {
  auto config = SyncConfig::Read(state_);
  if (!config.ok()) {
    // A file that cannot be read is replaced by what Save writes.
    Tell(config.status().description() + ".");
    view_.SetFields({});
    return;
  }
  const SyncConfig& c = config.value();
  ServerSettingsFields fields;
  fields.url = c.url;
  fields.user = c.user;
  fields.addressbook = c.addressbook;
  fields.source = c.secret_store               ? PasswordSource::kSecretStore
                  : c.password_command.empty() ? PasswordSource::kAsk
                                               : PasswordSource::kCommand;
  fields.password_command = c.password_command;
  fields.allow_plain_http = c.allow_plain_http;
  view_.SetFields(fields);
}

void ServerSettings::Save_Click() {
  const ServerSettingsFields fields = view_.Fields();
  SyncConfig config;
  config.url = fields.url;
  config.user = fields.user;
  config.addressbook = fields.addressbook;
  if (fields.source == PasswordSource::kCommand) config.password_command = fields.password_command;
  config.secret_store = fields.source == PasswordSource::kSecretStore;
  config.allow_plain_http = fields.allow_plain_http;
  if (config.url.empty()) return Tell("Give the address of the server.");
  if (Status s = config.CheckUrl(); !s.ok()) return Tell(s.description() + ".");
  if (fields.source == PasswordSource::kCommand && fields.password_command.empty()) {
    return Tell("Give the command whose output is the password, or choose to be asked.");
  }
  if (config.secret_store) {
    if (Status s = KeepPassword(fields); !s.ok()) return Tell(s.description() + ".");
  }
  if (Status s = config.Write(state_); !s.ok()) return Tell(s.description() + ".");
  view_.CloseWindow();
}

// A password given replaces the one kept; none given is fine only when one
// is kept already.
Status ServerSettings::KeepPassword(const ServerSettingsFields& fields) {
  if (!fields.password.empty()) return secrets_.Keep(fields.url, fields.user, fields.password);
  auto kept = secrets_.Lookup(fields.url, fields.user);
  if (!kept.ok()) return kept.status();
  if (kept.value().empty()) {
    return Status::Error(75, "Give the password to keep in the desktop's secret store");
  }
  return Status::Ok();
}

void ServerSettings::Tell(const std::string& text) {
  dialogs_.Show({text, "Server Settings", MessageIcon::kExclamation, MessageButtons::kOk, {}});
}

}  // namespace tabrel
