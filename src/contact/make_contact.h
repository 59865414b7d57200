#pragma once

#include <optional>
#include <string>

#include "contact/modem_dialler.h"
#include "platform/dialogs.h"
#include "platform/serial_port.h"
#include "platform/shell.h"
#include "store/app_state.h"

namespace tabrel {

// What Make Contact needs of the main window.
class ContactHost {
 public:
  virtual ~ContactHost() = default;
  // Moves the record list's current cell to the ID column of its current
  // row and returns the stamp there; nothing when no data row is current.
  virtual std::optional<std::string> CurrentRowStamp() = 0;
  // Moves the record list's current cell back to its first column.
  virtual void LeaveStampColumn() = 0;
  // The hourglass pointer while the modem is waited for.
  virtual void SetModemWait(bool waiting) = 0;
};

// The "Make Contact" menu: dials one of the numbers of the record list's
// current row through the modem, or hands its phone number, e-mail address
// or web address to another program. The record is read afresh from
// tabrel.dat by the row's stamp into the editor's copy; a row whose record
// is gone does nothing but say so.
class MakeContact {
 public:
  MakeContact(AppState& state, ContactHost& host, Dialogs& dialogs, Shell& shell,
              SerialPort& serial);

  // "Dial Phone Number" (F7, toolbar "Phone <F7>").
  void mu_DialPhone_Click();
  // "Dial Fax Number".
  void mu_DialFax_Click();
  // "Dial Mobile Number".
  void mu_DialCellular_Click();
  // "Dial Pager Number".
  void mu_DialPager_Click();
  // "Call With Phone Program": the phone number as a tel: link to the desktop.
  void mu_CallWithPhoneProgram_Click();
  // "Send Email" (F8, toolbar "Email <F8>").
  void mu_sendEmail_Click();
  // "Visit Website" (F9, toolbar "Web <F9>").
  void mu_webBrowse_Click();
  // The main window closes: a wait for the modem ends at once.
  void Form_Unload() { dialler_.Interrupt(); }

 private:
  void Dial(std::string ContactRecord::*field, const char* empty_message);
  // Loads the current row's record; false after telling the user why not.
  bool TakeCurrentRecord(bool leave_column);
  void ShowNothingToDo(const std::string& text);

  AppState& state_;
  ContactHost& host_;
  Dialogs& dialogs_;
  Shell& shell_;
  ModemDialler dialler_;
};

}  // namespace tabrel
