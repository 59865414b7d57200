#include "gui/comma_parse_widget.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFile>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "base/text_decoding.h"
#include "gui/busy_cursor.h"
#include "gui/clickable_label.h"

namespace tabrel::gui {
namespace {

QString Q(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Line ends arrive as CR LF; Qt's labels take LF.
QString Lines(const std::string& text) {
  QString out = Q(text);
  out.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return out;
}

QLabel* NewLabel(const CommaControl& control, QWidget* parent) {
  auto* label = new QLabel(Q(control.caption), parent);
  label->setObjectName(Q(control.name));
  if (!control.tooltip.empty()) label->setToolTip(Q(control.tooltip));
  return label;
}

QPushButton* NewButton(const CommaControl& control, QWidget* parent) {
  auto* button = new QPushButton(Q(control.caption), parent);
  button->setObjectName(Q(control.name));
  button->setToolTip(Q(control.tooltip));
  return button;
}

std::size_t IndexOf(RecordField field) {
  return static_cast<std::size_t>(field);
}

}  // namespace

CommaParseWidget::CommaParseWidget(const AppState& state, Dialogs& dialogs, Clock& clock,
                                   MainListHost& host, std::string path, QWidget* parent)
    : QWidget(parent, Qt::Window), presenter_(state, *this, host, dialogs, clock, std::move(path)) {
  setObjectName(QStringLiteral("CommaParse"));
  setWindowTitle(Q(kCommaParseCaption));

  file_ = NewLabel(kCommaFileLabel, this);
  file_->setWordWrap(true);
  file_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  target_ = new QLabel(this);
  target_->setObjectName(QStringLiteral("ImportTarget"));
  target_->setWordWrap(true);
  auto* instructions = NewLabel(kCommaInstructions, this);
  instructions->setWordWrap(true);
  auto* hint = NewLabel(kCommaLinkHint, this);
  hint->setWordWrap(true);

  preview_ = new QListWidget(this);
  preview_->setObjectName(QStringLiteral("InputList"));
  preview_->setAccessibleName(Q(kCommaPreviewHeading.caption));
  preview_->setMinimumWidth(360);
  connect(preview_, &QListWidget::currentRowChanged, this, [this](int row) {
    if (!filling_) presenter_.InputList_Click(row);
  });
  connect(preview_, &QListWidget::itemClicked, this,
          [this](QListWidgetItem* item) { presenter_.InputList_Click(preview_->row(item)); });
  auto* preview_box = new QVBoxLayout;
  preview_box->addWidget(NewLabel(kCommaPreviewHeading, this));
  preview_box->addWidget(preview_, 1);

  import_ = NewButton(kCommaImportButton, this);
  cancel_ = NewButton(kCommaCancelButton, this);
  import_->setDefault(true);
  connect(import_, &QPushButton::clicked, this, [this] { presenter_.Command1_Click(); });
  connect(cancel_, &QPushButton::clicked, this, [this] { presenter_.Command2_Click(); });
  progress_ = new QProgressBar(this);
  progress_->setObjectName(QStringLiteral("ProgressBar1"));
  progress_->setTextVisible(false);

  // As the instructions say: they on the left, the Tabrel fields in the
  // middle, the file's fields on the right.
  auto* guide = new QVBoxLayout;
  guide->addWidget(instructions);
  guide->addWidget(hint);
  guide->addStretch(1);
  instructions->setMaximumWidth(fontMetrics().averageCharWidth() * 34);
  hint->setMaximumWidth(fontMetrics().averageCharWidth() * 34);
  auto* columns = new QHBoxLayout;
  columns->addLayout(guide);
  columns->addWidget(BuildFields());
  columns->addLayout(preview_box, 1);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(progress_, 1);
  buttons->addWidget(import_);
  buttons->addWidget(cancel_);

  auto* outer = new QVBoxLayout(this);
  outer->addWidget(file_);
  outer->addWidget(target_);
  outer->addLayout(columns, 1);
  outer->addWidget(BuildOptions());
  outer->addLayout(buttons);
  resize(860, 760);
}

QWidget* CommaParseWidget::BuildFields() {
  auto* box = new QWidget(this);
  auto* grid = new QGridLayout(box);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setVerticalSpacing(2);
  grid->addWidget(NewLabel(kCommaFieldsHeading, box), 0, 0, 1, 2);
  int row = 1;
  for (const CommaLinkControl& control : kCommaLinkControls) {
    auto* caption = new QLabel(Q(control.caption), box);
    auto* link = new ClickableLabel(box);
    link->setObjectName(Q(control.name));
    link->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    link->setMinimumWidth(48);
    link->setAlignment(Qt::AlignCenter);
    link->setCursor(Qt::PointingHandCursor);
    link->setAccessibleName(Q(control.caption));
    // Tab to a link: Enter or Space links the highlighted preview field,
    // Delete clears the link.
    link->SetKeyboardActivation();
    caption->setBuddy(link);
    const RecordField field = control.field;
    connect(link, &ClickableLabel::Clicked, this, [this, field] { presenter_.Link_Click(field); });
    connect(link, &ClickableLabel::Activated, this,
            [this, field] { presenter_.Link_Click(field); });
    connect(link, &ClickableLabel::Cleared, this, [this, field] { presenter_.Link_Clear(field); });
    links_[IndexOf(field)] = link;
    grid->addWidget(caption, row, 0);
    grid->addWidget(link, row, 1);
    ++row;
  }
  grid->setRowStretch(row, 1);
  return box;
}

QWidget* CommaParseWidget::BuildOptions() {
  auto* frame = new QGroupBox(this);
  frame->setObjectName(QStringLiteral("PartOptionFrame"));
  auto* grid = new QGridLayout(frame);

  header_ = new QCheckBox(Q(kCommaHeaderBox.caption), frame);
  header_->setObjectName(Q(kCommaHeaderBox.name));
  header_->setToolTip(Q(kCommaHeaderBox.tooltip));
  connect(header_, &QCheckBox::toggled, this, [this] {
    if (!filling_) presenter_.FirstLineNames_Click();
  });
  encoding_ = new QComboBox(frame);
  encoding_->setObjectName(QStringLiteral("EncodingList"));
  encoding_->setToolTip(Q(kCommaEncodingLabel.tooltip));
  for (const TextEncodingChoice& choice : kTextEncodingChoices)
    encoding_->addItem(Q(choice.caption));
  connect(encoding_, &QComboBox::currentIndexChanged, this, [this] {
    if (!filling_) presenter_.Encoding_Click();
  });
  keyword_ = new QLineEdit(frame);
  keyword_->setObjectName(Q(kCommaKeywordBox.name));
  keyword_->setMaxLength(14);
  individual_ = new QRadioButton(Q(kCommaIndividual.caption), frame);
  individual_->setObjectName(Q(kCommaIndividual.name));
  individual_->setToolTip(Q(kCommaIndividual.tooltip));
  organization_ = new QRadioButton(Q(kCommaOrganization.caption), frame);
  organization_->setObjectName(Q(kCommaOrganization.name));
  organization_->setToolTip(Q(kCommaOrganization.tooltip));
  extras_ = new QCheckBox(Q(kCommaExtras.caption), frame);
  extras_->setObjectName(Q(kCommaExtras.name));
  extras_->setToolTip(Q(kCommaExtras.tooltip));

  auto* keyword_label = new QLabel(QStringLiteral("Keyword #1:"), frame);
  keyword_label->setBuddy(keyword_);
  grid->addWidget(keyword_label, 0, 0);
  grid->addWidget(keyword_, 0, 1);
  grid->addWidget(individual_, 0, 2);
  grid->addWidget(extras_, 0, 3);
  grid->addWidget(header_, 1, 0, 1, 2);
  grid->addWidget(organization_, 1, 2);
  auto* encoding_row = new QHBoxLayout;
  encoding_row->addWidget(NewLabel(kCommaEncodingLabel, frame));
  encoding_row->addWidget(encoding_, 1);
  grid->addLayout(encoding_row, 2, 0, 1, 4);
  grid->setColumnStretch(3, 1);
  return frame;
}

ClickableLabel* CommaParseWidget::LinkLabel(RecordField field) const {
  return links_[IndexOf(field)];
}

void CommaParseWidget::Open() {
  presenter_.Form_Load();
  show();
  raise();
  activateWindow();
}

void CommaParseWidget::SetFileText(const std::string& text) {
  // The path is a file name in the system's encoding; the rest is ours.
  file_->setText(Lines(text));
}

void CommaParseWidget::SetTargetText(const std::string& text) {
  target_->setText(Lines(text));
}

void CommaParseWidget::SetPreview(const std::vector<std::string>& entries) {
  filling_ = true;
  preview_->clear();
  for (const std::string& entry : entries) preview_->addItem(Q(entry));
  filling_ = false;
}

void CommaParseWidget::SetLink(RecordField field, const std::string& number,
                               const std::string& name) {
  ClickableLabel* link = links_[IndexOf(field)];
  link->setText(Q(number));
  link->setToolTip(Q(name));
}

void CommaParseWidget::SetHeaderBox(bool checked) {
  filling_ = true;
  header_->setChecked(checked);
  filling_ = false;
}

bool CommaParseWidget::HeaderBox() const {
  return header_->isChecked();
}

void CommaParseWidget::SetEncoding(std::size_t index) {
  filling_ = true;
  encoding_->setCurrentIndex(static_cast<int>(index));
  filling_ = false;
}

std::size_t CommaParseWidget::Encoding() const {
  const int index = encoding_->currentIndex();
  return index < 0 ? 0 : static_cast<std::size_t>(index);
}

void CommaParseWidget::SetKeyword(const std::string& keyword) {
  keyword_->setText(Q(keyword));
}

std::string CommaParseWidget::Keyword() const {
  return keyword_->text().toStdString();
}

void CommaParseWidget::SetIndividual(bool individual) {
  (individual ? individual_ : organization_)->setChecked(true);
}

bool CommaParseWidget::Individual() const {
  return individual_->isChecked();
}

void CommaParseWidget::SetExtras(bool extras) {
  extras_->setChecked(extras);
}

bool CommaParseWidget::Extras() const {
  return extras_->isChecked();
}

void CommaParseWidget::SetProgressRange(int minimum, int maximum) {
  progress_->setRange(minimum, maximum);
  progress_->setValue(minimum);
}

void CommaParseWidget::SetProgressValue(int value) {
  progress_->setValue(value);
  // The import runs without the event loop; the bar has to draw itself.
  if (progress_->isVisible()) progress_->repaint();
}

void CommaParseWidget::SetBusy(bool busy) {
  SetBusyCursor(busy_, busy);
}

void CommaParseWidget::Close() {
  closed_ = true;
  SetBusy(false);
  hide();
  deleteLater();
}

void CommaParseWidget::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    presenter_.Command2_Click();
    return;
  }
  QWidget::keyPressEvent(event);
}

void CommaParseWidget::closeEvent(QCloseEvent* event) {
  if (!closed_) presenter_.Command2_Click();
  event->accept();
}

}  // namespace tabrel::gui
