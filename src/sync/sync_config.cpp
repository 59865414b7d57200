#include "sync/sync_config.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

#include "base/text.h"
#include "store/atomic_file.h"
#include "store/file_reader.h"
#include "sync/http_client.h"

extern char** environ;

namespace tabrel {
namespace {

constexpr int kConfigError = 75;

Status ConfigError(const std::string& path, const std::string& what) {
  return Status::Error(kConfigError, path + ": " + what);
}

bool IsYes(const std::string& value) {
  return value == "yes" || value == "true" || value == "1";
}

}  // namespace

Result<SyncConfig> SyncConfig::Read(const AppState& state) {
  const std::string path = state.DataFile(kSyncConfigName);
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return SyncConfig{};
  if ((st.st_mode & 077) != 0 && ::chmod(path.c_str(), st.st_mode & 0700) != 0) {
    return Status::FromErrno(errno, path);
  }
  auto opened = FileReader::Open(path);
  if (!opened.ok()) return opened.status();
  auto all = opened.value().ReadRecords(1);
  if (!all.ok()) return all.status();
  return Parse(all.value(), path);
}

Result<SyncConfig> SyncConfig::Parse(std::string_view text, const std::string& path) {
  SyncConfig config;
  std::size_t number = 0;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    const std::string_view line = TrimView(text.substr(0, end));
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    ++number;
    if (line.empty() || line[0] == '#' || line[0] == ';' || line[0] == '[') continue;
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) {
      return ConfigError(path, "line " + std::to_string(number) + " is not \"key = value\"");
    }
    const std::string_view key = TrimView(line.substr(0, equals));
    const std::string value(TrimView(line.substr(equals + 1)));
    if (key == "url") {
      config.url = value;
    } else if (key == "user") {
      config.user = value;
    } else if (key == "addressbook") {
      config.addressbook = value;
    } else if (key == "password-command") {
      config.password_command = value;
    } else if (key == "secret-store") {
      config.secret_store = IsYes(value);
    } else if (key == "allow-plain-http") {
      config.allow_plain_http = IsYes(value);
    } else if (key == "password") {
      return ConfigError(path,
                         "a password does not belong in this file: name a password-command or "
                         "secret-store = yes");
    } else {
      return ConfigError(path, "line " + std::to_string(number) + " has an unknown key \"" +
                                   std::string(key) + "\"");
    }
  }
  if (config.secret_store && !config.password_command.empty()) {
    return ConfigError(path, "name a password-command or secret-store = yes, not both");
  }
  return config;
}

std::string SyncConfig::Serialise() const {
  std::string out = "# The address-book server this data set syncs with (tabrel-cli sync).\n";
  out += "url = " + url + "\n";
  if (!user.empty()) out += "user = " + user + "\n";
  if (!addressbook.empty()) out += "addressbook = " + addressbook + "\n";
  if (!password_command.empty()) out += "password-command = " + password_command + "\n";
  if (secret_store) out += "secret-store = yes\n";
  if (allow_plain_http) out += "allow-plain-http = yes\n";
  return out;
}

Status SyncConfig::Write(const AppState& state) const {
  const std::string path = state.DataFile(kSyncConfigName);
  if (::access(path.c_str(), F_OK) != 0) {
    // Created private, so the rewrite keeps that mode.
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) return Status::FromErrno(errno, path);
    ::close(fd);
  }
  if (::chmod(path.c_str(), 0600) != 0) return Status::FromErrno(errno, path);
  return AtomicRewrite(path, Serialise(), state.write_fault);
}

Status SyncConfig::CheckUrl() const {
  auto parts = SplitUrl(url);
  if (!parts.ok()) return parts.status();
  if (parts.value().scheme == "http" && !IsLoopbackHost(parts.value().host) && !allow_plain_http) {
    return Status::Error(kConfigError,
                         "The server " + parts.value().host +
                             " is reached by plain http, so the password would travel "
                             "readable: use https, or allow plain http in the settings");
  }
  return Status::Ok();
}

std::vector<std::string> SplitCommandWords(std::string_view command) {
  std::vector<std::string> words;
  std::string word;
  bool in_word = false;
  char quote = 0;
  for (const char c : command) {
    if (quote != 0) {
      if (c == quote) {
        quote = 0;
      } else {
        word += c;
      }
    } else if (c == '"' || c == '\'') {
      quote = c;
      in_word = true;
    } else if (c == ' ' || c == '\t') {
      if (in_word) words.push_back(std::move(word));
      word.clear();
      in_word = false;
    } else {
      word += c;
      in_word = true;
    }
  }
  if (in_word) words.push_back(std::move(word));
  return words;
}

Result<std::string> RunPasswordCommand(const std::string& command) {
  const std::vector<std::string> words = SplitCommandWords(command);
  if (words.empty()) return Status::Error(kConfigError, "The password command is empty");
  std::vector<char*> argv;
  for (const std::string& w : words) argv.push_back(const_cast<char*>(w.c_str()));
  argv.push_back(nullptr);
  int out[2];
  if (::pipe2(out, O_CLOEXEC) != 0) return Status::FromErrno(errno, "the password command");
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], 1);
  pid_t pid = 0;
  const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(out[1]);
  if (spawned != 0) {
    ::close(out[0]);
    return Status::Error(kConfigError,
                         "The password command \"" + words[0] + "\" could not be started");
  }
  std::string output;
  char buffer[4096];
  for (ssize_t n; (n = ::read(out[0], buffer, sizeof buffer)) != 0;) {
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 || output.size() > 65536) break;
    output.append(buffer, static_cast<std::size_t>(n));
  }
  ::close(out[0]);
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    return Status::Error(kConfigError, "The password command \"" + words[0] + "\" failed");
  }
  const std::size_t end = output.find_first_of("\r\n");
  if (end != std::string::npos) output.resize(end);
  if (output.empty()) {
    return Status::Error(kConfigError,
                         "The password command \"" + words[0] + "\" gave no password");
  }
  return output;
}

}  // namespace tabrel
