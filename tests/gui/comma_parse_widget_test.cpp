// The comma-delimited field selector as a user meets it: opened from the
// menu, the preview, a link set by clicking an entry and a link box, the
// import, and the new keyword in the main window's list.
#include "gui/comma_parse_widget.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest/QTest>

#include "gui/clickable_label.h"
#include "gui/main_window_fixture.h"

namespace tabrel::gui {
namespace {

class CommaParseWidgetTest : public MainWindowFixture {
 protected:
  CommaParseWidgetTest() {
    Start({testing::Contact("1", "Smith", "John", "01-02-2003 100")}, {"Family"});
    dir.Write("people.csv",
              "Given Name,Family Name,Company,Birthday\r\n"
              "Zo\xC3\xAB,M\xC3\xBCller,Caf\xC3\xA9,1990-01-02\r\n");
    files.choice = FileChoice{dir.path(), "people.csv"};
    dialogs.answers = {MessageAnswer::kYes};
  }
};

TEST_F(CommaParseWidgetTest, TheFieldSelectorImportsWithTheLinksTheUserSets) {
  Trigger(MenuId::mu_ImportComma);
  const QPointer<CommaParseWidget> parse = window.CommaWindow();
  ASSERT_FALSE(parse.isNull());
  EXPECT_TRUE(parse->isVisible());
  EXPECT_EQ(parse->windowTitle(), "Comma-Delimited Import Field Selector");
  EXPECT_TRUE(parse->FirstLineBox()->isChecked());
  EXPECT_EQ(parse->KeywordBox()->text(), "comma_new");
  EXPECT_TRUE(parse->findChild<QRadioButton*>("OptionOrganization")->isChecked());
  EXPECT_EQ(parse->Preview()->count(), 5);
  EXPECT_EQ(parse->Preview()->item(2)->text(), QString::fromUtf8("2 (Family Name) = M\u00FCller"));
  EXPECT_EQ(parse->LinkLabel(RecordField::kLastName)->text(), "2");
  EXPECT_EQ(parse->LinkLabel(RecordField::kNotes)->text(), "");

  // The birthday into the notes from the keyboard: its entry highlighted,
  // Tab to the Notes box, Enter; Delete on the first name clears that link.
  parse->Preview()->setCurrentRow(4);
  parse->LinkLabel(RecordField::kNotes)->setFocus(Qt::TabFocusReason);
  QTest::keyClick(parse->LinkLabel(RecordField::kNotes), Qt::Key_Return);
  EXPECT_EQ(parse->LinkLabel(RecordField::kNotes)->text(), "4");
  QTest::keyClick(parse->LinkLabel(RecordField::kFirstName), Qt::Key_Delete);
  EXPECT_EQ(parse->LinkLabel(RecordField::kFirstName)->text(), "");
  parse->findChild<QRadioButton*>("OptionIndividual")->click();
  parse->KeywordBox()->setText("Cafe");

  parse->ImportButton()->click();
  Settle();
  EXPECT_TRUE(parse.isNull());
  ASSERT_FALSE(dialogs.messages.empty());
  EXPECT_EQ(dialogs.messages.back().title, "Import Completed!");
  const std::string bytes = dir.Read("tabrel.dat");
  ASSERT_EQ(bytes.size(), 2 * layout::kContactRecordLength);
  const ContactRecord added = DecodeContact(bytes.substr(layout::kContactRecordLength));
  EXPECT_EQ(Trim(added.LastName), "M\xFCller");
  EXPECT_EQ(Trim(added.Org), "Caf\xE9");
  EXPECT_EQ(Trim(added.Notes), "1990-01-02");
  EXPECT_EQ(added.RecType, "1");
  EXPECT_EQ(Column(window.KeywordView()), (QStringList{"Cafe", "Family"}));
}

}  // namespace
}  // namespace tabrel::gui
