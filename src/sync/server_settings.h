#pragma once

#include <string>

#include "platform/dialogs.h"
#include "store/app_state.h"
#include "sync/sync_config.h"

namespace tabrel {

// The fields of the server settings window. Texts are UTF-8.
struct ServerSettingsFields {
  std::string url;
  std::string user;
  std::string addressbook;
  bool ask_password = true;      // "Ask for the password at each sync"
  std::string password_command;  // used when not asked
  bool allow_plain_http = false;
};

class ServerSettingsView {
 public:
  virtual ~ServerSettingsView() = default;
  virtual void SetFields(const ServerSettingsFields& fields) = 0;
  virtual ServerSettingsFields Fields() const = 0;
  virtual void CloseWindow() = 0;
};

// "Server Settings...": the address book carddav.ini names, written by Save.
class ServerSettings {
 public:
  ServerSettings(AppState& state, Dialogs& dialogs, ServerSettingsView& view)
      : state_(state), dialogs_(dialogs), view_(view) {}

  // The window opened: the fields from carddav.ini.
  void Form_Load();
  // The user pressed Save.
  void Save_Click();
  // The user pressed Cancel.
  void Cancel_Click() { view_.CloseWindow(); }

 private:
  void Tell(const std::string& text);

  AppState& state_;
  Dialogs& dialogs_;
  ServerSettingsView& view_;
};

}  // namespace tabrel
