// Message boxes answer as the presenter asked: Enter presses the default
// button, Esc gives the cautious answer.
#include "gui/qt_dialogs.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QTimer>

namespace tabrel::gui {
namespace {

TEST(QtDialogsTest, EnterPressesTheDefaultButton) {
  QtDialogs dialogs;
  QString shown;
  QTimer::singleShot(0, [&shown] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    shown = box->text();
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(box, &enter);
  });
  const MessageAnswer answer =
      dialogs.Show({"Delete the record?\r\nIt cannot be undone.", "Attention!",
                    MessageIcon::kQuestion, MessageButtons::kYesNo, MessageAnswer::kNo});
  EXPECT_EQ(answer, MessageAnswer::kNo);
  EXPECT_EQ(shown, "Delete the record?\nIt cannot be undone.");
}

TEST(QtDialogsTest, EscapeGivesNoOrCancel) {
  QtDialogs dialogs;
  for (const auto& [buttons, expected] :
       {std::pair{MessageButtons::kYesNo, MessageAnswer::kNo},
        std::pair{MessageButtons::kYesNoCancel, MessageAnswer::kCancel},
        std::pair{MessageButtons::kOk, MessageAnswer::kOk}}) {
    QTimer::singleShot(0, [] {
      QWidget* box = QApplication::activeModalWidget();
      ASSERT_NE(box, nullptr);
      QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
      QApplication::sendEvent(box, &escape);
    });
    EXPECT_EQ(dialogs.Show({"Text", "Title", MessageIcon::kNone, buttons, {}}), expected);
  }
}

}  // namespace
}  // namespace tabrel::gui
