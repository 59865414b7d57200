// The keyword edit frame of the main window: the Keywords menu opens it, what
// is typed there reaches keyword.dat through the presenter, and keys typed in
// it stay out of the lists' letter jumps.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "fakes/contact_files.h"
#include "fakes/fake_clipboard.h"
#include "fakes/fake_clock.h"
#include "fakes/fake_dialogs.h"
#include "fakes/fake_file_selector.h"
#include "fakes/fake_help.h"
#include "fakes/fake_printer.h"
#include "fakes/temp_dir.h"
#include "gui/grid_view.h"
#include "gui/main_window_widget.h"

namespace tabrel::gui {
namespace {

using testing::Keyword;

class KeywordFrameTest : public ::testing::Test {
 protected:
  KeywordFrameTest() : state(dir.path()), window(state, platform) {
    window.SetSplashMinimum(std::chrono::milliseconds(0));
    testing::WriteContacts(dir, {testing::Contact("1", "Smith", "John", "01-02-2003 10:00:00")});
    testing::WriteKeywords(dir, {"Family", "Work"});
    window.presenter().Form_Load();
    window.FocusControl(Control::kKeywordGrid);
    QApplication::processEvents();
  }

  template <typename T>
  T* Find(const char* name) const {
    T* control = window.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(control, nullptr) << name;
    return control;
  }
  QGroupBox* Frame() const { return Find<QGroupBox>("KeyFrame"); }
  QLineEdit* Edit() const { return Find<QLineEdit>("KeywordEdit"); }

  void OpenForNewKeyword() {
    window.MenuAction(MenuId::mu_NewKey)->trigger();
    QApplication::processEvents();
  }

  // Key presses as the keyboard sends them to the control with the focus.
  void Type(const QString& text) {
    for (const QChar c : text) {
      const int key = c.toUpper().unicode();
      Press(key, c.isUpper() ? Qt::ShiftModifier : Qt::NoModifier, QString(c));
    }
  }
  void Press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString& text = {}) {
    QWidget* target =
        QApplication::focusWidget() ? QApplication::focusWidget() : window.focusWidget();
    ASSERT_NE(target, nullptr);
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(target, &press);
    QApplication::processEvents();
  }

  QStringList KeywordList() const {
    const GridTableModel& model = window.KeywordView()->model();
    QStringList keywords;
    for (int row = 0; row < model.rowCount(); ++row) {
      keywords << model.data(model.index(row, 0)).toString().trimmed();
    }
    return keywords;
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

TEST_F(KeywordFrameTest, FrameIsHiddenUntilAKeywordIsAdded) {
  EXPECT_TRUE(Frame()->isHidden());
  EXPECT_EQ(Frame()->title(), " Keyword Edit ");
  EXPECT_TRUE(Find<QRadioButton>("KeyOpPublic")->isChecked());
  EXPECT_FALSE(window.KeyOpPersonal());

  Edit()->setText("Old text");
  OpenForNewKeyword();
  EXPECT_FALSE(Frame()->isHidden());
  EXPECT_EQ(Edit()->text(), "");
  EXPECT_EQ(window.focusWidget(), Edit());
}

TEST_F(KeywordFrameTest, TypedKeywordIsSavedSortedAndListedByEnter) {
  OpenForNewKeyword();
  // The letters would jump in the keyword list if it still counted as focused.
  Type("Golf");
  EXPECT_EQ(window.FocusedControl(), Control::kNone);
  EXPECT_EQ(Edit()->text(), "Golf");
  EXPECT_TRUE(dialogs.messages.empty());

  Press(Qt::Key_Return);
  EXPECT_EQ(dir.Read("keyword.dat"), Keyword("Family") + Keyword("Golf") + Keyword("Work"));
  EXPECT_EQ(KeywordList(), (QStringList{"Family", "Golf", "Work"}));
  EXPECT_TRUE(Frame()->isHidden());
  // The focus goes back to the list the frame was opened from.
  EXPECT_EQ(window.FocusedControl(), Control::kKeywordGrid);
}

TEST_F(KeywordFrameTest, PersonalChoiceMarksTheKeywordAndLastsForTheNextAdd) {
  OpenForNewKeyword();
  Find<QRadioButton>("KeyOpPersonal")->click();
  Edit()->setText("Golf");
  Find<QPushButton>("KeySave")->click();
  QApplication::processEvents();
  EXPECT_EQ(dir.Read("keyword.dat"), Keyword("Family") + Keyword("Work") + Keyword("~Golf"));
  EXPECT_EQ(KeywordList().last(), "~Golf");

  OpenForNewKeyword();
  EXPECT_TRUE(window.KeyOpPersonal());
  EXPECT_FALSE(Find<QRadioButton>("KeyOpPublic")->isChecked());
}

TEST_F(KeywordFrameTest, EscapeAndCancelCloseWithoutSaving) {
  const std::string before = dir.Read("keyword.dat");
  OpenForNewKeyword();
  Type("Golf");
  Press(Qt::Key_Escape);
  EXPECT_TRUE(Frame()->isHidden());
  EXPECT_EQ(window.FocusedControl(), Control::kKeywordGrid);

  OpenForNewKeyword();
  Type("Golf");
  Find<QPushButton>("KeyCancel")->click();
  EXPECT_TRUE(Frame()->isHidden());
  EXPECT_EQ(dir.Read("keyword.dat"), before);
  EXPECT_EQ(KeywordList(), (QStringList{"Family", "Work"}));
  EXPECT_TRUE(dialogs.messages.empty());
}

}  // namespace
}  // namespace tabrel::gui
