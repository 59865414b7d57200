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

TEST_F(CommaParseTest, LinksAreSetAndEmptiedByClickingAnEntryThenALink) {
  Open(kOutlook);
  LinkBy("3 (Company) = Acme", RecordField::kNotes);
  EXPECT_EQ(view.links[RecordField::kNotes], "3");
  // A RECORD line, or no entry at all, empties a link.
  LinkBy("||||||||||| RECORD 1 ||||||||||||", RecordField::kOrg);
  EXPECT_EQ(view.links[RecordField::kOrg], "");
  parse->InputList_Click(-1);
  parse->Link_Click(RecordField::kTitle);
  EXPECT_EQ(view.links[RecordField::kTitle], "");
  EXPECT_EQ(parse->Options().links[static_cast<std::size_t>(RecordField::kNotes)], 3u);
}

TEST_F(CommaParseTest, ClearingTheHeaderBoxMakesTheFirstLineARecord) {
  Open(kOutlook);
  view.header = false;
  parse->FirstLineNames_Click();
  EXPECT_EQ(view.file, documents.File("in.csv") + " appears to contain 3 records.");
  EXPECT_EQ(view.preview[1], "1 = First Name");
  EXPECT_EQ(view.links[RecordField::kFirstName], "1");  // the user's links stay
  parse->Command1_Click();
  EXPECT_EQ(Added().size(), 3u);
}

