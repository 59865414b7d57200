// The main window under the offscreen platform: menus, the record list after
// start-up, and user actions reaching the presenter.
#include "gui/main_window_widget.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QBrush>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>

#include "fakes/fake_clipboard.h"
#include "fakes/fake_clock.h"
#include "fakes/fake_dialogs.h"
#include "fakes/fake_file_selector.h"
#include "fakes/fake_help.h"
#include "fakes/fake_printer.h"
#include "fakes/temp_dir.h"
#include "gui/grid_view.h"
#include "gui/settings_dialog_widget.h"
#include "mainwin/key_codes.h"
#include "store/contact_record.h"

namespace tabrel::gui {
namespace {

std::string Record(const char* type, const char* last, const char* first, const char* org,
                   const char* stamp) {
  ContactRecord record = BlankContactRecord();
  record.RecType = type;
  record.LastName = last;
  record.FirstName = first;
  record.Org = org;
  record.Phone = "555-0100";
  record.Modified = stamp;
  return EncodeContact(record);
}

QString Plain(std::string_view caption) {
  return QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size()));
}

class MainWindowWidgetTest : public ::testing::Test {
 protected:
  MainWindowWidgetTest() : state(dir.path()), window(state, platform) {
    window.SetSplashMinimum(std::chrono::milliseconds(0));
  }

  void Start() {
    dir.Write("tabrel.dat", Record("1", "Smith", "John", "", "01-02-2003 10:00:00") +
                                Record("3", "Brown", "Mary", "", "01-02-2003 10:00:01") +
                                Record("2", "", "", "Widget Company", "01-02-2003 10:00:02"));
    window.presenter().Form_Load();
    QApplication::processEvents();
  }

  const GridTableModel& Records() const { return window.RecordView()->model(); }
  QString Name(int row) const { return Records().data(Records().index(row, 0)).toString(); }

  bool SendKey(QWidget* target, int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
    QApplication::processEvents();
    return press.isAccepted();
  }

  testing::TempDir dir;
  AppState state;
  testing::FakeDialogs dialogs;
  testing::FakeHelp help;
  testing::FakeClock clock;
  testing::FakeFileSelector files;
  testing::FakePrinter printer;
  testing::FakeClipboard clipboard;
  Platform platform{dialogs, help, clock, files, printer, clipboard};
  MainWindowWidget window;
};

TEST_F(MainWindowWidgetTest, MenuBarHoldsEveryItemOfTheMenuTree) {
  for (const MenuEntry& entry : MenuTree()) {
    if (entry.id == MenuId::kSeparator) continue;
    SCOPED_TRACE(std::string(entry.name));
    const QAction* action = window.MenuAction(entry.id);
    ASSERT_NE(action, nullptr);
    EXPECT_EQ(action->text(), Plain(entry.caption));
    EXPECT_EQ(action->isChecked(), entry.checked_at_start);
    const QKeySequence expected = entry.shortcut_key
                                      ? QKeySequence(Qt::Key_F1 + entry.shortcut_key - key::kF1)
                                      : QKeySequence();
    EXPECT_EQ(action->shortcut(), expected);
  }
}

TEST_F(MainWindowWidgetTest, StartUpListsEveryRecordWithPersonalNamesInCyan) {
  Start();

  EXPECT_EQ(window.windowTitle(), "Tabrel 3.0");
  ASSERT_EQ(Records().rowCount(), 3);
  EXPECT_EQ(Name(0), "Smith, John");
  EXPECT_EQ(Name(1), "Brown, Mary");
  EXPECT_EQ(Name(2), "Widget Company");
  EXPECT_EQ(Records().data(Records().index(1, 0), Qt::ForegroundRole).value<QBrush>().color(),
            QColor(0, 255, 255));
  EXPECT_EQ(Records().data(Records().index(2, 0), Qt::ForegroundRole).value<QBrush>().color(),
            QColor(255, 255, 255));
  // The first row is current and shows selected.
  EXPECT_EQ(Records().data(Records().index(0, 0), Qt::BackgroundRole).value<QBrush>().color(),
            QColor(255, 255, 0));
  EXPECT_EQ(window.StatusPanel(3)->text(), "3 RECORDS TOTAL");
  EXPECT_EQ(window.StatusPanel(4)->text(), QString::fromStdString(dir.path()).toUpper());
  EXPECT_TRUE(window.ProgressBar()->isHidden());
  EXPECT_TRUE(dialogs.messages.empty());
  EXPECT_EQ(help.help_file, "tabrel.hlp");
}

TEST_F(MainWindowWidgetTest, FilterMenuItemRefillsTheListAndMovesTheTick) {
  Start();
  window.MenuAction(MenuId::mu_PublicOnly)->trigger();
  QApplication::processEvents();

  ASSERT_EQ(Records().rowCount(), 2);
  EXPECT_EQ(Name(1), "Widget Company");
  EXPECT_EQ(window.StatusPanel(1)->text(), "PUBLIC");
  EXPECT_TRUE(window.MenuAction(MenuId::mu_PublicOnly)->isChecked());
  EXPECT_FALSE(window.MenuAction(MenuId::mu_ShowBoth)->isChecked());

  // The panel cycles on: public only, then personal only.
  QLabel* panel = window.StatusPanel(1);
  const QPointF centre = panel->rect().center();
  QMouseEvent release(QEvent::MouseButtonRelease, centre, panel->mapToGlobal(centre),
                      Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(panel, &release);
  QApplication::processEvents();
  EXPECT_EQ(panel->text(), "PERSONAL");
  ASSERT_EQ(Records().rowCount(), 1);
  EXPECT_EQ(Name(0), "Brown, Mary");
}

TEST_F(MainWindowWidgetTest, ClickingATickedItemLeavesTheTickToThePresenter) {
  Start();
  window.MenuAction(MenuId::mu_datadefault)->trigger();

  EXPECT_TRUE(dialogs.messages.empty());
  EXPECT_TRUE(window.MenuAction(MenuId::mu_datadefault)->isChecked());
  EXPECT_FALSE(window.MenuAction(MenuId::mu_data1)->isChecked());
}

TEST_F(MainWindowWidgetTest, LetterKeysJumpInTheListThatHasTheFocus) {
  Start();
  window.FocusControl(Control::kMainGrid);

  EXPECT_TRUE(SendKey(window.RecordView(), Qt::Key_W));
  EXPECT_EQ(window.presenter().MainGrid().Row(), 3);
  EXPECT_EQ(window.RecordView()->currentIndex().row(), 2);

  SendKey(window.RecordView(), Qt::Key_Q);
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].text, "No records start with Q");
}

TEST_F(MainWindowWidgetTest, SettingsItemOpensTheDialogOnTheStoredSettings) {
  Start();
  window.MenuAction(MenuId::mu_Settings)->trigger();

  SettingsDialogWidget* settings = window.SettingsWindow();
  ASSERT_NE(settings, nullptr);
  EXPECT_TRUE(settings->isVisible());
  EXPECT_EQ(settings->TextBox(SettingsText::INI_PreviewLines)->text(), "250");
  settings->CancelButton()->click();
  EXPECT_FALSE(settings->isVisible());
}

}  // namespace
}  // namespace tabrel::gui
