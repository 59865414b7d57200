#pragma once

// A main window on a temporary data folder with fake desktop services, and
// the mouse and key actions the GUI tests need.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <string>
#include <vector>

#include "fakes/contact_files.h"
#include "fakes/fake_platform.h"
#include "fakes/temp_dir.h"
#include "gui/grid_view.h"
#include "gui/main_window_widget.h"

namespace tabrel::gui {

class MainWindowFixture : public ::testing::Test, public testing::FakePlatform {
 protected:
  MainWindowFixture() : state(dir.path()), window(state, platform) {}
  ~MainWindowFixture() override {
    // Windows closed during a test go with their deferred deletion.
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }

  // Writes the records and keywords, starts the program and shows the window.
  void Start(const std::vector<ContactRecord>& records, const std::vector<std::string>& keywords) {
    testing::WriteContacts(dir, records);
    testing::WriteKeywords(dir, keywords);
    window.presenter().Form_Load();
    window.resize(1000, 700);
    window.show();
    window.activateWindow();
    Settle();
  }

  static void Settle() {
    QApplication::processEvents();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }

  void Trigger(MenuId id) {
    window.MenuAction(id)->trigger();
    Settle();
  }

  template <typename T>
  T* Find(const char* name) const {
    T* control = window.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(control, nullptr) << name;
    return control;
  }

  // The texts of a list's first column, top to bottom.
  static QStringList Column(const GridView* list) {
    QStringList texts;
    for (int row = 0; row < list->model().rowCount(); ++row) {
      texts << list->model().data(list->model().index(row, 0)).toString().trimmed();
    }
    return texts;
  }

  // Press, release and double-click on a row of the record list, as a
  // mouse sends them.
  void DoubleClickRecordRow(int row) {
    QWidget* target = window.RecordView()->viewport();
    const QPointF at =
        window.RecordView()->visualRect(window.RecordView()->model().index(row, 0)).center();
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease,
                              QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease}) {
      const Qt::MouseButtons held =
          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
      QMouseEvent event(type, at, target->mapToGlobal(at), Qt::LeftButton, held, Qt::NoModifier);
      QApplication::sendEvent(target, &event);
    }
    Settle();
  }

  // A key press as the keyboard sends it to the control with the focus.
  static void Press(int key, const QString& text = {},
                    Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* target = QApplication::focusWidget();
    ASSERT_NE(target, nullptr);
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(target, &press);
    Settle();
  }
  static void Type(const QString& text) {
    for (const QChar c : text) {
      Press(c.toUpper().unicode(), QString(c), c.isUpper() ? Qt::ShiftModifier : Qt::NoModifier);
    }
  }

  testing::TempDir dir;
  AppState state;
  MainWindowWidget window;
};

}  // namespace tabrel::gui
