// The modem dialogue over the real QSerialPort layer, against a fake modem
// on a pseudo-terminal named through TABREL_MODEM_DEVICE.
#include "gui/qt_serial_port.h"

#include <gtest/gtest.h>

#include <QSerialPort>
#include <QSerialPortInfo>
#include <QTimer>
#include <chrono>
#include <cstdlib>

#include "contact/modem_dialler.h"
#include "fakes/fake_dialogs.h"
#include "fakes/temp_dir.h"
#include "gui/pty_modem.h"
#include "store/data_set.h"

namespace tabrel::gui {
namespace {

using namespace std::chrono_literals;
using testing::PtyModem;

class QtSerialPortTest : public ::testing::Test {
 protected:
  QtSerialPortTest() {
    SettingsRecord settings = DefaultSettings();
    settings.PbxCode = "9";
    EXPECT_TRUE(WriteSettingsFile(program.path(), settings).ok());
  }
  ~QtSerialPortTest() override { unsetenv(kModemDeviceVariable); }

  // A port on the fake modem's device, found the way the program finds it.
  std::unique_ptr<QtSerialPort> PortOn(const PtyModem& modem) {
    EXPECT_FALSE(modem.device().empty());
    setenv(kModemDeviceVariable, modem.device().c_str(), 1);
    return std::make_unique<QtSerialPort>(ModemDeviceFromEnvironment());
  }
  DialOutcome Dial(SerialPort& port, const std::string& digits,
                   ModemTimeouts timeouts = ModemTimeouts{}) {
    ModemDialler dialler(state, dialogs, port, [](bool) {});
    dialler.SetTimeouts(timeouts);
    return dialler.DialNumber(digits);
  }
  const Message& LastMessage() const { return dialogs.messages.back(); }

  testing::TempDir program;
  AppState state{program.path()};
  testing::FakeDialogs dialogs;
};

TEST_F(QtSerialPortTest, ADialSendsTheExactCommandsToTheModem) {
  PtyModem modem(PtyModem::Mode::kAnswer);
  auto port = PortOn(modem);
  EXPECT_EQ(Dial(*port, "5551234"), DialOutcome::kCalled);
  const std::string expected = "ATV1Q0\rATDT95551234\rATH\r";
  EXPECT_EQ(modem.ReceivedOnceAtLeast(expected.size()), expected);
  EXPECT_EQ(LastMessage().title, "Pick up the phone!");
  EXPECT_FALSE(port->IsOpen());
  EXPECT_EQ(port->DeviceName(), modem.device());
}

TEST_F(QtSerialPortTest, TheWaitAfterDiallingReadsPastTheEchoToAWholeResultLine) {
  // The echo "ATDT95551234" + CR alone is longer than a short read; the
  // answer comes later, or never.
  const struct {
    std::string reply;
    bool echo;
    const char* title;
    const char* answered;  // the result code named in the message, if any
  } kCases[] = {
      {"\r\nBUSY\r\n", true, "Unable to use modem!", "BUSY"},
      {"\r\nNO DIALTONE\r\n", true, "Unable to use modem!", "NO DIALTONE"},
      {"\r\nNO DIALTONE\r\n", false, "Unable to use modem!", "NO DIALTONE"},
      {"\r\nOK\r\n", true, "Pick up the phone!", nullptr},
      {"", false, "Pick up the phone!", nullptr},  // silence: the wait ends
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.reply);
    dialogs.messages.clear();
    PtyModem modem(PtyModem::Mode::kAnswer, c.reply, c.echo, 300ms);
    auto port = PortOn(modem);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(Dial(*port, "5551234", {5000ms, 1500ms}),
              c.answered ? DialOutcome::kFailed : DialOutcome::kCalled);
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_GE(waited, 295ms);
    // A whole line ends the wait before its time-out.
    if (!c.reply.empty()) EXPECT_LT(waited, 1400ms);
    EXPECT_EQ(LastMessage().title, c.title);
    if (c.answered) {
      EXPECT_EQ(LastMessage().text, "The modem on " + modem.device() + " answered " + c.answered +
                                        ", so the call has been ended.");
    }
    const std::string expected = "ATV1Q0\rATDT95551234\rATH\r";
    EXPECT_EQ(modem.ReceivedOnceAtLeast(expected.size()), expected);
    EXPECT_FALSE(port->IsOpen());
  }
}

TEST_F(QtSerialPortTest, InterruptEndsAWaitAtOnce) {
  PtyModem modem(PtyModem::Mode::kSilent);
  auto port = PortOn(modem);
  ASSERT_TRUE(port->Open(1).ok());
  QTimer::singleShot(50, [&] { port->Interrupt(); });
  const auto start = std::chrono::steady_clock::now();
  auto got = port->ReadUntil([](std::string_view) { return false; }, 5000ms);
  EXPECT_TRUE(got.ok());
  EXPECT_LT(std::chrono::steady_clock::now() - start, 2000ms);
}

}  // namespace
}  // namespace tabrel::gui
