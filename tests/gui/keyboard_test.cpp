// The windows from the keyboard, as QTest sends keys through the shortcut
// map: each window's mnemonics act in that window only, boxes take the
// focus when a window opens, Enter and Esc do what the buttons say, and a
// read-only copy answers every writing key.
#include <QtTest/QTest>

#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QToolButton>

#include "gui/contact_ed_widget.h"
#include "gui/game_widget.h"
#include "gui/main_window_fixture.h"
#include "gui/settings_dialog_widget.h"
#include "store/data_set.h"
#include "store/data_set_lock.h"

namespace tabrel::gui {
namespace {

class KeyboardTest : public MainWindowFixture {
 protected:
  // `other_copy`: another copy of the program holds the data set's lock.
  explicit KeyboardTest(bool other_copy = false) {
    if (other_copy) other_copy_lock = DataSetLock::Acquire(dir.path());
    ContactRecord smith = testing::Contact("1", "Smith", "John", "01-02-2003 10:00:00");
    smith.Phone = "555-0100";
    Start({smith, testing::Contact("2", "Brown", "Mary", "01-02-2003 10:00:01")}, {"Family"});
    window.FocusControl(Control::kMainGrid);
    Settle();
  }
  static void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* target = QApplication::focusWidget();
    ASSERT_NE(target, nullptr);
    QTest::keyClick(target, key, modifiers);
    // A button's mnemonic clicks it as an animation, 100 ms later.
    if (modifiers & Qt::AltModifier) QTest::qWait(150);
    Settle();
  }
  DataSetLock other_copy_lock;

  ContactEdWidget* OpenEditor() {
    DoubleClickRecordRow(0);
    Find<QPushButton>("EditView")->click();
    Settle();
    return window.findChild<ContactEdWidget*>();
  }
};

TEST_F(KeyboardTest, TheEditorOwnsItsMnemonicsAndEachOpeningStartsInTheFirstBox) {
  QPointer<ContactEdWidget> editor = OpenEditor();
  ASSERT_FALSE(editor.isNull());
  EXPECT_EQ(QApplication::focusWidget(), editor->FieldBox(EditorField::LastNameEd));
  // Alt+P is the scratch pad here, not the main window's "Print Preview".
  Key(Qt::Key_P, Qt::AltModifier);
  EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
  EXPECT_TRUE(editor->ScratchPad()->isVisible());
  EXPECT_EQ(QApplication::focusWidget(), editor->ScratchPad());

  // Left in another box, closed, opened again: back at the first box.
  editor->FieldBox(EditorField::CityEd)->setFocus(Qt::OtherFocusReason);
  Key(Qt::Key_Escape);
  EXPECT_TRUE(editor.isNull());
  editor = OpenEditor();
  ASSERT_FALSE(editor.isNull());
  EXPECT_EQ(QApplication::focusWidget(), editor->FieldBox(EditorField::LastNameEd));
  Key(Qt::Key_Escape);
}

TEST_F(KeyboardTest, ThePreviewLetsTabLeaveItsTextHasMnemonicsAndClosesOnEscape) {
  Trigger(MenuId::mu_SimplePhoneList);
  auto* text = Find<QPlainTextEdit>("Text1");
  ASSERT_EQ(QApplication::focusWidget(), text);
  const QString before = text->toPlainText();
  Key(Qt::Key_Tab);
  EXPECT_EQ(text->toPlainText(), before) << "no tab character typed";
  EXPECT_NE(QApplication::focusWidget(), text);

  // Alt+R prints; the letters of the menu bar are left to it.
  text->setFocus(Qt::OtherFocusReason);
  Key(Qt::Key_R, Qt::AltModifier);
  EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
  EXPECT_EQ(printer.jobs.size(), 1u);
  Key(Qt::Key_Escape);
  EXPECT_FALSE(text->isVisible());
  EXPECT_EQ(window.FocusedControl(), Control::kMainGrid);
}

TEST_F(KeyboardTest, SettingsOpenInTheFirstBoxEnterSavesAndEscapeCancels) {
  for (const bool save : {true, false}) {
    SCOPED_TRACE(save ? "Enter" : "Esc");
    Trigger(MenuId::mu_Settings);
    SettingsDialogWidget* settings = window.SettingsWindow();
    ASSERT_NE(settings, nullptr);
    auto* first = settings->findChild<QLineEdit*>(QStringLiteral("INI_Path1"));
    // The offscreen platform activates a window shown again only when told.
    QApplication::setActiveWindow(settings);
    ASSERT_EQ(QApplication::focusWidget(), first);
    // Left in another box, it comes back to the first next time.
    settings->findChild<QLineEdit*>(QStringLiteral("INI_PhoneAreaCode"))->setFocus();
    QTest::keyClicks(QApplication::focusWidget(), save ? QStringLiteral("7") : QStringLiteral("8"));
    Key(save ? Qt::Key_Return : Qt::Key_Escape);
    EXPECT_FALSE(settings->isVisible());
    const auto stored = ReadSettingsFile(state.program_folder);
    ASSERT_TRUE(stored.ok());
    EXPECT_NE(stored.value().AreaCode.find('7'), std::string::npos);
    EXPECT_EQ(stored.value().AreaCode.find('8'), std::string::npos);
  }
}

class ReadOnlyKeyboardTest : public KeyboardTest {
 protected:
  ReadOnlyKeyboardTest() : KeyboardTest(true) {}
};

TEST_F(ReadOnlyKeyboardTest, AReadOnlyCopyAnswersEveryWritingKeyButtonAndMenuItem) {
  ASSERT_TRUE(state.read_only);
  const std::function<void()> commands[] = {
      [] { Key(Qt::Key_F2); },
      [] { Key(Qt::Key_F3); },
      [] { Key(Qt::Key_Insert); },
      [this] { Find<QToolButton>("MainTB_New")->click(); },
      [this] { Trigger(MenuId::mu_Sort); },
      [this] { Trigger(MenuId::mu_NewKey); },
  };
  for (std::size_t i = 0; i < std::size(commands); ++i) {
    SCOPED_TRACE(i);
    dialogs.messages.clear();
    commands[i]();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].title, "Data set in use");
    EXPECT_EQ(window.findChild<ContactEdWidget*>(), nullptr);
  }
}

TEST_F(KeyboardTest, TheGamesHelpMenuHasItsMnemonic) {
  Trigger(MenuId::mu_Game);
  GameWidget* game = window.GameWidgetIfOpened();
  ASSERT_NE(game, nullptr);
  game->activateWindow();
  QApplication::setActiveWindow(game);
  Settle();
  dialogs.messages.clear();
  QTest::keyClick(game, Qt::Key_H, Qt::AltModifier);
  Settle();
  EXPECT_FALSE(dialogs.messages.empty());
}

}  // namespace
}  // namespace tabrel::gui
