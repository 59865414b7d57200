#pragma once

// A shown main window on a temporary data folder with fake desktop
// services, and the mouse and key actions the GUI tests need.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <string>
#include <vector>

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
#include "store/contact_record.h"
#include "store/layout.h"

namespace tabrel::gui {

class MainWindowFixture : public ::testing::Test {
 protected:
  MainWindowFixture() : state(dir.path()), window(state, platform) {
    window.SetSplashMinimum(std::chrono::milliseconds(0));
  }
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

  template <typename T>
  T* Find(const char* name) const {
    T* control = window.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(control, nullptr) << name;
    return control;
  }

  // Press, release and double-click, as a mouse sends them.
  static void DoubleClick(QWidget* target, QPoint at) {
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease,
                              QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease}) {
      const Qt::MouseButtons held =
          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
      QMouseEvent event(type, QPointF(at), target->mapToGlobal(QPointF(at)), Qt::LeftButton, held,
                        Qt::NoModifier);
      QApplication::sendEvent(target, &event);
    }
    Settle();
  }

  void DoubleClickRecordRow(int row) {
    GridView* list = window.RecordView();
    DoubleClick(list->viewport(), list->visualRect(list->model().index(row, 0)).center());
  }

  // A key press as the keyboard sends it to the control with the focus.
  static void Press(int key, const QString& text = {}) {
    QWidget* target = QApplication::focusWidget();
    ASSERT_NE(target, nullptr);
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &press);
    Settle();
  }
  static void Type(const QString& text) {
    for (const QChar c : text) Press(c.toUpper().unicode(), QString(c));
  }

  ContactRecord StoredRecord(int number) const {
    const std::string bytes = dir.Read("tabrel.dat");
    const std::size_t at = static_cast<std::size_t>(number - 1) * layout::kContactRecordLength;
    EXPECT_LE(at + layout::kContactRecordLength, bytes.size());
    if (at + layout::kContactRecordLength > bytes.size()) return BlankContactRecord();
    return DecodeContact(std::string_view(bytes).substr(at, layout::kContactRecordLength));
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

}  // namespace tabrel::gui
