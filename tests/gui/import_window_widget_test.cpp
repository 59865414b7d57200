// The import window as a user meets it: opened from the menu, its options
// read by the presenter, the results shown, and Close.
#include "gui/import_window_widget.h"

#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>

#include "gui/main_window_fixture.h"

namespace tabrel::gui {
namespace {

class ImportWindowWidgetTest : public MainWindowFixture {
 protected:
  ImportWindowWidgetTest() {
    Start({testing::Contact("1", "Smith", "John", "01-02-2003 100")}, {"Family"});
    ContactRecord newer = testing::Contact("1", "Smith", "John", "01-02-2010 100");
    newer.KW1 = "Golfers";
    testing::WriteContacts(
        dir, {newer, testing::Contact("2", "Widget Company", "", "05-05-2005 5")}, "friends.dat");
    files.choice = FileChoice{dir.path(), "friends.dat"};
  }
};

TEST_F(ImportWindowWidgetTest, ImportFromTheMenuShowsTheWindowAndItsResults) {
  Trigger(MenuId::mu_ImportTabrel);
  const QPointer<ImportWindowWidget> import = window.ImportWindow();
  ASSERT_FALSE(import.isNull());
  EXPECT_TRUE(import->isVisible());
  EXPECT_EQ(import->windowTitle(), "Tabrel Record Import Controls");
  EXPECT_TRUE(import->DefinitionButton(DuplicateDefinition::kNameAndOrg)->isChecked());
  EXPECT_TRUE(import->SkipButton(DuplicateSkip::kIfOlder)->isChecked());
  EXPECT_EQ(import->findChild<QGroupBox*>("Frame1")->title(), " Define \"duplicate\" ");
  EXPECT_EQ(import->findChild<QLabel*>("Label2")->text(), "R  E  S  U  L  T  S");
  EXPECT_EQ(import->Description()->text().section('\n', 0, 0),
            "This file contains 2 Tabrel 3 records,");
  EXPECT_TRUE(dialogs.messages.empty());

  import->SkipButton(DuplicateSkip::kAlways)->click();
  EXPECT_EQ(import->PreviewButton()->text(), "Preview");
  import->PreviewButton()->click();
  Settle();
  EXPECT_EQ(import->RecordList()->toPlainText(),
            "skip (duplicate of 01-02-2003 100): John Smith / \nadd:   / Widget Company\n"
            "1 to add, 0 to replace, 1 to skip (duplicates).\n");
  EXPECT_EQ(Column(window.KeywordView()), (QStringList{"Family"})) << "the preview wrote nothing";
  import->ImportButton()->click();
  Settle();
  EXPECT_TRUE(import->Results()->text().startsWith(
      "1 record was added.\n0 records were replaced.\n1 duplicate was skipped.\n0 keywords"));
  EXPECT_EQ(import->RecordList()->toPlainText(), "\nAdded:   / Widget Company");
  EXPECT_TRUE(import->RecordList()->isVisible());

  import->SkipButton(DuplicateSkip::kNever)->click();
  import->ImportButton()->click();
  Settle();
  EXPECT_TRUE(
      import->Results()->text().startsWith("0 records were added.\n2 records were replaced."));
  // The new keyword can be picked at once.
  EXPECT_EQ(Column(window.KeywordView()), (QStringList{"Family", "Golfers"}));

  import->CloseButton()->click();
  Settle();
  EXPECT_TRUE(import.isNull());
}

}  // namespace
}  // namespace tabrel::gui
