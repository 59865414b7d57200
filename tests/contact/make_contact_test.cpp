// The Make Contact menu through the main window presenter: dialling against
// a scripted modem, and the hand-offs of phone, e-mail and web addresses.
#include "contact/make_contact.h"

#include <gtest/gtest.h>

#include "fakes/contact_files.h"
#include "fakes/main_window_harness.h"
#include "present/key_codes.h"
#include "present/record_list.h"
#include "store/data_set.h"

namespace tabrel {
namespace {

using namespace std::chrono_literals;
using testing::Contact;

constexpr char kNotResponding[] =
    "Modem is not responding. Make sure it is turned on, and that you have the correct port "
    "specified in Tabrel settings.\r\n\r\n";

class MakeContactTest : public ::testing::Test, public testing::MainWindowHarness {
 protected:
  MakeContactTest() {
    ann = Contact("1", "Baker", "Ann", "01-02-2003 10:00:00");
    ann.Phone = "(555) 123-4567";
    ann.Ext = "89";
    ann.Fax = "555-9999";
    ann.Cellular = "444 222 3333";
    ann.Beeper = "1-800-555-0199";
    ann.EMail = "ann@example.org";
    ann.Web = "www.example.org";
    bare = Contact("2", "Widget Company", "", "01-02-2003 10:00:01");
    testing::WriteContacts(dir, {ann, bare});
    SetSettings([](SettingsRecord& s) {
      s.AreaCode = "555";
      s.PbxCode = "9";
    });
    EXPECT_TRUE(LoadSettings(state).ok());
    Pop();
  }

  template <typename Change>
  void SetSettings(Change change) {
    SettingsRecord settings = DefaultSettings();
    change(settings);
    ASSERT_TRUE(WriteSettingsFile(state.program_folder, settings).ok());
  }
  void SelectRow(int row) {
    window.MainGrid().SetRow(row);
    window.MainGrid().SetCol(0);
  }
  std::vector<std::string> Titles() const {
    std::vector<std::string> titles;
    for (const Message& m : dialogs.messages) titles.push_back(m.title);
    return titles;
  }
  const Message& LastMessage() const { return dialogs.messages.back(); }

