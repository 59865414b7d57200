#pragma once

// A fake Hayes modem on the master side of a pseudo-terminal, for tests of
// the serial port layer: a program opens the slave side as its modem.
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>

namespace tabrel::testing {

class PtyModem {
 public:
  enum class Mode {
    kAnswer,  // echoes, answers "OK" to every command, `dial_reply` to ATD
    kSilent,  // reads and says nothing
    kVanish,  // goes away (closes its side) when the first command ends
  };

  // `dial_delay`: how long after its echo the answer to ATD comes, as a
  // modem listening for the dial tone answers late.
  explicit PtyModem(Mode mode, std::string dial_reply = {}, bool echo = true,
                    std::chrono::milliseconds dial_delay = {})
      : mode_(mode), dial_reply_(std::move(dial_reply)), echo_(echo), dial_delay_(dial_delay) {
    master_ = posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) return;
    device_ = ptsname(master_);
    // Raw from the start: the line discipline must neither echo the modem's
    // answers back to it nor turn CR into LF.
    const int slave = open(device_.c_str(), O_RDWR | O_NOCTTY);
    termios raw{};
    tcgetattr(slave, &raw);
    cfmakeraw(&raw);
    tcsetattr(slave, TCSANOW, &raw);
    close(slave);
    thread_ = std::thread([this] { Run(); });
  }
  ~PtyModem() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    if (master_ >= 0) close(master_);
  }
  PtyModem(const PtyModem&) = delete;
  PtyModem& operator=(const PtyModem&) = delete;

  // The slave side, e.g. /dev/pts/3; empty when no pty could be made.
  const std::string& device() const { return device_; }

  // Everything the program sent so far.
  std::string Received() const {
    std::lock_guard lock(mutex_);
    return received_;
  }
  // Waits up to two seconds for the program to have sent `bytes`.
  std::string ReceivedOnceAtLeast(std::size_t bytes) const {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (Received().size() < bytes && std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return Received();
  }

 private:
  void Run() {
    std::string line;
    while (!stop_) {
      pollfd poll_fd{master_, POLLIN, 0};
      if (poll(&poll_fd, 1, 20) <= 0 || !(poll_fd.revents & POLLIN)) continue;
      char buffer[256];
      const ssize_t n = read(master_, buffer, sizeof buffer);
      if (n <= 0) continue;
      {
        std::lock_guard lock(mutex_);
        received_.append(buffer, static_cast<std::size_t>(n));
      }
      std::string answer;
      for (ssize_t i = 0; i < n; ++i) {
        const char c = buffer[i];
        if (echo_) answer.push_back(c);
        if (c != '\r') {
          line.push_back(c);
          continue;
        }
        if (mode_ == Mode::kVanish) {
          close(master_);
          master_ = -1;
          return;
        }
        if (line.starts_with("ATD") && dial_delay_.count() > 0) {
          (void)write(master_, answer.data(), answer.size());
          answer = dial_reply_;
          std::this_thread::sleep_for(dial_delay_);
        } else if (line.starts_with("ATD")) {
          answer += dial_reply_;
        } else {
          answer += "\r\nOK\r\n";
        }
        line.clear();
      }
      // One write per burst, as a modem sends its echo and answer together.
      if (mode_ == Mode::kAnswer && !answer.empty()) {
        (void)write(master_, answer.data(), answer.size());
      }
    }
  }

  Mode mode_;
  std::string dial_reply_;
  bool echo_;
  std::chrono::milliseconds dial_delay_;
  int master_ = -1;
  std::string device_;
  std::thread thread_;
  std::atomic<bool> stop_{false};
  mutable std::mutex mutex_;
  std::string received_;
};

}  // namespace tabrel::testing
