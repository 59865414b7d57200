// The Make Contact menu through the main window presenter: dialling against
// a scripted modem, and the hand-offs of phone, e-mail and web addresses.
#include "contact/make_contact.h"

#include <gtest/gtest.h>

#include "fakes/case_file.h"
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

class MakeContactCaseTest : public MakeContactTest,
                            public ::testing::WithParamInterface<testing::FileCase> {};

TEST_P(MakeContactCaseTest, HandsTheAddressOnOrRefusesIt) {
  const testing::FileCase& c = GetParam();
  const bool refused = c.Has("refusal");
  if (refused) {
    ContactRecord odd = ann;
    odd.EMail = c.Get("email");
    odd.Web = c.Get("web");
    testing::WriteContacts(dir, {odd});
    state.settings.Browser = c.Get("browser");
  } else {
    state.settings.Mailer = c.Get("mailer");
    state.settings.MailFormat = c.Get("mail_format");
  }
  window.MenuClicked(c.Get("item", "mail") == "mail" ? MenuId::mu_sendEmail : MenuId::mu_webBrowse);
  ASSERT_EQ(dialogs.messages.size(), 1u) << "a refusal comes before the question";
  EXPECT_EQ(LastMessage().text, c.Get(refused ? "refusal" : "question"));
  EXPECT_EQ(LastMessage().title, refused ? "Attention!" : "Send Email!");
  EXPECT_EQ(LastMessage().buttons, refused ? MessageButtons::kOk : MessageButtons::kYesNo);
  EXPECT_EQ(shell.urls, c.All("url"));
  const std::vector<std::string> argv = c.All("arg");
  EXPECT_EQ(shell.started, argv.empty() ? std::vector<std::vector<std::string>>{}
                                        : std::vector<std::vector<std::string>>{argv});
  EXPECT_EQ(window.MainGrid().Col(), 0);
}

TABREL_FILE_CASES(Menu, MakeContactCaseTest, "contact", "make_contact.cases");

TEST_F(MakeContactTest, SendEmailAnsweredNoHandsNothingOn) {
  dialogs.answers = {MessageAnswer::kNo};
  window.MenuClicked(MenuId::mu_sendEmail);
  EXPECT_TRUE(shell.urls.empty() && shell.started.empty());
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

}  // namespace
}  // namespace tabrel
