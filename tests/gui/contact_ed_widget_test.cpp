// The record editor window: opened from the view panel or the menu, what is
// typed reaches tabrel.dat through the presenter, and Esc or the close
// button leave the file as it was.
#include "gui/contact_ed_widget.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTextCursor>

#include "gui/main_window_fixture.h"
#include "store/stamp.h"
#include "store/text.h"

namespace tabrel::gui {
namespace {

using F = EditorField;
using B = EditorButton;

class ContactEdWidgetTest : public MainWindowFixture {
 protected:
  void StartWithRecords() {
    ContactRecord smith = testing::Contact("1", "Smith", "John", "01-02-2003 10:00:00");
    smith.Org = "Acme Tools";
    smith.Phone = "555-0100";
    smith.KW1 = testing::Keyword("Family");
    smith.Notes = "First line\r\nSecond line";
    Start({smith, testing::Contact("2", "Widget Company", "", "01-02-2003 10:00:01")},
          {"Family", "Work"});
  }

  ContactEdWidget* Editor() const { return window.findChild<ContactEdWidget*>(); }

  // Opens the editor on the first row the way a user does: the view panel,
  // then its Edit button.
  ContactEdWidget* EditFirstRow() {
    DoubleClickRecordRow(0);
    Find<QPushButton>("EditView")->click();
    Settle();
    ContactEdWidget* editor = Editor();
    EXPECT_NE(editor, nullptr);
    EXPECT_TRUE(editor != nullptr && editor->isVisible());
    return editor;
  }

  void TypeInto(QWidget* box, const QString& text) {
    box->setFocus(Qt::OtherFocusReason);
    if (auto* line = qobject_cast<QLineEdit*>(box)) line->selectAll();
    Type(text);
  }
};

TEST_F(ContactEdWidgetTest, EditOpensTheShownRecordAndSaveWritesWhatWasTyped) {
  StartWithRecords();
  ContactEdWidget* editor = EditFirstRow();
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(editor->windowTitle(), "Details: John Smith");
  EXPECT_EQ(editor->FieldBox(F::LastNameEd)->text(), "Smith");
  EXPECT_EQ(editor->FieldBox(F::OrgEd)->text(), "Acme Tools");
  EXPECT_EQ(editor->NotesBox()->toPlainText(), "First line\nSecond line");
  EXPECT_EQ(editor->KeywordSlot(1)->text().trimmed(), "Family");
  EXPECT_EQ(editor->TypeLabel()->text(), "Public, Individual");

  TypeInto(editor->FieldBox(F::PhoneEd), "555-0199");
  TypeInto(editor->FieldBox(F::StateEd), "oh");
  EXPECT_EQ(editor->FieldBox(F::PhoneEd)->text(), "555-0199");
  const QPointer<ContactEdWidget> guard(editor);
  dialogs.answers.push_back(MessageAnswer::kYes);  // yes, a public individual
  editor->Button(B::SaveBut)->click();
  Settle();

  EXPECT_TRUE(guard.isNull());
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].title, "Confirm");
  const ContactRecord saved = StoredRecord(1);
  EXPECT_EQ(Trim(saved.Phone), "555-0199");
  EXPECT_EQ(Trim(saved.State), "OH");
  EXPECT_EQ(Trim(saved.LastName), "Smith");
  EXPECT_EQ(Trim(saved.Notes), "First line\r\nSecond line");
  EXPECT_EQ(saved.Modified, MakeStamp(clock.now));
  EXPECT_EQ(dir.Read("tabrel.dat").size(), 2 * layout::kContactRecordLength);
}

TEST_F(ContactEdWidgetTest, EscapeAndTheCloseButtonLeaveTheFileAsItWas) {
  StartWithRecords();
  const std::string before = dir.Read("tabrel.dat");
  ContactEdWidget* editor = EditFirstRow();
  ASSERT_NE(editor, nullptr);
  QPointer<ContactEdWidget> guard(editor);
  TypeInto(editor->FieldBox(F::LastNameEd), "Jones");
  Press(Qt::Key_Escape);
  EXPECT_TRUE(guard.isNull());

  Find<QPushButton>("EditView")->click();
  Settle();
  editor = Editor();
  ASSERT_NE(editor, nullptr);
  guard = editor;
  TypeInto(editor->NotesBox(), "More");
  editor->close();
  Settle();
  EXPECT_TRUE(guard.isNull());

  EXPECT_EQ(dir.Read("tabrel.dat"), before);
  EXPECT_TRUE(dialogs.messages.empty());
  EXPECT_EQ(state.editor_mode, kEditorExisting);
}

