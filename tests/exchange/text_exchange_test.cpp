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
#include "fakes/exchange_harness.h"
#include "fakes/golden.h"
#include "store/layout.h"

namespace tabrel {
namespace {

namespace l = layout;
using testing::Contact;
using testing::ParseContacts;
using testing::ReadBytes;
using Texts = std::vector<std::string>;

const std::filesystem::path kFolder = testing::TestDataFolder("exchange");
constexpr const char* kUnchanged = "Nothing was imported; your data is unchanged.";

void ExpectGolden(const std::string& name, const std::string& actual) {
  const auto path = kFolder / (name + ".expected");
  if (std::getenv("TABREL_UPDATE_GOLDEN") != nullptr) {
    std::ofstream(path, std::ios::binary) << actual;
  }
  ASSERT_TRUE(std::filesystem::exists(path)) << path;
  const std::string expected = ReadBytes(path);
  EXPECT_TRUE(expected == actual) << name << ": " << testing::FirstDifference(expected, actual);
}

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
  ExpectGolden("comma_export", documents.Read("comma-d.txt"));
  EXPECT_EQ(dialogs.messages.back().text,
            "Done! \r\n\r\n" + documents.File("comma-d.txt") +
                "\r\n\r\n...contains 3 records. You may share these with others by sending the "
                "file via email, on disk, or however you want!\r\n\r\n1 row of the list was left "
                "out: their records are no longer in the data set (changed or deleted since the "
                "list was filled).");
  Export(&ExchangeMenu::mu_ExportNetscape_Click, "tabrel.ldif");
  ExpectGolden("ldif_export", documents.Read("tabrel.ldif"));
  Export(&ExchangeMenu::mu_ExportAgent_Click, "agent.txt");
  ExpectGolden("agent_export", documents.Read("agent.txt"));
}

TEST_F(TextExchangeTest, ExportsAskAndPrefillAsEachFormatDoes) {
  struct Case {
    void (ExchangeMenu::*click)();
    const char* question;
    const char* title;
    const char* file;
    const char* prompt_end;
  };
  const Case cases[] = {
      {&ExchangeMenu::mu_ExportComma_Click,
       "\r\nThis will export the currently displayed records to a generic comma-delimited format "
       "that numerous other programs can import. Proceed?",
       "Export Comma Delimited Format", "comma-d.txt",
       "Many different programs will be able to import these."},
      {&ExchangeMenu::mu_ExportNetscape_Click,
       "\r\nThis will export the currently displayed records to the Lightweight Data Exchange "
       "Format (.ldif). Proceed?",
       "Export .ldif Format", "tabrel.ldif",
       "Netscape's Address Book will be able to import these."},
      {&ExchangeMenu::mu_ExportAgent_Click,
       "This will export the currently displayed records to a format that Agent's address book "
       "can import. Proceed?",
       "Export Agent Address Book Format", "agent.txt",
       "Agent's Address Book will be able to import these."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.title);
    dialogs.messages.clear();
    dialogs.inputs.clear();
    dialogs.answers = {MessageAnswer::kYes};
    (menu.*c.click)();  // the file name box is cancelled
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, c.question);
    EXPECT_EQ(dialogs.messages[0].title, c.title);
    EXPECT_EQ(dialogs.messages[0].default_answer, MessageAnswer::kNo);
    ASSERT_EQ(dialogs.inputs.size(), 1u);
    EXPECT_EQ(dialogs.inputs[0].default_answer, documents.File(c.file));
    EXPECT_EQ(dialogs.inputs[0].prompt,
              "You must supply a complete path and file name for the export operation.\r\n\r\n"
              "The 4 records currently displayed will be exported to this file.\r\n\r\n" +
                  std::string(c.prompt_end));
    EXPECT_FALSE(documents.Exists(c.file));
  }
}

