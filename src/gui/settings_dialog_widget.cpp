#include "gui/settings_dialog_widget.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tabrel::gui {
namespace {

using T = SettingsText;
using C = SettingsCheck;

QString Q(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

const SettingsTextControl& ControlOf(SettingsText id) {
  for (const SettingsTextControl& control : kSettingsTextControls) {
    if (control.id == id) return control;
  }
  return kSettingsTextControls.front();
}

int ValueOf(const QCheckBox& box) {
  switch (box.checkState()) {
    case Qt::Checked:
      return 1;
    case Qt::PartiallyChecked:
      return 2;
    case Qt::Unchecked:
      break;
  }
  return 0;
}

}  // namespace

SettingsDialogWidget::SettingsDialogWidget(AppState& state, Dialogs& dialogs, HelpViewer& help,
                                           QWidget* parent)
    : QDialog(parent), presenter_(state, *this, dialogs, help) {
  setWindowTitle(Q(kSettingsCaption));
  setModal(false);
  setObjectName(QStringLiteral("tr_ini"));
  CreateControls();

  auto* left = new QVBoxLayout;
  left->addWidget(BuildPathGroup());
  left->addWidget(BuildGroup(tr("Telephone"), {T::INI_CommPort, T::INI_PhoneAreaCode,
                                               T::INI_PhoneLongDistanceCode, T::INI_PhonePBX}));
  left->addWidget(BuildGroup(tr("Quick Update"), {T::INI_QuickUpPath, T::INI_QuickUpTarget}));
  left->addWidget(BuildGroup(tr("Programs"), {T::INI_Editor, T::INI_Browser, T::INI_Mailer}));
  left->addStretch(1);

  auto* right = new QVBoxLayout;
  right->addWidget(BuildGroup(tr("Printing"),
                              {T::INI_PrintLines, T::INI_PreviewLines, T::INI_LPad, T::INI_TPad}));
  right->addWidget(BuildFullRecordGroup());
  right->addWidget(CheckBox(C::MailFormat));
  right->addStretch(1);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(save_);
  buttons->addWidget(cancel_);

  auto* columns = new QHBoxLayout;
  columns->addLayout(left, 3);
  columns->addLayout(right, 2);
  auto* outer = new QVBoxLayout(this);
  outer->addLayout(columns);
  outer->addLayout(buttons);
}

void SettingsDialogWidget::CreateControls() {
  for (const SettingsTextControl& control : kSettingsTextControls) {
    auto* edit = new QLineEdit(this);
    edit->setObjectName(Q(control.name));
    if (!control.tooltip.empty()) edit->setToolTip(Q(control.tooltip));
    if (control.max_length > 0) edit->setMaxLength(control.max_length);
    texts_[static_cast<std::size_t>(control.id)] = edit;
  }
  // Paths and program commands: wide enough for an ordinary path, and the
  // whole text in the tooltip for one that is not.
  for (SettingsText id : {T::INI_Path1, T::INI_Path2, T::INI_QuickUpPath, T::INI_QuickUpTarget,
                          T::INI_Editor, T::INI_Browser, T::INI_Mailer}) {
    QLineEdit* edit = TextBox(id);
    edit->setMinimumWidth(fontMetrics().averageCharWidth() * 56);
    const QString tooltip = edit->toolTip();
    connect(edit, &QLineEdit::textChanged, edit, [edit, tooltip](const QString& text) {
      if (text.isEmpty()) {
        edit->setToolTip(tooltip);
      } else {
        edit->setToolTip(tooltip.isEmpty() ? text : tooltip + QLatin1Char('\n') + text);
      }
    });
  }
  for (const SettingsCheckControl& control : kSettingsCheckControls) {
    auto* box = new QCheckBox(Q(control.label), this);
    box->setObjectName(Q(control.name));
    // A stored "2" shows greyed; once the user clicks, the box is two-state.
    connect(box, &QCheckBox::clicked, box, [box] { box->setTristate(false); });
    checks_[static_cast<std::size_t>(control.id)] = box;
  }

  // Mnemonics differ between the two paths' buttons, so that each is one
  // key away.
  use_current1_ =
      NewButton(tr("&Use Current"), "Command1", tr("lock in the path you are currently using"));
  use_current2_ =
      NewButton(tr("Use Cu&rrent"), "Command2", tr("lock in the path you are currently using"));
  save_ = NewButton(tr("&Save"), "INI_Save", tr("save settings as shown, quit settings screen"));
  cancel_ =
      NewButton(tr("&Cancel"), "INI_Cancel", tr("quit settings screen with no further action"));
  // Enter in a box saves, as the default button of the dialog.
  save_->setDefault(true);
  connect(use_current1_, &QPushButton::clicked, this, [this] { presenter_.Command1_Click(); });
  connect(use_current2_, &QPushButton::clicked, this, [this] { presenter_.Command2_Click(); });
  connect(save_, &QPushButton::clicked, this, [this] { presenter_.INI_Save_Click(); });
  connect(cancel_, &QPushButton::clicked, this, [this] { presenter_.INI_Cancel_Click(); });
}

QPushButton* SettingsDialogWidget::NewButton(const QString& caption, const char* name,
                                             const QString& tooltip) {
  auto* button = new QPushButton(caption, this);
  button->setObjectName(QString::fromLatin1(name));
  button->setToolTip(tooltip);
  // Only Save answers Enter, wherever the focus is.
  button->setAutoDefault(false);
  return button;
}

QWidget* SettingsDialogWidget::BuildPathGroup() {
  auto* group = new QGroupBox(tr("Data Paths"), this);
  auto* grid = new QGridLayout(group);
  const std::pair<T, QPushButton*> rows[] = {{T::INI_Path1, use_current1_},
                                             {T::INI_Path2, use_current2_}};
  int row = 0;
  for (const auto& [id, button] : rows) {
    auto* label = new QLabel(Q(ControlOf(id).label), group);
    label->setBuddy(TextBox(id));
    grid->addWidget(label, row, 0);
    grid->addWidget(TextBox(id), row, 1);
    grid->addWidget(button, row, 2);
    ++row;
  }
  grid->setColumnStretch(1, 1);
  return group;
}

QWidget* SettingsDialogWidget::BuildGroup(const QString& title,
                                          std::initializer_list<SettingsText> ids) {
  auto* group = new QGroupBox(title, this);
  auto* grid = new QGridLayout(group);
  int row = 0;
  for (SettingsText id : ids) {
    QLineEdit* edit = TextBox(id);
    auto* label = new QLabel(Q(ControlOf(id).label), group);
    label->setBuddy(edit);
    label->setToolTip(edit->toolTip());
    grid->addWidget(label, row, 0);
    if (edit->maxLength() <= 4) {
      // Short numeric boxes: sized to their content, aligned on the left.
      edit->setFixedWidth(fontMetrics().averageCharWidth() * 6 + 12);
      grid->addWidget(edit, row, 1, Qt::AlignLeft);
    } else {
      grid->addWidget(edit, row, 1);
    }
    ++row;
  }
  grid->setColumnStretch(1, 1);
  return group;
}

QWidget* SettingsDialogWidget::BuildFullRecordGroup() {
  auto* group = new QGroupBox(tr("Full Record Includes"), this);
  group->setObjectName(QStringLiteral("FullRecDef"));
  group->setToolTip(tr("controls full record printing throughout the program"));
  auto* column = new QVBoxLayout(group);
  for (SettingsCheck id :
       {C::FRI_Name, C::FRI_Surface, C::FRI_Phones, C::FRI_Email, C::FRI_Web, C::FRI_Notes}) {
    column->addWidget(CheckBox(id));
  }
  return group;
}

void SettingsDialogWidget::Open() {
  if (isVisible()) {
    raise();
    activateWindow();
    return;
  }
  presenter_.Form_Load();
  show();
  raise();
  activateWindow();
  // Each opening starts at the first box, whatever had the focus last time.
  TextBox(kSettingsTextControls.front().id)->setFocus(Qt::TabFocusReason);
}

void SettingsDialogWidget::Fill(const SettingsForm& form) {
  for (std::size_t i = 0; i < texts_.size(); ++i) {
    texts_[i]->setText(QString::fromStdString(form.texts[i]));
  }
  for (std::size_t i = 0; i < checks_.size(); ++i) {
    QCheckBox* box = checks_[i];
    switch (form.checks[i]) {
      case 1:
        box->setTristate(false);
        box->setCheckState(Qt::Checked);
        break;
      case 2:
        box->setTristate(true);
        box->setCheckState(Qt::PartiallyChecked);
        break;
      default:
        box->setTristate(false);
        box->setCheckState(Qt::Unchecked);
        break;
    }
  }
}

SettingsForm SettingsDialogWidget::Read() const {
  SettingsForm form;
  for (std::size_t i = 0; i < texts_.size(); ++i) form.texts[i] = texts_[i]->text().toStdString();
  for (std::size_t i = 0; i < checks_.size(); ++i) form.checks[i] = ValueOf(*checks_[i]);
  return form;
}

void SettingsDialogWidget::SetText(SettingsText id, const std::string& text) {
  TextBox(id)->setText(QString::fromStdString(text));
}

void SettingsDialogWidget::CloseDialog() {
  hide();
  // The keys go back to the main window, also without a window manager.
  if (QWidget* owner = parentWidget()) owner->activateWindow();
}

void SettingsDialogWidget::reject() {
  presenter_.INI_Cancel_Click();
}

void SettingsDialogWidget::keyPressEvent(QKeyEvent* event) {
  if (event->key() != Qt::Key_F1) {
    QDialog::keyPressEvent(event);
    return;
  }
  std::optional<SettingsText> focused;
  for (std::size_t i = 0; i < texts_.size(); ++i) {
    if (texts_[i]->hasFocus()) focused = static_cast<SettingsText>(i);
  }
  presenter_.Form_HelpKey(focused);
}

}  // namespace tabrel::gui
