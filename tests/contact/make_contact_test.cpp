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
}

}  // namespace
}  // namespace tabrel
