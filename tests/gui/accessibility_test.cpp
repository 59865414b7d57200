// Every window of the program walked control by control: whatever the user
// can operate has an accessible name, is reached by Tab or a mnemonic, and
// shows where the focus is; no two mnemonics of one window (its menu bar
// included) share a letter.
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QStatusBar>
#include <QTextBrowser>
#include <QToolButton>
#include <QtTest/QTest>
#include <functional>
#include <map>
#include <set>

#include "gui/application.h"
#include "gui/clickable_label.h"
#include "gui/file_selector_dialog.h"
#include "gui/help_window.h"
#include "gui/main_window_fixture.h"
#include "gui/server_settings_widget.h"
#include "gui/sync_window_widget.h"
#include "present/key_codes.h"

namespace tabrel::gui {
namespace {

// Reached another way: a toolbar button is an item of the menus with its
// function key, typing a letter in a list jumps as its letter button does,
// "All Records <F4>" is F4, and a status bar panel's click is a menu item.
bool ReachedElsewhere(const QWidget* w) {
  for (const char* prefix : {"MainTB_", "Command1_", "AllRecords"}) {
    if (w->objectName().startsWith(QLatin1String(prefix))) return true;
  }
  return qobject_cast<const QStatusBar*>(w->parentWidget()) != nullptr;
}

bool Operable(const QWidget* w) {
  const auto* label = qobject_cast<const ClickableLabel*>(w);
  return qobject_cast<const QAbstractButton*>(w) || qobject_cast<const QLineEdit*>(w) ||
         qobject_cast<const QAbstractItemView*>(w) || qobject_cast<const QPlainTextEdit*>(w) ||
         qobject_cast<const QTextEdit*>(w) || qobject_cast<const QComboBox*>(w) ||
         qobject_cast<const QAbstractSpinBox*>(w) || (label && label->Operable());
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
  return QString::fromLatin1(w->metaObject()->className()) + QLatin1Char(' ') + w->objectName();
}

// What the walk found wrong in `window`, one line each.
QStringList Audit(QWidget* window) {
  QStringList problems;
  // A steady text cursor: a blinking one could be off in the picture.
  QApplication::setCursorFlashTime(0);
  QApplication::setActiveWindow(window);
  std::map<QChar, QStringList> mnemonics;
  std::set<const QWidget*> by_letter;
  const auto letter = [&](const QString& text, const QWidget* reaches) {
    if (Mnemonic(text).isNull()) return;
    mnemonics[Mnemonic(text)] << text;
    by_letter.insert(reaches);
  };
  for (const QLabel* label : window->findChildren<QLabel*>()) {
    if (label->buddy() && label->isVisibleTo(window)) letter(label->text(), label->buddy());
  }
  for (const QMenuBar* bar : window->findChildren<QMenuBar*>()) {
    if (bar->window() != window) continue;
    for (const QAction* action : bar->actions()) letter(action->text(), nullptr);
  }
  std::vector<QWidget*> controls;
  if (QWidget* focus = window->focusWidget()) focus->clearFocus();
  QApplication::processEvents();
  for (QWidget* w : window->findChildren<QWidget*>()) {
    if (!w->isVisibleTo(window) || !w->isEnabled() || w->window() != window || !Operable(w) ||
        qobject_cast<QHeaderView*>(w) || w->objectName().startsWith(QStringLiteral("qt_"))) {
      continue;
    }
    controls.push_back(w);
    if (const auto* button = qobject_cast<const QAbstractButton*>(w)) {
      letter(button->text(), w);
      const auto* tool = qobject_cast<const QToolButton*>(w);
      if ((button->shortcut()[0].keyboardModifiers() & Qt::AltModifier) ||
          (tool && tool->defaultAction() && !tool->defaultAction()->shortcut().isEmpty())) {
        by_letter.insert(w);
      }
    }
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(w);
    if (!accessible || accessible->text(QAccessible::Name).trimmed().isEmpty()) {
      problems << Describe(w) + QStringLiteral(": no accessible name");
    }
  }
  // Each control as it looks while another one has the focus.
  std::map<const QWidget*, QImage> unfocused;
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
  for (QWidget* at = QApplication::focusWidget(); at && reached.insert(at).second;
       at = QApplication::focusWidget()) {
    if (unfocused.count(at) != 0 && at->grab().toImage() == unfocused[at]) {
      problems << Describe(at) + QStringLiteral(": the focus does not show");
    }
    // A help page's Tab moves among its links; Ctrl+Tab leaves it.
    QTest::keyClick(at, Qt::Key_Tab,
                    qobject_cast<QTextBrowser*>(at) ? Qt::ControlModifier : Qt::NoModifier);
    if (QApplication::focusWidget() == at) {
      problems << Describe(at) + QStringLiteral(": Tab does not leave it");
      at->nextInFocusChain()->setFocus(Qt::TabFocusReason);
    }
  }
  for (const QWidget* w : controls) {
    // Arrow keys move among the options of one group from the one Tab reaches.
    const bool option_reached =
        qobject_cast<const QRadioButton*>(w) &&
        std::any_of(reached.begin(), reached.end(), [w](const QWidget* at) {
          return qobject_cast<const QRadioButton*>(at) && at->parentWidget() == w->parentWidget();
        });
    if (!reached.count(w) && !by_letter.count(w) && !option_reached && !ReachedElsewhere(w)) {
      problems << Describe(w) + QStringLiteral(": reached neither by Tab nor by a mnemonic");
    }
  }
  for (const auto& [key, owners] : mnemonics) {
    if (owners.size() > 1) {
      problems << QStringLiteral("Alt+%1 is shared by: %2").arg(key, owners.join(", "));
    }
  }
  return problems;
}

class AccessibilityTest : public MainWindowFixture {
 protected:
  AccessibilityTest() {
    ConfigureApplication();
    ContactRecord smith = testing::Contact("1", "Smith", "John", "01-02-2003 10:00:00");
    smith.Phone = "555-0100";
    Start({smith}, {"Family"});
  }
  // The window the last step opened: the shown one besides the main
  // window, else the main window itself.
  QWidget* Opened() {
    Settle();
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (w != &window && w->isVisible()) return w;
    }
    return &window;
  }
  std::function<void()> Menu(MenuId id) {
    return [this, id] { window.MenuAction(id)->trigger(); };
  }
};

TEST_F(AccessibilityTest, EveryWindowNamesShowsAndReachesEveryControl) {
  struct Window {
    const char* name;
    const char* widget;  // the class of the window that opens
    std::function<void()> open;
  };
  const Window kWindows[] = {
      {"main window", "MainWindowWidget", [] {}},
      {"view panel", "MainWindowWidget",
       [this] {
         window.FocusControl(Control::kMainGrid);
         window.presenter().MainGrid_dblClick();
       }},
      {"editor", "ContactEdWidget", Menu(MenuId::mu_NewRecord)},
      {"preview", "MainWindowWidget", Menu(MenuId::mu_SimplePhoneList)},
      {"settings", "SettingsDialogWidget", Menu(MenuId::mu_Settings)},
      {"import window", "ImportWindowWidget",
       [this] {
         testing::WriteContacts(dir, {testing::Contact("2", "Brown", "Mary", "05-05-2005 5")},
                                "friends.dat");
         files.choice = FileChoice{dir.path(), "friends.dat"};
         Menu(MenuId::mu_ImportTabrel)();
       }},
      {"field selector", "CommaParseWidget",
       [this] {
         dir.Write("people.csv", "Given Name,Family Name\r\nAnn,Baker\r\n");
         files.choice = FileChoice{dir.path(), "people.csv"};
         dialogs.answers = {MessageAnswer::kYes};
         Menu(MenuId::mu_ImportComma)();
       }},
      {"file selector", "FileSelectorDialog",
       [this] {
         (new FileSelectorDialog(QString::fromStdString(dir.path()), "*.dat", &window))->show();
       }},
      {"help", "HelpWindow", [this] { (new HelpWindow(&window))->show(); }},
      {"game", "GameWidget", Menu(MenuId::mu_Game)},
      {"Make Contact", "MainWindowWidget", Menu(MenuId::mu_MakeContact)},
      // Shown without their run: the sync window's controls are the same
      // before and after it.
      {"sync window", "SyncWindowWidget",
       [this] {
         (new SyncWindowWidget(state, dialogs, clock, window.presenter(), &window))->show();
       }},
      {"server settings", "ServerSettingsWidget",
       [this] { (new ServerSettingsWidget(state, dialogs, &window))->show(); }},
  };
  for (const Window& w : kWindows) {
    SCOPED_TRACE(w.name);
    w.open();
    QWidget* shown = Opened();
    ASSERT_EQ(QString::fromLatin1(shown->metaObject()->className()),
              QStringLiteral("tabrel::gui::") + QLatin1String(w.widget));
    EXPECT_EQ(Audit(shown).join('\n').toStdString(), "");
    if (shown != &window) shown->close();
    // What the main window covers for a window (preview, card) goes back.
    window.presenter().Form_KeyDown(key::kEscape, 0);
    Settle();
  }
}

}  // namespace
}  // namespace tabrel::gui
