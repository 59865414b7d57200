// The comma-delimited field selector: the preview, the links, the options,
// and the import it runs.
#include "exchange/comma_parse.h"

#include <gtest/gtest.h>

#include <map>

#include "base/text.h"
#include "base/text_decoding.h"
#include "exchange/importing/import_report.h"
#include "fakes/exchange_harness.h"
#include "store/data_set_lock.h"
#include "store/layout.h"

namespace tabrel {
namespace {

namespace l = layout;
using testing::Contact;

// Remembers what the window was told to show, and answers as the user set
// the controls.
class FakeCommaParseView : public CommaParseView {
 public:
  void SetFileText(const std::string& text) override { file = text; }
  void SetTargetText(const std::string& text) override { target = text; }
  void SetPreview(const std::vector<std::string>& entries) override { preview = entries; }
  void SetLink(RecordField field, const std::string& number, const std::string& name) override {
    links[field] = number;
    link_names[field] = name;
  }
  void SetHeaderBox(bool checked) override { header = checked; }
  bool HeaderBox() const override { return header; }
  void SetEncoding(std::size_t index) override { encoding = index; }
  std::size_t Encoding() const override { return encoding; }
  void SetKeyword(const std::string& text) override { keyword = text; }
  std::string Keyword() const override { return keyword; }
  void SetIndividual(bool value) override { individual = value; }
  bool Individual() const override { return individual; }
  void SetExtras(bool value) override { extras = value; }
  bool Extras() const override { return extras; }
  void SetProgressRange(int minimum, int maximum) override { range = {minimum, maximum}; }
  void SetProgressValue(int value) override { progress.push_back(value); }
  void SetBusy(bool value) override { busy = value; }
  void Close() override { closed = true; }

  std::string file, target, keyword;
  std::vector<std::string> preview;
  std::map<RecordField, std::string> links, link_names;
  bool header = false, individual = true, extras = true, busy = false, closed = false;
  std::size_t encoding = 99;
  std::pair<int, int> range{0, 0};
  std::vector<int> progress;
};

class CommaParseTest : public ::testing::Test, public testing::ExchangeHarness {
 protected:
  void SetUp() override {
    testing::WriteContacts(data, {Contact("1", "Old", "One", "01-01-2000 1")});
    testing::WriteKeywords(data, {"Golf"});
  }
  CommaParse& Open(const std::string& bytes) {
    documents.Write("in.csv", bytes);
    parse =
        std::make_unique<CommaParse>(state, view, host, dialogs, clock, documents.File("in.csv"));
    parse->Form_Load();
    return *parse;
  }
  std::vector<ContactRecord> Added() const {
    std::vector<ContactRecord> out;
    const std::string bytes = data.Read("tabrel.dat");
    for (std::size_t at = l::kContactRecordLength; at + l::kContactRecordLength <= bytes.size();
         at += l::kContactRecordLength) {
      out.push_back(DecodeContact(bytes.substr(at)));
    }
    return out;
  }
  // Clicks the preview entry that reads `entry`, then the link of `field`.
  void LinkBy(const std::string& entry, RecordField field) {
    const auto it = std::find(view.preview.begin(), view.preview.end(), entry);
    ASSERT_NE(it, view.preview.end()) << entry;
    parse->InputList_Click(static_cast<int>(it - view.preview.begin()));
    parse->Link_Click(field);
  }

