// Message boxes after a long run: each kind of box, shown hundreds of times
// over a main window under the busy cursor, is still drawn (not a blank
// rectangle) and leaves no window or pixmap behind.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QPixmapCache>
#include <QTimer>

#include "gui/busy_cursor.h"
#include "gui/main_window_fixture.h"
#include "gui/qt_dialogs.h"

namespace tabrel::gui {
namespace {

// True when the picture holds more than one colour.
bool Drawn(const QImage& image) {
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (image.pixel(x, y) != image.pixel(0, 0)) return true;
    }
  }
  return false;
}

class MessageBoxTest : public MainWindowFixture {};

TEST_F(MessageBoxTest, EveryKindOfBoxIsStillDrawnAfterALongRun) {
  Start({testing::Contact("1", "Smith", "John", "01-02-2003 10:00:00")}, {});
  const Message kKinds[] = {
      {"Finished", "Backup", MessageIcon::kInformation, MessageButtons::kOk, {}},
      {"You must select a file to import.",
       "Nothing to do!",
       MessageIcon::kExclamation,
       MessageButtons::kOk,
       {}},
      {"Call 91234567 ?",
       "Ready to dial number!",
       MessageIcon::kQuestion,
       MessageButtons::kYesNo,
       {}},
  };
  QtDialogs boxes;
  bool busy = false;
  const qsizetype windows = QApplication::topLevelWidgets().size();
  for (int round = 0; round < 200; ++round) {
    for (const Message& kind : kKinds) {
      SetBusyCursor(busy, round % 2 == 0);  // as during an import or a fill
      bool drawn = false;
      QTimer::singleShot(0, [&drawn, last = round == 199] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) return;
        if (last) drawn = Drawn(box->grab().toImage());
        box->done(QMessageBox::Ok);
      });
      boxes.Show(kind);
      if (round == 199) EXPECT_TRUE(drawn) << kind.title;
    }
  }
  SetBusyCursor(busy, false);
  Settle();
  EXPECT_EQ(QApplication::topLevelWidgets().size(), windows) << "no box is left behind";
}

}  // namespace
}  // namespace tabrel::gui
