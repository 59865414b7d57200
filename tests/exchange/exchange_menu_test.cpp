// The Import / Export menu: choosing a file to import, the native and DOS
// exports with their target checks, and Quick Update.
#include "exchange/exchange_menu.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "exchange/formats/dos_record.h"
#include "fakes/exchange_harness.h"
#include "fakes/main_window_harness.h"
#include "store/layout.h"

namespace tabrel {
namespace {

namespace fs = std::filesystem;
using testing::Contact;
using testing::ContactBytes;
using Texts = std::vector<std::string>;

const ContactRecord kFirst = Contact("1", "Adams", "Ann", "01-01-2000 1");
const ContactRecord kSecond = Contact("2", "Brook Ltd", "", "01-01-2000 2");
const ContactRecord kThird = Contact("1", "Clark", "Cy", "01-01-2000 3");

std::size_t FilesIn(const testing::TempDir& dir) {
  return static_cast<std::size_t>(
      std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()));
}

class ExchangeMenuTest : public ::testing::Test, public testing::ExchangeHarness {
 protected:
  void SetUp() override {
    testing::WriteContacts(data, {kFirst, kSecond, kThird});
    testing::WriteKeywords(data, {"Golf"});
    // The list shows the third and the first record, and a row whose
    // record was deleted since.
    host.ListStamps({"01-01-2000 3", "01-01-2000 9", "01-01-2000 1"});
  }
  // Answers the export's question Yes and the file name box with `name`.
  void Export(const std::string& name, bool dos = false) {
    dialogs.answers.push_back(MessageAnswer::kYes);
    dialogs.input_answers.push_back(name);
    if (dos) {
      menu.mu_ExportOldTabrel_Click();
    } else {
      menu.mu_exportTabrel_Click();
    }
  }
};

TEST_F(ExchangeMenuTest, ImportChecksTheChosenFileBeforeOpeningTheWindow) {
  menu.mu_ImportTabrel_Click();
  EXPECT_EQ(files.caption, " Select a file ");
  EXPECT_EQ(files.pattern, "*.*");
  EXPECT_EQ(files.start_folder, documents.path());
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].text, "You must select a file to import.");
  EXPECT_EQ(dialogs.messages[0].title, "Nothing to do!");

  const std::string one = EncodeContact(kFirst);
  for (const std::string& bytes : {std::string(), one.substr(1), one + " "}) {
    documents.Write("in.dat", bytes);
    files.choice = FileChoice{documents.path(), "in.dat"};
    menu.mu_ImportTabrel_Click();
    EXPECT_EQ(dialogs.messages.back().text,
              "This file does not contain Tabrel 3 records, or they are corrupt");
    EXPECT_EQ(dialogs.messages.back().title, "Error");
    EXPECT_EQ(dialogs.messages.back().icon, MessageIcon::kCritical);
  }
  EXPECT_TRUE(host.opened.empty());
  documents.Write("in.dat", one + one);
  menu.mu_ImportTabrel_Click();
  ASSERT_EQ(host.opened.size(), 1u);
  EXPECT_EQ(host.opened[0].kind, ImportKind::kNative);
  EXPECT_EQ(host.opened[0].path, documents.File("in.dat"));
}

TEST_F(ExchangeMenuTest, DosImportOffersOnlyDosFileNamesAndChecksTheDosLength) {
  const std::string dos = DosRecordOf(EncodeContact(kFirst));
  documents.Write("CONTACT.MER", dos.substr(1));
  files.choice = FileChoice{documents.path(), "CONTACT.MER"};
  menu.mu_ImportOldTabrel_Click();
  EXPECT_EQ(files.caption, " Select .DAT/MER/BAK file ");
  EXPECT_EQ(files.pattern, "contact.dat;contact.mer;contact.bak");
  EXPECT_EQ(MessageTexts(),
            (Texts{"This file does not contain DOS Tabrel records, or they are corrupt"}));
  documents.Write("CONTACT.MER", dos);
  menu.mu_ImportOldTabrel_Click();
  ASSERT_EQ(host.opened.size(), 1u);
  EXPECT_EQ(host.opened[0].kind, ImportKind::kDos);
}

