#include "contact/modem_dialler.h"

#include <cmath>
#include <utility>

#include "base/basic_number.h"
#include "base/codec.h"
#include "base/text.h"
#include "contact/dial_string.h"
#include "store/data_set.h"

namespace tabrel {
namespace {

constexpr std::string_view kModemTitle = "Unable to use modem!";
bool HasOk(std::string_view reply) {
  return reply.find("OK\r\n") != std::string_view::npos;
}

// Calls `line` with each line of `reply` that has its end (CR or LF), trimmed,
// until it returns true; a line still arriving is not yet one.
template <typename Line>
bool AnyWholeLine(std::string_view reply, Line line) {
  std::size_t start = 0;
  for (std::size_t end = reply.find_first_of("\r\n"); end != std::string_view::npos;
       end = reply.find_first_of("\r\n", start)) {
    if (line(TrimView(reply.substr(start, end - start)))) return true;
    start = end + 1;
  }
  return false;
}

// A whole result line after the dial command: the echo of the command and
// anything before the answer are passed over.
bool HasDialResult(std::string_view reply) {
  return AnyWholeLine(reply, [](std::string_view line) {
    return line == "OK" || line.starts_with("CONNECT") || !FinalResultCode(line).empty();
  });
}

int PortNumber(const std::string& setting) {
  const double value = BasicVal(Trim(setting));
  if (!std::isfinite(value) || value < 0 || value > 99) return 0;
  return static_cast<int>(value);
}

}  // namespace

std::string_view FinalResultCode(std::string_view reply) {
  static constexpr std::string_view kCodes[] = {"NO DIALTONE", "BUSY", "NO CARRIER", "NO ANSWER",
                                                "ERROR"};
  std::string_view found;
  // The last line may lack its end when the wait ran out.
  const std::string reply_ended = std::string(reply) + "\r";
  AnyWholeLine(reply_ended, [&found](std::string_view line) {
    for (std::string_view code : kCodes) {
      if (line == code) found = code;
    }
    return !found.empty();
  });
  return found;
}

ModemDialler::ModemDialler(AppState& state, Dialogs& dialogs, SerialPort& port,
                           std::function<void(bool)> busy)
    : state_(state), dialogs_(dialogs), port_(port), busy_(std::move(busy)) {}

void ModemDialler::Interrupt() {
  if (!dialling_) return;
  interrupted_ = true;
  port_.Interrupt();
}

bool ModemDialler::RefuseWhileDialling() {
  if (!dialling_) return false;
  dialogs_.Show({"Tabrel is still talking to the modem. Wait until that call is finished.",
                 "Nothing to do!",
                 MessageIcon::kExclamation,
                 MessageButtons::kOk,
                 {}});
  return true;
}

DialOutcome ModemDialler::DialNumber(const std::string& digits) {
  if (RefuseWhileDialling()) return DialOutcome::kRefused;
  dialling_ = true;
  interrupted_ = false;
  // The settings dialog may have saved other settings since start-up.
  DialOutcome outcome = DialOutcome::kFailed;
  if (auto settings = ReadSettingsFile(state_.program_folder); !settings.ok()) {
    outcome = FailWith(settings.status());
  } else {
    state_.settings = std::move(settings.value());
    const SettingsRecord& s = state_.settings;
    outcome =
        Talk(BuildDialString(digits, Trim(s.AreaCode), Trim(s.LongDistanceCode), Trim(s.PbxCode)));
  }
  dialling_ = false;
  return outcome;
}

DialOutcome ModemDialler::Talk(const std::string& dial) {
  if (dialogs_.Show({"Call " + DecodeCp1252(dial) + " ?",
                     "Ready to dial number!",
                     MessageIcon::kQuestion,
                     MessageButtons::kYesNo,
                     {}}) != MessageAnswer::kYes) {
    return DialOutcome::kDeclined;
  }
  const int number = PortNumber(state_.settings.CommPort);
  if (Status opened = port_.Open(number); !opened.ok()) return FailWith(opened);

  if (Status sent = port_.Write("ATV1Q0\r"); !sent.ok()) return FailWith(sent);
  busy_(true);
  Result<std::string> check = port_.ReadUntil(HasOk, timeouts_.check);
  busy_(false);
  if (interrupted_) {
    port_.Close();
    return DialOutcome::kInterrupted;
  }
  if (!check.ok()) return FailWith(check.status());
  if (!HasOk(check.value())) {
    return Fail("Tabrel reports five-second time-out error\r\n\r\nThe modem port is " +
                port_.DeviceName() + ".");
  }

  if (Status sent = port_.Write("ATDT" + dial + "\r"); !sent.ok()) return FailWith(sent);
  busy_(true);
  Result<std::string> dialled = port_.ReadUntil(HasDialResult, timeouts_.dial);
  busy_(false);
  if (interrupted_) {
    (void)port_.Write("ATH\r");
    port_.Close();
    return DialOutcome::kInterrupted;
  }
  if (!dialled.ok()) return FailWith(dialled.status());
  if (const std::string_view code = FinalResultCode(dialled.value()); !code.empty()) {
    (void)port_.Write("ATH\r");
    port_.Close();
    dialogs_.Show({"The modem on " + port_.DeviceName() + " answered " + std::string(code) +
                       ", so the call has been ended.",
                   std::string(kModemTitle),
                   MessageIcon::kExclamation,
                   MessageButtons::kOk,
                   {}});
    return DialOutcome::kFailed;
  }

  dialogs_.Show({"...then click when it rings...",
                 "Pick up the phone!",
                 MessageIcon::kNone,
                 MessageButtons::kOk,
                 {}});
  Status hung_up = port_.Write("ATH\r");
  port_.Close();
  if (!hung_up.ok()) return FailWith(hung_up);
  return DialOutcome::kCalled;
}

DialOutcome ModemDialler::FailWith(const Status& status) {
  return Fail("System reports error: " + std::to_string(status.number()) + " " +
              status.description());
}

DialOutcome ModemDialler::Fail(const std::string& detail) {
  port_.Close();
  dialogs_.Show({std::string(kModemNotResponding) + "\r\n\r\n" + detail,
                 std::string(kModemTitle),
                 MessageIcon::kExclamation,
                 MessageButtons::kOk,
                 {}});
  return DialOutcome::kFailed;
}

}  // namespace tabrel
