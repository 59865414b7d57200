#pragma once

#include <QEventLoop>
#include <QPointer>
#include <QSerialPort>
#include <optional>
#include <string>

#include "platform/serial_port.h"

namespace tabrel::gui {

// The environment variable that names the modem's device outright
// (TABREL_MODEM_DEVICE=/dev/ttyUSB1), for devices Qt does not list and for
// software modems on pseudo-terminals.
inline constexpr const char* kModemDeviceVariable = "TABREL_MODEM_DEVICE";
// Its value, or nothing when it is unset or empty.
std::optional<std::string> ModemDeviceFromEnvironment();

// The modem's serial port through QSerialPort. Port n is the n-th port Qt
// finds on this computer, in the order of the device paths; a device given
// to the constructor takes the place of every port number.
class QtSerialPort : public SerialPort {
 public:
  explicit QtSerialPort(std::optional<std::string> device = std::nullopt);
  ~QtSerialPort() override;

  Status Open(int number) override;
  std::string DeviceName() const override { return device_name_; }
  bool IsOpen() const override { return port_.isOpen(); }
  Status Write(std::string_view bytes) override;
  Result<std::string> ReadUntil(const std::function<bool(std::string_view)>& done,
                                std::chrono::milliseconds timeout) override;
  void Interrupt() override;
  void Close() override;

 private:
  Status LineError(const std::string& what) const;

  std::optional<std::string> device_;
  std::string device_name_;
  QSerialPort port_;
  QPointer<QEventLoop> wait_;
};

}  // namespace tabrel::gui
