// The file selector as a user meets it: the focus in the file box, a full
// path typed there taken as it stands, a file that is not there refused
// with a message saying so, and the pattern in the list's header.
#include "gui/file_selector_dialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "fakes/temp_dir.h"

namespace tabrel::gui {
namespace {

TEST(FileSelectorDialogTest, TakesAFullPathAsTypedAndRefusesAFileThatIsNotThere) {
  testing::TempDir shown;
  testing::TempDir other;
  other.Write("contact.dat", "x");
  FileSelectorDialog dialog(QString::fromStdString(shown.path()),
                            QStringLiteral("contact.dat;contact.mer;contact.bak"));
  dialog.show();
  QApplication::processEvents();
  EXPECT_EQ(QApplication::focusWidget(), dialog.FileNameBox());
  QStringList captions;
  for (const QLabel* label : dialog.findChildren<QLabel*>()) captions << label->text();
  EXPECT_TRUE(captions.contains("Files (contact.dat;contact.mer;contact.bak)"));

  QString refusal;
  QTimer::singleShot(0, [&refusal] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr) return;
    refusal = box->text();
    box->accept();
  });
  dialog.FileNameBox()->setText(QString::fromStdString(shown.path()) + "missing.dat");
  dialog.SelectButton()->click();
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_EQ(refusal.toStdString(),
            shown.path() + "missing.dat\nThis file does not exist. Check the name and the folder.");

  dialog.FileNameBox()->setText(QString::fromStdString(other.File("contact.dat")));
  dialog.SelectButton()->click();
  ASSERT_TRUE(dialog.Choice().has_value());
  EXPECT_EQ(dialog.Choice()->folder, other.path());
  EXPECT_EQ(dialog.Choice()->file, "contact.dat");
}

}  // namespace
}  // namespace tabrel::gui
