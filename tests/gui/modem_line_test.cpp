// A real call between two software modems, run by scripts/modem_check.sh:
// TABREL_TEST_MODEM names the calling modem's device, TABREL_TEST_CALLED the
// called one's. The called modem must see the exact dial string. Skipped
// when the two are not set.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QSerialPort>
#include <QThread>
#include <cstdlib>

#include "contact/modem_dialler.h"
#include "fakes/temp_dir.h"
#include "gui/qt_serial_port.h"
#include "store/data_set.h"

namespace tabrel::gui {
namespace {

// Answers "Pick up the phone!" only once the called side has seen the call.
class RingingDialogs : public Dialogs {
 public:
  explicit RingingDialogs(QSerialPort& called) : called_(called) {}
  MessageAnswer Show(const Message& message) override {
    shown.push_back(message);
    if (message.title == "Pick up the phone!") {
      QElapsedTimer clock;
      clock.start();
      while (heard.find("NDID=") == std::string::npos && clock.elapsed() < 20000) {
        if (called_.waitForReadyRead(200)) heard += called_.readAll().toStdString();
      }
    }
    return message.buttons == MessageButtons::kYesNo ? MessageAnswer::kYes : MessageAnswer::kOk;
  }
  std::optional<std::string> Input(const std::string&, const std::string&,
                                   const std::string&) override {
    return std::nullopt;
  }

  std::vector<Message> shown;
  std::string heard;

 private:
  QSerialPort& called_;
};

TEST(ModemLineTest, TheCalledModemSeesTheExactDialString) {
  const char* calling = std::getenv("TABREL_TEST_MODEM");
  const char* called_device = std::getenv("TABREL_TEST_CALLED");
  if (calling == nullptr || called_device == nullptr) {
    GTEST_SKIP() << "TABREL_TEST_MODEM and TABREL_TEST_CALLED are not set; "
                    "scripts/modem_check.sh sets them";
  }
  QSerialPort called(QString::fromUtf8(called_device));
  ASSERT_TRUE(called.open(QIODevice::ReadWrite)) << called.errorString().toStdString();
  // Caller ID on, so that the called side reports the number dialled.
  called.write("ATE0V1Q0+VCID=1\r");
  called.waitForBytesWritten(1000);
  QThread::msleep(300);
  called.readAll();

  testing::TempDir program;
  SettingsRecord settings = DefaultSettings();
  settings.AreaCode = "555";
  settings.PbxCode = "9";
  ASSERT_TRUE(WriteSettingsFile(program.path(), settings).ok());
  AppState state(program.path());
  RingingDialogs dialogs(called);
  QtSerialPort port{std::string(calling)};
  ModemDialler dialler(state, dialogs, port, [](bool) {});

  EXPECT_EQ(dialler.DialNumber("5555551234"), DialOutcome::kCalled)
      << (dialogs.shown.empty() ? "" : dialogs.shown.back().text);
  EXPECT_NE(dialogs.heard.find("NDID=95551234"), std::string::npos) << dialogs.heard;
}

}  // namespace
}  // namespace tabrel::gui
