// The file selector: which names a pattern lets through, and the dialog's
// folder, file list, chosen-file box and answers.
#include "gui/file_selector_dialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <filesystem>

#include "fakes/temp_dir.h"
#include "gui/file_pattern.h"
#include "gui/qt_file_selector.h"

namespace tabrel::gui {
namespace {

TEST(FilePatternTest, AnyOfTheSemicolonSeparatedWildcardsMatchesIgnoringCase) {
  struct Case {
    const char* pattern;
    const char* name;
    bool matches;
  };
  const Case cases[] = {
      {"tabrel.dat;keyword.dat", "TABREL.DAT", true},
      {"tabrel.dat;keyword.dat", "Keyword.Dat", true},
      {"tabrel.dat;keyword.dat", "tabrel.bak", false},
      {"tabrel.dat;keyword.dat", "old_tabrel.dat", false},
      {"*.ldif", "Export.LDIF", true},
      {"*.ldif", "export.ldif.bak", false},
      {"*.ldif", "ldif", false},
      {" *.txt ; *.csv ;", "phones.csv", true},
      {"tr?0.ini", "TR30.INI", true},
      {"", "anything.at.all", true},
      {";", "anything.at.all", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.pattern) + " / " + c.name);
    EXPECT_EQ(FilePattern(QString::fromUtf8(c.pattern)).Matches(QString::fromUtf8(c.name)),
              c.matches);
  }
}

QStringList Listed(const FileSelectorDialog& dialog) {
  QStringList names;
  for (int row = 0; row < dialog.FileList()->count(); ++row) {
    names << dialog.FileList()->item(row)->text();
  }
  return names;
}

void Click(QListWidget* list, int row) {
  QWidget* viewport = list->viewport();
  const QPointF point = list->visualItemRect(list->item(row)).center();
  for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
    QMouseEvent event(type, point, viewport->mapToGlobal(point), Qt::LeftButton,
                      type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                      Qt::NoModifier);
    QApplication::sendEvent(viewport, &event);
  }
}

class FileSelectorDialogTest : public ::testing::Test {
 protected:
  FileSelectorDialogTest() {
    dir.Write("tabrel.dat", "x");
    dir.Write("KEYWORD.DAT", "x");
    dir.Write("notes.txt", "x");
    std::filesystem::create_directory(dir.File("keyword.dat.d"));
    std::filesystem::create_directory(dir.File("Müller"));
    dir.Write("Müller/Tabrel.Dat", "x");
  }

  QString Folder(const std::string& name = "") const {
    return QString::fromStdString(dir.File(name));
  }

  testing::TempDir dir;
};

TEST_F(FileSelectorDialogTest, StartFolderListsItsMatchingFilesOnly) {
  FileSelectorDialog dialog(Folder(), "tabrel.dat;keyword.dat");
  EXPECT_EQ(dialog.Folder(), Folder());
  EXPECT_EQ(Listed(dialog), (QStringList{"KEYWORD.DAT", "tabrel.dat"}));
  EXPECT_EQ(dialog.FileNameBox()->text(), "");
  EXPECT_EQ(dialog.windowTitle(), " File Selector");
}

TEST_F(FileSelectorDialogTest, MissingStartFolderFallsBackToItsNearestParent) {
  FileSelectorDialog dialog(Folder("gone/deeper/"), "*.txt");
  EXPECT_EQ(dialog.Folder(), Folder());
  EXPECT_EQ(Listed(dialog), QStringList{"notes.txt"});
}

TEST_F(FileSelectorDialogTest, SelectAnswersTheFolderAndTheClickedFile) {
  FileSelectorDialog dialog(Folder(), "tabrel.dat;keyword.dat");
  dialog.show();
  QApplication::processEvents();
  Click(dialog.FileList(), 1);
  EXPECT_EQ(dialog.FileNameBox()->text(), "tabrel.dat");

  dialog.SelectButton()->click();
  const auto choice = dialog.Choice();
  ASSERT_TRUE(choice.has_value());
  EXPECT_EQ(choice->folder, dir.path());
  EXPECT_EQ(choice->file, "tabrel.dat");
}

TEST_F(FileSelectorDialogTest, ChangingFolderEmptiesTheChosenFile) {
  FileSelectorDialog dialog(Folder(), "tabrel.dat");
  dialog.FileList()->setCurrentRow(0);
  EXPECT_EQ(dialog.FileNameBox()->text(), "tabrel.dat");

  dialog.SetFolder(Folder("Müller"));
  EXPECT_EQ(dialog.Folder(), Folder("Müller/"));
  EXPECT_EQ(dialog.FileNameBox()->text(), "");
  EXPECT_EQ(Listed(dialog), QStringList{"Tabrel.Dat"});

  dialog.SelectButton()->click();
  ASSERT_TRUE(dialog.Choice().has_value());
  EXPECT_EQ(dialog.Choice()->folder, dir.path() + "Müller/");
  EXPECT_EQ(dialog.Choice()->file, "");
}

TEST_F(FileSelectorDialogTest, CancelAndEscapeAnswerNothing) {
  FileSelectorDialog dialog(Folder(), "*.txt");
  dialog.FileList()->setCurrentRow(0);
  dialog.CancelButton()->click();
  EXPECT_FALSE(dialog.Choice().has_value());

  FileSelectorDialog second(Folder(), "*.txt");
  second.show();
  second.FileList()->setCurrentRow(0);
  QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
  QApplication::sendEvent(second.FileList(), &escape);
  EXPECT_FALSE(second.isVisible());
  EXPECT_FALSE(second.Choice().has_value());
}

TEST_F(FileSelectorDialogTest, ModalSelectorReturnsUtf8PathsOfTheChoice) {
  QtFileSelector selector;
  QString shown_folder;
  QTimer::singleShot(0, [&shown_folder] {
    auto* dialog = qobject_cast<FileSelectorDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    shown_folder = dialog->Folder();
    dialog->FileList()->setCurrentRow(0);
    dialog->SelectButton()->click();
  });
  const auto choice = selector.Select(dir.path() + "Müller", "TABREL.DAT");
  EXPECT_EQ(shown_folder, Folder("Müller/"));
  ASSERT_TRUE(choice.has_value());
  EXPECT_EQ(choice->folder, dir.path() + "Müller/");
  EXPECT_EQ(choice->file, "Tabrel.Dat");
}

}  // namespace
}  // namespace tabrel::gui