TEST_F(ExchangeMenuTest, ExportAddsTheShownRecordsToThoseTheFileHoldsOrReplacesThem) {
  const std::string held = ContactBytes({kSecond, kSecond, kSecond});
  const std::string shown = ContactBytes({kThird, kFirst});
  const std::string path = documents.File("export.dat");
  struct Case {
    MessageAnswer answer;
    std::string expected;
    const char* count;
  };
  const Case cases[] = {{MessageAnswer::kYes, held + shown, "5"},
                        {MessageAnswer::kNo, shown, "2"},
                        {MessageAnswer::kCancel, held, nullptr}};
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.answer));
    dialogs.messages.clear();
    documents.Write("export.dat", held);
    dialogs.answers = {MessageAnswer::kYes, c.answer};
    dialogs.input_answers = {"export.dat"};
    menu.mu_exportTabrel_Click();
    EXPECT_EQ(documents.Read("export.dat"), c.expected);
    ASSERT_GE(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages[1].text,
              path + " already holds 3 records. Add the 3 shown records to them?");
    EXPECT_EQ(dialogs.messages[1].buttons, MessageButtons::kYesNoCancel);
    if (c.count == nullptr) {
      EXPECT_EQ(dialogs.messages.size(), 2u);
      continue;
    }
    EXPECT_EQ(dialogs.messages.back().title, "Export Complete");
    EXPECT_EQ(dialogs.messages.back().text,
              "Done! \r\n\r\n" + path + "\r\n\r\n...contains " + c.count +
                  " records. You may share these with others by sending the file via email, on "
                  "disk, or however you want!\r\n\r\n1 row of the list was left out: their "
                  "records are no longer in the data set (changed or deleted since the list was "
                  "filled).");
  }
  EXPECT_EQ(FilesIn(documents), 1u) << "no temporary file is left";
}

TEST_F(ExchangeMenuTest, ExportAsksFirstAndPrefillsTheFullDefaultPath) {
  menu.mu_exportTabrel_Click();  // unscripted: No, the default
  ASSERT_EQ(dialogs.messages.size(), 1u);
  const Message& question = dialogs.messages[0];
  EXPECT_EQ(question.text,
            "This will export the currently displayed records to Tabrel 3's native data format. "
            "Proceed?");
  EXPECT_EQ(question.title, "Export Tabrel 3 format records!");
  EXPECT_EQ(question.default_answer, MessageAnswer::kNo);
  EXPECT_TRUE(dialogs.inputs.empty());

  dialogs.answers.push_back(MessageAnswer::kYes);
  menu.mu_ExportOldTabrel_Click();  // the file name box cancelled
  EXPECT_EQ(dialogs.messages[1].text,
            "\r\nThis will export the currently displayed records to the Tabrel DOS (version 2.1 "
            "and higher) native data format. Proceed?");
  EXPECT_EQ(dialogs.messages[1].title, "Export DOS version Tabrel records!");
  ASSERT_EQ(dialogs.inputs.size(), 1u);
  EXPECT_EQ(dialogs.inputs[0].title, "Filename?");
  EXPECT_EQ(dialogs.inputs[0].default_answer, documents.File("contact.mer"));
  EXPECT_EQ(dialogs.inputs[0].prompt,
            "You must supply a complete path and file name for the export operation.\r\n\r\nThe 3 "
            "records currently displayed will be exported to this file.\r\n\r\nAny other Tabrel "
            "3 installation will be able to import these.");
  EXPECT_EQ(dialogs.messages.size(), 2u);
  EXPECT_EQ(FilesIn(documents), 0u);
}

TEST_F(ExchangeMenuTest, ExportRefusesEveryFileOfADataSetAndTheSettingsFile) {
  testing::WriteContacts(program, {kFirst});  // the default data set
  program.Write("tr30.ini", std::string(layout::kSettingsRecordLength, ' '));
  data.Write("tabrel.bak", ContactBytes({kFirst}));
  fs::create_symlink(data.File("tabrel.dat"), documents.File("link.dat"));
  fs::create_directory(documents.File("folder"));
  const std::pair<std::string, const char*> targets[] = {
      {data.File("tabrel.dat"), "is the record file of a data set (tabrel.dat)"},
      {data.File("keyword.dat"), "is the keyword file of a data set (keyword.dat)"},
      {"../" + fs::path(data.path()).parent_path().filename().string() + "/tabrel.bak",
       "is a backup file of a data set (tabrel.bak)"},
      {data.path() + "./../" + fs::path(data.path()).parent_path().filename().string() +
           "/tabrel.dat",
       "is the record file of a data set"},
      {"link.dat", "is the record file of a data set"},
      {program.File("tabrel.dat"), "is the record file of a data set"},
      {program.File("tr30.ini"), "is the settings file (tr30.ini)"},
      {"folder", "is not a file"},
  };
  const std::string records = data.Read("tabrel.dat");
  for (const auto& [name, why] : targets) {
    SCOPED_TRACE(name);
    dialogs.messages.clear();
    Export(name);
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages[1].title, "Error!");
    EXPECT_NE(dialogs.messages[1].text.find(why), std::string::npos) << dialogs.messages[1].text;
    EXPECT_EQ(data.Read("tabrel.dat"), records);
  }
  EXPECT_EQ(program.Read("tabrel.dat"), ContactBytes({kFirst}));
}

