#include "editor/contact_editor.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "fakes/contact_files.h"
#include "fakes/fake_clock.h"
#include "fakes/fake_dialogs.h"
#include "fakes/fake_editor_view.h"
#include "fakes/temp_dir.h"
#include "mainwin/key_codes.h"
#include "store/data_set.h"
#include "store/layout.h"
#include "store/stamp.h"
#include "store/text.h"

namespace tabrel {
namespace {

using F = EditorField;
using testing::Contact;
using testing::FakeClock;
using testing::FakeDialogs;
using testing::FakeEditorView;
using testing::TempDir;
using testing::WriteContacts;
using testing::WriteKeywords;

constexpr std::size_t kLength = layout::kContactRecordLength;
constexpr MessageAnswer kYes = MessageAnswer::kYes;
constexpr MessageAnswer kNo = MessageAnswer::kNo;

constexpr char kQuestionPublic[] =
    "You have this record's TYPE as the default: PUBLIC, INDIVIDUAL.\r\nIt will be listed by the "
    "person's name, not their organization. \r\nIs that what you want?";
constexpr char kQuestionKeywords[] =
    "You have not selected any keywords for this record!\r\nIs that what you want?";
constexpr char kQuestionIndividual[] =
    "You have this record as an INDIVIDUAL, but are\r\nmissing the first or last name! Is that "
    "what you want?";
constexpr char kQuestionOrganisation[] =
    "You have this record as an ORGANIZATION, but are\r\nmissing the Organization's name! Is that "
    "what you want?";

class ContactEditorTest : public ::testing::Test {
 protected:
  TempDir dir;
  AppState state{dir.path()};
  FakeEditorView view;
  FakeDialogs dialogs;
  FakeClock clock;
  ContactEditor editor{state, view, dialogs, clock};

  void SetUp() override {
    WriteKeywords(dir, {"Friend", "Work", "Golf"});
    WriteContacts(dir, {Contact("1", "Adams", "Ann", "stamp-adams"),
                        Contact("2", "Baker Ltd", "", "stamp-baker"),
                        Contact("3", "Cole", "Cy", "stamp-cole")});
  }

  void OpenNew() {
    ContactEditor::PrepareNew(state);
    ASSERT_TRUE(editor.Form_Load());
  }
  void OpenExisting(const std::string& stamp) {
    ContactEditor::PrepareEdit(state, stamp);
    ASSERT_TRUE(editor.Form_Load());
  }
  void PickKeyword(int row) { editor.KeywordGrid2().SetRow(row); }

