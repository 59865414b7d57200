// The record editor window: opened from the view panel, what is typed
// reaches tabrel.dat through the presenter, and Esc leaves the file as it was.
#include "gui/contact_ed_widget.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>

#include "base/text.h"
#include "gui/main_window_fixture.h"
#include "store/stamp.h"

namespace tabrel::gui {
namespace {

using F = EditorField;

class ContactEdWidgetTest : public MainWindowFixture {
 protected:
  ContactEdWidgetTest() {
    ContactRecord smith = testing::Contact("1", "Smith", "John", "01-02-2003 10:00:00");
    smith.Phone = "555-0100";
    smith.KW1 = testing::Keyword("Family");
    smith.Notes = "First line\r\nSecond line";
    Start({smith, testing::Contact("2", "Widget Company", "", "01-02-2003 10:00:01")},
          {"Family", "Work"});
  }

  // Opens the editor on the first row the way a user does: the view panel,
  // then its Edit button.
  ContactEdWidget* EditFirstRow() {
    DoubleClickRecordRow(0);
    Find<QPushButton>("EditView")->click();
    Settle();
    auto* editor = window.findChild<ContactEdWidget*>();
    EXPECT_TRUE(editor != nullptr && editor->isVisible());
    return editor;
  }

  static void TypeInto(QWidget* box, const QString& text) {
    box->setFocus(Qt::OtherFocusReason);
    if (auto* line = qobject_cast<QLineEdit*>(box)) line->selectAll();
    Type(text);
  }
};

TEST_F(ContactEdWidgetTest, EditOpensTheShownRecordAndSaveWritesWhatWasTyped) {
  const QPointer<ContactEdWidget> editor = EditFirstRow();
  ASSERT_FALSE(editor.isNull());
  EXPECT_EQ(editor->windowTitle(), "Details: John Smith");
  // A dialog-type window of the main window: a click into the list never
  // hides it.
  EXPECT_EQ(editor->windowType(), Qt::Dialog);
  EXPECT_EQ(editor->parentWidget(), &window);
  EXPECT_EQ(editor->FieldBox(F::LastNameEd)->text(), "Smith");
  EXPECT_EQ(editor->NotesBox()->toPlainText(), "First line\nSecond line");

  TypeInto(editor->FieldBox(F::PhoneEd), "555-0199");
  TypeInto(editor->FieldBox(F::StateEd), "oh");
  dialogs.answers.push_back(MessageAnswer::kYes);  // yes, a public individual
  editor->Button(EditorButton::SaveBut)->click();
  Settle();

  EXPECT_TRUE(editor.isNull());
  EXPECT_EQ(dialogs.messages.size(), 1u);
  const std::string bytes = dir.Read("tabrel.dat");
  ASSERT_EQ(bytes.size(), 2 * layout::kContactRecordLength);
  const ContactRecord saved = DecodeContact(bytes.substr(0, layout::kContactRecordLength));
  EXPECT_EQ(Trim(saved.Phone), "555-0199");
  EXPECT_EQ(Trim(saved.State), "OH");
  EXPECT_EQ(Trim(saved.Notes), "First line\r\nSecond line");
  EXPECT_EQ(saved.Modified, MakeStamp(clock.now));
}

}  // namespace
}  // namespace tabrel::gui
