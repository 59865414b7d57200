// "Export vCard" and "Import vCard" as the user meets them: the version
// question, the golden files of both versions, the import window with its
// duplicate rules, fresh stamps, keywords and losses, the refusal of a file
// whose cards do not pair up, and a round trip through both presenters.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "exchange/formats/vcard_writer.h"
#include "exchange/importing/import_plan.h"
#include "exchange/vcard_export.h"
#include "fakes/exchange_harness.h"
#include "fakes/golden.h"
#include "store/layout.h"

namespace tabrel {
namespace {

namespace l = layout;
using testing::Contact;
using testing::Keyword;
using testing::ParseContacts;
using testing::ReadBytes;
using testing::Stamps;
using Texts = std::vector<std::string>;

const std::filesystem::path kFolder = testing::TestDataFolder("exchange");

constexpr const char* kUnchanged = "Nothing was imported; your data is unchanged.";
const std::vector<std::string> kKeywords = {"Clients \x80", "Golf",  "Suppliers",
                                            "Tools",        "~Amis", "~Family"};

std::string KeywordBytes(const std::vector<std::string>& keywords) {
  std::string bytes;
  for (const std::string& keyword : keywords) bytes += Keyword(keyword);
  return bytes;
}

class VcardExchangeTest : public ::testing::Test, public testing::ExchangeHarness {
 protected:
  void SetUp() override {
    testing::WriteContacts(data, Original());
    testing::WriteKeywords(data, kKeywords);
    // Every record in an order of its own, and a row whose record is gone.
    host.ListStamps({"03-04-2005 300", "07-08-2009 50000.5", "01-02-2003 100", "09-09-1999 999",
                     "05-06-2007 500", "02-03-2004 200", "08-09-2010 60000", "04-05-2006 400"});
  }
  static std::vector<ContactRecord> Original() {
    return ParseContacts(ReadBytes(kFolder / "vcard_contacts.in"));
  }
  // Answers the version question with `version` (Yes 3.0, No 4.0) and the
  // file name box with `name`.
  std::string Export(const std::string& name, MessageAnswer version = MessageAnswer::kYes) {
    dialogs.answers.push_back(version);
    dialogs.input_answers.push_back(name);
    menu.mu_ExportVcard_Click();
    return documents.Exists(name) ? documents.Read(name) : "";
  }
  ImportWindow& Import(const std::string& name, const std::string& text) {
    documents.Write(name, text);
    return OpenImport(ImportKind::kVcard, documents.File(name));
  }
  std::string Records() const { return data.Read("tabrel.dat"); }
  std::string Keywords() const { return data.Read("keyword.dat"); }
};

// Compares `actual` with <name>.expected (or writes it when asked to).
void ExpectGolden(const std::string& name, const std::string& actual) {
  const auto path = kFolder / (name + ".expected");
  if (std::getenv("TABREL_UPDATE_GOLDEN") != nullptr) {
    std::ofstream(path, std::ios::binary) << actual;
  }
  ASSERT_TRUE(std::filesystem::exists(path)) << path;
  const std::string expected = ReadBytes(path);
  EXPECT_TRUE(expected == actual) << name << ": " << testing::FirstDifference(expected, actual);
}

TEST_F(VcardExchangeTest, ExportWritesVersion3ByDefaultInListOrder) {
  const std::string text = Export("cards.vcf");
  const Message& question = dialogs.messages[0];
  EXPECT_EQ(question.title, "Export vCard");
  EXPECT_EQ(question.text,
            "This will export the 8 currently displayed records as vCards, which other address "
            "books can import.\r\n\r\nYes writes vCard 3.0, which nearly every address book "
            "reads.\r\nNo writes vCard 4.0.");
  EXPECT_EQ(question.buttons, MessageButtons::kYesNoCancel);
  EXPECT_EQ(question.default_answer, MessageAnswer::kYes);
  ASSERT_EQ(dialogs.inputs.size(), 1u);
  EXPECT_EQ(dialogs.inputs[0].default_answer, documents.path() + "tabrel.vcf");
  EXPECT_EQ(dialogs.messages.back().title, "Export Complete");
  EXPECT_EQ(dialogs.messages.back().text,
            "Done! \r\n\r\n" + documents.File("cards.vcf") +
                "\r\n\r\n...contains 7 vCards (version 3.0). Other address books can import "
                "them.\r\n\r\n" +
                LeftOutNote(1));
  ExpectGolden("vcard_export_30", text);
}

TEST_F(VcardExchangeTest, NoToTheQuestionWritesVersion4AndCancelWritesNothing) {
  ExpectGolden("vcard_export_40", Export("cards.vcf", MessageAnswer::kNo));
  EXPECT_EQ(Export("other.vcf", MessageAnswer::kCancel), "");
  EXPECT_EQ(dialogs.inputs.size(), 1u) << "no file name asked after Cancel";
}

TEST_F(VcardExchangeTest, AFileThereIsReplacedOnlyAfterYesAndAFailedWriteKeepsIt) {
  documents.Write("cards.vcf", "old");
  dialogs.answers = {MessageAnswer::kYes, MessageAnswer::kNo};
  dialogs.input_answers = {std::string("cards.vcf")};
  menu.mu_ExportVcard_Click();
  EXPECT_EQ(dialogs.messages.back().text,
            documents.File("cards.vcf") + " already exists. Replace it?");
  EXPECT_EQ(dialogs.messages.back().default_answer, MessageAnswer::kNo);
  EXPECT_EQ(documents.Read("cards.vcf"), "old");

  for (int failing = 1; failing <= 5; ++failing) {
    SCOPED_TRACE(failing);
    int step = 0;
    state.write_fault = [&](RewriteStep) { return ++step == failing; };
    dialogs.answers = {MessageAnswer::kYes, MessageAnswer::kYes};
    dialogs.input_answers = {std::string("cards.vcf")};
    menu.mu_ExportVcard_Click();
    EXPECT_EQ(dialogs.messages.back().title, "Disk access error!");
    EXPECT_TRUE(
        dialogs.messages.back().text.ends_with("\r\nNothing was exported; no file was changed."));
    EXPECT_EQ(documents.Read("cards.vcf"), "old");
  }
  EXPECT_FALSE(host.busy);
}

TEST_F(VcardExchangeTest, ImportVcardChoosesAFileAndRefusesOneWithoutCards) {
  documents.Write("notes.txt", "Just some text\r\n");
  files.choice = FileChoice{documents.path(), "notes.txt"};
  menu.Click(ExchangeItem::kImportVcard);
  EXPECT_EQ(files.pattern, "*.vcf;*.vcard");
  EXPECT_EQ(files.caption, " Select a vCard file ");
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].text,
            "This file does not contain vCards (no BEGIN:VCARD ... END:VCARD).");
  EXPECT_TRUE(host.opened.empty());

