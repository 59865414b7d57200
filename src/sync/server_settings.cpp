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
  view_.SetFields({c.url, c.user, c.addressbook, c.password_command.empty(), c.password_command,
                   c.allow_plain_http});
}

void ServerSettings::Save_Click() {
  const ServerSettingsFields fields = view_.Fields();
  SyncConfig config;
  config.url = fields.url;
  config.user = fields.user;
  config.addressbook = fields.addressbook;
  config.password_command = fields.ask_password ? "" : fields.password_command;
  config.allow_plain_http = fields.allow_plain_http;
  if (config.url.empty()) return Tell("Give the address of the server.");
  if (Status s = config.CheckUrl(); !s.ok()) return Tell(s.description() + ".");
  if (!fields.ask_password && fields.password_command.empty()) {
    return Tell("Give the command whose output is the password, or choose to be asked.");
  }
  if (Status s = config.Write(state_); !s.ok()) return Tell(s.description() + ".");
  view_.CloseWindow();
}

void ServerSettings::Tell(const std::string& text) {
  dialogs_.Show({text, "Server Settings", MessageIcon::kExclamation, MessageButtons::kOk, {}});
}

}  // namespace tabrel
