#pragma once

#include <QDialog>
#include <QString>
#include <optional>

#include "gui/file_pattern.h"
#include "platform/file_selector.h"

class QFileSystemModel;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTreeView;

namespace tabrel::gui {

// The file selector's window: a tree of the folders from "/", the files of
// the folder selected there that fit the pattern, the chosen-file box, and
// Select and Cancel. Select (or a double-click on a file) accepts; Cancel,
// Esc and the close button reject. QtFileSelector runs it modally.
class FileSelectorDialog : public QDialog {
  Q_OBJECT

 public:
  // Starts on `start_folder`, or its nearest existing parent when it is gone.
  FileSelectorDialog(const QString& start_folder, const QString& pattern,
                     QWidget* parent = nullptr);

  // Selects `folder` in the tree, which lists its files.
  void SetFolder(const QString& folder);
  // The folder selected, ending with "/".
  QString Folder() const { return folder_; }
  // Once accepted, the folder and the file (UTF-8): a full path typed into
  // the file box gives its own folder; empty otherwise. Select refuses a
  // file that does not exist, saying so.
  std::optional<FileChoice> Choice() const;

  QTreeView* FolderTree() const { return tree_; }
  QListWidget* FileList() const { return files_; }
  QLineEdit* FileNameBox() const { return file_name_; }
  QPushButton* SelectButton() const { return select_; }
  QPushButton* CancelButton() const { return cancel_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;

 public slots:
  void accept() override;

 private:
  void BuildControls(const QString& pattern);
  // The folder shown joined to the file box's text, or the text itself when
  // it is a full path; empty for an empty box.
  QString ChosenPath() const;
  void ShowFolder(const QString& path);
  void ListFiles();
  void ShowFolderPath();

  FilePattern pattern_;
  QFileSystemModel* folders_ = nullptr;
  QTreeView* tree_ = nullptr;
  QLabel* folder_path_ = nullptr;
  QListWidget* files_ = nullptr;
  QLineEdit* file_name_ = nullptr;
  QPushButton* select_ = nullptr;
  QPushButton* cancel_ = nullptr;
  QString folder_;
  QString start_folder_;
};

}  // namespace tabrel::gui
