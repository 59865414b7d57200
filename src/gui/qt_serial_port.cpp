#include "gui/qt_serial_port.h"

#include <QSerialPortInfo>
#include <QTimer>
#include <algorithm>
#include <cstdlib>

namespace tabrel::gui {
namespace {

// The program's error numbers for what can go wrong on the line.
int ErrorNumber(QSerialPort::SerialPortError error) {
  switch (error) {
    case QSerialPort::DeviceNotFoundError:
      return error_number::kFileNotFound;
    case QSerialPort::PermissionError:
      return error_number::kPermissionDenied;
    default:
      return error_number::kDeviceIo;
  }
}

}  // namespace

std::optional<std::string> ModemDeviceFromEnvironment() {
  const char* value = std::getenv(kModemDeviceVariable);
  if (value == nullptr || *value == '\0') return std::nullopt;
  return std::string(value);
}

QtSerialPort::QtSerialPort(std::optional<std::string> device) : device_(std::move(device)) {}

QtSerialPort::~QtSerialPort() {
  Close();
}

Status QtSerialPort::Open(int number) {
  Close();
  if (device_) {
    device_name_ = *device_;
  } else {
    QList<QSerialPortInfo> ports = QSerialPortInfo::availablePorts();
    std::sort(ports.begin(), ports.end(), [](const QSerialPortInfo& a, const QSerialPortInfo& b) {
      return a.systemLocation() < b.systemLocation();
    });
    if (number < 1 || number > ports.size()) {
      device_name_.clear();
      return Status::Error(
          error_number::kFileNotFound,
          "There is no serial port " + std::to_string(number) + " on this computer.");
    }
    device_name_ = ports[number - 1].systemLocation().toStdString();
  }
  port_.setPortName(QString::fromStdString(device_name_));
  port_.setBaudRate(QSerialPort::Baud9600);
  port_.setDataBits(QSerialPort::Data8);
  port_.setParity(QSerialPort::NoParity);
  port_.setStopBits(QSerialPort::OneStop);
  // RTS/CTS; Qt has no setting that adds XON/XOFF to it.
  port_.setFlowControl(QSerialPort::HardwareControl);
  if (!port_.open(QIODevice::ReadWrite)) {
    Status failed = LineError("Cannot open " + device_name_);
    if (port_.error() == QSerialPort::PermissionError &&
        port_.errorString().contains(QStringLiteral("denied"))) {
      failed = Status::Error(failed.number(),
                             failed.description() + " (is your user in the dialout group?)");
    }
    return failed;
  }
  port_.clear();
  return Status::Ok();
}

Status QtSerialPort::LineError(const std::string& what) const {
  return Status::Error(ErrorNumber(port_.error()), what + ": " + port_.errorString().toStdString());
}

Status QtSerialPort::Write(std::string_view bytes) {
  if (!port_.isOpen()) {
    return Status::Error(error_number::kDeviceIo, "The modem port is not open.");
  }
  const qint64 written = port_.write(bytes.data(), static_cast<qint64>(bytes.size()));
  if (written != static_cast<qint64>(bytes.size())) {
    return LineError("Cannot write to " + device_name_);
  }
  // A few bytes: they leave at once unless the line is stuck.
  port_.flush();
  if (port_.bytesToWrite() > 0 && !port_.waitForBytesWritten(1000)) {
    return LineError("Cannot write to " + device_name_);
  }
  return Status::Ok();
}

Result<std::string> QtSerialPort::ReadUntil(const std::function<bool(std::string_view)>& done,
                                            std::chrono::milliseconds timeout) {
  std::string received;
  bool satisfied = false;
  const auto take = [&] {
    const QByteArray bytes = port_.readAll();
    received.append(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    satisfied = done(received);
  };
  take();
  if (satisfied) return received;

  QEventLoop loop;
  QTimer timer;
  timer.setSingleShot(true);
  timer.setTimerType(Qt::PreciseTimer);
  bool failed = false;
  QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
  QObject::connect(&port_, &QSerialPort::readyRead, &loop, [&] {
    take();
    if (satisfied) loop.quit();
  });
  QObject::connect(&port_, &QSerialPort::errorOccurred, &loop,
                   [&](QSerialPort::SerialPortError error) {
                     if (error == QSerialPort::NoError || error == QSerialPort::TimeoutError) {
                       return;
                     }
                     failed = true;
                     loop.quit();
                   });
  wait_ = &loop;
  timer.start(timeout);
  // Repaints go on; keys and clicks are held until the modem has answered.
  loop.exec(QEventLoop::ExcludeUserInputEvents);
  wait_ = nullptr;
  if (failed) return LineError("Lost the modem on " + device_name_);
  return received;
}

void QtSerialPort::Interrupt() {
  if (wait_) wait_->quit();
}

void QtSerialPort::Close() {
  if (port_.isOpen()) port_.close();
  port_.clearError();
}

}  // namespace tabrel::gui