  documents.Write("one.vcf", "BEGIN:VCARD\r\nFN:A\r\nEND:VCARD\r\n");
  files.choice = FileChoice{documents.path(), "one.vcf"};
  menu.Click(ExchangeItem::kImportVcard);
  ASSERT_EQ(host.opened.size(), 1u);
  EXPECT_EQ(host.opened[0].kind, ImportKind::kVcard);
  EXPECT_EQ(host.opened[0].path, documents.File("one.vcf"));
}

TEST_F(VcardExchangeTest, ImportAddsCardsUnderFreshStampsWithTheirCategoriesAndSaysWhatWasLost) {
  clock.now = {2024, 3, 7, 3600};
  const std::string before = Records();
  ImportWindow& window =
      Import("new.vcf",
             "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Egan;Eve\r\nCATEGORIES:Golf,New friends,C,D\r\n"
             "REV:2001-01-01T00:00:00Z\r\nEND:VCARD\r\n"
             "BEGIN:VCARD\r\nVERSION:2.1\r\nN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:=C4=BDuba;Zo="
             "C3=AB\r\n"
             "ORG:A name far too long for the forty characters of Org\r\nEND:VCARD\r\n"
             "BEGIN:VCARD\r\nVERSION:4.0\r\nPHOTO:http://example.com/p.jpg\r\nEND:VCARD\r\n");
  EXPECT_TRUE(
      import_view.description.starts_with("This file contains 3 vCards,\r\nand was last "
                                          "modified @"))
      << import_view.description;
  window.Command1_Click();
  const std::string records = Records();
  ASSERT_EQ(records.size(), before.size() + 2 * l::kContactRecordLength);
  EXPECT_EQ(records.substr(0, before.size()), before);
  EXPECT_EQ(Stamps(records.substr(before.size())),
            (Texts{"03-07-2024 3600", "03-07-2024 3599.999"}));
  const ContactRecord eve = DecodeContact(records.substr(before.size()));
  EXPECT_EQ(eve.RecType, "1");
  EXPECT_EQ(eve.KW1 + eve.KW2 + eve.KW3, Keyword("Golf") + Keyword("New friends") + Keyword("C"));
  const ContactRecord zoe = DecodeContact(records.substr(before.size() + l::kContactRecordLength));
  EXPECT_EQ(Trim(zoe.LastName), "?uba");
  EXPECT_EQ(Trim(zoe.FirstName), "Zo\xEB");
  EXPECT_EQ(zoe.RecType, "1");
  EXPECT_EQ(Keywords(), KeywordBytes({"C", "Clients \x80", "Golf", "New friends", "Suppliers",
                                      "Tools", "~Amis", "~Family"}));
  EXPECT_EQ(import_view.list,
            "\r\nAdded: Eve Egan / \r\nAdded: Zo\xC3\xAB ?uba / A name far too "
            "long for the forty charac");
  EXPECT_EQ(import_view.results,
            "2 records were added.\r\n0 records were replaced.\r\n0 duplicates were skipped.\r\n"
            "2 keywords were added.\r\n"
            "1 card held nothing a record can keep and was left out.\r\n"
            "1 character could not be stored in this program's character set and became \"?\".\r\n"
            "1 value was longer than its field and cut to fit.\r\n"
            "1 category past the third of a card could not become keywords.\r\n\r\n"
            "Note - If you made a backup data set this operation can be reversed at the main "
            "menu: File, Restore Backup Data.");
  EXPECT_EQ(host.keyword_refills, 1);
}

