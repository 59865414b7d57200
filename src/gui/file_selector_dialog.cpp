#include "gui/file_selector_dialog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTreeView>

namespace tabrel::gui {
namespace {

QString WithSlash(const QString& folder) {
  return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

QString ExistingFolder(const QString& folder) {
  QString path = QDir::cleanPath(QDir::fromNativeSeparators(folder));
  while (!path.isEmpty() && !QFileInfo(path).isDir()) {
    const QString parent = QFileInfo(path).path();
    if (parent == path) break;
    path = parent;
  }
  return QFileInfo(path).isDir() && QDir::isAbsolutePath(path) ? path : QDir::homePath();
}

std::string Utf8Path(const QString& path) {
  return QFile::encodeName(path).toStdString();
}

}  // namespace

FileSelectorDialog::FileSelectorDialog(const QString& start_folder, const QString& pattern,
                                       QWidget* parent)
    : QDialog(parent), pattern_(pattern) {
  setObjectName(QStringLiteral("IESelectFrame"));
  setWindowTitle(tr(" File Selector"));
  BuildControls(pattern);
  resize(660, 440);
  start_folder_ = ExistingFolder(start_folder);
  SetFolder(start_folder_);
  // Typing a name (or a whole path) is the quickest way in.
  file_name_->setFocus(Qt::OtherFocusReason);
}

QString FileSelectorDialog::ChosenPath() const {
  const QString typed = QDir::fromNativeSeparators(file_name_->text().trimmed());
  if (typed.isEmpty()) return {};
  // A full path stands as typed; a bare name lies in the folder shown.
  return QDir::isAbsolutePath(typed) ? QDir::cleanPath(typed) : folder_ + typed;
}

void FileSelectorDialog::accept() {
  const QString path = ChosenPath();
  if (!path.isEmpty() && !QFileInfo::exists(path)) {
    QMessageBox::warning(this, tr("File not found"),
                         tr("%1\nThis file does not exist. Check the name and the folder.")
                             .arg(QDir::toNativeSeparators(path)));
    file_name_->setFocus(Qt::OtherFocusReason);
    return;
  }
  QDialog::accept();
}

void FileSelectorDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  tree_->scrollTo(tree_->currentIndex(), QAbstractItemView::PositionAtCenter);
}

void FileSelectorDialog::BuildControls(const QString& pattern) {
  folders_ = new QFileSystemModel(this);
  // Hidden folders too: the program's own data folder lies under ~/.local.
  folders_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Hidden | QDir::Drives);
  folders_->setRootPath(QStringLiteral("/"));
  tree_ = new QTreeView(this);
  tree_->setObjectName(QStringLiteral("Dir1"));
  tree_->setAccessibleName(tr("Folders"));
  tree_->setToolTip(tr("folder (directory) you have selected is shown here"));
  tree_->setModel(folders_);
  for (int column = 1; column < folders_->columnCount(); ++column) tree_->hideColumn(column);
  tree_->setHeaderHidden(true);
  // Deep folders scroll sideways instead of being cut off.
  tree_->header()->setStretchLastSection(false);
  tree_->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
  connect(tree_->selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this](const QModelIndex& current) {
            if (current.isValid()) ShowFolder(folders_->filePath(current));
          });
  // The tree fills in the background; keep the start folder in sight as its
  // parents arrive, until the user picks another folder.
  connect(folders_, &QFileSystemModel::directoryLoaded, this, [this](const QString& path) {
    const QString start = WithSlash(start_folder_);
    if (folder_ == start && start.startsWith(WithSlash(path))) {
      tree_->scrollTo(tree_->currentIndex(), QAbstractItemView::PositionAtCenter);
    }
  });

  files_ = new QListWidget(this);
  files_->setObjectName(QStringLiteral("File1"));
  files_->setAccessibleName(tr("Files"));
  files_->setToolTip(tr("select a file here"));
  connect(files_, &QListWidget::currentItemChanged, this, [this](QListWidgetItem* item) {
    if (item != nullptr) file_name_->setText(item->text());
  });
  connect(files_, &QListWidget::itemClicked, this,
          [this](QListWidgetItem* item) { file_name_->setText(item->text()); });
  connect(files_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
    file_name_->setText(item->text());
    accept();
  });

  folder_path_ = new QLabel(this);
  folder_path_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  folder_path_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  file_name_ = new QLineEdit(this);
  file_name_->setObjectName(QStringLiteral("OutFileName"));
  file_name_->setToolTip(tr("file you have selected is shown here"));

  select_ = new QPushButton(tr("Select"), this);
  select_->setObjectName(QStringLiteral("FileSelectOK"));
  select_->setToolTip(tr("highlight file, then click here to select it and move on..."));
  select_->setDefault(true);
  cancel_ = new QPushButton(tr("Cancel"), this);
  cancel_->setObjectName(QStringLiteral("FileSelectCancel"));
  cancel_->setToolTip(tr("quit file selection without firther action"));
  connect(select_, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);

  auto* files_caption = new QLabel(
      pattern.trimmed().isEmpty() ? tr("Files") : tr("Files (%1)").arg(pattern.trimmed()), this);
  files_caption->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  auto* file_caption = new QLabel(tr("File:"), this);
  file_caption->setBuddy(file_name_);

  auto* grid = new QGridLayout(this);
  grid->addWidget(new QLabel(tr("Folders"), this), 0, 0);
  grid->addWidget(files_caption, 0, 1);
  grid->addWidget(tree_, 1, 0);
  grid->addWidget(files_, 1, 1);
  grid->addWidget(folder_path_, 2, 0, 1, 2);
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(file_caption);
  bottom->addWidget(file_name_, 1);
  bottom->addSpacing(12);
  bottom->addWidget(select_);
  bottom->addWidget(cancel_);
  grid->addLayout(bottom, 3, 0, 1, 2);
  grid->setColumnStretch(0, 3);
  grid->setColumnStretch(1, 2);
  grid->setRowStretch(1, 1);
}

