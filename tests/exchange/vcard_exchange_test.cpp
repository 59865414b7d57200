// "Export vCard" and "Import vCard" as the user meets them: the version
// question, the golden files of both versions, the import window with its
// duplicate rules, fresh stamps, keywords and losses, the refusal of a file
// whose cards do not pair up, and a round trip through both presenters.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "exchange/formats/vcard_writer.h"
#include "exchange/importing/import_plan.h"
#include "exchange/record_export.h"
#include "fakes/exchange_harness.h"
#include "fakes/golden.h"
#include "store/layout.h"

namespace tabrel {
namespace {

namespace l = layout;
using testing::Keyword;
using testing::ParseContacts;
using testing::ReadBytes;
using testing::Stamps;
using Texts = std::vector<std::string>;

const std::filesystem::path kFolder = testing::TestDataFolder("exchange");

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

TEST_F(VcardExchangeTest, ExportWritesVersion3ByDefaultInListOrder) {
  const std::string text = Export("cards.vcf");
  const Message& question = dialogs.messages[0];
  EXPECT_EQ(question.title, "Export vCard");
  EXPECT_EQ(question.text,
            "This will export the 8 currently displayed records as vCards, which other address "
            "books can import.\r\n\r\nvCard 3.0 is read by nearly every address book.");
  EXPECT_EQ(question.buttons, MessageButtons::kYesNoCancel);
  EXPECT_EQ(question.yes_text + "|" + question.no_text, "vCard 3.0|vCard 4.0");
  EXPECT_EQ(question.default_answer, MessageAnswer::kYes);
  ASSERT_EQ(dialogs.inputs.size(), 1u);
  EXPECT_EQ(dialogs.inputs[0].default_answer, documents.path() + "tabrel.vcf");
  EXPECT_EQ(dialogs.messages.back().title, "Export Complete");
  EXPECT_EQ(dialogs.messages.back().text,
            "Done! \r\n\r\n" + documents.File("cards.vcf") +
                "\r\n\r\n...contains 7 vCards (version 3.0). Other address books can import "
                "them.\r\n\r\n" +
                LeftOutNote(1));
  testing::ExpectGolden(kFolder, "vcard_export_30", text);
}

TEST_F(VcardExchangeTest, NoToTheQuestionWritesVersion4AndCancelWritesNothing) {
  testing::ExpectGolden(kFolder, "vcard_export_40", Export("cards.vcf", MessageAnswer::kNo));
  EXPECT_EQ(Export("other.vcf", MessageAnswer::kCancel), "");
  EXPECT_EQ(dialogs.inputs.size(), 1u) << "no file name asked after Cancel";
}

TEST_F(VcardExchangeTest, ImportAddsCardsUnderFreshStampsWithTheirCategoriesAndSaysWhatWasLost) {
  clock.now = {2024, 3, 7, 3600};
  const std::string before = Records();
  ImportWindow& window =
      Import("new.vcf",
             "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Egan;Eve\r\nCATEGORIES:Golf,New friends,C,D\r\n"
             "BDAY:1970-01-01\r\nREV:2001-01-01T00:00:00Z\r\nEND:VCARD\r\n"
             "BEGIN:VCARD\r\nVERSION:2.1\r\nN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:=C4=BDuba;Zo="
             "C3=AB\r\n"
             "ORG:A name far too long for the forty characters of Org\r\nEND:VCARD\r\n"
             "BEGIN:VCARD\r\nVERSION:4.0\r\nPHOTO:http://example.com/p.jpg\r\nEND:VCARD\r\n");
  EXPECT_EQ(import_view.description.substr(0, 28), "This file contains 3 vCards,");
  // "Add Extra Items to Notes", offered for vCards: the birthday goes to the notes.
  import_view.extras_to_notes = import_view.extras_shown;
  window.Command1_Click();
  const std::string records = Records();
  ASSERT_EQ(records.size(), before.size() + 2 * l::kContactRecordLength);
  EXPECT_EQ(records.substr(0, before.size()), before);
  EXPECT_EQ(Stamps(records.substr(before.size())),
            (Texts{"03-07-2024 3600", "03-07-2024 3599.999"}));
  const ContactRecord eve = DecodeContact(records.substr(before.size()));
  EXPECT_EQ(eve.RecType + "|" + Trim(eve.Notes), "1|Birthday: 1970-01-01");
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
            "1 category past the third of a card could not become keywords.\r\n"
            "Not stored, no field holds them: photo: 1.\r\n\r\n"
            "Note - If you made a backup data set this operation can be reversed at the main "
            "menu: File, Restore Backup Data.");
  EXPECT_EQ(host.keyword_refills, 1);
}

}  // namespace
}  // namespace tabrel
