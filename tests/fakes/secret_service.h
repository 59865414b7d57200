#pragma once

// A desktop secret store of its own for a test: a private session bus
// (dbus-daemon, nothing started on demand) with gnome-keyring-daemon on it,
// its keyring in a scratch folder and unlocked. Stopped with the object.
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "fakes/temp_dir.h"

namespace tabrel::testing {

class SecretService {
 public:
  ~SecretService() {
    for (pid_t pid : {keyring_, bus_}) {
      if (pid <= 0) continue;
      ::kill(pid, SIGTERM);
      ::waitpid(pid, nullptr, 0);
    }
  }

  static bool Installed() {
    return ::access("/usr/bin/dbus-daemon", X_OK) == 0 &&
           ::access("/usr/bin/gnome-keyring-daemon", X_OK) == 0;
  }

  // Starts both; `ready` is asked until it holds (the store answers).
  template <typename Ready>
  bool Start(Ready ready) {
    // The keyring's password comes on its standard input.
    dir_.Write("unlock", "keyring password");
    dir_.Write("bus.conf", "<busconfig><type>session</type><listen>unix:path=" + dir_.File("bus") +
                               "</listen><policy context=\"default\"><allow send_destination=\"*\" "
                               "eavesdrop=\"true\"/><allow eavesdrop=\"true\"/><allow own=\"*\"/>"
                               "</policy></busconfig>");
    bus_ = Spawn({"/usr/bin/dbus-daemon", "--nofork", "--config-file=" + dir_.File("bus.conf")});
    if (!WaitFor([&] { return ::access(dir_.File("bus").c_str(), F_OK) == 0; })) return false;
    keyring_ = Spawn(
        {"/usr/bin/gnome-keyring-daemon", "--foreground", "--unlock", "--components=secrets"});
    return keyring_ > 0 && WaitFor(ready);
  }

  // What a client needs in its environment to find the store.
  std::string Address() const { return "DBUS_SESSION_BUS_ADDRESS=unix:path=" + dir_.File("bus"); }

  // Runs `body` in a child on the store's bus, so this process keeps no
  // D-Bus connection that ends (and ends it) when the bus does.
  bool Run(const std::function<bool()>& body) const {
    const pid_t pid = ::fork();
    if (pid == 0) {
      ::putenv(::strdup(Address().c_str()));
      ::_exit(body() ? 0 : 1);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
  }

 private:
  pid_t Spawn(std::vector<std::string> words) {
    std::vector<char*> argv;
    for (auto& w : words) argv.push_back(w.data());
    argv.push_back(nullptr);
    std::vector<std::string> env = {Address(), "HOME=" + dir_.path(),
                                    "XDG_DATA_HOME=" + dir_.path() + "data",
                                    "XDG_RUNTIME_DIR=" + dir_.path()};
    std::vector<char*> envp;
    for (auto& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    const std::string in = dir_.File("unlock"), log = dir_.File("log");
    posix_spawn_file_actions_addopen(&actions, 0, in.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    pid_t pid = -1;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data()) != 0) pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    return pid;
  }

  template <typename Ready>
  static bool WaitFor(Ready ready) {
    for (int i = 0; i < 100; ++i) {
      if (ready()) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
  }

  TempDir dir_;
  pid_t bus_ = -1;
  pid_t keyring_ = -1;
};

}  // namespace tabrel::testing