TEST_F(TextExchangeTest, ACommaExportAddsToAFileWithoutASecondHeaderOrReplacesIt) {
  const std::string path = documents.File("list.csv");
  Export(&ExchangeMenu::mu_ExportComma_Click, "list.csv");
  const std::string once = documents.Read("list.csv");
  const std::string lines = once.substr(once.find("\r\n") + 2);
  struct Case {
    MessageAnswer answer;
    std::string expected;
    const char* count;
  };
  const Case cases[] = {{MessageAnswer::kYes, once + lines, "6"},
                        {MessageAnswer::kNo, once, "3"},
                        {MessageAnswer::kCancel, once, nullptr}};
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.answer));
    documents.Write("list.csv", once);
    Export(&ExchangeMenu::mu_ExportComma_Click, "list.csv", {c.answer});
    EXPECT_EQ(documents.Read("list.csv"), c.expected);
    ASSERT_GE(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages[1].text, path + " already exists. Add the 4 shown records to it?");
    EXPECT_EQ(dialogs.messages[1].buttons, MessageButtons::kYesNoCancel);
    if (c.count == nullptr) {
      EXPECT_EQ(dialogs.messages.size(), 2u);
    } else {
      EXPECT_NE(
          dialogs.messages.back().text.find(std::string("...contains ") + c.count + " records."),
          std::string::npos)
          << dialogs.messages.back().text;
    }
  }
  // A file from elsewhere without a last line end gets one before the lines.
  documents.Write("list.csv", "a,b");
  Export(&ExchangeMenu::mu_ExportComma_Click, "list.csv", {MessageAnswer::kYes});
  EXPECT_EQ(documents.Read("list.csv"), "a,b\r\n" + lines);
}

TEST_F(TextExchangeTest, LdifAndAgentExportsReplaceAFileOnlyWhenTheUserAgrees) {
  for (auto click : {&ExchangeMenu::mu_ExportNetscape_Click, &ExchangeMenu::mu_ExportAgent_Click}) {
    documents.Write("out.txt", "old");
    Export(click, "out.txt", {MessageAnswer::kNo});
    EXPECT_EQ(documents.Read("out.txt"), "old");
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages[1].text,
              documents.File("out.txt") + " already exists. Replace it with the shown records?");
    EXPECT_EQ(dialogs.messages[1].default_answer, MessageAnswer::kNo);
    Export(click, "out.txt", {MessageAnswer::kYes});
    EXPECT_NE(documents.Read("out.txt"), "old");
  }
  // The data set's own files are never a target.
  const std::string records = data.Read("tabrel.dat");
  Export(&ExchangeMenu::mu_ExportNetscape_Click, data.File("tabrel.dat"), {MessageAnswer::kYes});
  EXPECT_EQ(data.Read("tabrel.dat"), records);
  EXPECT_NE(dialogs.messages.back().text.find("is the record file of a data set"),
            std::string::npos);
}

TEST_F(TextExchangeTest, AFailedExportWriteChangesNoFile) {
  documents.Write("tabrel.ldif", "old");
  int step = 0;
  state.write_fault = [&](RewriteStep) { return ++step == 2; };
  Export(&ExchangeMenu::mu_ExportNetscape_Click, "tabrel.ldif", {MessageAnswer::kYes});
  EXPECT_EQ(documents.Read("tabrel.ldif"), "old");
  EXPECT_EQ(dialogs.messages.back().title, "Disk access error!");
  EXPECT_TRUE(dialogs.messages.back().text.ends_with("Nothing was exported; no file was changed."));
}

// ---- LDIF and Agent imports ------------------------------------------

constexpr const char* kTwoPeople =
    "version: 1\n\ndn: cn=Anna Berg,o=x\ngivenName: Anna\nsn: Berg\nmail: anna@berg.example\n"
    "description:: TGluZSBvbmUKbMOkaW5lIHR3bw==\n\n"
    "dn: cn=list,o=x\ncn: list\nmember: cn=Anna Berg,o=x\n\n"
    "dn: ou=People,o=x\nou: People\n\n"
    "dn: cn=Sven Ek,o=x\nchangetype: delete\n\n"
    "dn: o=Acme\no: Acme \xE2\x98\x83 Corp\n";

