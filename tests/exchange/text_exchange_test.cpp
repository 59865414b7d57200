// The comma-delimited, LDIF and Agent items of the Import / Export menu:
// the exact bytes of the exports (tests/testdata/exchange/<case>.expected;
// TABREL_UPDATE_GOLDEN=1 rewrites them after a deliberate change), what an
// existing file is asked, the LDIF and Agent imports with their questions,
// refusals and reports, and round trips through each format.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "base/text.h"
#include "exchange/comma_parse.h"
#include "exchange/importing/import_report.h"
#include "exchange/importing/text_records.h"
#include "fakes/exchange_harness.h"
#include "fakes/golden.h"
#include "store/layout.h"

namespace tabrel {
namespace {

namespace l = layout;
using testing::ParseContacts;
using testing::ReadBytes;
using Texts = std::vector<std::string>;

const std::filesystem::path kFolder = testing::TestDataFolder("exchange");

class TextExchangeTest : public ::testing::Test, public testing::ExchangeHarness {
 protected:
  void SetUp() override {
    testing::WriteContacts(data, ParseContacts(ReadBytes(kFolder / "text_contacts.in")));
    testing::WriteKeywords(data, {"Food", "~Friends"});
    // The last row names a record deleted since the list was filled.
    host.ListStamps({"01-02-2003 100", "02-03-2004 200", "03-04-2005 300", "09-09-1999 999"});
  }
  // Answers the question Yes and the file name box with `name`, then any
  // further questions with `then`.
  void Export(void (ExchangeMenu::*click)(), const std::string& name,
              std::vector<MessageAnswer> then = {}) {
    dialogs.messages.clear();
    dialogs.answers = {MessageAnswer::kYes};
    dialogs.answers.insert(dialogs.answers.end(), then.begin(), then.end());
    dialogs.input_answers = {name};
    (menu.*click)();
  }
  // Answers the import's question Yes and picks `file` in the documents
  // folder; further questions get `then`.
  void Import(void (ExchangeMenu::*click)(), const std::string& file,
              std::vector<MessageAnswer> then = {}) {
    dialogs.messages.clear();
    dialogs.answers = {MessageAnswer::kYes};
    dialogs.answers.insert(dialogs.answers.end(), then.begin(), then.end());
    files.choice = FileChoice{documents.path(), file};
    (menu.*click)();
  }
  std::vector<ContactRecord> Records() const {
    std::vector<ContactRecord> out;
    const std::string bytes = data.Read("tabrel.dat");
    for (std::size_t at = 0; at + l::kContactRecordLength <= bytes.size();
         at += l::kContactRecordLength) {
      out.push_back(DecodeContact(bytes.substr(at)));
    }
    return out;
  }
  std::string Keywords() const { return data.Read("keyword.dat"); }
};

TEST_F(TextExchangeTest, ExportsWriteTheShownRecordsAsEachFormatHasThem) {
  Export(&ExchangeMenu::mu_ExportComma_Click, "comma-d.txt");
  testing::ExpectGolden(kFolder, "comma_export", documents.Read("comma-d.txt"));
  EXPECT_EQ(dialogs.messages.back().text,
            "Done! \r\n\r\n" + documents.File("comma-d.txt") +
                "\r\n\r\n...contains 3 records. You may share these with others by sending the "
                "file via email, on disk, or however you want!\r\n\r\n1 row of the list was left "
                "out: their records are no longer in the data set (changed or deleted since the "
                "list was filled).");
  Export(&ExchangeMenu::mu_ExportNetscape_Click, "tabrel.ldif");
  testing::ExpectGolden(kFolder, "ldif_export", documents.Read("tabrel.ldif"));
  Export(&ExchangeMenu::mu_ExportAgent_Click, "agent.txt");
  testing::ExpectGolden(kFolder, "agent_export", documents.Read("agent.txt"));
}

// ---- LDIF and Agent imports ------------------------------------------

constexpr const char* kTwoPeople =
    "version: 1\n\ndn: cn=Anna Berg,o=x\ngivenName: Anna\nsn: Berg\nmail: anna@berg.example\n"
    "description:: TGluZSBvbmUKbMOkaW5lIHR3bw==\nnickname: Annie\n\n"
    "dn: cn=list,o=x\ncn: list\nmember: cn=Anna Berg,o=x\n\n"
    "dn: ou=People,o=x\nou: People\n\n"
    "dn: cn=Sven Ek,o=x\nchangetype: delete\n\n"
    "dn: o=Acme\no: Acme \xE2\x98\x83 Corp\n";

// One of each kind reads in the singular; nothing left out says nothing.
TEST(SkippedTextTest, OneEntryAndOneLine) {
  EXPECT_EQ(LdifSkippedText({}), "");
  EXPECT_EQ(LdifSkippedText({.groups = 1, .bad_lines = 1}),
            "1 entry was skipped: 1 group or mailing list.\r\n1 line could not be read and was "
            "left out.");
}

TEST_F(TextExchangeTest, AnLdifImportAsksCountsOffersTheBackupAndAddsTheRecords) {
  documents.Write("people.ldif", kTwoPeople);
  const std::size_t before = Records().size();
  Import(&ExchangeMenu::mu_ImportNetscape_Click, "people.ldif",
         {MessageAnswer::kYes, MessageAnswer::kYes});
  EXPECT_EQ(files.caption, " Select .ldif file ");
  EXPECT_EQ(files.pattern, "*.ldif");
  const std::string skipped =
      "3 entries were skipped: 1 change to a directory (modify, delete or rename), 1 group or "
      "mailing list and 1 entry without a name, organization or e-mail address.";
  // The question and the report say the same of what was lost.
  const std::string lost =
      "\r\n1 character could not be stored and became \"?\" (the record files hold only the "
      "Windows-1252 character set).";
  ASSERT_EQ(dialogs.messages.size(), 5u);
  EXPECT_EQ(dialogs.messages[0].title, "Import .ldif Format");
  EXPECT_EQ(dialogs.messages[0].text,
            "\r\nThis will attempt to import the file you select and convert its contents to "
            "Tabrel records. Proceed?");
  // "Add Extra Items to Notes", asked only when a value has no field.
  EXPECT_TRUE(
      dialogs.messages[1].text.starts_with("Not stored, no field holds them: nickname: 1."));
  EXPECT_EQ(dialogs.messages[1].default_answer, MessageAnswer::kNo);
  dialogs.messages.erase(dialogs.messages.begin() + 1);
  EXPECT_EQ(dialogs.messages[1].title, "Ready to Import!");
  EXPECT_EQ(dialogs.messages[1].text, documents.File("people.ldif") +
                                          " appears to contain 2 records. Proceed?\r\n\r\n" +
                                          skipped + "\r\n" + lost);
  EXPECT_EQ(dialogs.messages[1].default_answer, MessageAnswer::kNo);
  // No backup set yet: one is made without asking.
  EXPECT_EQ(dialogs.messages[2].text, "New backup set created!");
  EXPECT_EQ(dialogs.messages[3].title, "Import Complete");
  EXPECT_EQ(dialogs.messages[3].text,
            "Done! All the new records have been given the keyword ldif_New, to help you find "
            "them.\r\n\r\n2 records were added.\r\n" +
                skipped + lost + "\r\n\r\n" + std::string(kBackupNote));
  const std::vector<ContactRecord> records = Records();
  ASSERT_EQ(records.size(), before + 2);
  const ContactRecord& anna = records[before];
  EXPECT_EQ(Trim(anna.FirstName), "Anna");
  EXPECT_EQ(Trim(anna.Notes), "Line one\r\nl\xE4ine two\r\nnickname: Annie");
  EXPECT_EQ(anna.RecType, "1");
  EXPECT_EQ(Trim(anna.KW1), "ldif_New");
  const ContactRecord& acme = records[before + 1];
  EXPECT_EQ(Trim(acme.Org), "Acme ? Corp");
  EXPECT_EQ(acme.RecType, "2");
  EXPECT_NE(anna.Modified, acme.Modified);
  EXPECT_EQ(host.keyword_refills, 1);
  EXPECT_EQ(Keywords(),
            testing::Keyword("Food") + testing::Keyword("ldif_New") + testing::Keyword("~Friends"));
}

// ---- round trips --------------------------------------------------------

}  // namespace
}  // namespace tabrel
