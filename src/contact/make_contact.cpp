#include "contact/make_contact.h"

#include "base/codec.h"
#include "base/text.h"
#include "contact/contact_urls.h"
#include "contact/dial_string.h"
#include "contact/hand_off.h"
#include "present/disk_error.h"
#include "store/data_set.h"

namespace tabrel {

MakeContact::MakeContact(AppState& state, ContactHost& host, Dialogs& dialogs, Shell& shell,
                         SerialPort& serial)
    : state_(state),
      host_(host),
      dialogs_(dialogs),
      shell_(shell),
      dialler_(state, dialogs, serial, [&host](bool waiting) { host.SetModemWait(waiting); }) {}

void MakeContact::ShowNothingToDo(const std::string& text) {
  dialogs_.Show({text, "Nothing to do!", MessageIcon::kExclamation, MessageButtons::kOk, {}});
}

bool MakeContact::TakeCurrentRecord(bool leave_column) {
  const std::optional<std::string> stamp = host_.CurrentRowStamp();
  if (!stamp) {
    ShowNothingToDo("Choose a record in the list first.");
    return false;
  }
  if (leave_column) host_.LeaveStampColumn();
  state_.editor_record.Modified = *stamp;
  const Result<bool> found = LoadRecordByStamp(state_);
  if (!found.ok()) {
    ReportDiskError(dialogs_, found.status());
    return false;
  }
  if (!found.value()) {
    // The editor's copy still holds whoever was loaded before: never them.
    ShowNothingToDo(
        "This record is no longer in the data set; it may have been deleted or changed "
        "elsewhere. Press F4 to list the records again.");
    return false;
  }
  return true;
}

void MakeContact::Dial(std::string ContactRecord::*field, const char* empty_message) {
  if (dialler_.RefuseWhileDialling()) return;
  if (!TakeCurrentRecord(false)) return;
  const std::string digits = DialDigits(state_.editor_record.*field);
  if (digits.empty()) {
    // Nothing dialable: "n/a" must not take the line off-hook.
    ShowNothingToDo(empty_message);
    return;
  }
  const DialOutcome outcome = dialler_.DialNumber(digits);
  if (outcome == DialOutcome::kDeclined || outcome == DialOutcome::kCalled) {
    host_.LeaveStampColumn();
  }
}

void MakeContact::mu_DialPhone_Click() {
  Dial(&ContactRecord::Phone, "Record has no phone number");
}
void MakeContact::mu_DialFax_Click() {
  Dial(&ContactRecord::Fax, "Record has no fax number");
}
void MakeContact::mu_DialCellular_Click() {
  Dial(&ContactRecord::Cellular, "Record has no cellular number");
}
void MakeContact::mu_DialPager_Click() {
  Dial(&ContactRecord::Beeper, "Record has no pager number");
}

void MakeContact::mu_CallWithPhoneProgram_Click() {
  if (!TakeCurrentRecord(true)) return;
  const std::string number = DecodeCp1252(Trim(state_.editor_record.Phone));
  const std::string url = TelUrl(number);
  if (url.empty()) {
    ShowNothingToDo("Record has no phone number");
    return;
  }
  if (dialogs_.Show({"Call " + number + " with your phone program?",
                     "Ready to dial number!",
                     MessageIcon::kQuestion,
                     MessageButtons::kYesNo,
                     {}}) != MessageAnswer::kYes) {
    return;
  }
  HandOff(shell_, dialogs_,
          {"", "phone program", number, url,
           "Install a phone program that takes tel: links, or dial with the modem."});
}

void MakeContact::mu_sendEmail_Click() {
  if (!TakeCurrentRecord(true)) return;
  const ContactRecord& record = state_.editor_record;
  if (IsBlank(record.EMail)) {
    ShowNothingToDo("Record has no email address");
    return;
  }
  const std::string address = MailAddress(record, state_.settings.MailFormat == "1");
  const std::string email = DecodeCp1252(Trim(record.EMail));
  if (LooksLikeOption(email) || LooksLikeOption(address)) {
    ShowRefusal(dialogs_,
                OptionRefusal("e-mail address", LooksLikeOption(email) ? email : address));
    return;
  }
  if (dialogs_.Show({"Compose message to: \r\n" + address,
                     "Send Email!",
                     MessageIcon::kQuestion,
                     MessageButtons::kYesNo,
                     {}}) != MessageAnswer::kYes) {
    return;
  }
  HandOff(shell_, dialogs_,
          {state_.settings.Mailer, "e-mail program", address, MailtoUrl(address),
           "Name an e-mail program in Settings."});
}

void MakeContact::mu_webBrowse_Click() {
  if (!TakeCurrentRecord(true)) return;
  if (IsBlank(state_.editor_record.Web)) {
    ShowNothingToDo("Record has no web address");
    return;
  }
  const std::string web = DecodeCp1252(Trim(state_.editor_record.Web));
  const std::optional<HandOffRequest> request = WebHandOff(dialogs_, state_.settings.Browser, web);
  if (!request) return;
  if (dialogs_.Show({"Go to " + web + " ?",
                     "Visit Website!",
                     MessageIcon::kQuestion,
                     MessageButtons::kYesNo,
                     {}}) != MessageAnswer::kYes) {
    return;
  }
  HandOff(shell_, dialogs_, *request);
}

}  // namespace tabrel