  std::vector<ContactRecord> OnDisk() const {
    std::vector<ContactRecord> records;
    const std::string bytes = dir.Read("tabrel.dat");
    for (std::size_t at = 0; at + kLength <= bytes.size(); at += kLength) {
      records.push_back(DecodeContact(bytes.substr(at, kLength)));
    }
    return records;
  }
  std::vector<std::string> Titles() const {
    std::vector<std::string> titles;
    for (const auto& m : dialogs.messages) titles.push_back(m.title);
    return titles;
  }
  std::vector<std::string> Texts() const {
    std::vector<std::string> texts;
    for (const auto& m : dialogs.messages) texts.push_back(m.text);
    return texts;
  }
};

// --- Opening -------------------------------------------------------------

TEST_F(ContactEditorTest, NewRecordOpensEmptyAsPublicIndividualWithTheKeywordList) {
  OpenNew();
  EXPECT_EQ(view.caption, "New record!");
  EXPECT_EQ(view.type_caption, "Public, Individual");
  for (const auto& c : kEditorFieldControls) EXPECT_EQ(view.FieldText(c.id), "") << c.name;
  EXPECT_EQ(view.slots, (std::array<std::string, 3>{}));
  EXPECT_FALSE(view.scratch_visible);
  const Grid& grid = editor.KeywordGrid2();
  EXPECT_TRUE(grid.visible());
  EXPECT_EQ(grid.TextAt(0, 0), "Keywords" + std::string(18, ' '));
  ASSERT_EQ(grid.Rows(), 4);
  EXPECT_EQ(grid.TextAt(2, 0), "Work          ");
  EXPECT_EQ(state.editor_mode, kEditorNewRecord);
}

TEST_F(ContactEditorTest, ExistingRecordShowsItsFieldsTrimmedAndDecoded) {
  ContactRecord r = Contact("3", "M\xFCller", "  Jo ", "stamp-muller");
  r.State = "oh   ";
  r.KW2 = "Work          ";
  r.Notes = "line one\r\nline two";
  WriteContacts(
      dir, {r, Contact("4", "Baker Ltd", "", "stamp-baker"), Contact("7", "Odd", "", "stamp-odd")});
  OpenExisting("stamp-muller");
  EXPECT_EQ(view.caption, "Details: Jo M\u00fcller");
  EXPECT_EQ(view.FieldText(F::LastNameEd), "M\u00fcller");
  EXPECT_EQ(view.FieldText(F::FirstNameEd), "Jo");
  EXPECT_EQ(view.FieldText(F::StateEd), "oh");
  EXPECT_EQ(view.FieldText(F::NotesEd), "line one\r\nline two");
  EXPECT_EQ(view.slots, (std::array<std::string, 3>{"", "Work", ""}));
  EXPECT_EQ(view.type_caption, "Personal, Individual");

  OpenExisting("stamp-baker");
  EXPECT_EQ(view.caption, "Details: Baker Ltd");
  EXPECT_EQ(view.type_caption, "Personal, Organization");
  OpenExisting("stamp-odd");
  EXPECT_EQ(view.type_caption, "rec type");
}

TEST_F(ContactEditorTest, ARecordNoLongerInTheFileIsNotOpened) {
  state.editor_record = DecodeContact(EncodeContact(Contact("1", "Stale", "", "stamp-adams")));
  state.current_record_number = 2;
  ContactEditor::PrepareDuplicate(state, "stamp-gone");
  EXPECT_FALSE(editor.Form_Load());
  EXPECT_EQ(Titles(), (std::vector<std::string>{"Record not found!"}));
  EXPECT_EQ(view.closed, 1);
  EXPECT_EQ(view.FieldText(F::LastNameEd), "") << "the stale editor record is not shown";
  EXPECT_EQ(state.editor_mode, kEditorExisting);
  EXPECT_EQ(state.duplicate_flag, 0);
}

// --- Save questions ------------------------------------------------------

TEST_F(ContactEditorTest, SaveAsksTheQuestionsInOrderWithTheirDefaults) {
  OpenNew();
  editor.SaveBut_Click();  // unscripted: each box takes its default button
  ASSERT_EQ(Texts(), (std::vector<std::string>{kQuestionPublic, kQuestionKeywords}));
  EXPECT_EQ(Titles(), (std::vector<std::string>{"Confirm", "Confirm"}));
  EXPECT_EQ(dialogs.messages[0].icon, MessageIcon::kQuestion);
  EXPECT_EQ(dialogs.messages[0].buttons, MessageButtons::kYesNo);
  EXPECT_FALSE(dialogs.messages[0].default_answer.has_value());
  EXPECT_EQ(dialogs.messages[1].default_answer, kNo);
  EXPECT_EQ(view.closed, 0);

  dialogs.messages.clear();
  dialogs.answers = {kYes, kYes, kYes};
  editor.SaveBut_Click();
  EXPECT_EQ(Texts(),
            (std::vector<std::string>{kQuestionPublic, kQuestionKeywords, kQuestionIndividual}));
  EXPECT_EQ(OnDisk().size(), 4u);
  EXPECT_EQ(view.closed, 1);
}

TEST_F(ContactEditorTest, EveryNoKeepsTheEditorOpenWithItsContentsAndWritesNothing) {
  const std::string before = dir.Read("tabrel.dat");
  struct Case {
    int type_clicks;  // from "Public, Individual"
    std::size_t questions;
  };
  // Public individual: the type, keyword and name questions; personal
  // organisation: the keyword and organisation questions.
  for (const Case c : {Case{0, 3}, Case{3, 2}}) {
    for (std::size_t no_at = 0; no_at < c.questions; ++no_at) {
      SCOPED_TRACE(::testing::Message() << c.type_clicks << "/" << no_at);
      OpenNew();
      for (int i = 0; i < c.type_clicks; ++i) editor.TypeTog_Click();
      view.fields[F::CityEd] = "Ottawa";
      dialogs.messages.clear();
      dialogs.answers.assign(no_at, kYes);
      dialogs.answers.push_back(kNo);
      editor.SaveBut_Click();
      EXPECT_EQ(dialogs.messages.size(), no_at + 1);
      EXPECT_EQ(view.closed, 0);
      EXPECT_EQ(view.FieldText(F::CityEd), "Ottawa");
      EXPECT_EQ(dir.Read("tabrel.dat"), before);
      EXPECT_EQ(state.editor_mode, kEditorNewRecord);
    }
  }
  EXPECT_EQ(Texts().back(), kQuestionOrganisation);
}

TEST_F(ContactEditorTest, BoxesHoldingOnlyBlanksCountAsFilled) {
  OpenNew();
  editor.TypeTog_Click();
  editor.TypeTog_Click();  // Personal, Individual: no type question
  PickKeyword(1);
  editor.Key1Tog_Click();
  view.fields[F::FirstNameEd] = " ";
  view.fields[F::LastNameEd] = "  ";
  editor.SaveBut_Click();
  EXPECT_TRUE(dialogs.messages.empty());
  EXPECT_EQ(view.closed, 1);

  OpenNew();
  editor.TypeTog_Click();  // Public, Organization
  editor.Key2Tog_Click();
  view.fields[F::OrgEd] = "   ";
  dialogs.messages.clear();
  editor.SaveBut_Click();
  EXPECT_TRUE(dialogs.messages.empty());
  EXPECT_EQ(view.closed, 2);
}

// --- What is stored ------------------------------------------------------

TEST_F(ContactEditorTest, SaveOverwritesTheRecordInPlaceWithTheBoxesAndANewStamp) {
  OpenExisting("stamp-baker");
  view.fields[F::PhoneEd] = "555-0100";
  view.fields[F::StateEd] = "oh";
  view.fields[F::CountryEd] = " de ";
  view.fields[F::CityEd] = "ohi";
  view.fields[F::TitleEd] = std::string(45, 't');
  view.fields[F::NotesEd] = "one\ntwo\r\nthree";
  dialogs.answers = {kYes};
  editor.SaveBut_Click();
  EXPECT_EQ(Texts(), (std::vector<std::string>{kQuestionKeywords}));
  const std::vector<ContactRecord> records = OnDisk();
  ASSERT_EQ(records.size(), 3u);
  const ContactRecord& saved = records[1];
  EXPECT_EQ(saved.RecType, "2");
  EXPECT_EQ(saved.Org, Fit("Baker Ltd", 40));
  EXPECT_EQ(saved.Phone, Fit("555-0100", 20));
  EXPECT_EQ(saved.State, Fit("OH", 20));
  EXPECT_EQ(saved.Country, Fit(" DE", 40));
  EXPECT_EQ(saved.City, Fit("ohi", 20));
  EXPECT_EQ(saved.Title, std::string(40, 't'));
  EXPECT_EQ(RTrim(saved.Notes), "one\r\ntwo\r\nthree");
  EXPECT_EQ(saved.Modified, MakeStamp(clock.now));
  EXPECT_EQ(view.FieldText(F::StateEd), "OH") << "the box shows the capitals";
  EXPECT_EQ(view.FieldText(F::CountryEd), " DE ");
  EXPECT_EQ(Trim(records[0].Modified), "stamp-adams");
  EXPECT_EQ(Trim(records[2].Modified), "stamp-cole");
  EXPECT_EQ(view.closed, 1);
  EXPECT_EQ(state.editor_mode, kEditorExisting);
}

TEST_F(ContactEditorTest, TheTypeButtonCyclesAndTheCaptionDecidesTheStoredCode) {
  OpenNew();
  std::vector<std::string> seen;
  for (int i = 0; i < 4; ++i) {
    editor.TypeTog_Click();
    seen.push_back(view.type_caption);
  }
  EXPECT_EQ(seen, (std::vector<std::string>{"Public, Organization", "Personal, Individual",
                                            "Personal, Organization", "Public, Individual"}));

  WriteContacts(dir, {Contact("7", "Odd", "", "stamp-odd")});
  OpenExisting("stamp-odd");
  editor.TypeTog_Click();
  EXPECT_EQ(view.type_caption, "rec type");
  dialogs.answers = {kYes};
  editor.SaveBut_Click();
  EXPECT_EQ(OnDisk().at(0).RecType, "7") << "a caption outside the table keeps the code";
}

TEST_F(ContactEditorTest, AKeywordSitsInOneSlotOnlyAndDoubleClickEmptiesASlot) {
  OpenNew();
  PickKeyword(1);
  editor.Key1Tog_Click();
  editor.Key2Tog_Click();  // Friend is held by slot 1
  PickKeyword(2);
  editor.Key2Tog_Click();
  editor.Key3Tog_Click();  // Work is held by slot 2
  EXPECT_EQ(view.slots[0], "Friend        ");
  EXPECT_EQ(view.slots[1], "Work          ");
  EXPECT_EQ(view.slots[2], "");
  editor.Key1Tog_Click();  // slot 1 may not take Work either
  EXPECT_EQ(view.slots[0], "Friend        ");

  editor.KW2Ed_dblClick();
  EXPECT_EQ(view.slots[1], "");
  editor.Key3Tog_Click();
  PickKeyword(3);
  editor.Key1Tog_Click();
  editor.TypeTog_Click();
  view.fields[F::OrgEd] = "Golf Club";
  editor.SaveBut_Click();
  const ContactRecord saved = OnDisk().at(3);
  EXPECT_EQ(saved.KW1, "Golf          ");
  EXPECT_EQ(saved.KW2, std::string(14, ' '));
  EXPECT_EQ(saved.KW3, "Work          ");
}

TEST_F(ContactEditorTest, KeyButtonsDoNothingWithAnEmptyKeywordList) {
  WriteKeywords(dir, {});
  OpenNew();
  editor.Key1Tog_Click();
  EXPECT_EQ(view.slots[0], "");
}

TEST_F(ContactEditorTest, NewRecordAndDuplicateAreInsertedInNameOrderWithNewStamps) {
  OpenNew();
  view.fields[F::LastNameEd] = "adams";
  view.fields[F::FirstNameEd] = "Al";
  dialogs.answers = {kYes, kYes};
  editor.SaveBut_Click();

  ContactEditor::PrepareDuplicate(state, "stamp-baker");
  ASSERT_TRUE(editor.Form_Load());
  EXPECT_EQ(state.editor_mode, kEditorNewRecord);
  clock.now.seconds_since_midnight = 50000;
  dialogs.answers = {kYes};
  editor.SaveBut_Click();
  EXPECT_EQ(state.editor_mode, kEditorExisting);
  EXPECT_EQ(state.duplicate_flag, 0);

  const std::vector<ContactRecord> records = OnDisk();
  ASSERT_EQ(records.size(), 5u);
  std::vector<std::string> stamps;
  for (const auto& r : records) stamps.push_back(Trim(r.Modified));
  EXPECT_EQ(stamps, (std::vector<std::string>{"stamp-adams", "12-31-1999 45296.13", "stamp-baker",
                                              "12-31-1999 50000", "stamp-cole"}));
  ContactRecord copy = records[3];
  copy.Modified = records[2].Modified;
  EXPECT_EQ(copy, records[2]) << "the copy differs from its source only in the stamp";
}

TEST_F(ContactEditorTest, UnstorableCharactersAreNamedBeforeSaving) {
  OpenExisting("stamp-cole");
  view.fields[F::LastNameEd] = "\u65e5\u672c";
  view.fields[F::NotesEd] = "caf\u00e9 \u2603";
  view.fields[F::CityEd] = "K\u00f8benhavn";  // storable
  dialogs.answers = {kYes, kNo};
  editor.SaveBut_Click();
  ASSERT_EQ(dialogs.messages.size(), 2u) << "the keyword question, then the warning";
  const Message& warning = dialogs.messages[1];
  EXPECT_NE(warning.text.find("Last Name, Notes "), std::string::npos) << warning.text;
  EXPECT_NE(warning.text.find("\"?\""), std::string::npos);
  EXPECT_EQ(warning.default_answer, kNo);
  EXPECT_EQ(view.closed, 0);
  EXPECT_EQ(view.FieldText(F::LastNameEd), "\u65e5\u672c");
  EXPECT_EQ(OnDisk().at(2).LastName, Fit("Cole", 20));

  dialogs.answers = {kYes, kYes};
  editor.SaveBut_Click();
  EXPECT_EQ(view.closed, 1);
  EXPECT_EQ(OnDisk().at(2).LastName, Fit("??", 20));
  EXPECT_EQ(OnDisk().at(2).City, Fit("K\xF8"
                                     "benhavn",
                                     20));
}

// --- Delete and cancel ---------------------------------------------------

TEST_F(ContactEditorTest, DeleteOfANewOrDuplicatedRecordDoesNothing) {
  const std::string before = dir.Read("tabrel.dat");
  OpenNew();
  state.editor_mode = kEditorExisting;  // another editor closed meanwhile
  editor.DelBut_Click();
  ContactEditor::PrepareDuplicate(state, "stamp-cole");
  ASSERT_TRUE(editor.Form_Load());
  editor.DelBut_Click();
  EXPECT_TRUE(dialogs.messages.empty());
  EXPECT_EQ(view.closed, 0);
  EXPECT_EQ(dir.Read("tabrel.dat"), before);
}

TEST_F(ContactEditorTest, DeleteAsksThenRemovesEveryRecordWithTheStamp) {
  WriteContacts(dir, {Contact("1", "Adams", "", "twin"), Contact("1", "Baker", "", "other"),
                      Contact("1", "Adams", "", "twin  ")});
  OpenExisting("twin");
  dialogs.answers = {kNo};
  editor.DelBut_Click();
  EXPECT_EQ(OnDisk().size(), 3u);
  EXPECT_EQ(view.closed, 0);
  const Message& question = dialogs.messages.at(0);
  EXPECT_EQ(question.text, "Delete this record?");
  EXPECT_EQ(question.title, "Confirm");
  EXPECT_EQ(question.icon, MessageIcon::kExclamation);
  EXPECT_EQ(question.default_answer, kNo);

  dialogs.answers = {kYes};
  editor.DelBut_Click();
  ASSERT_EQ(OnDisk().size(), 1u);
  EXPECT_EQ(Trim(OnDisk()[0].Modified), "other");
  EXPECT_EQ(view.closed, 1);
}

TEST_F(ContactEditorTest, EscapeCancelsWithoutWriting) {
  const std::string before = dir.Read("tabrel.dat");
  ContactEditor::PrepareDuplicate(state, "stamp-adams");
  ASSERT_TRUE(editor.Form_Load());
  view.fields[F::LastNameEd] = "Changed";
  EXPECT_FALSE(editor.Form_KeyDown(key::kEnter));
  EXPECT_EQ(view.closed, 0);
  EXPECT_TRUE(editor.Form_KeyDown(key::kEscape));
  EXPECT_EQ(view.closed, 1);
  EXPECT_EQ(state.editor_mode, kEditorExisting);
  EXPECT_EQ(state.duplicate_flag, 0);
  EXPECT_EQ(dir.Read("tabrel.dat"), before);
}

TEST_F(ContactEditorTest, ScratchPadButtonTogglesThePad) {
  OpenNew();
  editor.ScratchTog_Click();
  EXPECT_TRUE(view.scratch_visible);
  editor.ScratchTog_Click();
  EXPECT_FALSE(view.scratch_visible);
}

// --- A record that moved or left, and file errors ------------------------

TEST_F(ContactEditorTest, SaveWritesWhereTheRecordIsNowNotAtAStaleNumber) {
  OpenExisting("stamp-cole");  // record 3
  AppState other = state;      // another window deletes the first record
  other.editor_record.Modified = "stamp-adams";
  ASSERT_TRUE(DeleteRecord(other).ok());
  state.current_record_number = 1;  // the main window looked something else up meanwhile
  state.editor_record.Modified = "stamp-baker";
  view.fields[F::PhoneEd] = "555-0199";
  dialogs.answers = {kYes};
  editor.SaveBut_Click();
  const std::vector<ContactRecord> records = OnDisk();
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(Trim(records[0].Modified), "stamp-baker");
  EXPECT_EQ(Trim(records[1].LastName), "Cole");
  EXPECT_EQ(Trim(records[1].Phone), "555-0199");
}

TEST_F(ContactEditorTest, SaveAndDeleteRefuseWhenTheRecordLeftTheFile) {
  OpenExisting("stamp-baker");
  WriteContacts(dir, {Contact("1", "Adams", "Ann", "stamp-adams"),
                      Contact("2", "Baker Ltd", "", "stamp-baker-resaved"),
                      Contact("3", "Cole", "Cy", "stamp-cole")});
  const std::string before = dir.Read("tabrel.dat");
  view.fields[F::OrgEd] = "Baker and Sons";
  dialogs.answers = {kYes};
  editor.SaveBut_Click();
  EXPECT_EQ(Titles(), (std::vector<std::string>{"Confirm", "Record not found!"}));
  EXPECT_NE(Texts().back().find("Nothing was saved."), std::string::npos);
  EXPECT_EQ(dir.Read("tabrel.dat"), before);
  EXPECT_EQ(view.closed, 0);
  EXPECT_EQ(view.FieldText(F::OrgEd), "Baker and Sons");

  dialogs.messages.clear();
  dialogs.answers = {kYes};
  editor.DelBut_Click();
  EXPECT_EQ(Titles(), (std::vector<std::string>{"Confirm", "Record not found!"}));
  EXPECT_EQ(dir.Read("tabrel.dat"), before);
  EXPECT_EQ(view.closed, 0);
}

TEST_F(ContactEditorTest, AFileErrorIsReportedAndKeepsTheEditorOpen) {
  OpenNew();
  std::filesystem::remove(dir.File("tabrel.dat"));
  std::filesystem::create_directory(dir.File("tabrel.dat"));  // unreadable as a file
  view.fields[F::LastNameEd] = "Drew";
  view.fields[F::FirstNameEd] = "Di";
  dialogs.answers = {kYes, kYes};
  editor.SaveBut_Click();
  ASSERT_EQ(Titles().back(), "Disk access error!");
  EXPECT_EQ(Texts().back().rfind("Error ", 0), 0u) << Texts().back();
  EXPECT_NE(Texts().back().find("The record was not saved."), std::string::npos);
  EXPECT_EQ(view.closed, 0);
  EXPECT_EQ(view.FieldText(F::LastNameEd), "Drew");
  EXPECT_EQ(state.editor_mode, kEditorNewRecord);
}

}  // namespace
}  // namespace tabrel
