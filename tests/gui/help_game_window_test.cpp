// The help window, the game's window and the about box through the main
// window, under the offscreen platform.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTreeWidget>

#include "fakes/contact_files.h"
#include "fakes/fake_platform.h"
#include "fakes/temp_dir.h"
#include "gui/game_widget.h"
#include "gui/help_window.h"
#include "gui/main_window_widget.h"
#include "gui/qt_help_viewer.h"
#include "gui/settings_dialog_widget.h"
#include "help/help_topics.h"

namespace tabrel::gui {
namespace {

class HelpGameWindowTest : public ::testing::Test, public testing::FakePlatform {
 protected:
  HelpGameWindowTest() {
    help_viewer.SetOwner(&window);
    window.SetSplashMinimum(std::chrono::milliseconds(0));
    testing::WriteContacts(dir, {testing::Contact("1", "Baker", "Ann", "01-02-2003 10:00:00")});
    window.presenter().Form_Load();
    window.resize(1000, 700);
    window.show();
    Settle();
  }
  ~HelpGameWindowTest() override { Settle(); }

  static void Settle() {
    QApplication::processEvents();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  void Trigger(MenuId id) {
    window.MenuAction(id)->trigger();
    Settle();
  }
  QString Source() const { return help_viewer.Window()->Browser()->source().toString(); }

  testing::TempDir dir;
  AppState state{dir.path()};
  QtHelpViewer help_viewer;
  Platform with_help{dialogs, help_viewer, clock, files, printer, clipboard, shell, serial};
  MainWindowWidget window{state, with_help};
};

TEST_F(HelpGameWindowTest, F1OpensTheContentsWithEveryPageInTheTree) {
  Trigger(MenuId::mu_HelpContents);
  HelpWindow* help = help_viewer.Window();
  ASSERT_NE(help, nullptr);
  EXPECT_TRUE(help->isVisible());
  EXPECT_EQ(help->windowTitle(), "Tabrel Help");
  EXPECT_EQ(help->parentWidget(), &window);
  EXPECT_EQ(Source(), "index.html");
  EXPECT_TRUE(help->Browser()->toPlainText().startsWith("Tabrel Help"));
  QStringList pages;
  for (int i = 0; i < help->Contents()->topLevelItemCount(); ++i) {
    pages << help->Contents()->topLevelItem(i)->text(0);
  }
  EXPECT_EQ(pages.size(), 14);
  EXPECT_EQ(pages.front(), "Contents");
  EXPECT_TRUE(pages.contains("Making contact"));
}

TEST_F(HelpGameWindowTest, TopicsScrollToTheirAnchorAndBackReturns) {
  help_viewer.ShowTopic("settings.envelope-top");
  HelpBrowser* page = help_viewer.Window()->Browser();
  Settle();
  EXPECT_EQ(Source(), "settings.html#envelope-top");
  EXPECT_GT(page->verticalScrollBar()->value(), 0);
  EXPECT_EQ(help_viewer.Window()->Contents()->currentItem()->text(0), "Envelope upper margin");

  // A link in the page, then Back.
  page->setSource(QUrl("contact.html#ports"));
  EXPECT_TRUE(page->toPlainText().contains("dialout"));
  page->backward();
  EXPECT_EQ(Source(), "settings.html#envelope-top");

  help_viewer.ShowTopic("no-such-topic");
  EXPECT_EQ(Source(), "index.html");
}

TEST_F(HelpGameWindowTest, FindInPageWrapsRoundAndSaysWhenThereIsNothing) {
  help_viewer.ShowTopic("contact");
  HelpWindow* help = help_viewer.Window();
  help->FindBox()->setText("dialout");
  EXPECT_TRUE(help->FindNext());
  EXPECT_EQ(help->Browser()->textCursor().selectedText(), "dialout");
  EXPECT_TRUE(help->FindNext());  // the second one, or round to the first
  help->FindBox()->setText("xylophone");
  EXPECT_FALSE(help->FindNext());
}

TEST_F(HelpGameWindowTest, F1InTheSettingsOpensTheTopicOfTheBox) {
  Trigger(MenuId::mu_Settings);
  SettingsDialogWidget* settings = window.SettingsWindow();
  ASSERT_NE(settings, nullptr);
  QLineEdit* lines = settings->TextBox(SettingsText::INI_PrintLines);
  lines->setFocus();
  QKeyEvent f1(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
  QApplication::sendEvent(lines, &f1);
  Settle();
  ASSERT_NE(help_viewer.Window(), nullptr);
  EXPECT_EQ(Source(), "settings.html#print-lines");
}

TEST_F(HelpGameWindowTest, TheGameOpensWithItsBoardMenusAndHelp) {
  Trigger(MenuId::mu_Game);
  GameWidget* game = window.GameWidgetIfOpened();
  ASSERT_NE(game, nullptr);
  EXPECT_TRUE(game->isVisible());
  EXPECT_EQ(game->windowTitle(), "  48");
  int shown = 0;
  for (int i = 0; i < kSquareCount; ++i) {
    if (game->Square(i)->isVisible()) {
      ++shown;
      EXPECT_EQ(game->Square(i)->text(), "X");
      EXPECT_TRUE(game->Square(i)->font().bold());
    }
  }
  EXPECT_EQ(shown, 48);
  EXPECT_EQ(game->LastScore()->text(), "(none)");

  game->Square(27)->click();
  game->Square(43)->click();
  game->Square(27)->click();
  EXPECT_EQ(game->Square(35)->text(), "");
  EXPECT_EQ(game->Prompt()->text(), "from...");

  const QList<QAction*> bar = game->Menus()->actions();
  ASSERT_EQ(bar.size(), 2);
  EXPECT_EQ(bar[0]->text(), "&File");
  ASSERT_EQ(bar[0]->menu()->actions().size(), 1);
  EXPECT_EQ(bar[0]->menu()->actions()[0]->text(), "New Game");
  bar[0]->menu()->actions()[0]->trigger();
  EXPECT_EQ(game->LastScore()->text(), "46");
  EXPECT_EQ(game->BestScore()->text(), "46");
  EXPECT_EQ(bar[1]->text(), "Help");
  bar[1]->trigger();
  ASSERT_FALSE(dialogs.messages.empty());
  EXPECT_EQ(dialogs.messages.back().title, "48 Squares Game - Tabrel 3");

  // Closed and opened again: a new board, the scores kept.
  game->close();
  Trigger(MenuId::mu_Game);
  EXPECT_TRUE(game->isVisible());
  EXPECT_EQ(game->LastScore()->text(), "46");
  EXPECT_EQ(game->Square(35)->text(), "X");
}

TEST_F(HelpGameWindowTest, HelpAndGameCloseWithTheMainWindow) {
  Trigger(MenuId::mu_HelpContents);
  Trigger(MenuId::mu_Game);
  window.close();
  Settle();
  for (QWidget* top : QApplication::topLevelWidgets()) {
    EXPECT_FALSE(top->isVisible()) << top->objectName().toStdString();
  }
}

TEST_F(HelpGameWindowTest, MakeContactHasTheCallWithPhoneProgramItem) {
  const QAction* item = window.MenuAction(MenuId::mu_CallWithPhoneProgram);
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(item->text(), "Call With Phone Program");
  const QList<QAction*> menu = window.MenuAction(MenuId::mu_MakeContact)->menu()->actions();
  EXPECT_EQ(menu.indexOf(const_cast<QAction*>(item)),
            menu.indexOf(window.MenuAction(MenuId::mu_DialPager)) + 1);
}

}  // namespace
}  // namespace tabrel::gui
