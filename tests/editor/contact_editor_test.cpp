#include "editor/contact_editor.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "fakes/contact_files.h"
#include "fakes/fake_clock.h"
#include "fakes/fake_dialogs.h"
#include "present/key_codes.h"
#include "store/data_set.h"
#include "store/stamp.h"

namespace tabrel {
namespace {

using F = EditorField;
using testing::Contact;
using testing::WriteContacts;
using Texts = std::vector<std::string>;
constexpr MessageAnswer kYes = MessageAnswer::kYes;
constexpr MessageAnswer kNo = MessageAnswer::kNo;

// The editor window as plain data: tests type into `fields` and read back
// what the presenter showed.
class FakeEditorView : public EditorView {
 public:
  void SetCaption(const std::string& text) override { caption = text; }
  void SetFieldText(EditorField field, const std::string& text) override { fields[field] = text; }
  std::string FieldText(EditorField field) const override {
    return fields.contains(field) ? fields.at(field) : "";
  }
  void SetTypeCaption(const std::string& text) override { type_caption = text; }
  void SetKeywordSlot(int slot, const std::string& text) override { slots.at(slot - 1) = text; }
  void ShowScratchPad(bool) override {}
  void Close() override { ++closed; }

  std::string caption;
  std::map<EditorField, std::string> fields;
  std::string type_caption;
  Texts slots = Texts(3);
  int closed = 0;
};

class ContactEditorTest : public ::testing::Test {
 protected:
  testing::TempDir dir;
  AppState state{dir.path()};
  FakeEditorView view;
  testing::FakeDialogs dialogs;
  testing::FakeClock clock;
  ContactEditor editor{state, view, dialogs, clock};

