#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <string_view>

#include "platform/dialogs.h"
#include "platform/serial_port.h"
#include "store/app_state.h"

namespace tabrel {

inline constexpr std::string_view kModemNotResponding =
    "Modem is not responding. Make sure it is turned on, and that you have the correct port "
    "specified in Tabrel settings.";

// How long each wait for the modem may last. Tests shorten them; the
// program keeps five seconds for both.
struct ModemTimeouts {
  std::chrono::milliseconds check{5000};  // for "OK" after ATV1Q0
  std::chrono::milliseconds dial{5000};   // for a result line after ATDT
};

// How a call to DialNumber ended.
enum class DialOutcome {
  kRefused,      // another dial is still talking to the modem
  kDeclined,     // the user said No to "Call ... ?"
  kCalled,       // the user picked up; the modem has hung up its side
  kFailed,       // the user has been told what went wrong
  kInterrupted,  // the window closed during a wait; nothing shown
};

// The dialling routine: gets a call going through a Hayes modem and leaves
// the line to the user's handset.
//
// It re-reads tr30.ini into the program-wide settings, builds the dial
// string, asks, opens the port of the settings, checks the modem with
// "ATV1Q0" + CR (waiting for "OK" + CR LF), sends "ATDT" + dial string + CR,
// reads what comes back until a whole result line (OK, CONNECT, BUSY,
// NO DIALTONE, NO CARRIER, NO ANSWER, ERROR) has come after the echo or the
// wait ends, tells the user to pick up the phone and hangs up the modem's
// side with "ATH" + CR. A final result code ("BUSY", "NO DIALTONE", ...)
// ends the call with the modem's answer instead. The port is closed on
// every way out.
class ModemDialler {
 public:
  // `busy` shows or ends the hourglass pointer during the waits.
  ModemDialler(AppState& state, Dialogs& dialogs, SerialPort& port, std::function<void(bool)> busy);

  // `digits`: DialDigits of the field, at least one digit.
  DialOutcome DialNumber(const std::string& digits);
  // The window is closing: a wait in progress ends at once, the modem
  // hangs up if it dialled, and nothing more is shown.
  void Interrupt();

  // While a call is being dialled, says so and yields true.
  bool RefuseWhileDialling();
  void SetTimeouts(ModemTimeouts timeouts) { timeouts_ = timeouts; }

 private:
  DialOutcome Talk(const std::string& dial);
  // Closes the port and says what failed.
  DialOutcome Fail(const std::string& detail);
  DialOutcome FailWith(const Status& status);

  AppState& state_;
  Dialogs& dialogs_;
  SerialPort& port_;
  std::function<void(bool)> busy_;
  ModemTimeouts timeouts_;
  bool dialling_ = false;
  bool interrupted_ = false;
};

// The first final result code ("NO DIALTONE", "BUSY", "NO CARRIER",
// "NO ANSWER", "ERROR") that stands on a line of its own in `reply`, or
// empty.
std::string_view FinalResultCode(std::string_view reply);

}  // namespace tabrel