TEST_F(VcardExchangeTest, DuplicatesFollowTheRulesWithTheCardsRevisionAsItsDate) {
  clock.now = {2024, 3, 7, 3600};
  // Ann Baker is stamped 01-02-2003; Cy Clark is personal, 03-04-2005.
  const std::string cards =
      "BEGIN:VCARD\r\nN:Baker;Ann\r\nORG:Baker Tools\r\nEMAIL:new@baker.example\r\n"
      "REV:20030102T235959Z\r\nEND:VCARD\r\n"
      "BEGIN:VCARD\r\nN:Clark;Cy\r\nTITLE:Now a title\r\nREV:2006-01-01\r\nEND:VCARD\r\n"
      "BEGIN:VCARD\r\nN:Clark;Cy\r\nEND:VCARD\r\n";
  documents.Write("dup.vcf", cards);
  const ImportSource source{ImportKind::kVcard, documents.File("dup.vcf")};
  ImportPlan plan = PlanImport(state, source, {}, {2024, 3, 7, 3600});
  ASSERT_TRUE(plan.ready());
  Texts decisions;
  for (const ImportDecision& d : plan.import.decisions()) {
    decisions.push_back(RecordImport::DecisionText(d));
  }
  EXPECT_EQ(decisions, (Texts{"skip (duplicate of 01-02-2003 100)", "replace 03-04-2005 300",
                              "skip (duplicate of 03-07-2024 3600)"}));
  EXPECT_EQ(data.Read("tabrel.dat"), testing::ContactBytes(Original())) << "a plan writes nothing";

  // Under "Never" the undated card replaces too, and a replaced record keeps
  // being personal, since the card does not say.
  ImportWindow& window = Import("dup.vcf", cards);
  import_view.rules = {DuplicateDefinition::kSameName, DuplicateSkip::kNever};
  window.Command1_Click();
  const std::string records = Records();
  EXPECT_EQ(Stamps(records)[0], "03-07-2024 3600");
  EXPECT_EQ(Trim(DecodeContact(records).EMail), "new@baker.example");
  EXPECT_EQ(DecodeContact(records).RecType, "1");
  const ContactRecord clark = DecodeContact(records.substr(2 * l::kContactRecordLength));
  EXPECT_EQ(Trim(clark.Modified), "03-07-2024 3599.998");
  EXPECT_EQ(clark.RecType, "3");
  EXPECT_EQ(Trim(clark.Title), "") << "the last card replaced the one before it";
  EXPECT_TRUE(import_view.results.starts_with("0 records were added.\r\n3 records were replaced."));
}

