#pragma once

// Starts a real CardDAV server (Radicale or Xandikos) on 127.0.0.1 on a
// free port, with its storage in a scratch folder and one test user, and
// stops it with the object.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "fakes/temp_dir.h"

extern char** environ;

namespace tabrel::testing {

enum class DavKind { kRadicale, kXandikos };

class DavServer {
 public:
  static constexpr const char* kUser = "test";
  static constexpr const char* kPassword = "s3cret pass";

  explicit DavServer(DavKind kind) : kind_(kind) {
    std::filesystem::create_directories(dir_.path() + "collections/collection-root/test/contacts");
  }
  ~DavServer() { Stop(); }
  DavServer(const DavServer&) = delete;
  DavServer& operator=(const DavServer&) = delete;

  static const char* Binary(DavKind kind) {
    return kind == DavKind::kRadicale ? "/usr/bin/radicale" : "/usr/bin/xandikos";
  }
  static bool Installed(DavKind kind) { return ::access(Binary(kind), X_OK) == 0; }
  static const char* Name(DavKind kind) {
    return kind == DavKind::kRadicale ? "Radicale" : "Xandikos";
  }

  // Starts the server and waits until it answers; false when it did not.
  bool Start() {
    port_ = FreePort();
    const std::string root = dir_.path();
    std::vector<std::string> words;
    if (kind_ == DavKind::kRadicale) {
      dir_.Write("collections/collection-root/test/contacts/.Radicale.props",
                 R"({"tag": "VADDRESSBOOK", "D:displayname": "contacts"})");
      dir_.Write("users", std::string(kUser) + ":" + kPassword + "\n");
      dir_.Write("config", "[server]\nhosts = 127.0.0.1:" + std::to_string(port_) +
                               "\n[auth]\ntype = htpasswd\nhtpasswd_filename = " + root +
                               "users\nhtpasswd_encryption = plain\n[storage]\n"
                               "filesystem_folder = " +
                               root +
                               "collections\n[rights]\ntype = owner_only\n"
                               "[logging]\nlevel = error\n");
      words = {Binary(kind_), "--config", root + "config"};
    } else {
      // Xandikos has no authentication of its own (it runs behind a proxy
      // that has); the credentials sent are ignored.
      words = {Binary(kind_), "-d",        root + "store", "--defaults",
               "-l",          "127.0.0.1", "-p",           std::to_string(port_)};
    }
    std::vector<char*> argv;
    for (auto& w : words) argv.push_back(w.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    const std::string log = root + "server.log";
    posix_spawn_file_actions_addopen(&actions, 1, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    const int spawned = posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) return false;
    for (int i = 0; i < 200; ++i) {
      if (Answers()) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
  }

  // Before Start: `n` cards written straight into the server's storage, as
  // if a phone had sent them (a PUT of a new card costs either server time
  // in proportion to the cards it holds). Xandikos keeps them in git.
  bool SeedCards(int n) {
    const bool xandikos = kind_ == DavKind::kXandikos;
    if (xandikos) {
      if (!Start()) return false;  // lays out its store
      Stop();
    }
    const std::string book = xandikos ? "store/user/contacts/addressbook/"
                                      : "collections/collection-root/test/contacts/";
    for (int i = 0; i < n; ++i) {
      const std::string id = "seed" + std::to_string(i);
      dir_.Write(book + id + ".vcf", "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:" + id + "\r\nN:Seed" +
                                         std::to_string(i) + ";Ann;;;\r\nFN:Ann Seed" +
                                         std::to_string(i) + "\r\nEMAIL:" + id +
                                         "@example.org\r\nTEL;TYPE=CELL:555-" + std::to_string(i) +
                                         "\r\nEND:VCARD\r\n");
    }
    if (!xandikos) return true;
    const std::string git = "git -C " + dir_.path() + book + " -c user.name=t -c user.email=t@t ";
    return std::system((git + "add . && " + git + "commit -qm seed").c_str()) == 0;
  }

  void Stop() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGTERM);
    int status = 0;
    ::waitpid(pid_, &status, 0);
    pid_ = -1;
  }

  std::string Origin() const { return "http://127.0.0.1:" + std::to_string(port_); }
  // The address-book collection.
  std::string BookUrl() const {
    return Origin() +
           (kind_ == DavKind::kRadicale ? "/test/contacts/" : "/user/contacts/addressbook/");
  }
  // What a user would type: the bare server.
  std::string ServerUrl() const { return Origin() + "/"; }

 private:
  static int FreePort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    socklen_t len = sizeof addr;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len);
    ::close(fd);
    return ntohs(addr.sin_port);
  }

  bool Answers() const {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<std::uint16_t>(port_));
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0;
    ::close(fd);
    return ok;
  }

  DavKind kind_;
  TempDir dir_;
  int port_ = 0;
  pid_t pid_ = -1;
};

}  // namespace tabrel::testing
