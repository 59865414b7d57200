#include "gui/import_window_widget.h"

#include "exchange/comma_parse.h"
#include "gui/busy_cursor.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFile>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace tabrel::gui {
namespace {

QString Q(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Line ends arrive as CR LF; Qt's text boxes take LF.
QString Lines(const std::string& text) {
  QString out = Q(text);
  out.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return out;
}

QLabel* NewLabel(const ImportControl& control, QWidget* parent) {
  auto* label = new QLabel(Q(control.caption), parent);
  label->setObjectName(Q(control.name));
  label->setToolTip(Q(control.tooltip));
  return label;
}

QPushButton* NewButton(const ImportControl& control, QWidget* parent) {
  auto* button = new QPushButton(Q(control.caption), parent);
  button->setObjectName(Q(control.name));
  button->setToolTip(Q(control.tooltip));
  return button;
}

}  // namespace

ImportWindowWidget::ImportWindowWidget(const AppState& state, Dialogs& dialogs, Clock& clock,
                                       MainListHost& host, ImportSource source, QWidget* parent)
    : QWidget(parent, Qt::Window),
      presenter_(state, *this, host, dialogs, clock, std::move(source)) {
  setObjectName(QStringLiteral("TR_ImportFrm"));
  setWindowTitle(Q(kImportWindowCaption));

  file_ = NewLabel(kImportFileLabel, this);
  file_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  file_->setWordWrap(true);
  description_ = new QLabel(this);
  description_->setObjectName(QStringLiteral("ImportDescription"));
  target_ = new QLabel(this);
  target_->setObjectName(QStringLiteral("ImportTarget"));
  target_->setWordWrap(true);
  preview_ = NewButton(kPreviewButton, this);
  import_ = NewButton(kImportButton, this);
  close_ = NewButton(kCloseButton, this);
  import_->setDefault(true);
  progress_ = new QProgressBar(this);
  progress_->setObjectName(QStringLiteral("ProgressBar1"));
  progress_->setTextVisible(false);
  auto* results_title = NewLabel(kResultsLabel, this);
  results_title->setAlignment(Qt::AlignHCenter);
  QFont bold = results_title->font();
  bold.setBold(true);
  results_title->setFont(bold);
  results_ = new QLabel(this);
  results_->setObjectName(QStringLiteral("ResultList"));
  results_->setWordWrap(true);
  results_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  list_ = new QPlainTextEdit(this);
  list_->setObjectName(QStringLiteral("Text1"));
  list_->setAccessibleName(tr("Records"));
  list_->setReadOnly(true);
  // A cursor of its own, so that the focus shows and arrows scroll.
  list_->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
  list_->setLineWrapMode(QPlainTextEdit::NoWrap);

  connect(preview_, &QPushButton::clicked, this, [this] { presenter_.Preview_Click(); });
  connect(import_, &QPushButton::clicked, this, [this] { presenter_.Command1_Click(); });
  connect(close_, &QPushButton::clicked, this, [this] { presenter_.FinishedImporting_Click(); });

  auto* buttons = new QVBoxLayout;
  buttons->addWidget(preview_);
  buttons->addWidget(import_);
  buttons->addWidget(close_);
  buttons->addStretch(1);
  auto* controls = new QHBoxLayout;
  controls->addWidget(BuildOptions(), 1);
  controls->addLayout(buttons);

  auto* outer = new QVBoxLayout(this);
  outer->addWidget(file_);
  outer->addWidget(description_);
  outer->addWidget(target_);
  outer->addLayout(controls);
  outer->addWidget(progress_);
  outer->addWidget(results_title);
  outer->addWidget(results_);
  outer->addWidget(list_, 1);
  resize(560, 620);
}

QWidget* ImportWindowWidget::BuildOptions() {
  auto* box = new QWidget(this);
  auto* frames = new QHBoxLayout(box);
  frames->setContentsMargins(0, 0, 0, 0);
  auto* define = new QGroupBox(Q(kDefineFrame.caption), box);
  define->setObjectName(Q(kDefineFrame.name));
  define->setToolTip(Q(kDefineFrame.tooltip));
  auto* define_layout = new QVBoxLayout(define);
  for (std::size_t i = 0; i < kDefinitionOptions.size(); ++i) {
    definitions_[i] = new QRadioButton(Q(kDefinitionOptions[i].caption), define);
    definitions_[i]->setObjectName(Q(kDefinitionOptions[i].name));
    define_layout->addWidget(definitions_[i]);
  }
  auto* skip = new QGroupBox(Q(kSkipFrame.caption), box);
  skip->setObjectName(Q(kSkipFrame.name));
  skip->setToolTip(Q(kSkipFrame.tooltip));
  auto* skip_layout = new QVBoxLayout(skip);
  for (std::size_t i = 0; i < kSkipOptions.size(); ++i) {
    skips_[i] = new QRadioButton(Q(kSkipOptions[i].caption), skip);
    skips_[i]->setObjectName(Q(kSkipOptions[i].name));
    skip_layout->addWidget(skips_[i]);
  }
  frames->addWidget(define);
  frames->addWidget(skip);
  extras_ = new QCheckBox(Q(kCommaExtras.caption), this);
  extras_->setObjectName(Q(kCommaExtras.name));
  auto* options = new QWidget(this);
  auto* column = new QVBoxLayout(options);
  column->setContentsMargins(0, 0, 0, 0);
  column->addWidget(box);
  column->addWidget(extras_);
  return options;
}

QRadioButton* ImportWindowWidget::DefinitionButton(DuplicateDefinition value) const {
  for (std::size_t i = 0; i < kDefinitionOptions.size(); ++i) {
    if (kDefinitionOptions[i].value == value) return definitions_[i];
  }
  return nullptr;
}

QRadioButton* ImportWindowWidget::SkipButton(DuplicateSkip value) const {
  for (std::size_t i = 0; i < kSkipOptions.size(); ++i) {
    if (kSkipOptions[i].value == value) return skips_[i];
  }
  return nullptr;
}

void ImportWindowWidget::Open() {
  presenter_.Form_Load();
  show();
  raise();
  activateWindow();
}

void ImportWindowWidget::SetFilePath(const std::string& path) {
  file_->setText(QFile::decodeName(QByteArray::fromStdString(path)));
}

void ImportWindowWidget::SetDescription(const std::string& text) {
  description_->setText(Lines(text));
}

void ImportWindowWidget::SetTargetText(const std::string& text) {
  target_->setText(Lines(text));
}

void ImportWindowWidget::SetRules(DuplicateRules rules) {
  DefinitionButton(rules.definition)->setChecked(true);
  SkipButton(rules.skip)->setChecked(true);
}

DuplicateRules ImportWindowWidget::Rules() const {
  DuplicateRules rules;
  for (std::size_t i = 0; i < kDefinitionOptions.size(); ++i) {
    if (definitions_[i]->isChecked()) rules.definition = kDefinitionOptions[i].value;
  }
  for (std::size_t i = 0; i < kSkipOptions.size(); ++i) {
    if (skips_[i]->isChecked()) rules.skip = kSkipOptions[i].value;
  }
  return rules;
}

void ImportWindowWidget::ShowExtrasToNotes(bool shown) {
  extras_->setVisible(shown);
}

bool ImportWindowWidget::ExtrasToNotes() const {
  return !extras_->isHidden() && extras_->isChecked();
}

void ImportWindowWidget::SetProgressRange(int minimum, int maximum) {
  progress_->setRange(minimum, maximum);
  progress_->setValue(minimum);
}

void ImportWindowWidget::SetProgressValue(int value) {
  progress_->setValue(value);
  // The import runs without the event loop; the bar has to draw itself.
  if (progress_->isVisible()) progress_->repaint();
}

void ImportWindowWidget::SetBusy(bool busy) {
  SetBusyCursor(busy_, busy);
}

void ImportWindowWidget::SetResultText(const std::string& text) {
  results_->setText(Lines(text));
}

void ImportWindowWidget::SetListText(const std::string& text) {
  list_->setPlainText(Lines(text));
}

void ImportWindowWidget::SetListVisible(bool visible) {
  list_->setVisible(visible);
}

void ImportWindowWidget::Close() {
  closed_ = true;
  SetBusy(false);
  hide();
  deleteLater();
}

void ImportWindowWidget::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    presenter_.FinishedImporting_Click();
    return;
  }
  QWidget::keyPressEvent(event);
}

void ImportWindowWidget::closeEvent(QCloseEvent* event) {
  if (!closed_) presenter_.FinishedImporting_Click();
  event->accept();
}

}  // namespace tabrel::gui