TEST_F(VcardExchangeTest, AFileWhoseCardsDoNotPairUpIsRefusedWithTheLinesAndNothingChanges) {
  const std::string records = Records();
  const std::string keywords = Keywords();
  Import("broken.vcf",
         "BEGIN:VCARD\r\nFN:One\r\nBEGIN:VCARD\r\nFN:Two\r\nEND:VCARD\r\nEND:VCARD\r\n"
         "BEGIN:VCARD\r\nFN:Three\r\n")
      .Command1_Click();
  ASSERT_EQ(dialogs.messages.size(), 1u) << "no backup offer";
  EXPECT_EQ(dialogs.messages[0].title, "Error");
  EXPECT_EQ(dialogs.messages[0].text,
            "This file is not a sound vCard file, so nothing was imported:\r\n"
            "Line 3: BEGIN:VCARD inside the card begun on line 1, which has no END:VCARD\r\n"
            "Line 6: END:VCARD without a BEGIN:VCARD before it\r\n"
            "Line 7: the card begun on this line has no END:VCARD");
  EXPECT_EQ(Records(), records);
  EXPECT_EQ(Keywords(), keywords);
  EXPECT_EQ(import_view.results, "");
}

TEST_F(VcardExchangeTest, AFailedWriteLeavesBothDataFilesAsTheyWere) {
  const std::string records = Records();
  const std::string keywords = Keywords();
  // A backup set is there and the offer to replace it is declined, so that
  // every step counted is one of the import's own.
  data.Write("tabrel.bak", records);
  data.Write("keyword.bak", keywords);
  ImportWindow& window =
      Import("one.vcf", "BEGIN:VCARD\r\nN:New;Nia\r\nCATEGORIES:Fresh\r\nEND:VCARD\r\n");
  for (int failing = 1; failing <= 10; ++failing) {
    SCOPED_TRACE(failing);
    int step = 0;
    dialogs.answers.push_back(MessageAnswer::kNo);
    state.write_fault = [&](RewriteStep) { return ++step == failing; };
    window.Command1_Click();
    EXPECT_TRUE(dialogs.messages.back().text.ends_with(kUnchanged)) << dialogs.messages.back().text;
    EXPECT_EQ(Records(), records);
    EXPECT_EQ(Keywords(), keywords);
  }
}

TEST_F(VcardExchangeTest, ExportedCardsImportIntoAnotherDataSetWithEveryField) {
  const std::string home = state.data_path;
  for (MessageAnswer version : {MessageAnswer::kYes, MessageAnswer::kNo}) {
    SCOPED_TRACE(version == MessageAnswer::kYes ? "3.0" : "4.0");
    state.data_path = home;
    Export("cards.vcf", version);
    testing::TempDir fresh;
    state.data_path = fresh.path();
    clock.now = {2024, 3, 7, 3600};
    OpenImport(ImportKind::kVcard, documents.File("cards.vcf")).Command1_Click();
    EXPECT_TRUE(import_view.results.starts_with("7 records were added.")) << import_view.results;
    const std::vector<ContactRecord> original = Original();
    const std::string imported = fresh.Read("tabrel.dat");
    ASSERT_EQ(imported.size(), 7 * l::kContactRecordLength);
    // In list order, each under a fresh stamp.
    const int order[] = {2, 5, 0, 4, 1, 6, 3};
    const Texts stamps = {"03-07-2024 3600",     "03-07-2024 3599.999", "03-07-2024 3599.998",
                          "03-07-2024 3599.997", "03-07-2024 3599.996", "03-07-2024 3599.995",
                          "03-07-2024 3599.994"};
    EXPECT_EQ(Stamps(imported), stamps);
    for (int i = 0; i < 7; ++i) {
      SCOPED_TRACE(i);
      const ContactRecord expected = DecodeContact(EncodeContact(original[order[i]]));
      const ContactRecord got = DecodeContact(imported.substr(i * l::kContactRecordLength));
      for (const ContactField& field : kContactFields) {
        if (std::string_view(field.name) == "Modified") continue;
        // Blanks typed before a value do not travel.
        EXPECT_EQ(Trim(got.*field.member), Trim(expected.*field.member)) << field.name;
      }
    }
    EXPECT_EQ(fresh.Read("keyword.dat"), KeywordBytes(kKeywords));
  }
}

}  // namespace
}  // namespace tabrel