TEST_F(CommaParseTest, ImportAddsOneRecordPerRecordWithKeywordTypeAndExtras) {
  Open(kOutlook);
  view.keyword = " Clients ";
  view.extras = true;
  LinkBy("||||||||||| RECORD 1 ||||||||||||", RecordField::kTitle);  // Title goes to the notes
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

TEST_F(CommaParseTest, TheTypeFollowsTheDefaultOptionAsItsExceptionsSay) {
  struct Case {
    bool individual;
    std::string line;
    const char* type;
  };
  const Case cases[] = {
      {false, "Ann,Adams,Acme", "2"},
      {false, "Ann,Adams,", "1"},
      {true, "Ann,Adams,Acme", "1"},
      {true, ",,Acme", "2"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    testing::WriteContacts(data, {Contact("1", "Old", "One", "01-01-2000 1")});
    Open("First Name,Last Name,Company\r\n" + c.line + "\r\n");
    view.individual = c.individual;
    parse->Command1_Click();
    ASSERT_EQ(Added().size(), 1u);
    EXPECT_EQ(Added()[0].RecType, c.type);
  }
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

TEST_F(CommaParseTest, ReadsUtf16FilesByTheirMark) {
  std::string bytes = "\xFF\xFE";
  for (const char c : std::string("Last Name\r\nM\xFCller\r\n")) {
    bytes.push_back(c);
    bytes.push_back('\0');
  }
  Open(bytes);
  EXPECT_TRUE(view.header);
  EXPECT_EQ(view.preview[1], "1 (Last Name) = M\u00FCller");
  parse->Command1_Click();
  ASSERT_EQ(Added().size(), 1u);
  EXPECT_EQ(Trim(Added()[0].LastName), "M\xFCller");
}

TEST_F(CommaParseTest, AFileThatIsNotTextShowsWhyAndIsNotImported) {
  const std::string records = data.Read("tabrel.dat");
  Open(std::string("a,b\0c\r\n", 7));
  EXPECT_EQ(view.file, documents.File("in.csv") +
                           "\r\nThis is not a text file: it holds NUL characters, as program and "
                           "data files do.");
  EXPECT_TRUE(view.preview.empty());
  parse->Command1_Click();
  EXPECT_EQ(dialogs.messages.back().title, "Error!");
  EXPECT_EQ(data.Read("tabrel.dat"), records);
}

TEST_F(CommaParseTest, RefusesWhatCannotBeImportedAndWritesNothing) {
  const std::string records = data.Read("tabrel.dat");
  Open(kOutlook);
  view.keyword = "   ";
  parse->Command1_Click();
  EXPECT_EQ(dialogs.messages.back().title, "Nothing to do!");
  EXPECT_EQ(dialogs.messages.back().text,
            "You must type the keyword the new records are to carry.");
  view.keyword = "\u65E5\u672C";
  parse->Command1_Click();
  EXPECT_EQ(dialogs.messages.back().title, "Error!");

  Open("First Name,Last Name\r\n");
  parse->Command1_Click();
  EXPECT_EQ(
      dialogs.messages.back().text,
      documents.File("in.csv") + "\r\nholds no records to import below its line of field names.");
  EXPECT_FALSE(view.closed);
  EXPECT_EQ(data.Read("tabrel.dat"), records);
  EXPECT_EQ(host.keyword_refills, 0);
}

TEST_F(CommaParseTest, AFailedWriteLeavesTheDataSetAndTheWindowAsTheyWere) {
  const std::string records = data.Read("tabrel.dat");
  const std::string keywords = data.Read("keyword.dat");
  // A backup set is there and the offer to replace it is declined, so that
  // every step counted is one of the import's own.
  data.Write("tabrel.bak", records);
  data.Write("keyword.bak", keywords);
  Open(kOutlook);
  for (int failing = 1; failing <= 10; ++failing) {
    SCOPED_TRACE(failing);
    int step = 0;
    dialogs.answers.push_back(MessageAnswer::kNo);
    state.write_fault = [&](RewriteStep) { return ++step == failing; };
    parse->Command1_Click();
    EXPECT_EQ(dialogs.messages.back().title, "Disk access error!");
    EXPECT_TRUE(
        dialogs.messages.back().text.ends_with("Nothing was imported; your data is unchanged."));
    EXPECT_EQ(data.Read("tabrel.dat"), records);
    EXPECT_EQ(data.Read("keyword.dat"), keywords);
    EXPECT_FALSE(view.closed);
  }
}

TEST_F(CommaParseTest, OnlyTheCopyHoldingTheDataSetsLockImports) {
  Open(kOutlook);
  const std::string records = data.Read("tabrel.dat");
  host.read_only = true;
  parse->Command1_Click();
  EXPECT_EQ(host.writable_checks, 1);
  EXPECT_TRUE(dialogs.messages.empty()) << "the main window says why";
  EXPECT_EQ(data.Read("tabrel.dat"), records);
  EXPECT_FALSE(data.Exists("tabrel.bak"));
  EXPECT_FALSE(view.closed);

  // The main window moved on: the press takes the lock of its own data set.
  host.read_only = false;
  testing::TempDir other;
  state.data_path = other.path();
  {
    DataSetLock elsewhere = DataSetLock::Acquire(data.path());
    ASSERT_TRUE(elsewhere.held());
    parse->Command1_Click();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].title, "Data set in use");
    EXPECT_EQ(data.Read("tabrel.dat"), records);
  }
  parse->Command1_Click();
  EXPECT_EQ(Added().size(), 2u);
  EXPECT_EQ(host.writable_checks, 1) << "the main window's lock is another data set's";
}

TEST_F(CommaParseTest, ImportsIntoTheDataSetInUseWhenTheWindowOpened) {
  Open(kOutlook);
  testing::TempDir other;
  state.data_path = other.path();
  parse->Command1_Click();
  EXPECT_EQ(parse->data_path(), data.path());
  EXPECT_EQ(Added().size(), 2u);
  EXPECT_FALSE(other.Exists("tabrel.dat"));
}

TEST_F(CommaParseTest, CancelClosesTheWindowAndWritesNothing) {
  const std::string records = data.Read("tabrel.dat");
  Open(kOutlook);
  parse->Command2_Click();
  EXPECT_TRUE(view.closed);
  EXPECT_TRUE(dialogs.messages.empty()) << "no backup offer";
  EXPECT_EQ(data.Read("tabrel.dat"), records);
}

TEST_F(CommaParseTest, TheMenuItemChecksTheFileBeforeItOpensTheWindow) {
  dialogs.answers = {MessageAnswer::kYes};
  files.choice = FileChoice{documents.path(), "none.csv"};
  documents.Write("none.csv", "\r\n\r\n");
  menu.mu_ImportComma_Click();
  EXPECT_EQ(files.caption, " Select .TXT file ");
  EXPECT_EQ(files.pattern, "*.txt;*.csv");
  EXPECT_EQ(dialogs.messages[0].text,
            "\r\nThis will attempt to import the file you select and convert its contents to "
            "Tabrel records. Proceed?");
  EXPECT_EQ(dialogs.messages.back().text,
            documents.File("none.csv") + "\r\nholds no records to import.");
  EXPECT_TRUE(host.comma_opened.empty());
  dialogs.answers = {MessageAnswer::kYes};
  documents.Write("none.csv", "a,b\r\n");
  menu.mu_ImportComma_Click();
  EXPECT_EQ(host.comma_opened, std::vector<std::string>{documents.File("none.csv")});
}

TEST_F(CommaParseTest, ACommaExportImportsBackWithTheSuggestedLinks) {
  ContactRecord ann = Contact("1", "M\xFCller", "Zo\xEB", "01-01-2000 2");
  ann.Title = "The \"Boss\"";
  ann.Org = "Caf\xE9, Ltd";
  ann.Add1 = "1 Main St";
  ann.Add2 = "Suite 2";
  ann.City = "Lyon";
  ann.Zip = "69001";
  ann.EMail = "zoe@cafe.example";
  ann.Web = "www.cafe.example";
  ann.Phone = "555-0100";
  ann.Ext = "12";
  ann.Fax = "555-0101";
  ann.Cellular = "555-0199";
  ann.Beeper = "555-0198";
  ann.Country = "France";
  ann.State = "Rh\xF4ne";
  testing::WriteContacts(data, {ann});
  host.ListStamps({"01-01-2000 2"});
  dialogs.answers = {MessageAnswer::kYes};
  dialogs.input_answers = {"round.csv"};
  menu.mu_ExportComma_Click();
  documents.Write("in.csv", documents.Read("round.csv"));
  parse = std::make_unique<CommaParse>(state, view, host, dialogs, clock, documents.File("in.csv"));
  parse->Form_Load();
  EXPECT_TRUE(view.header);
  parse->Command1_Click();
  ASSERT_EQ(Added().size(), 1u);
  ContactRecord back = Added()[0];
  EXPECT_EQ(Trim(back.KW1), "comma_new");
  for (const ContactField& field : kContactFields) {
    const std::string name = field.name;
    if (name == "RecType" || name == "KW1" || name == "KW2" || name == "KW3" || name == "Notes" ||
        name == "Modified") {
      continue;
    }
    EXPECT_EQ(Trim(back.*field.member), Trim(ann.*field.member)) << name;
  }
}

}  // namespace
}  // namespace tabrel
