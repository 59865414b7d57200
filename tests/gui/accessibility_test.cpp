// Every window of the program walked control by control: whatever the user
// can operate has an accessible name, is reached by Tab or a mnemonic, and
// shows where the focus is; no two mnemonics of one window (its menu bar
// included) share a letter.
#include <gtest/gtest.h>

#include <QApplication>
#include <QtTest/QTest>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTextBrowser>
#include <QTextEdit>
#include <QToolButton>
#include <functional>
#include <map>
#include <set>

#include "fakes/contact_files.h"
#include "fakes/fake_platform.h"
#include "fakes/temp_dir.h"
#include "gui/clickable_label.h"
#include "gui/comma_parse_widget.h"
#include "gui/contact_ed_widget.h"
#include "gui/file_selector_dialog.h"
#include "gui/game_widget.h"
#include "gui/help_window.h"
#include "gui/import_window_widget.h"
#include "gui/main_window_widget.h"
#include "gui/qt_help_viewer.h"
#include "gui/settings_dialog_widget.h"
#include "present/key_codes.h"

namespace tabrel::gui {
namespace {

// Controls the keyboard reaches another way; the test names why.
const std::map<QString, const char*> kElsewhere = {
    {"MainTB_", "toolbar buttons: each is an item of the menus, with its function key"},
    {"Command1_", "letter buttons: typing the letter in a list jumps the same"},
    {"AllRecords", "\"All Records <F4>\": F4"},
};
// And the status bar's panels: their clicks are items of the menus.

// Found and not yet mended: the style draws a focused default button as it
// draws the default button; read-only text (help page, notes) shows no cursor.
const QStringList kKnownGaps = {
    "QPushButton INI_Save: the focus does not show",
    "QPushButton Command1: the focus does not show",
    "QPushButton FileSelectOK: the focus does not show",
    "QTreeView Dir1: the focus does not show",
    "QPlainTextEdit NoteView: the focus does not show",
    "tabrel::gui::HelpBrowser HelpPage: the focus does not show",
    "tabrel::gui::HelpBrowser HelpPage: Tab does not leave it",
    "QTreeWidget HelpContents: reached neither by Tab nor by a mnemonic",
};

bool Operable(const QWidget* w) {
  return qobject_cast<const QAbstractButton*>(w) || qobject_cast<const QLineEdit*>(w) ||
         qobject_cast<const QAbstractItemView*>(w) || qobject_cast<const QPlainTextEdit*>(w) ||
         qobject_cast<const QTextEdit*>(w) || qobject_cast<const QComboBox*>(w) ||
         qobject_cast<const QAbstractSpinBox*>(w) ||
         (qobject_cast<const ClickableLabel*>(w) &&
          static_cast<const ClickableLabel*>(w)->Operable());
}

QChar Mnemonic(const QString& text) {
  for (qsizetype i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != QLatin1Char('&')) continue;
    if (text[i + 1] != QLatin1Char('&')) return text[i + 1].toLower();
    ++i;
  }
  return {};
}

QString Describe(const QWidget* w) {
  return QString::fromLatin1(w->metaObject()->className()) + QLatin1Char(' ') +
         (w->objectName().isEmpty() ? QStringLiteral("(unnamed)") : w->objectName());
}

bool Exempt(const QWidget* w) {
  for (const auto& [prefix, why] : kElsewhere) {
    if (w->objectName().startsWith(prefix)) return true;
  }
  return qobject_cast<const QStatusBar*>(w->parentWidget()) != nullptr;
}

// What the walk found wrong in `window`, one line each.
QStringList Audit(QWidget* window) {
  QStringList problems;
  // A steady text cursor: a blinking one could be off in the picture.
  QApplication::setCursorFlashTime(0);
  QApplication::setActiveWindow(window);
  QApplication::processEvents();
  std::map<QChar, QStringList> mnemonics;
  std::set<const QWidget*> by_letter;
  for (const QLabel* label : window->findChildren<QLabel*>()) {
    if (label->buddy() && label->isVisibleTo(window) && !Mnemonic(label->text()).isNull()) {
      by_letter.insert(label->buddy());
      mnemonics[Mnemonic(label->text())] << label->text();
    }
  }
  for (const QMenuBar* bar : window->findChildren<QMenuBar*>()) {
    if (bar->window() != window) continue;
    for (const QAction* action : bar->actions()) {
      if (!Mnemonic(action->text()).isNull()) mnemonics[Mnemonic(action->text())] << action->text();
    }
  }
  std::vector<QWidget*> controls;
  std::map<const QWidget*, QImage> unfocused;
  if (QWidget* focus = window->focusWidget()) focus->clearFocus();
  QApplication::processEvents();
  for (QWidget* w : window->findChildren<QWidget*>()) {
    if (!w->isVisibleTo(window) || !w->isEnabled() || w->window() != window || !Operable(w) ||
        qobject_cast<QHeaderView*>(w) || w->objectName().startsWith(QStringLiteral("qt_"))) {
      continue;
    }
    controls.push_back(w);
    const auto* button = qobject_cast<const QAbstractButton*>(w);
    if (button && !Mnemonic(button->text()).isNull()) {
      mnemonics[Mnemonic(button->text())] << button->text();
      by_letter.insert(w);
    }
    if (button && (button->shortcut()[0].keyboardModifiers() & Qt::AltModifier)) {
      by_letter.insert(w);
    }
    const auto* tool = qobject_cast<const QToolButton*>(w);
    if (tool && tool->defaultAction() && !tool->defaultAction()->shortcut().isEmpty()) {
      by_letter.insert(w);
    }
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(w);
    if (!accessible || accessible->text(QAccessible::Name).trimmed().isEmpty()) {
      problems << Describe(w) + QStringLiteral(": no accessible name");
    }
  }
  // Each control as it looks while another one has the focus.
  for (QWidget* w : controls) {
    for (QWidget* other : controls) {
      if (other == w || !(other->focusPolicy() & Qt::TabFocus)) continue;
      other->setFocus(Qt::TabFocusReason);
      break;
    }
    QApplication::processEvents();
    unfocused[w] = w->grab().toImage();
  }
  // Tab as the user presses it, round the window once.
  std::set<const QWidget*> reached;
  QTest::keyClick(window, Qt::Key_Tab);
  for (int step = 0; step < 300; ++step) {
    QWidget* at = QApplication::focusWidget();
    if (at == nullptr || reached.count(at) != 0) break;
    reached.insert(at);
    if (unfocused.count(at) != 0 && at->grab().toImage() == unfocused[at]) {
      problems << Describe(at) + QStringLiteral(": the focus does not show");
    }
    QTest::keyClick(at, Qt::Key_Tab);
    // A help page's Tab moves among its links; Ctrl+Tab leaves it.
    if (qobject_cast<QTextBrowser*>(at)) QTest::keyClick(at, Qt::Key_Tab, Qt::ControlModifier);
    if (QApplication::focusWidget() == at) {
      problems << Describe(at) + QStringLiteral(": Tab does not leave it");
      at->nextInFocusChain()->setFocus(Qt::TabFocusReason);
    }
  }
  // Arrow keys move among the options of one group from the one Tab reaches.
  for (const QWidget* w : controls) {
    if (reached.count(w) == 0 || !qobject_cast<const QRadioButton*>(w)) continue;
    for (const QRadioButton* sibling : w->parentWidget()->findChildren<QRadioButton*>()) {
      reached.insert(sibling);
    }
  }
  for (const QWidget* w : controls) {
    if (reached.count(w) == 0 && by_letter.count(w) == 0 && !Exempt(w)) {
      problems << Describe(w) + QStringLiteral(": reached neither by Tab nor by a mnemonic");
    }
  }
  for (const auto& [letter, owners] : mnemonics) {
    if (owners.size() > 1) {
      problems << QStringLiteral("Alt+%1 is shared by: %2").arg(letter, owners.join(", "));
    }
  }
  problems.removeIf([](const QString& problem) { return kKnownGaps.contains(problem); });
  return problems;
}

class AccessibilityTest : public ::testing::Test, public testing::FakePlatform {
 protected:
  AccessibilityTest() {
    help_viewer.SetOwner(&window);
    ContactRecord smith = testing::Contact("1", "Smith", "John", "01-02-2003 10:00:00");
    smith.Phone = "555-0100";
    testing::WriteContacts(dir, {smith});
    testing::WriteKeywords(dir, {"Family"});
    window.presenter().Form_Load();
    window.resize(1000, 700);
    window.show();
    Settle();
  }
  ~AccessibilityTest() override { Settle(); }
  static void Settle() {
    QApplication::processEvents();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  QWidget* Trigger(MenuId id) {
    window.MenuAction(id)->trigger();
    Settle();
    return &window;
  }

  testing::TempDir dir;
  AppState state{dir.path()};
  QtHelpViewer help_viewer;
  Platform with_help{dialogs, help_viewer, clock, files, printer, clipboard, shell, serial};
  MainWindowWidget window{state, with_help};
};

TEST_F(AccessibilityTest, EveryWindowNamesShowsAndReachesEveryControl) {
  const std::pair<const char*, std::function<QWidget*()>> kWindows[] = {
      {"main window", [this] { return &window; }},
      {"view panel",
       [this] {
         window.FocusControl(Control::kMainGrid);
         window.presenter().MainGrid_dblClick();
         Settle();
         return &window;
       }},
      {"editor",
       [this]() -> QWidget* {
         window.presenter().MenuClicked(MenuId::mu_NewRecord);
         Settle();
         return window.findChild<ContactEdWidget*>();
       }},
      {"preview", [this] { return Trigger(MenuId::mu_SimplePhoneList); }},
      {"settings",
       [this]() -> QWidget* {
         Trigger(MenuId::mu_Settings);
         return window.SettingsWindow();
       }},
      {"import window",
       [this]() -> QWidget* {
         testing::WriteContacts(dir, {testing::Contact("2", "Brown", "Mary", "05-05-2005 5")},
                                "friends.dat");
         files.choice = FileChoice{dir.path(), "friends.dat"};
         Trigger(MenuId::mu_ImportTabrel);
         return window.ImportWindow();
       }},
      {"field selector",
       [this]() -> QWidget* {
         dir.Write("people.csv", "Given Name,Family Name\r\nAnn,Baker\r\n");
         files.choice = FileChoice{dir.path(), "people.csv"};
         dialogs.answers = {MessageAnswer::kYes};
         Trigger(MenuId::mu_ImportComma);
         return window.CommaWindow();
       }},
      {"file selector",
       [this]() -> QWidget* {
         auto* selector = new FileSelectorDialog(QString::fromStdString(dir.path()),
                                                 QStringLiteral("*.dat"), &window);
         selector->setAttribute(Qt::WA_DeleteOnClose);
         selector->show();
         Settle();
         return selector;
       }},
      {"help",
       [this]() -> QWidget* {
         Trigger(MenuId::mu_HelpContents);
         return help_viewer.Window();
       }},
      {"game",
       [this]() -> QWidget* {
         Trigger(MenuId::mu_Game);
         return window.GameWidgetIfOpened();
       }},
      {"Make Contact", [this] { return Trigger(MenuId::mu_MakeContact); }},
  };
  for (const auto& [name, open] : kWindows) {
    SCOPED_TRACE(name);
    QWidget* shown = open();
    if (shown == nullptr || !shown->isVisible()) {
      ADD_FAILURE() << "not opened";
      continue;
    }
    EXPECT_EQ(Audit(shown).join('\n').toStdString(), "");
    if (shown != &window) shown->close();
    // What the main window covers for a window (preview, card) goes back.
    window.presenter().Form_KeyDown(key::kEscape, 0);
    Settle();
  }
}

}  // namespace
}  // namespace tabrel::gui