  FakeCommaParseView view;
  std::unique_ptr<CommaParse> parse;
};

constexpr const char* kOutlook =
    "First Name,Last Name,Company,Job Title,E-mail Address,Business Street\r\n"
    "Ann,Adams,Acme,Boss,ann@acme.example,\"1 Main St\r\nSuite 2\"\r\n"
    "\r\n"
    "Bo,Berg,,,bo@berg.example,\r\n";

TEST_F(CommaParseTest, OpensWithAPreviewNamedFieldsAndSuggestedLinks) {
  Open(kOutlook);
  EXPECT_EQ(view.file, documents.File("in.csv") + " appears to contain 2 records.");
  EXPECT_EQ(view.target, "The records go into the data set in " + data.path());
  EXPECT_TRUE(view.header);
  EXPECT_EQ(view.keyword, "comma_new");
  EXPECT_FALSE(view.individual);
  EXPECT_FALSE(view.extras);
  EXPECT_EQ(view.encoding, 0u);
  ASSERT_EQ(view.preview.size(), 14u);
  EXPECT_EQ(view.preview[0], "||||||||||| RECORD 1 ||||||||||||");
  EXPECT_EQ(view.preview[1], "1 (First Name) = Ann");
  EXPECT_EQ(view.preview[6], "6 (Business Street) = 1 Main St\u00B6Suite 2");
  EXPECT_EQ(view.preview[7], "||||||||||| RECORD 2 ||||||||||||");
  EXPECT_EQ(view.links[RecordField::kFirstName], "1");
  EXPECT_EQ(view.links[RecordField::kLastName], "2");
  EXPECT_EQ(view.links[RecordField::kOrg], "3");
  EXPECT_EQ(view.links[RecordField::kTitle], "4");
  EXPECT_EQ(view.links[RecordField::kEMail], "5");
  EXPECT_EQ(view.link_names[RecordField::kEMail], "E-mail Address");
  EXPECT_EQ(view.links[RecordField::kAdd1], "6");
  EXPECT_EQ(view.links[RecordField::kNotes], "");
}

TEST_F(CommaParseTest, ImportAddsOneRecordPerRecordWithKeywordTypeAndExtras) {
  Open(kOutlook);
  view.keyword = " Clients ";
  view.extras = true;
  LinkBy("||||||||||| RECORD 1 ||||||||||||", RecordField::kTitle);  // Title goes to the notes
  documents.Write("in.csv", "");  // Import takes what the window read and shows
  parse->Command1_Click();
  const std::vector<ContactRecord> added = Added();
  ASSERT_EQ(added.size(), 2u);
  EXPECT_EQ(Trim(added[0].FirstName), "Ann");
  EXPECT_EQ(Trim(added[0].Add1), "1 Main St");
  EXPECT_EQ(Trim(added[0].Add2), "Suite 2");
  EXPECT_EQ(Trim(added[0].KW1), "Clients");
  EXPECT_EQ(Trim(added[0].Notes), "Boss");
  EXPECT_EQ(added[0].RecType, "2");  // an organisation: "Default to Organization"
  EXPECT_EQ(added[1].RecType, "1");  // none
  EXPECT_NE(added[0].Modified, added[1].Modified);
  EXPECT_TRUE(view.closed);
  EXPECT_EQ(host.keyword_refills, 1);
  EXPECT_EQ(data.Read("keyword.dat"), testing::Keyword("Clients") + testing::Keyword("Golf"));
  ASSERT_FALSE(dialogs.messages.empty());
  EXPECT_EQ(dialogs.messages.back().title, "Import Completed!");
  EXPECT_EQ(dialogs.messages.back().text,
            "2 records were added.\r\n\r\nRemember, the new records all have the keyword Clients "
            "and are at the end of the list. You will no doubt need to open some or all of them "
            "and change the TYPE classification, add keywords, etc.");
  EXPECT_EQ(view.range, std::make_pair(1, 2));
  EXPECT_EQ(view.progress.back(), 2);
}

TEST_F(CommaParseTest, TheEncodingChoiceReadsThePreviewAgain) {
  // Windows-1251 bytes, which read as accented Latin letters by default.
  Open("Last Name\r\n\xcf\xe5\xf2\xf0\xee\xe2\r\n");
  EXPECT_EQ(view.preview[1], "1 (Last Name) = \u00CF\u00E5\u00F2\u00F0\u00EE\u00E2");
  for (std::size_t i = 0; i < kTextEncodingChoices.size(); ++i) {
    if (kTextEncodingChoices[i].name == "WINDOWS-1251") view.encoding = i;
  }
  parse->Encoding_Click();
  EXPECT_EQ(view.preview[1], "1 (Last Name) = \u041F\u0435\u0442\u0440\u043E\u0432");
  EXPECT_EQ(view.links[RecordField::kLastName], "1");
  parse->Command1_Click();
  // Cyrillic cannot be stored: six question marks, and the user is told.
  ASSERT_EQ(Added().size(), 1u);
  EXPECT_EQ(Trim(Added()[0].LastName), "??????");
  EXPECT_NE(dialogs.messages.back().text.find("6 characters could not be stored"),
            std::string::npos);
}

}  // namespace
}  // namespace tabrel