TEST_F(ExchangeMenuTest, ExportRefusesToAddToAFileThatIsNotWholeRecordsOfItsFormat) {
  const std::string native = ContactBytes({kSecond});
  const std::string dos = DosRecordOf(native);
  const std::pair<std::string, bool> files[] = {{native.substr(1), false},
                                                {native + "x", false},
                                                {dos.substr(1), true},
                                                {native, true}};  // 1047 = 533 + 514
  for (const auto& [bytes, as_dos] : files) {
    dialogs.messages.clear();
    documents.Write("other.dat", bytes);
    Export("other.dat", as_dos);
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_NE(dialogs.messages[1].text.find("its length is not a whole number of " +
                                            std::string(as_dos ? "533" : "1047") + "-byte records"),
              std::string::npos)
        << dialogs.messages[1].text;
    EXPECT_EQ(documents.Read("other.dat"), bytes);
  }
}

TEST_F(ExchangeMenuTest, AFailedExportAtAnyStepLeavesTheFileAndTheDataSet) {
  const std::string held = ContactBytes({kSecond});
  const std::string records = data.Read("tabrel.dat");
  const std::string keywords = data.Read("keyword.dat");
  for (int failing = 1; failing <= 5; ++failing) {
    SCOPED_TRACE(failing);
    documents.Write("export.dat", held);
    int step = 0;
    state.write_fault = [&](RewriteStep) { return ++step == failing; };
    dialogs.answers = {MessageAnswer::kYes, MessageAnswer::kYes};
    dialogs.input_answers = {"export.dat"};
    menu.mu_exportTabrel_Click();
    EXPECT_TRUE(
        dialogs.messages.back().text.ends_with("\r\nNothing was exported; no file was changed."))
        << dialogs.messages.back().text;
    EXPECT_EQ(documents.Read("export.dat"), held);
    EXPECT_EQ(data.Read("tabrel.dat"), records);
    EXPECT_EQ(data.Read("keyword.dat"), keywords);
    EXPECT_EQ(FilesIn(documents), 1u);
    EXPECT_FALSE(host.busy);
  }
}

TEST_F(ExchangeMenuTest, MakeQuickUpdateReplacesTheSharedFileThroughARename) {
  fs::create_directory(documents.File("share"));
  const std::string shared = documents.File("share/quickup.dat");
  documents.Write("share/quickup.dat", "old shared records");
  state.settings.QuickUpTarget = Fit(documents.File("share"), 100);
  dialogs.answers.push_back(MessageAnswer::kYes);
  menu.mu_MakeQuickUpdate_Click();
  ASSERT_EQ(dialogs.messages.size(), 2u);
  EXPECT_EQ(dialogs.messages[0].text,
            "This will export the currently displayed records to: \r\n\r\n" + shared +
                "\r\n\r\nMake sure that you have only the records others are expecting "
                "displayed! \r\n\r\nProceed?");
  EXPECT_EQ(dialogs.messages[0].default_answer, MessageAnswer::kNo);
  EXPECT_EQ(dialogs.messages[1].text,
            "Done! \r\n\r\n" + shared +
                "\r\n\r\n...contains 2 records. It has replaced any previous file of the same "
                "name. You may now notify others that the Quick Update data has been "
                "replaced.\r\n\r\n1 row of the list was left out: their records are no longer in "
                "the data set (changed or deleted since the list was filled).");
  EXPECT_EQ(documents.Read("share/quickup.dat"), ContactBytes({kThird, kFirst}));
  EXPECT_EQ(
      std::distance(fs::directory_iterator(documents.File("share")), fs::directory_iterator()), 1);
  EXPECT_FALSE(data.Exists("quickup.tmp") || program.Exists("quickup.tmp"));
}

