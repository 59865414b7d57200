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

}  // namespace
}  // namespace tabrel::gui
