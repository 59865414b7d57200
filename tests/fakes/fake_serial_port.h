#pragma once

#include <chrono>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/serial_port.h"

namespace tabrel::testing {

// A modem that answers from a script: after each Write, the chunks scripted
// for the command written (matched by its start, longest first) wait to be
// read. A wait takes whole chunks, as a line delivers bursts, until `done`
// accepts what it has; with chunks left over it has timed out. Records every
// byte written and every wait.
class FakeSerialPort : public SerialPort {
 public:
  Status Open(int number) override {
    opened_numbers.push_back(number);
    if (fail_open) return *fail_open;
    open = true;
    return Status::Ok();
  }
  std::string DeviceName() const override { return device; }
  bool IsOpen() const override { return open; }
  Status Write(std::string_view bytes) override {
    if (!open) return Status::Error(57, "The port is not open.");
    written += bytes;
    std::string command(bytes);
    std::size_t best = 0;
    pending.clear();
    for (const auto& [start, chunks] : replies) {
      if (command.starts_with(start) && start.size() >= best) {
        best = start.size();
        pending = chunks;
      }
    }
    return Status::Ok();
  }
  Result<std::string> ReadUntil(const std::function<bool(std::string_view)>& done,
                                std::chrono::milliseconds timeout) override {
    waits.push_back(timeout);
    if (during_wait) during_wait();
    if (fail_read) return *fail_read;
    std::string got;
    for (const std::string& chunk : pending) {
      if (done(got) || interrupted) break;
      got += chunk;
    }
    pending.clear();
    return got;
  }
  void Interrupt() override { interrupted = true; }
  void Close() override {
    if (open) ++closed;
    open = false;
  }

  std::string device = "/dev/ttyS0";
  std::map<std::string, std::vector<std::string>> replies = {
      {"ATV1Q0", {"ATV1Q0\r", "\r\nOK\r\n"}},
      // The echo, then silence while the line rings.
      {"ATDT", {"ATDT9555", "1234\r"}},
      {"ATH", {"ATH\r\r\nOK\r\n"}}};
  std::optional<Status> fail_open;
  std::optional<Status> fail_read;
  // Runs inside each wait, as the event loop would run other events.
  std::function<void()> during_wait;

  std::vector<int> opened_numbers;
  std::string written;
  std::vector<std::chrono::milliseconds> waits;
  bool open = false;
  bool interrupted = false;
  int closed = 0;

 private:
  std::vector<std::string> pending;
};

}  // namespace tabrel::testing