TEST_F(ExchangeMenuTest, MakeQuickUpdateChecksTheTargetWithoutCreatingIt) {
  menu.mu_MakeQuickUpdate_Click();
  EXPECT_EQ(MessageTexts(), (Texts{"No Quick Update Target found! Look in settings, contact your "
                                   "network administrator if applicable."}));
  EXPECT_EQ(dialogs.messages[0].title, "No Quick Target found");

  state.settings.QuickUpTarget = Fit(documents.File("shared.dat"), 100);
  menu.mu_MakeQuickUpdate_Click();  // unscripted: No
  EXPECT_EQ(dialogs.messages.back().title, "Ready to create new Quick Update data set!");
  EXPECT_FALSE(documents.Exists("shared.dat"));

  host.ListStamps({});
  menu.mu_MakeQuickUpdate_Click();
  EXPECT_EQ(dialogs.messages.back().title, "Nothing to do!");
  host.ListStamps({"01-01-2000 9"});  // only a row whose record is gone
  dialogs.answers.push_back(MessageAnswer::kYes);
  menu.mu_MakeQuickUpdate_Click();
  EXPECT_EQ(dialogs.messages.back().title, "Nothing to do!");
  EXPECT_FALSE(documents.Exists("shared.dat"));

  const std::string records = data.Read("tabrel.dat");
  state.settings.QuickUpTarget = Fit(data.File("tabrel.dat"), 100);
  menu.mu_MakeQuickUpdate_Click();
  EXPECT_NE(dialogs.messages.back().text.find("is the record file of a data set"),
            std::string::npos);
  EXPECT_EQ(data.Read("tabrel.dat"), records);
}

TEST_F(ExchangeMenuTest, AFailedQuickUpdateAtAnyStepLeavesTheOldSharedFileWhole) {
  documents.Write("shared.dat", "old shared records");
  state.settings.QuickUpTarget = Fit("shared.dat", 100);  // inside the documents folder
  const std::string records = data.Read("tabrel.dat");
  const std::string keywords = data.Read("keyword.dat");
  for (int failing = 1; failing <= 5; ++failing) {
    SCOPED_TRACE(failing);
    int step = 0;
    state.write_fault = [&](RewriteStep) { return ++step == failing; };
    dialogs.answers = {MessageAnswer::kYes};
    menu.mu_MakeQuickUpdate_Click();
    EXPECT_TRUE(
        dialogs.messages.back().text.ends_with("The Quick Update file was left as it was."));
    EXPECT_EQ(documents.Read("shared.dat"), "old shared records");
    EXPECT_EQ(data.Read("tabrel.dat"), records);
    EXPECT_EQ(data.Read("keyword.dat"), keywords);
    EXPECT_EQ(FilesIn(documents), 1u);
  }
}

TEST_F(ExchangeMenuTest, MakeQuickUpdateIntoAReadOnlyFolderIsRefusedBeforeTheQuestion) {
  if (::geteuid() == 0) GTEST_SKIP() << "permission bits do not stop root";
  fs::create_directory(documents.File("share"));
  state.settings.QuickUpTarget = Fit(documents.File("share/quickup.dat"), 100);
  ASSERT_EQ(::chmod(documents.File("share").c_str(), 0555), 0);
  menu.mu_MakeQuickUpdate_Click();
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].title, "Disk access error!");
  EXPECT_TRUE(dialogs.messages[0].text.starts_with("Error 70: Permission denied"));
  EXPECT_FALSE(documents.Exists("share/quickup.dat"));
}

TEST_F(ExchangeMenuTest, GetQuickUpdateOpensTheImportWindowOnTheSharedFileItself) {
  menu.mu_QuickUpdate_Click();
  EXPECT_EQ(dialogs.messages.back().text,
            "No Quick Update Path found! Look in settings, contact your network administrator "
            "if applicable.");
  EXPECT_EQ(dialogs.messages.back().title, "No Quick Path found");

  fs::create_directory(documents.File("share"));
  state.settings.QuickUpPath = Fit(documents.File("share"), 100);
  menu.mu_QuickUpdate_Click();
  EXPECT_EQ(dialogs.messages.back().title, "Disk access error!");
  documents.Write("share/quickup.dat", "");
  menu.mu_QuickUpdate_Click();
  EXPECT_EQ(dialogs.messages.back().text,
            "This file does not contain Tabrel 3 records, or they are corrupt");
  EXPECT_TRUE(host.opened.empty());

  documents.Write("share/quickup.dat", ContactBytes({kFirst}));
  menu.mu_QuickUpdate_Click();
  ASSERT_EQ(host.opened.size(), 1u);
  EXPECT_EQ(host.opened[0].path, documents.File("share/quickup.dat"));
  EXPECT_EQ(host.opened[0].kind, ImportKind::kNative);
  EXPECT_FALSE(data.Exists("quickup.dat") || program.Exists("quickup.dat"));
}

