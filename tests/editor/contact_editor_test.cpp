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
  Texts Stamps() const { return testing::Stamps(dir.Read("tabrel.dat")); }
  ContactRecord Record(std::size_t index) const {
    return DecodeContact(dir.Read("tabrel.dat").substr(index * 1047));
  }
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

// A keyword goes into one slot only: the toggles refuse one another slot
// already holds, whichever slot that is.
TEST_F(ContactEditorTest, AKeywordTakesOneSlotOnly) {
  Open();
  Grid& keywords = editor.KeywordGrid2();
  const std::string first(TrimView(keywords.Text()));
  editor.Key1Tog_Click();
  editor.Key3Tog_Click();
  keywords.SetRow(2);
  const std::string second(TrimView(keywords.Text()));
  editor.Key2Tog_Click();
  editor.Key3Tog_Click();
  Texts slots;
  for (const std::string& slot : view.slots) slots.emplace_back(TrimView(slot));
  EXPECT_EQ(slots, Texts({first, second, ""}));
}

TEST_F(ContactEditorTest, ASaveWhoseFlushFailsAfterTheWriteSaysTheRecordIsWrittenButNotSafe) {
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
    } else {
      EXPECT_NE(text.find("\r\nThe record was written, but it may not be safe on disk"),
                std::string::npos)
          << text;
      EXPECT_EQ(view.closed, 1);
      EXPECT_EQ(Trim(Record(1).Phone), "555-0199");
    }
  }
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

}  // namespace
}  // namespace tabrel