TEST_F(ContactEdWidgetTest, NewRecordTakesAKeywordFromTheListAndIsFiledInNameOrder) {
  StartWithRecords();
  window.MenuAction(MenuId::mu_NewRecord)->trigger();
  Settle();
  ContactEdWidget* editor = Editor();
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(editor->windowTitle(), "New record!");
  EXPECT_EQ(editor->FieldBox(F::OrgEd)->text(), "");

  TypeInto(editor->FieldBox(F::LastNameEd), "Adams");
  TypeInto(editor->FieldBox(F::FirstNameEd), "Ann");
  GridView* list = editor->KeywordList();
  const QRect work = list->visualRect(list->model().index(1, 0));
  for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
    QMouseEvent event(
        type, QPointF(work.center()), list->viewport()->mapToGlobal(work.center()), Qt::LeftButton,
        type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(list->viewport(), &event);
  }
  Settle();
  editor->Button(B::Key2Tog)->click();
  EXPECT_EQ(editor->KeywordSlot(2)->text().trimmed(), "Work");
  editor->Button(B::TypeTog)->click();
  editor->Button(B::TypeTog)->click();
  EXPECT_EQ(editor->TypeLabel()->text(), "Personal, Individual");

  editor->Button(B::SaveBut)->click();
  Settle();
  EXPECT_TRUE(dialogs.messages.empty());
  EXPECT_EQ(Editor(), nullptr);
  ASSERT_EQ(dir.Read("tabrel.dat").size(), 3 * layout::kContactRecordLength);
  const ContactRecord added = StoredRecord(1);
  EXPECT_EQ(Trim(added.LastName), "Adams");
  EXPECT_EQ(Trim(added.FirstName), "Ann");
  EXPECT_EQ(Trim(added.KW2), "Work");
  EXPECT_EQ(added.RecType, "3");
  EXPECT_EQ(Trim(StoredRecord(2).LastName), "Smith");
}

TEST_F(ContactEdWidgetTest, SlotDoubleClickClearsItAndTheScratchPadTakesTheNotesPlace) {
  StartWithRecords();
  ContactEdWidget* editor = EditFirstRow();
  ASSERT_NE(editor, nullptr);
  QLabel* slot = editor->KeywordSlot(1);
  EXPECT_EQ(slot->toolTip(), "double-click to clear");
  DoubleClick(slot, slot->rect().center());
  EXPECT_EQ(slot->text(), "");

  QLabel* notes_label = editor->findChild<QLabel*>("NL1");
  QLabel* scratch_label = editor->findChild<QLabel*>("SL");
  ASSERT_NE(notes_label, nullptr);
  ASSERT_NE(scratch_label, nullptr);
  EXPECT_FALSE(editor->ScratchPad()->isVisible());
  editor->Button(B::ScratchTog)->click();
  EXPECT_TRUE(editor->ScratchPad()->isVisible());
  EXPECT_TRUE(scratch_label->isVisible());
  EXPECT_EQ(scratch_label->text(), "Scratch Pad ->");
  EXPECT_FALSE(notes_label->isVisible());
  editor->Button(B::ScratchTog)->click();
  EXPECT_FALSE(editor->ScratchPad()->isVisible());
  EXPECT_TRUE(notes_label->isVisible());
  EXPECT_TRUE(editor->NotesBox()->isVisible());
  // The notes were kept while the pad covered them.
  EXPECT_EQ(editor->NotesBox()->toPlainText(), "First line\nSecond line");
}

TEST_F(ContactEdWidgetTest, TextBoxesHoldTheirStoredWidthAndTabInTableOrder) {
  StartWithRecords();
  ContactEdWidget* editor = EditFirstRow();
  ASSERT_NE(editor, nullptr);
  QWidget* previous = nullptr;
  for (const EditorFieldControl& control : kEditorFieldControls) {
    SCOPED_TRACE(std::string(control.name));
    QWidget* box = control.multi_line ? static_cast<QWidget*>(editor->NotesBox())
                                      : editor->FieldBox(control.id);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->objectName(), QString::fromLatin1(control.name.data(), control.name.size()));
    if (!control.multi_line) {
      EXPECT_EQ(editor->FieldBox(control.id)->maxLength(), control.max_length);
      EXPECT_EQ(box->toolTip().toStdString(), control.tooltip);
    }
    if (previous != nullptr) {
      // The next control that Tab reaches from the previous box.
      QWidget* next = previous->nextInFocusChain();
      for (int guard = 0; guard < 200 && !(next->focusPolicy() & Qt::TabFocus && next->isVisible());
           ++guard) {
        next = next->nextInFocusChain();
      }
      EXPECT_EQ(next, box);
    }
    previous = box;
  }
}

TEST_F(ContactEdWidgetTest, NotesStopAtTheStoredWidthCountingLineBreaksTwice) {
  StartWithRecords();
  ContactEdWidget* editor = EditFirstRow();
  ASSERT_NE(editor, nullptr);
  QPlainTextEdit* notes = editor->NotesBox();
  notes->setPlainText(QString(490, QLatin1Char('a')));
  QTextCursor cursor = notes->textCursor();
  cursor.movePosition(QTextCursor::End);
  notes->setTextCursor(cursor);
  // 490 + a line break stored as CR LF + 10 letters would be 502.
  notes->insertPlainText(QStringLiteral("\nbbbbbbbbbb"));
  EXPECT_EQ(notes->toPlainText(), QString(490, QLatin1Char('a')) + "\n" + QString(8, 'b'));
}

}  // namespace
}  // namespace tabrel::gui