void FileSelectorDialog::SetFolder(const QString& folder) {
  const QString path = QDir::cleanPath(folder);
  const QModelIndex index = folders_->index(path);
  if (!index.isValid()) return;
  tree_->setCurrentIndex(index);
  tree_->expand(index);
  tree_->scrollTo(index, QAbstractItemView::PositionAtCenter);
  // Already current: the tree reports no change.
  ShowFolder(path);
}

void FileSelectorDialog::ShowFolder(const QString& path) {
  const QString folder = WithSlash(path);
  if (folder == folder_) return;
  folder_ = folder;
  file_name_->clear();
  ListFiles();
  ShowFolderPath();
}

void FileSelectorDialog::ListFiles() {
  files_->clear();
  const QFileInfoList entries =
      QDir(folder_).entryInfoList(QDir::Files, QDir::Name | QDir::IgnoreCase);
  for (const QFileInfo& entry : entries) {
    if (pattern_.Matches(entry.fileName())) files_->addItem(entry.fileName());
  }
  // Whatever is current goes into the box; a fresh list starts with none.
  files_->setCurrentRow(-1);
}

void FileSelectorDialog::ShowFolderPath() {
  const QString shown = QDir::toNativeSeparators(folder_);
  folder_path_->setToolTip(shown);
  folder_path_->setText(
      folder_path_->fontMetrics().elidedText(shown, Qt::ElideMiddle, folder_path_->width()));
}

void FileSelectorDialog::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  ShowFolderPath();
}

std::optional<FileChoice> FileSelectorDialog::Choice() const {
  if (result() != QDialog::Accepted) return std::nullopt;
  const QString path = ChosenPath();
  if (path.isEmpty()) return FileChoice{Utf8Path(folder_), ""};
  const QFileInfo file(path);
  return FileChoice{Utf8Path(WithSlash(file.path())), Utf8Path(file.fileName())};
}

}  // namespace tabrel::gui