  void SetUp() override {
    testing::WriteKeywords(dir, {"Friend", "Work", "Golf"});
    WriteContacts(dir, {Contact("1", "Adams", "Ann", "stamp-adams"),
                        Contact("2", "Baker Ltd", "", "stamp-baker"),
                        Contact("3", "Cole", "Cy", "stamp-cole")});
  }
  // What the main window sets before it opens the editor.
  void Prepare(std::string_view stamp, DuplicateFlag duplicate = DuplicateFlag::kOff) {
    state.editor_mode = stamp.empty() ? EditorMode::kNewRecord : EditorMode::kExisting;
    state.duplicate_flag = duplicate;
    state.editor_record.Modified = std::string(stamp);
  }
  // Opens the record with `stamp`, or a new record.
  void Open(std::string_view stamp = {}) {
    Prepare(stamp);
    ASSERT_TRUE(editor.Form_Load());
  }
  void Save(std::vector<MessageAnswer> answers) {
    dialogs.messages.clear();
    dialogs.answers.assign(answers.begin(), answers.end());
    editor.SaveBut_Click();
  }
  ContactRecord Record(std::size_t index) const {
    return DecodeContact(dir.Read("tabrel.dat").substr(index * 1047));
  }
  Texts Stamps() const { return testing::Stamps(dir.Read("tabrel.dat")); }
  // The save questions asked, in order: T(ype), K(eywords), I(ndividual's
  // name), O(rganisation's name); "?" for any other message.
  std::string Asked() const {
    static const std::map<std::string, char> kQuestions = {
        {"You have this record's TYPE as the default: PUBLIC, INDIVIDUAL.\r\nIt will be listed "
         "by the person's name, not their organization. \r\nIs that what you want?",
         'T'},
        {"You have not selected any keywords for this record!\r\nIs that what you want?", 'K'},
        {"You have this record as an INDIVIDUAL, but are\r\nmissing the first or last name! Is "
         "that what you want?",
         'I'},
        {"You have this record as an ORGANIZATION, but are\r\nmissing the Organization's name! "
         "Is that what you want?",
         'O'},
    };
    std::string asked;
    for (const Message& m : dialogs.messages) {
      const auto it = kQuestions.find(m.text);
      asked += it == kQuestions.end() || m.icon != MessageIcon::kQuestion ? '?' : it->second;
    }
    return asked;
  }
};

TEST_F(ContactEditorTest, OpeningShowsTheRecordTrimmedAndDecodedOrEmptyBoxesForANewOne) {
  ContactRecord r = Contact("3", "M\xFCller", "  Jo ", "stamp-muller");
  r.KW1 = "Golf          ";
  r.KW3 = "Work          ";
  WriteContacts(
      dir, {r, Contact("7", "Odd", "", "stamp-odd"), Contact("4", " Acme ", "", "stamp-acme")});
  Open("stamp-muller");
  EXPECT_EQ(view.caption, "Details: Jo M\u00fcller");
  EXPECT_EQ(view.FieldText(F::FirstNameEd), "Jo");
  EXPECT_EQ(view.slots, (Texts{"Golf", "", "Work"}));
  EXPECT_EQ(view.type_caption, "Personal, Individual");
  Open("stamp-acme");
  EXPECT_EQ(view.caption, "Details: Acme");
  // A type outside the four shows the design caption, stays and is kept.
  Open("stamp-odd");
  editor.TypeTog_Click();
  EXPECT_EQ(view.type_caption, "rec type");
  Save({kYes});
  EXPECT_EQ(Record(1).RecType, "7");

  testing::WriteKeywords(dir, {});
  Open();
  editor.Key1Tog_Click();  // nothing to take from an empty keyword list
  EXPECT_EQ(view.caption, "New record!");
  EXPECT_EQ(view.type_caption, "Public, Individual");
  for (const auto& c : kEditorFieldControls) EXPECT_EQ(view.FieldText(c.id), "") << c.name;
  EXPECT_EQ(view.slots, Texts(3));
}

TEST_F(ContactEditorTest, SaveAsksTheQuestionsInOrderAndEveryNoKeepsTheEditorOpen) {
  Open();
  Save({});  // each box takes its default: Yes for the type, No for the keywords
  EXPECT_EQ(Asked(), "TK");
  EXPECT_EQ(dialogs.messages[1].default_answer, kNo);
  const std::string before = dir.Read("tabrel.dat");
  // A public individual is asked the type, keyword and name questions; a
  // personal organisation (three Type clicks on) the keyword and name ones.
  for (const auto& [clicks, questions] : {std::pair{0, std::string("TKI")}, {3, "KO"}}) {
    for (std::size_t no_at = 0; no_at < questions.size(); ++no_at) {
      SCOPED_TRACE(questions.substr(0, no_at + 1));
      Open();
      for (int i = 0; i < clicks; ++i) editor.TypeTog_Click();
      view.fields[F::CityEd] = "Ottawa";
      std::vector<MessageAnswer> answers(no_at, kYes);
      answers.push_back(kNo);
      Save(answers);
      EXPECT_EQ(Asked(), questions.substr(0, no_at + 1));
      EXPECT_EQ(view.closed, 0);
      EXPECT_EQ(view.FieldText(F::CityEd), "Ottawa");
      EXPECT_EQ(dir.Read("tabrel.dat"), before);
    }
  }
  // Boxes holding only blanks are not missing.
  editor.TypeTog_Click();  // Public, Individual
  editor.Key1Tog_Click();
  view.fields[F::FirstNameEd] = " ";
  view.fields[F::LastNameEd] = "  ";
  Save({kYes});
  EXPECT_EQ(Asked(), "T");
  Open();
  editor.TypeTog_Click();  // Public, Organization
  view.fields[F::OrgEd] = "   ";
  Save({kYes});
  EXPECT_EQ(Asked(), "K");
  EXPECT_EQ(view.closed, 2);
}

TEST_F(ContactEditorTest, SaveOverwritesTheRecordInPlaceWithTheBoxesAndANewStamp) {
  Open("stamp-baker");
  ContactRecord expected = Record(1);
  view.fields[F::StateEd] = " oh ";  // two letters are a code
  expected.State = Fit(" OH", 20);
  view.fields[F::CountryEd] = "de";
  expected.Country = Fit("DE", 40);
  view.fields[F::CityEd] = "oh";  // in State and Country only
  expected.City = Fit("oh", 20);
  const std::string email = std::string(33, 'e') + "@example.org";  // the whole width
  view.fields[F::EMailEd] = email + "-cut";
  expected.EMail = email;
  view.fields[F::NotesEd] = "\none\ntwo\r\nthree";
  expected.Notes = Fit("\r\none\r\ntwo\r\nthree", 500);
  expected.Modified = MakeStamp(clock.now);
  Save({kYes});
  EXPECT_EQ(Record(1), expected);
  EXPECT_EQ(view.FieldText(F::StateEd), " OH ") << "the box shows the capitals";
}

TEST_F(ContactEditorTest, TheTypeButtonCyclesAndAKeywordSitsInOneSlotOnly) {
  Open();
  for (const char* caption : {"Public, Organization", "Personal, Individual",
                              "Personal, Organization", "Public, Individual"}) {
    editor.TypeTog_Click();
    EXPECT_EQ(view.type_caption, caption);
  }
  editor.KeywordGrid2().SetRow(1);
  editor.Key1Tog_Click();
  editor.Key2Tog_Click();  // Friend is held by slot 1
  editor.KeywordGrid2().SetRow(2);
  editor.Key3Tog_Click();
  editor.Key1Tog_Click();  // nor may slot 1 take Work
  EXPECT_EQ(view.slots, (Texts{"Friend        ", "", "Work          "}));
  editor.KW1Ed_dblClick();
  editor.KeywordGrid2().SetRow(3);
  editor.Key2Tog_Click();
  editor.TypeTog_Click();
  view.fields[F::OrgEd] = "Golf Club";
  Save({});
  EXPECT_EQ(Record(3).RecType + Record(3).KW1 + Record(3).KW2 + Record(3).KW3,
            "2" + std::string(14, ' ') + "Golf          Work          ");
}

TEST_F(ContactEditorTest, NewRecordAndDuplicateAreInsertedAfterEqualNamesWithNewStamps) {
  Open();
  view.fields[F::LastNameEd] = "adams";
  view.fields[F::FirstNameEd] = "Al";
  Save({kYes, kYes});
  Prepare("stamp-baker", DuplicateFlag::kDuplicating);
  ASSERT_TRUE(editor.Form_Load());
  clock.now.seconds_since_midnight = 50000;
  Save({kYes});
  EXPECT_EQ(Stamps(), (Texts{"stamp-adams", "12-31-1999 45296.13", "stamp-baker",
                             "12-31-1999 50000", "stamp-cole"}));
  ContactRecord copy = Record(3);
  copy.Modified = Record(2).Modified;
  EXPECT_EQ(copy, Record(2)) << "the copy differs from its source only in the stamp";
}

TEST_F(ContactEditorTest, SavesWithinOneTickOfTheClockStillGiveEveryRecordItsOwnStamp) {
  // The clock answers the same instant every time; the data set already
  // holds the stamp of that instant and the one after it.
  WriteContacts(dir, {Contact("1", "Adams", "Ann", "12-31-1999 45296.13"),
                      Contact("1", "Baker", "Bo", "12-31-1999 45296.14")});
  for (const char* first : {"Al", "Bea", "Cy"}) {
    Open();
    view.fields[F::LastNameEd] = "Drew";
    view.fields[F::FirstNameEd] = first;
    Save({kYes, kYes});
  }
  Prepare("12-31-1999 45296.13", DuplicateFlag::kDuplicating);
  ASSERT_TRUE(editor.Form_Load());
  Save({kYes, kYes});
  Open("12-31-1999 45296.14");  // an edit takes a new stamp too
  Save({kYes, kYes});
  EXPECT_EQ(Stamps(), (Texts{"12-31-1999 45296.13", "12-31-1999 45296.18", "12-31-1999 45296.19",
                             "12-31-1999 45296.15", "12-31-1999 45296.16", "12-31-1999 45296.17"}));
  // Each stamp opens its own record, and a delete takes that one only.
  Open("12-31-1999 45296.16");
  EXPECT_EQ(view.FieldText(F::FirstNameEd), "Bea");
  dialogs.answers = {kYes};
  editor.DelBut_Click();
  EXPECT_EQ(Stamps().size(), 5u);
}

TEST_F(ContactEditorTest, ASaveWhoseFlushFailsAfterTheWriteSaysTheRecordIsWrittenButNotSafe) {
  const std::string before = dir.Read("tabrel.dat");
  for (RewriteStep failing : {RewriteStep::kWrite, RewriteStep::kFlush}) {
    SCOPED_TRACE(static_cast<int>(failing));
    Open("stamp-baker");
    view.fields[F::PhoneEd] = "555-0199";
    state.write_fault = [&](RewriteStep step) { return step == failing; };
    Save({kYes});
    ASSERT_EQ(dialogs.messages.back().title, "Disk access error!");
    const std::string& text = dialogs.messages.back().text;
    if (failing == RewriteStep::kWrite) {
      EXPECT_TRUE(text.ends_with("\r\nThe record was not saved.")) << text;
      EXPECT_EQ(view.closed, 0);
      EXPECT_EQ(dir.Read("tabrel.dat"), before);
    } else {
      EXPECT_NE(text.find("\r\nThe record was written, but it may not be safe on disk"),
                std::string::npos)
          << text;
      EXPECT_EQ(view.closed, 1);
      EXPECT_EQ(Trim(Record(1).Phone), "555-0199");
    }
  }
}

TEST_F(ContactEditorTest, UnstorableCharactersAreNamedBeforeSaving) {
  Open("stamp-cole");
  view.fields[F::LastNameEd] = "\u65e5\u672c";
  view.fields[F::NotesEd] = "caf\u00e9 \u2603";
  view.fields[F::CityEd] = "K\u00f8benhavn";  // storable
  Save({kYes, kNo});
  ASSERT_EQ(dialogs.messages.size(), 2u) << "the keyword question, then the warning";
  EXPECT_NE(dialogs.messages[1].text.find("Last Name, Notes "), std::string::npos);
  EXPECT_EQ(dialogs.messages[1].default_answer, kNo);
  EXPECT_EQ(view.closed, 0);
  EXPECT_EQ(Record(2).LastName, Fit("Cole", 20));
  Save({kYes, kYes});
  EXPECT_EQ(Record(2).LastName, Fit("??", 20));
}

TEST_F(ContactEditorTest, DeleteAsksFirstAndNeverDeletesANewOrDuplicatedRecord) {
  const std::string before = dir.Read("tabrel.dat");
  Open();
  state.editor_mode = EditorMode::kExisting;  // another editor closed meanwhile
  editor.DelBut_Click();
  Prepare("stamp-baker", DuplicateFlag::kDuplicating);
  ASSERT_TRUE(editor.Form_Load());
  editor.DelBut_Click();
  EXPECT_TRUE(dialogs.messages.empty());
  EXPECT_TRUE(editor.Form_KeyDown(key::kEscape));
  EXPECT_EQ(view.closed, 1);
  EXPECT_EQ(dir.Read("tabrel.dat"), before);

  Open("stamp-baker");
  dialogs.answers = {kNo, kYes};
  editor.DelBut_Click();
  EXPECT_EQ(dialogs.messages.at(0).text, "Delete this record?");
  EXPECT_EQ(dialogs.messages.at(0).default_answer, kNo);
  EXPECT_EQ(dir.Read("tabrel.dat"), before);
  editor.DelBut_Click();
  EXPECT_EQ(Stamps(), (Texts{"stamp-adams", "stamp-cole"}));
  EXPECT_EQ(view.closed, 2);
}

TEST_F(ContactEditorTest, TheRecordIsLookedUpAgainBeforeWritingAndOneThatLeftIsLeftAlone) {
  Prepare("stamp-gone", DuplicateFlag::kDuplicating);
  EXPECT_FALSE(editor.Form_Load());
  EXPECT_EQ(dialogs.messages.at(0).title, "Record not found!");
  EXPECT_EQ(view.closed, 1);

  Open("stamp-cole");      // record 3
  AppState other = state;  // another window deletes the first record
  other.editor_record.Modified = "stamp-adams";
  ASSERT_TRUE(DeleteRecord(other).ok());
  state.current_record_number = 1;  // the main window looked something else up meanwhile
  state.editor_record.Modified = "stamp-baker";
  view.fields[F::PhoneEd] = "555-0199";
  Save({kYes});
  EXPECT_EQ(Stamps(), (Texts{"stamp-baker", "12-31-1999 45296.13"}));
  EXPECT_EQ(Trim(Record(1).Phone), "555-0199");

  Open("stamp-baker");
  WriteContacts(dir, {Contact("2", "Baker Ltd", "", "stamp-baker-resaved")});
  const std::string before = dir.Read("tabrel.dat");
  Save({kYes});
  dialogs.answers = {kYes};
  editor.DelBut_Click();
  for (std::size_t i : {1, 3}) EXPECT_EQ(dialogs.messages.at(i).title, "Record not found!");
  EXPECT_EQ(dialogs.messages[3].text,
            "This record is no longer in the data set as it was when the editor opened: it was "
            "changed or deleted in another window.\r\nNothing was deleted. Copy what you need "
            "from the editor, then cancel and open the record again.");
  EXPECT_EQ(dir.Read("tabrel.dat"), before);
  EXPECT_EQ(view.closed, 2);
}

TEST_F(ContactEditorTest, AFileErrorIsReportedAndKeepsTheEditorOpen) {
  const std::string data_path = state.data_path;
  state.data_path = dir.File("gone/");
  Prepare("stamp-cole");
  EXPECT_FALSE(editor.Form_Load());
  EXPECT_EQ(dialogs.messages.at(0).text, "Error 76: Path not found (" +
                                             dir.File("gone/tabrel.dat") +
                                             ": No such file or directory)\r\nThe record "
                                             "cannot be opened.");
  EXPECT_EQ(view.closed, 1);
  state.data_path = data_path;
  Open();
  std::filesystem::remove(dir.File("tabrel.dat"));
  std::filesystem::create_directory(dir.File("tabrel.dat"));  // unreadable as a file
  view.fields[F::LastNameEd] = "Drew";
  view.fields[F::FirstNameEd] = "Di";
  Save({kYes, kYes});
  EXPECT_EQ(dialogs.messages.back().title, "Disk access error!");
  EXPECT_NE(dialogs.messages.back().text.find("The record was not saved."), std::string::npos);
  EXPECT_EQ(view.closed, 1) << "still open since the failed opening";
  EXPECT_EQ(view.FieldText(F::LastNameEd), "Drew");
}

}  // namespace
}  // namespace tabrel
