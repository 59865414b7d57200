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

  // A file that cannot be looked at (a link to itself) is told as such.
  fs::create_symlink(documents.File("loop.dat"), documents.File("loop.dat"));
  files.choice = FileChoice{documents.path(), "loop.dat"};
  menu.mu_ImportTabrel_Click();
  EXPECT_TRUE(dialogs.messages.back().text.ends_with("\r\nNothing was imported."));
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
    EXPECT_EQ(dialogs.inputs.back().prompt,
              "You must supply a complete path and file name for the export operation.\r\n\r\n"
              "The 3 records currently displayed will be exported to this file.\r\n\r\nAny "
              "other Tabrel 3 installation will be able to import these.");
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

// The window tells a failed write as "Error N ..." (every step of every
// format is proved at the export job).
TEST_F(ExchangeMenuTest, AFailedWriteIsToldAndLeavesTheFile) {
  documents.Write("out", "");
  state.write_fault = [](RewriteStep step) { return step == RewriteStep::kRename; };
  dialogs.answers = {MessageAnswer::kYes, MessageAnswer::kYes};
  dialogs.input_answers = {"out"};
  menu.mu_ExportVcard_Click();
  const Message& last = dialogs.messages.back();
  EXPECT_EQ(last.title, "Error!");
  EXPECT_TRUE(last.text.starts_with("Error ")) << last.text;
  EXPECT_TRUE(last.text.ends_with("\r\nNothing was exported; no file was changed."));
  EXPECT_EQ(documents.Read("out"), "");
}

}  // namespace
}  // namespace tabrel
