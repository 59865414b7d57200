#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/result.h"
#include "base/status.h"
#include "store/app_state.h"
#include "store/stamp_journal.h"

namespace tabrel {

inline constexpr const char* kSyncConfigName = kSyncSetupName;

// The server a data set syncs with, from carddav.ini beside tabrel.dat:
//
//   url = https://dav.example.org/        the server, a principal or the address book
//   user = anna
//   addressbook = contacts                 needed when the user has several
//   password-command = pass show dav/anna  run without a shell; its first line is the password
//   secret-store = yes                     or: the password is in the desktop's secret store
//   allow-plain-http = yes                 consent to send the password unencrypted
//
// With neither password-command nor secret-store the window asks for the
// password; the file never holds the password itself.
struct SyncConfig {
  std::string url;
  std::string user;
  std::string addressbook;
  std::string password_command;
  bool secret_store = false;
  bool allow_plain_http = false;

  bool configured() const { return !url.empty(); }

  // Reads carddav.ini of the data set of `state` (an empty configuration
  // when there is none). A file others may read is made readable by its
  // owner alone first.
  static Result<SyncConfig> Read(const AppState& state);
  static Result<SyncConfig> Parse(std::string_view text, const std::string& path);
  // Writes the file (mode 0600), keeping no password.
  Status Write(const AppState& state) const;
  std::string Serialise() const;

  // Refuses a URL that is not http(s), and plain http to a host other than
  // the loopback unless allowed.
  Status CheckUrl() const;
};

// Runs `command` (words split at blanks, "double" or 'single' quotes
// keeping blanks), without a shell, and yields the first line of what it
// writes: the password. Its error output goes to the terminal, never into
// a message.
Result<std::string> RunPasswordCommand(const std::string& command);
std::vector<std::string> SplitCommandWords(std::string_view command);

}  // namespace tabrel