  ContactRecord ann;
  ContactRecord bare;
};

TEST_F(MakeContactTest, DialPhoneTalksToTheModemWithTheExactCommands) {
  window.MenuClicked(MenuId::mu_DialPhone);

  EXPECT_EQ(serial.written, "ATV1Q0\rATDT91234567\rATH\r");
  EXPECT_EQ(serial.opened_numbers, std::vector<int>{1});
  EXPECT_EQ(serial.waits, (std::vector<std::chrono::milliseconds>{5000ms, 5000ms}));
  ASSERT_EQ(dialogs.messages.size(), 2u);
  EXPECT_EQ(dialogs.messages[0].text, "Call 91234567 ?");
  EXPECT_EQ(dialogs.messages[0].title, "Ready to dial number!");
  EXPECT_EQ(dialogs.messages[0].icon, MessageIcon::kQuestion);
  EXPECT_EQ(dialogs.messages[0].buttons, MessageButtons::kYesNo);
  EXPECT_EQ(dialogs.messages[1].text, "...then click when it rings...");
  EXPECT_EQ(dialogs.messages[1].title, "Pick up the phone!");
  EXPECT_EQ(dialogs.messages[1].buttons, MessageButtons::kOk);
  EXPECT_FALSE(serial.open);
  EXPECT_EQ(serial.closed, 1);
  EXPECT_FALSE(view.busy);
  EXPECT_EQ(window.MainGrid().Col(), 0);
}

TEST_F(MakeContactTest, EachDialItemDialsItsOwnField) {
  const std::pair<MenuId, const char*> cases[] = {
      {MenuId::mu_DialPhone, "ATDT91234567\r"},
      {MenuId::mu_DialFax, "ATDT95559999\r"},
      {MenuId::mu_DialCellular, "ATDT914442223333\r"},
      {MenuId::mu_DialPager, "ATDT918005550199\r"},
  };
  for (const auto& [item, dialled] : cases) {
    SCOPED_TRACE(dialled);
    serial.written.clear();
    window.MenuClicked(item);
    EXPECT_EQ(serial.written, std::string("ATV1Q0\r") + dialled + "ATH\r");
  }
}

TEST_F(MakeContactTest, AnEmptyOrDigitlessFieldGivesItsOwnMessageAndLeavesTheLine) {
  const std::pair<MenuId, const char*> cases[] = {
      {MenuId::mu_DialPhone, "Record has no phone number"},
      {MenuId::mu_DialFax, "Record has no fax number"},
      {MenuId::mu_DialCellular, "Record has no cellular number"},
      {MenuId::mu_DialPager, "Record has no pager number"},
      {MenuId::mu_CallWithPhoneProgram, "Record has no phone number"},
      {MenuId::mu_sendEmail, "Record has no email address"},
      {MenuId::mu_webBrowse, "Record has no web address"},
  };
  ContactRecord odd = ann;
  odd.Phone = "n/a";
  odd.Fax = "unlisted";
  odd.Cellular = "";
  odd.Beeper = "--";
  odd.EMail = "";
  odd.Web = "   ";
  testing::WriteContacts(dir, {odd});
  Pop();
  for (const auto& [item, text] : cases) {
    SCOPED_TRACE(text);
    dialogs.messages.clear();
    window.MenuClicked(item);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(LastMessage().text, text);
    EXPECT_EQ(LastMessage().title, "Nothing to do!");
    EXPECT_EQ(LastMessage().icon, MessageIcon::kExclamation);
    // The dial items leave the list in its ID column; the others go back at once.
    const bool dial = item != MenuId::mu_CallWithPhoneProgram && item != MenuId::mu_sendEmail &&
                      item != MenuId::mu_webBrowse;
    EXPECT_EQ(window.MainGrid().Col(), dial ? kIdColumn : 0);
  }
  EXPECT_TRUE(serial.opened_numbers.empty());
  EXPECT_EQ(serial.written, "");
  EXPECT_TRUE(shell.urls.empty());
  EXPECT_TRUE(shell.started.empty());
}

TEST_F(MakeContactTest, NoAtTheQuestionDialsNothing) {
  dialogs.answers = {MessageAnswer::kNo};
  window.MenuClicked(MenuId::mu_DialPhone);
  EXPECT_TRUE(serial.opened_numbers.empty());
  EXPECT_EQ(serial.written, "");
  EXPECT_EQ(window.MainGrid().Col(), 0);
}

TEST_F(MakeContactTest, ASilentModemTimesOutAndThePortIsClosed) {
  serial.replies["ATV1Q0"] = {"ATV1Q0\r", "\r\nERR"};
  window.MenuClicked(MenuId::mu_DialPhone);
  EXPECT_EQ(serial.written, "ATV1Q0\r");
  EXPECT_EQ(serial.waits, std::vector<std::chrono::milliseconds>{5000ms});
  EXPECT_EQ(LastMessage().text, std::string(kNotResponding) +
                                    "Tabrel reports five-second time-out error\r\n\r\n"
                                    "The modem port is /dev/ttyS0.");
  EXPECT_EQ(LastMessage().title, "Unable to use modem!");
  EXPECT_EQ(LastMessage().icon, MessageIcon::kExclamation);
  EXPECT_FALSE(serial.open);
  EXPECT_FALSE(view.busy);
}

TEST_F(MakeContactTest, PortFailuresAreReportedWithTheirNumberAndText) {
  const Status cases[] = {
      Status::Error(53, "There is no serial port 3 on this computer."),
      Status::Error(70, "Cannot open /dev/ttyS0: Permission denied"),
      Status::Error(70, "Cannot open /dev/ttyUSB0: Permission error while locking the device"),
  };
  for (const Status& failure : cases) {
    SCOPED_TRACE(failure.description());
    serial.fail_open = failure;
    window.MenuClicked(MenuId::mu_DialPhone);
    EXPECT_EQ(LastMessage().text, std::string(kNotResponding) +
                                      "System reports error: " + std::to_string(failure.number()) +
                                      " " + failure.description());
    EXPECT_EQ(LastMessage().title, "Unable to use modem!");
  }
  EXPECT_EQ(serial.written, "");

  serial.fail_open.reset();
  serial.fail_read = Status::Error(57, "Lost the modem on /dev/ttyS0: Input/output error");
  window.MenuClicked(MenuId::mu_DialPhone);
  EXPECT_EQ(LastMessage().text, std::string(kNotResponding) +
                                    "System reports error: 57 Lost the modem on /dev/ttyS0: "
                                    "Input/output error");
  EXPECT_FALSE(serial.open);
}

TEST_F(MakeContactTest, TheCommPortSettingPicksThePort) {
  const std::pair<const char*, int> cases[] = {{"2", 2}, {"4", 4}, {"x", 0}, {"", 0}};
  for (const auto& [setting, number] : cases) {
    SCOPED_TRACE(setting);
    SetSettings([&](SettingsRecord& s) { s.CommPort = setting; });
    serial.opened_numbers.clear();
    window.MenuClicked(MenuId::mu_DialPhone);
    EXPECT_EQ(serial.opened_numbers, std::vector<int>{number});
  }
}

TEST_F(MakeContactTest, AFinalResultCodeAfterDiallingEndsTheCall) {
  for (const char* code : {"NO DIALTONE", "BUSY", "NO CARRIER", "NO ANSWER", "ERROR"}) {
    SCOPED_TRACE(code);
    serial.written.clear();
    dialogs.messages.clear();
    // Echo and result in one burst, as a modem without a dial tone answers.
    serial.replies["ATDT"] = {std::string("ATDT91234567\r\r\n") + code + "\r\n"};
    window.MenuClicked(MenuId::mu_DialPhone);
    EXPECT_EQ(serial.written, "ATV1Q0\rATDT91234567\rATH\r");
    EXPECT_EQ(Titles(),
              (std::vector<std::string>{"Ready to dial number!", "Unable to use modem!"}));
    EXPECT_EQ(LastMessage().text, std::string("The modem on /dev/ttyS0 answered ") + code +
                                      ", so the call has been ended.");
    EXPECT_FALSE(serial.open);
  }
}

TEST_F(MakeContactTest, AModemThatSaysLittleAfterDiallingStillRings) {
  serial.replies["ATDT"] = {"ATDT9"};
  window.MenuClicked(MenuId::mu_DialPhone);
  EXPECT_EQ(serial.waits.back(), 5000ms);
  EXPECT_EQ(LastMessage().title, "Pick up the phone!");
  EXPECT_EQ(serial.written, "ATV1Q0\rATDT91234567\rATH\r");
}

TEST_F(MakeContactTest, ARowWhoseRecordIsGoneContactsNobody) {
  // Someone else's record sits in the editor's copy from an earlier look.
  window.MainGrid_dblClick();
  ASSERT_EQ(Trim(state.editor_record.LastName), "Baker");
  testing::WriteContacts(dir, {bare});
  for (MenuId item : {MenuId::mu_DialPhone, MenuId::mu_CallWithPhoneProgram, MenuId::mu_sendEmail,
                      MenuId::mu_webBrowse}) {
    dialogs.messages.clear();
    window.MenuClicked(item);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(LastMessage().text,
              "This record is no longer in the data set; it may have been deleted or changed "
              "elsewhere. Press F4 to list the records again.");
    EXPECT_EQ(LastMessage().title, "Nothing to do!");
  }
  EXPECT_EQ(serial.written, "");
  EXPECT_TRUE(shell.urls.empty());
  EXPECT_TRUE(shell.started.empty());
}

TEST_F(MakeContactTest, AnEmptyListContactsNobody) {
  testing::WriteContacts(dir, {});
  Pop();
  for (MenuId item : {MenuId::mu_DialFax, MenuId::mu_sendEmail}) {
    dialogs.messages.clear();
    window.MenuClicked(item);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(LastMessage().text, "Choose a record in the list first.");
  }
  EXPECT_EQ(serial.written, "");
  EXPECT_TRUE(shell.urls.empty());
}

TEST_F(MakeContactTest, SettingsSavedBetweenTwoDialsApplyToTheSecond) {
  window.MenuClicked(MenuId::mu_DialPhone);
  SetSettings([](SettingsRecord& s) {
    s.CommPort = "2";
    s.AreaCode = "444";
    s.LongDistanceCode = "1010";
    s.PbxCode = "8";
  });
  serial.written.clear();
  window.MenuClicked(MenuId::mu_DialPhone);
  EXPECT_EQ(serial.written, "ATV1Q0\rATDT8110105551234567\rATH\r");
  EXPECT_EQ(serial.opened_numbers, (std::vector<int>{1, 2}));
  EXPECT_EQ(Trim(state.settings.PbxCode), "8");
}

TEST_F(MakeContactTest, ASecondDialDuringAWaitIsRefused) {
  serial.during_wait = [this] {
    serial.during_wait = nullptr;
    window.MenuClicked(MenuId::mu_DialFax);
    EXPECT_EQ(LastMessage().text,
              "Tabrel is still talking to the modem. Wait until that call is finished.");
  };
  window.MenuClicked(MenuId::mu_DialPhone);
  EXPECT_EQ(serial.written, "ATV1Q0\rATDT91234567\rATH\r");
  EXPECT_EQ(serial.opened_numbers, std::vector<int>{1});
  EXPECT_EQ(LastMessage().title, "Pick up the phone!");
}

TEST_F(MakeContactTest, ClosingTheWindowDuringAWaitEndsTheCallQuietly) {
  // During the modem check: the port closes, nothing is dialled or shown.
  serial.during_wait = [this] { window.Form_Unload(); };
  window.MenuClicked(MenuId::mu_DialPhone);
  EXPECT_EQ(serial.written, "ATV1Q0\r");
  EXPECT_EQ(Titles(), std::vector<std::string>{"Ready to dial number!"});
  EXPECT_FALSE(serial.open);

  // During the dial: the modem hangs up.
  serial.written.clear();
  dialogs.messages.clear();
  serial.interrupted = false;
  int waits = 0;
  serial.during_wait = [&] {
    if (++waits == 2) window.Form_Unload();
  };
  window.MenuClicked(MenuId::mu_DialPhone);
  EXPECT_EQ(serial.written, "ATV1Q0\rATDT91234567\rATH\r");
  EXPECT_EQ(Titles(), std::vector<std::string>{"Ready to dial number!"});
  EXPECT_FALSE(serial.open);
  EXPECT_FALSE(view.busy);
}

TEST_F(MakeContactTest, ToolbarAndViewPanelKeysDialTheRecordInSight) {
  window.tr_TB1_ButtonClick("MainTB_Phone");
  EXPECT_EQ(serial.written, "ATV1Q0\rATDT91234567\rATH\r");
  serial.written.clear();
  SelectRow(2);
  window.MainGrid_dblClick();
  ASSERT_TRUE(window.view_panel_visible());
  EXPECT_TRUE(window.Form_KeyDown(key::kF8, 0));
  EXPECT_EQ(LastMessage().text, "Record has no email address");
  EXPECT_TRUE(window.Form_KeyDown(key::kF7, 0));
  EXPECT_EQ(LastMessage().text, "Record has no phone number");
  EXPECT_EQ(serial.written, "");
}

struct MailCase {
  const char* mailer;
  const char* mail_format;
  const char* question;
  std::vector<std::string> argv;  // empty: the desktop
  const char* url;
};

TEST_F(MakeContactTest, SendEmailHandsTheAddressToTheProgramOrTheDesktop) {
  const MailCase cases[] = {
      {"", "0", "Compose message to: \r\nann@example.org", {}, "mailto:ann@example.org"},
      {"",
       "1",
       "Compose message to: \r\nAnn Baker <ann@example.org>",
       {},
       "mailto:Ann%20Baker%20%3Cann@example.org%3E"},
      {"mutt",
       "1",
       "Compose message to: \r\nAnn Baker <ann@example.org>",
       {"mutt", "Ann Baker <ann@example.org>"},
       ""},
      {"\"/opt/My Mail/mail\" -compose",
       "0",
       "Compose message to: \r\nann@example.org",
       {"/opt/My Mail/mail", "-compose", "ann@example.org"},
       ""},
  };
  for (const MailCase& c : cases) {
    SCOPED_TRACE(c.question);
    state.settings.Mailer = c.mailer;
    state.settings.MailFormat = c.mail_format;
    shell.urls.clear();
    shell.started.clear();
    window.MenuClicked(MenuId::mu_sendEmail);
    EXPECT_EQ(LastMessage().text, c.question);
    EXPECT_EQ(LastMessage().title, "Send Email!");
    EXPECT_EQ(LastMessage().buttons, MessageButtons::kYesNo);
    if (c.argv.empty()) {
      EXPECT_EQ(shell.urls, std::vector<std::string>{c.url});
      EXPECT_TRUE(shell.started.empty());
    } else {
      EXPECT_EQ(shell.started, std::vector<std::vector<std::string>>{c.argv});
      EXPECT_TRUE(shell.urls.empty());
    }
    EXPECT_EQ(window.MainGrid().Col(), 0);
  }
  dialogs.answers = {MessageAnswer::kNo};
  shell.urls.clear();
  state.settings.Mailer = "";
  window.MenuClicked(MenuId::mu_sendEmail);
  EXPECT_TRUE(shell.urls.empty());
}

TEST_F(MakeContactTest, VisitWebsiteHandsTheAddressToTheBrowserOrTheDesktop) {
  window.MenuClicked(MenuId::mu_webBrowse);
  EXPECT_EQ(LastMessage().text, "Go to www.example.org ?");
  EXPECT_EQ(LastMessage().title, "Visit Website!");
  EXPECT_EQ(shell.urls, std::vector<std::string>{"http://www.example.org"});

  // The configured browser gets the address as typed, as one argument.
  state.settings.Browser = "firefox --new-window";
  window.MenuClicked(MenuId::mu_webBrowse);
  EXPECT_EQ(
      shell.started,
      (std::vector<std::vector<std::string>>{{"firefox", "--new-window", "www.example.org"}}));

  // Only the desktop is kept to http and https: the browser gets any scheme.
  ContactRecord ftp = ann;
  ftp.Web = "ftp://ftp.example.org/pub";
  testing::WriteContacts(dir, {ftp});
  window.MenuClicked(MenuId::mu_webBrowse);
  EXPECT_EQ(shell.started.back(),
            (std::vector<std::string>{"firefox", "--new-window", "ftp://ftp.example.org/pub"}));
}

TEST_F(MakeContactTest, FieldsThatWouldBecomeAnOptionOrAnotherUrlAreRefused) {
  struct Case {
    const char* email;
    const char* web;
    MenuId item;
    const char* browser;
    const char* refusal;
  } cases[] = {
      {"-oProxyCommand=x", "", MenuId::mu_sendEmail, "",
       "The e-mail address \"-oProxyCommand=x\" starts with \"-\", which a program would take "
       "for an option, so it was not handed on. Correct it in the record."},
      {"", "--headless", MenuId::mu_webBrowse, "firefox",
       "The web address \"--headless\" starts with \"-\", which a program would take for an "
       "option, so it was not handed on. Correct it in the record."},
      {"", "file:///etc/passwd", MenuId::mu_webBrowse, "",
       "Tabrel opens only web addresses (http or https). \"file:///etc/passwd\" is a file: "
       "address, so it was not opened."},
      {"", "javascript:alert(1)", MenuId::mu_webBrowse, "",
       "Tabrel opens only web addresses (http or https). \"javascript:alert(1)\" is a "
       "javascript: address, so it was not opened."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.refusal);
    ContactRecord odd = ann;
    odd.EMail = c.email;
    odd.Web = c.web;
    testing::WriteContacts(dir, {odd});
    state.settings.Browser = c.browser;
    dialogs.messages.clear();
    window.MenuClicked(c.item);
    ASSERT_EQ(dialogs.messages.size(), 1u);  // refused before the question
    EXPECT_EQ(LastMessage().text, c.refusal);
    EXPECT_EQ(LastMessage().title, "Attention!");
  }
  EXPECT_TRUE(shell.urls.empty());
  EXPECT_TRUE(shell.started.empty());

  // A query in the address stays inside the mailto: path.
  ContactRecord query = ann;
  query.EMail = "ann@example.org?attach=/etc/passwd";
  testing::WriteContacts(dir, {query});
  window.MenuClicked(MenuId::mu_sendEmail);
  EXPECT_EQ(shell.urls,
            std::vector<std::string>{"mailto:ann@example.org%3Fattach%3D%2Fetc%2Fpasswd"});
}

TEST_F(MakeContactTest, AFailedHandOffIsReported) {
  shell.fail_open = Status::Error(53,
                                  "The desktop has no program for it (xdg-open ended with "
                                  "status 3).");
  window.MenuClicked(MenuId::mu_webBrowse);
  EXPECT_EQ(LastMessage().text,
            "No program could open http://www.example.org:\r\nThe desktop has no program for it "
            "(xdg-open ended with status 3).\r\nName a web browser in Settings.");
  EXPECT_EQ(LastMessage().title, "Error!");

  window.MenuClicked(MenuId::mu_CallWithPhoneProgram);
  EXPECT_EQ(LastMessage().text,
            "No program could open tel:(555)123-4567:\r\nThe desktop has no program for it "
            "(xdg-open ended with status 3).\r\nInstall a phone program that takes tel: links, "
            "or dial with the modem.");

  shell.fail_start = Status::Error(53, "The program mutt could not be started.");
  state.settings.Mailer = "mutt";
  window.MenuClicked(MenuId::mu_sendEmail);
  EXPECT_EQ(LastMessage().text,
            "The e-mail program could not be started:\r\nmutt\r\nThe program mutt could not be "
            "started.\r\nCheck its program in Settings.");
  EXPECT_EQ(LastMessage().title, "Error!");
}

TEST_F(MakeContactTest, CallWithPhoneProgramHandsATelLinkToTheDesktop) {
  ContactRecord international = ann;
  international.Phone = "+1 (555) 123-4567";
  testing::WriteContacts(dir, {international});
  window.MenuClicked(MenuId::mu_CallWithPhoneProgram);
  EXPECT_EQ(LastMessage().text, "Call +1 (555) 123-4567 with your phone program?");
  EXPECT_EQ(LastMessage().title, "Ready to dial number!");
  EXPECT_EQ(shell.urls, std::vector<std::string>{"tel:+1(555)123-4567"});
  EXPECT_EQ(serial.written, "");
}

}  // namespace
}  // namespace tabrel
