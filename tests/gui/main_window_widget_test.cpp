// The main window under the offscreen platform: menus, the record list after
// start-up, user actions reaching the presenter, and the print preview.
#include "gui/main_window_widget.h"

#include <QBrush>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <map>

#include "gui/main_window_fixture.h"

namespace tabrel::gui {
namespace {

bool FixedPitch(const QFont& font) {
  const QFontMetrics metrics(font);
  return metrics.horizontalAdvance(QStringLiteral("iiii")) ==
         metrics.horizontalAdvance(QStringLiteral("MMMM"));
}

class MainWindowWidgetTest : public MainWindowFixture {
 protected:
  void StartWithThree() {
    ContactRecord smith = testing::Contact("1", "Smith", "John", "01-02-2003 10:00:00");
    smith.Phone = "555-0100";
    Start({smith, testing::Contact("3", "Brown", "Mary", "01-02-2003 10:00:01"),
           testing::Contact("2", "Widget Company", "", "01-02-2003 10:00:02")},
          {"Family"});
  }
  QColor Colour(int row, Qt::ItemDataRole role) const {
    const GridTableModel& model = window.RecordView()->model();
    return model.data(model.index(row, 0), role).value<QBrush>().color();
  }
};

TEST_F(MainWindowWidgetTest, MenuBarHoldsEveryItemOfTheMenuTreeWithItsFunctionKey) {
  const std::map<MenuId, QKeySequence> keys = {
      {MenuId::mu_HelpContents, Qt::Key_F1}, {MenuId::mu_NewRecord, Qt::Key_F2},
      {MenuId::mu_Duplicate, Qt::Key_F3},    {MenuId::mu_DisplayAll, Qt::Key_F4},
      {MenuId::mu_Settings, Qt::Key_F5},     {MenuId::mu_WordSearchCurrent, Qt::Key_F6},
      {MenuId::mu_DialPhone, Qt::Key_F7},    {MenuId::mu_sendEmail, Qt::Key_F8},
      {MenuId::mu_webBrowse, Qt::Key_F9},
  };
  for (const MenuEntry& entry : MenuTree()) {
    if (entry.id == MenuId::kSeparator) continue;
    SCOPED_TRACE(std::string(entry.name));
    const QAction* action = window.MenuAction(entry.id);
    ASSERT_NE(action, nullptr);
    EXPECT_EQ(action->text().toStdString(), entry.caption);
    EXPECT_EQ(action->isChecked(), entry.checked_at_start);
    EXPECT_EQ(action->shortcut(), keys.contains(entry.id) ? keys.at(entry.id) : QKeySequence());
  }
}

TEST_F(MainWindowWidgetTest, StartUpListsEveryRecordWithPersonalNamesInCyan) {
  StartWithThree();
  EXPECT_EQ(Column(window.RecordView()),
            (QStringList{"Smith, John", "Brown, Mary", "Widget Company"}));
  EXPECT_EQ(Colour(1, Qt::ForegroundRole), QColor(0, 255, 255));
  // The first row is current and shows selected.
  EXPECT_EQ(Colour(0, Qt::BackgroundRole), QColor(255, 255, 0));
  EXPECT_EQ(window.StatusPanel(StatusPanelId::kSelection)->text(), "3 RECORDS TOTAL");
  EXPECT_EQ(window.StatusPanel(StatusPanelId::kDataPath)->text(),
            QString::fromStdString(dir.path()).toUpper());
  EXPECT_TRUE(dialogs.messages.empty());

  // A letter jumps in the list that has the focus.
  window.FocusControl(Control::kMainGrid);
  Press(Qt::Key_W, "w");
  EXPECT_EQ(window.RecordView()->currentIndex().row(), 2);
}

TEST_F(MainWindowWidgetTest, FilterMenuItemRefillsTheListAndMovesTheTick) {
  StartWithThree();
  Trigger(MenuId::mu_PublicOnly);
  EXPECT_EQ(Column(window.RecordView()), (QStringList{"Smith, John", "Widget Company"}));
  EXPECT_EQ(window.StatusPanel(StatusPanelId::kFilter)->text(), "PUBLIC");
  EXPECT_TRUE(window.MenuAction(MenuId::mu_PublicOnly)->isChecked());
  EXPECT_FALSE(window.MenuAction(MenuId::mu_ShowBoth)->isChecked());
  // A click on a ticked item leaves the tick to the presenter.
  Trigger(MenuId::mu_datadefault);
  EXPECT_TRUE(window.MenuAction(MenuId::mu_datadefault)->isChecked());

  EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(MainWindowWidgetTest, PhoneListPreviewCoversTheListsUntilClose) {
  StartWithThree();
  window.FocusControl(Control::kMainGrid);
  Trigger(MenuId::mu_SimplePhoneList);

  auto* text = Find<QPlainTextEdit>("Text1");
  auto* frame = Find<QGroupBox>("PrnOpFrame");
  ASSERT_TRUE(text && frame);
  EXPECT_TRUE(text->isVisible());
  EXPECT_TRUE(frame->isVisible());
  EXPECT_EQ(frame->title(), " Print Options");
  // Records without a phone number are left out.
  EXPECT_EQ(text->toPlainText(), "\n\n\nSmith, John - 555-0100");
  EXPECT_FALSE(FixedPitch(text->font()));
  EXPECT_EQ(QApplication::focusWidget(), text);
  EXPECT_FALSE(window.RecordView()->isVisible());
  EXPECT_FALSE(window.KeywordView()->isVisible());
  for (MenuId id : {MenuId::mu_file, MenuId::mu_print, MenuId::mu_keywords}) {
    EXPECT_FALSE(window.MenuAction(id)->isEnabled());
  }
  EXPECT_TRUE(window.MenuAction(MenuId::mu_Help)->isEnabled());

  // An edit reaches the saved file with the files' line ends.
  text->appendPlainText(QString::fromUtf8("caf\xC3\xA9"));
  dialogs.input_answers.push_back(dir.File("saved.txt"));
  Find<QPushButton>("SendFile")->click();
  EXPECT_EQ(dir.Read("saved.txt"), "\r\n\r\n\r\nSmith, John - 555-0100\r\ncaf\xE9\r\n");

  Find<QPushButton>("CancelPrint")->click();
  Settle();
  EXPECT_FALSE(text->isVisible());
  EXPECT_FALSE(frame->isVisible());
  EXPECT_TRUE(window.RecordView()->isVisible());
  EXPECT_TRUE(window.KeywordView()->isVisible());
  EXPECT_EQ(window.FocusedControl(), Control::kMainGrid);
  for (MenuId id : {MenuId::mu_file, MenuId::mu_print, MenuId::mu_keywords}) {
    EXPECT_TRUE(window.MenuAction(id)->isEnabled());
  }

  // Address labels line up in a fixed-pitch font until Close.
  Trigger(MenuId::mu_printMailingAddresses);
  EXPECT_TRUE(FixedPitch(text->font()));
  Find<QPushButton>("CancelPrint")->click();
  EXPECT_FALSE(FixedPitch(text->font()));
  EXPECT_TRUE(dialogs.messages.empty());
}

}  // namespace
}  // namespace tabrel::gui