TEST_F(ExchangeMenuTest, AReadOnlyDataSetRefusesImportsAndGetQuickUpdateButStillExports) {
  host.read_only = true;
  files.choice = FileChoice{documents.path(), "in.dat"};
  documents.Write("in.dat", EncodeContact(kFirst));
  fs::create_directory(documents.File("share"));
  documents.Write("share/quickup.dat", ContactBytes({kFirst}));
  state.settings.QuickUpPath = Fit(documents.File("share"), 100);
  menu.mu_ImportTabrel_Click();
  menu.mu_ImportOldTabrel_Click();
  menu.mu_QuickUpdate_Click();
  EXPECT_EQ(host.writable_checks, 3);
  EXPECT_EQ(files.caption, "") << "refused before a file is chosen";
  EXPECT_TRUE(host.opened.empty());
  EXPECT_TRUE(dialogs.messages.empty()) << "the main window says why, once";

  Export("export.dat");
  EXPECT_EQ(testing::Stamps(documents.Read("export.dat")), (Texts{"01-01-2000 3", "01-01-2000 1"}));
  state.settings.QuickUpTarget = Fit(documents.File("share/quickup.dat"), 100);
  dialogs.answers.push_back(MessageAnswer::kYes);
  menu.mu_MakeQuickUpdate_Click();
  EXPECT_EQ(testing::Stamps(documents.Read("share/quickup.dat")),
            (Texts{"01-01-2000 3", "01-01-2000 1"}));
  EXPECT_EQ(host.writable_checks, 3) << "exports write no file of the data set";
}

// The main window hands the menu's items to the exchange menu.
TEST(ExchangeMenuDispatchTest, TheMainWindowRoutesImportExportItems) {
  testing::MainWindowHarness h;
  h.window.MenuClicked(MenuId::mu_QuickUpdate);
  ASSERT_EQ(h.dialogs.messages.size(), 1u);
  EXPECT_EQ(h.dialogs.messages[0].title, "No Quick Path found");
  // Every item is served: none says it is not available.
  const std::pair<MenuId, const char*> questions[] = {
      {MenuId::mu_ImportComma, "Import Comma Delimited Format"},
      {MenuId::mu_ImportNetscape, "Import .ldif Format"},
      {MenuId::mu_ImportAgent, "Import Agent Address Book Format"},
      {MenuId::mu_ExportComma, "Export Comma Delimited Format"},
      {MenuId::mu_ExportNetscape, "Export .ldif Format"},
      {MenuId::mu_ExportAgent, "Export Agent Address Book Format"}};
  for (const auto& [id, title] : questions) {
    h.window.MenuClicked(id);
    EXPECT_EQ(h.dialogs.messages.back().title, title);
  }
  h.files.choice = FileChoice{h.dir.path(), "in.dat"};
  h.dir.Write("in.dat", EncodeContact(kFirst));
  h.window.MenuClicked(MenuId::mu_ImportTabrel);
  ASSERT_EQ(h.view.import_windows.size(), 1u);
  EXPECT_EQ(h.view.import_windows[0].path, h.dir.File("in.dat"));
}

// The exchange asks the main window's own check, wherever the command
// comes from.
TEST(ExchangeMenuDispatchTest, AReadOnlyDataSetIsRefusedWithTheMainWindowsMessage) {
  testing::MainWindowHarness h;
  h.state.read_only = true;
  h.files.choice = FileChoice{h.dir.path(), "in.dat"};
  h.dir.Write("in.dat", EncodeContact(kFirst));
  h.window.exchange().mu_ImportTabrel_Click();
  h.window.exchange().mu_QuickUpdate_Click();
  ASSERT_EQ(h.dialogs.messages.size(), 2u);
  for (const Message& m : h.dialogs.messages) {
    EXPECT_EQ(m.title, "Data set in use");
    EXPECT_TRUE(m.text.starts_with("The data set in " + h.state.data_path + " is open read-only"));
  }
  EXPECT_TRUE(h.view.import_windows.empty());
}

}  // namespace
}  // namespace tabrel
