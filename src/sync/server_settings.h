#pragma once

#include <string>

#include "platform/dialogs.h"
#include "store/app_state.h"
#include "sync/secret_store.h"
#include "sync/sync_config.h"

namespace tabrel {

enum class PasswordSource { kAsk, kCommand, kSecretStore };

// The fields of the server settings window. Texts are UTF-8.
struct ServerSettingsFields {
  std::string url;
  std::string user;
  std::string addressbook;
  PasswordSource source = PasswordSource::kAsk;
  std::string password_command;  // with kCommand
  std::string password;          // with kSecretStore: kept there by Save when given
  bool allow_plain_http = false;
};

class ServerSettingsView {
 public:
  virtual ~ServerSettingsView() = default;
  virtual void SetFields(const ServerSettingsFields& fields) = 0;
  virtual ServerSettingsFields Fields() const = 0;
  virtual void CloseWindow() = 0;
};

// "Server Settings...": the address book carddav.ini names, written by Save;
// a password given for the secret store goes there, never into the file.
class ServerSettings {
 public:
  ServerSettings(AppState& state, Dialogs& dialogs, SecretStore& secrets, ServerSettingsView& view)
      : state_(state), dialogs_(dialogs), secrets_(secrets), view_(view) {}

  // The window opened: the fields from carddav.ini.
  void Form_Load();
  // The user pressed Save.
  void Save_Click();
  // The user pressed Cancel.
  void Cancel_Click() { view_.CloseWindow(); }

 private:
  void Tell(const std::string& text);
  Status KeepPassword(const ServerSettingsFields& fields);

  AppState& state_;
  Dialogs& dialogs_;
  SecretStore& secrets_;
  ServerSettingsView& view_;
};

}  // namespace tabrel
