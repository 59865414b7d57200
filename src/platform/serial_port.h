#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <string_view>

#include "base/result.h"
#include "base/status.h"

namespace tabrel {

// A serial port with a Hayes modem on it. The line is always 9600 baud,
// 8 data bits, no parity, 1 stop bit, RTS/CTS handshake. Bytes cross as
// they are, no translation. One port is open at a time.
class SerialPort {
 public:
  virtual ~SerialPort() = default;
  // Opens port `number` of this computer (1 for the first one). The
  // failure's description names the device ("Cannot open /dev/ttyS0:
  // Permission denied") or says that there is no such port.
  virtual Status Open(int number) = 0;
  // The device of the last Open, as the user should see it ("/dev/ttyS0");
  // empty before the first.
  virtual std::string DeviceName() const = 0;
  virtual bool IsOpen() const = 0;
  // Sends the bytes; they are on their way when this returns.
  virtual Status Write(std::string_view bytes) = 0;
  // Collects what the modem sends until `done` accepts everything collected
  // so far, `timeout` has passed on a monotonic clock, or Interrupt() is
  // called, and returns what was collected (which `done` may not accept).
  // The window keeps repainting meanwhile; keys and clicks wait until the
  // call returns. A failure of the line (the device went away) is an error.
  virtual Result<std::string> ReadUntil(const std::function<bool(std::string_view)>& done,
                                        std::chrono::milliseconds timeout) = 0;
  // Ends a ReadUntil in progress at once (the program is closing).
  virtual void Interrupt() = 0;
  // Closes the port if it is open.
  virtual void Close() = 0;
};

}  // namespace tabrel