TEST_F(TextExchangeTest, AnLdifImportAsksCountsOffersTheBackupAndAddsTheRecords) {
  documents.Write("people.ldif", kTwoPeople);
  const std::size_t before = Records().size();
  Import(&ExchangeMenu::mu_ImportNetscape_Click, "people.ldif", {MessageAnswer::kYes});
  EXPECT_EQ(files.caption, " Select .ldif file ");
  EXPECT_EQ(files.pattern, "*.ldif");
  const std::string skipped =
      "3 entries were skipped: 1 change to a directory (modify, delete or rename), 1 group or "
      "mailing list and 1 entry without a name, organization or e-mail address.";
  ASSERT_EQ(dialogs.messages.size(), 4u);
  EXPECT_EQ(dialogs.messages[0].title, "Import .ldif Format");
  EXPECT_EQ(dialogs.messages[0].text,
            "\r\nThis will attempt to import the file you select and convert its contents to "
            "Tabrel records. Proceed?");
  EXPECT_EQ(dialogs.messages[1].title, "Ready to Import!");
  EXPECT_EQ(
      dialogs.messages[1].text,
      documents.File("people.ldif") + " appears to contain 2 records. Proceed?\r\n\r\n" + skipped);
  EXPECT_EQ(dialogs.messages[1].default_answer, MessageAnswer::kNo);
  // No backup set yet: one is made without asking.
  EXPECT_EQ(dialogs.messages[2].text, "New backup set created!");
  EXPECT_EQ(dialogs.messages[3].title, "Import Complete");
  EXPECT_EQ(dialogs.messages[3].text,
            "Done! All the new records have been given the keyword ldif_New, to help you find "
            "them.\r\n\r\n2 records were added.\r\n" +
                skipped +
                "\r\n1 character could not be stored and became \"?\" (the record files hold "
                "only the Windows-1252 character set).\r\n\r\n" +
                std::string(kBackupNote));
  const std::vector<ContactRecord> records = Records();
  ASSERT_EQ(records.size(), before + 2);
  const ContactRecord& anna = records[before];
  EXPECT_EQ(Trim(anna.FirstName), "Anna");
  EXPECT_EQ(Trim(anna.Notes), "Line one\r\nl\xE4ine two");
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

TEST_F(TextExchangeTest, AKeywordAlreadyListedIsNotListedTwice) {
  documents.Write("people.ldif", kTwoPeople);
  Import(&ExchangeMenu::mu_ImportNetscape_Click, "people.ldif", {MessageAnswer::kYes});
  const std::string keywords = Keywords();
  Import(&ExchangeMenu::mu_ImportNetscape_Click, "people.ldif", {MessageAnswer::kYes});
  EXPECT_EQ(Keywords(), keywords);
  EXPECT_EQ(Records().size(), 3u + 4u);
}

TEST_F(TextExchangeTest, ImportsRefuseFilesTheyCannotUseAndWriteNothing) {
  const std::string records = data.Read("tabrel.dat");
  const std::string keywords = Keywords();
  struct Case {
    void (ExchangeMenu::*click)();
    std::string bytes;
    std::string message;  // after the path
  };
  const Case cases[] = {
      {&ExchangeMenu::mu_ImportNetscape_Click, "First Name,Last Name\r\nA,B\r\n",
       "\r\nis not a valid .ldif address book export file! Operation aborted."},
      {&ExchangeMenu::mu_ImportNetscape_Click, "dn: ou=a\nou: a\n\ndn: cn=g\nmember: x\n",
       "\r\nholds no entries that can become records. Nothing was imported.\r\n\r\n2 entries "
       "were skipped: 1 group or mailing list and 1 entry without a name, organization or e-mail "
       "address."},
      {&ExchangeMenu::mu_ImportAgent_Click, "Nickname: x\r\nName: A\r\n",
       "\r\nis not a valid Agent address book export file! Operation aborted."},
      {&ExchangeMenu::mu_ImportAgent_Click, "Name:\r\nField-Text: \r\n",
       "\r\nholds no entries that can become records. Nothing was imported.\r\n\r\n1 entry was "
       "skipped: they have neither a name nor an e-mail address."},
      {&ExchangeMenu::mu_ImportAgent_Click, std::string("Name: A\0B", 9),
       "\r\nis not a text file: it holds NUL characters, as program and data files do. Nothing "
       "was imported."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    documents.Write("in.txt", c.bytes);
    Import(c.click, "in.txt");
    ASSERT_EQ(dialogs.messages.size(), 2u) << "no backup offer, no further question";
    EXPECT_EQ(dialogs.messages[1].text, documents.File("in.txt") + c.message);
    EXPECT_EQ(data.Read("tabrel.dat"), records);
    EXPECT_EQ(Keywords(), keywords);
  }
  // No file chosen.
  dialogs.messages.clear();
  dialogs.answers = {MessageAnswer::kYes};
  files.choice.reset();
  menu.mu_ImportAgent_Click();
  EXPECT_EQ(MessageTexts().back(), "You must select a file to import.");
  EXPECT_EQ(files.caption, " Select .TXT file ");
  EXPECT_EQ(files.pattern, "*.txt");
}

TEST_F(TextExchangeTest, AnAgentImportChecksTheFileBeforeItOffersTheBackup) {
  documents.Write("agent.txt",
                  "Name: Ann Mary Adams\r\nAddresses: \"Ann\"<ann@adams.example>\r\n"
                  "Comments: met at the fair\r\nField-Text: \r\n\r\nName: Bo\r\n");
  Import(&ExchangeMenu::mu_ImportAgent_Click, "agent.txt");
  ASSERT_EQ(dialogs.messages.size(), 3u);
  EXPECT_EQ(dialogs.messages[0].title, "Import Agent Address Book Format");
  EXPECT_EQ(dialogs.messages[1].text, "New backup set created!");
  EXPECT_EQ(dialogs.messages[2].text,
            "Done! All the new records have been given the keyword AgentNew, to help you find "
            "them.\r\n\r\n2 records were added.\r\n\r\n" +
                std::string(kBackupNote));
  const std::vector<ContactRecord> records = Records();
  ASSERT_EQ(records.size(), 5u);
  EXPECT_EQ(Trim(records[3].FirstName), "Ann");
  EXPECT_EQ(Trim(records[3].LastName), "Mary Adams");
  EXPECT_EQ(Trim(records[3].EMail), "ann@adams.example");
  EXPECT_EQ(Trim(records[3].Notes), "met at the fair");
  EXPECT_EQ(Trim(records[4].FirstName), "Bo");
  EXPECT_TRUE(IsBlank(records[4].Notes));
}

// Refused as the native import is: before a question is asked or a file
// chosen or read, with the main window's own message.
TEST_F(TextExchangeTest, AReadOnlyDataSetRefusesEveryImportBeforeAnythingIsReadOrWritten) {
  documents.Write("in.csv", "First Name,Last Name\r\nAnn,Adams\r\n");
  documents.Write("people.ldif", kTwoPeople);
  documents.Write("agent.txt", "Name: Bo\r\n");
  documents.Write("cards.vcf", "BEGIN:VCARD\r\nN:New;Nia\r\nEND:VCARD\r\n");
  const std::string records = data.Read("tabrel.dat");
  const std::string keywords = Keywords();
  host.read_only = true;
  const std::pair<void (ExchangeMenu::*)(), const char*> imports[] = {
      {&ExchangeMenu::mu_ImportComma_Click, "in.csv"},
      {&ExchangeMenu::mu_ImportNetscape_Click, "people.ldif"},
      {&ExchangeMenu::mu_ImportAgent_Click, "agent.txt"},
      {&ExchangeMenu::mu_ImportVcard_Click, "cards.vcf"},
  };
  int checks = 0;
  for (const auto& [click, file] : imports) {
    SCOPED_TRACE(file);
    Import(click, file, {MessageAnswer::kYes, MessageAnswer::kYes});
    EXPECT_EQ(host.writable_checks, ++checks);
    EXPECT_TRUE(dialogs.messages.empty()) << "the main window says why, once";
    EXPECT_EQ(files.caption, "") << "refused before a file is chosen";
  }
  EXPECT_TRUE(host.opened.empty());
  EXPECT_TRUE(host.comma_opened.empty());
  EXPECT_EQ(data.Read("tabrel.dat"), records);
  EXPECT_EQ(Keywords(), keywords);
  EXPECT_FALSE(data.Exists("tabrel.bak"));

  host.read_only = false;
  Import(&ExchangeMenu::mu_ImportComma_Click, "in.csv");
  EXPECT_EQ(host.comma_opened, Texts{documents.File("in.csv")});
}

TEST_F(TextExchangeTest, AFailedWriteAtAnyStepLeavesBothDataFilesByteIdentical) {
  documents.Write("people.ldif", kTwoPeople);
  const std::string records = data.Read("tabrel.dat");
  const std::string keywords = Keywords();
  // A backup set is there and the offer to replace it is declined, so that
  // every step counted is one of the import's own.
  data.Write("tabrel.bak", records);
  data.Write("keyword.bak", data.Read("keyword.dat"));
  for (int failing = 1; failing <= 10; ++failing) {
    SCOPED_TRACE(failing);
    int step = 0;
    state.write_fault = [&](RewriteStep) { return ++step == failing; };
    Import(&ExchangeMenu::mu_ImportNetscape_Click, "people.ldif",
           {MessageAnswer::kYes, MessageAnswer::kNo});
    const Message& last = dialogs.messages.back();
    EXPECT_EQ(last.title, "Disk access error!");
    EXPECT_TRUE(last.text.ends_with(kUnchanged)) << last.text;
    EXPECT_EQ(data.Read("tabrel.dat"), records);
    EXPECT_EQ(Keywords(), keywords);
  }
  EXPECT_EQ(host.keyword_refills, 0);
}

TEST_F(TextExchangeTest, AnImportPastTheLimitIsRefusedNamingBothNumbers) {
  const std::string blank = EncodeContact(Contact("1", "", "", "01-01-2000 1"));
  std::string full;
  for (std::size_t i = 0; i < l::kMaxRecords - 1; ++i) full += blank;
  data.Write("tabrel.dat", full);
  documents.Write("people.ldif", kTwoPeople);
  Import(&ExchangeMenu::mu_ImportNetscape_Click, "people.ldif", {MessageAnswer::kYes});
  ASSERT_EQ(dialogs.messages.size(), 2u) << "no question, no backup offer";
  EXPECT_EQ(dialogs.messages[1].text,
            std::string("Error 6: The data set holds 32,766 records and 2 would be added: 32,768, "
                        "more than the 32,767 records a data set can hold\r\n") +
                kUnchanged);
  EXPECT_EQ(data.Read("tabrel.dat").size(), full.size());
}

// ---- round trips --------------------------------------------------------

TEST_F(TextExchangeTest, LdifAndAgentRoundTripsKeepWhatTheFormatsCarry) {
  Export(&ExchangeMenu::mu_ExportNetscape_Click, "round.ldif");
  Export(&ExchangeMenu::mu_ExportAgent_Click, "round.txt");
  testing::TempDir fresh;
  state.data_path = fresh.path();
  Import(&ExchangeMenu::mu_ImportNetscape_Click, "round.ldif", {MessageAnswer::kYes});
  Import(&ExchangeMenu::mu_ImportAgent_Click, "round.txt");
  data.Write("tabrel.dat", fresh.Read("tabrel.dat"));
  const std::vector<ContactRecord> back = Records();
  ASSERT_EQ(back.size(), 6u);
  // LDIF: names, title, organisation, address, phone, fax, e-mail, notes.
  const ContactRecord& zoe = back[0];
  EXPECT_EQ(Trim(zoe.FirstName), "Zo\xEB");
  EXPECT_EQ(Trim(zoe.LastName), "M\xFCller");
  EXPECT_EQ(Trim(zoe.Title), "The \"Boss\"");
  EXPECT_EQ(Trim(zoe.Org), "Caf\xE9 \"Chez Nous\", Ltd");
  EXPECT_EQ(Trim(zoe.Add1), "12 Rue de l'\xC9glise");
  EXPECT_EQ(Trim(zoe.Add2), ":Back door");
  EXPECT_EQ(Trim(zoe.State), "Rh\xF4ne");
  EXPECT_EQ(Trim(zoe.Fax), "555-0101");
  EXPECT_EQ(Trim(zoe.Notes), "First line of the note Name: second line");
  EXPECT_EQ(zoe.RecType, "1");
  EXPECT_EQ(Trim(back[1].Org), "Brook Ltd");
  EXPECT_EQ(back[1].RecType, "2");
  EXPECT_EQ(Trim(back[1].Notes), "<b>bold</b>");
  // Agent: names, e-mail and notes, a note line that reads "Name:" too.
  const ContactRecord& agent = back[3];
  EXPECT_EQ(Trim(agent.FirstName), "Zo\xEB");
  EXPECT_EQ(Trim(agent.LastName), "M\xFCller");
  EXPECT_EQ(Trim(agent.EMail), "zoe@cafe.example");
  EXPECT_EQ(Trim(agent.Notes), "First line of the note Name: second line");
  EXPECT_EQ(Trim(back[4].EMail), "sales@brook.example");
  EXPECT_EQ(Trim(back[5].LastName), "Adams");
}

}  // namespace
}  // namespace tabrel
