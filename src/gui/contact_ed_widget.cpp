#include "gui/contact_ed_widget.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>
#include <QVBoxLayout>
#include <algorithm>
#include <array>
#include <initializer_list>

#include "gui/clickable_label.h"
#include "gui/grid_view.h"
#include "present/key_codes.h"

namespace tabrel::gui {
namespace {

using F = EditorField;
using B = EditorButton;

// KeywordGrid2's one column, "<Keywords" and 18 blanks, plus a little room.
constexpr int kKeywordListChars = 30;

QString Q(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::size_t Index(EditorField field) {
  return static_cast<std::size_t>(field);
}

const EditorFieldControl& ControlOf(EditorField field) {
  return kEditorFieldControls[Index(field)];
}

// Each text box in a grid row: its caption on the left, right-aligned.
struct Cell {
  EditorField field;
  int row;
  int col;  // 0 or 2: the caption's column; the box goes one to the right
  int span = 1;
};

}  // namespace

ContactEdWidget::ContactEdWidget(AppState& state, Dialogs& dialogs, Clock& clock, QWidget* parent)
    // A dialog-type window stays above the main window like a tool window,
    // but unlike one it does not let the main window's menu mnemonics
    // (Alt+P: "Print Preview") act while it is active.
    : QWidget(parent, Qt::Dialog), presenter_(state, *this, dialogs, clock) {
  setObjectName(QStringLiteral("ContactEd"));
  CreateControls();
  CreateButtons();

  auto* columns = new QHBoxLayout;
  columns->setSpacing(12);
  columns->addWidget(BuildForm(), 1);
  columns->addWidget(BuildKeywordColumn());
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(12, 12, 12, 10);
  outer->addLayout(columns, 1);
  outer->addLayout(BuildButtonRow());
  SetTabOrder();
  qApp->installEventFilter(this);
}

ContactEdWidget::~ContactEdWidget() {
  qApp->removeEventFilter(this);
  // The list's model observes the presenter's grid, which goes before the
  // child widgets would.
  delete keyword_list_;
}

void ContactEdWidget::CreateControls() {
  const int char_width = fontMetrics().averageCharWidth();
  for (const EditorFieldControl& control : kEditorFieldControls) {
    if (control.multi_line) continue;
    auto* box = new QLineEdit(this);
    box->setObjectName(Q(control.name));
    box->setMaxLength(control.max_length);
    if (!control.tooltip.empty()) box->setToolTip(Q(control.tooltip));
    // Wide enough for most of what fits, never wider than a column.
    box->setMinimumWidth(char_width * std::min(control.max_length, 16) + 12);
    boxes_[Index(control.id)] = box;
  }
  const EditorFieldControl& notes = ControlOf(F::NotesEd);
  notes_limit_ = notes.max_length;
  notes_ = new QPlainTextEdit(this);
  notes_->setObjectName(Q(notes.name));
  notes_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  notes_->setTabChangesFocus(true);
  notes_->setMinimumHeight(fontMetrics().lineSpacing() * 5);
  connect(notes_, &QPlainTextEdit::textChanged, this, &ContactEdWidget::KeepNotesWithinLimit);

  scratch_ = new QPlainTextEdit(this);
  scratch_->setObjectName(QStringLiteral("Clip_Worksheet"));
  scratch_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  scratch_->setTabChangesFocus(true);
  scratch_->setPlaceholderText(tr("Scratch pad: text here is not saved."));
  scratch_->hide();
  notes_label_ = new QLabel(Q(kNotesLabel), this);
  notes_label_->setObjectName(QStringLiteral("NL1"));
  notes_label_->setBuddy(notes_);
  scratch_label_ = new QLabel(Q(kScratchLabel), this);
  scratch_label_->setObjectName(QStringLiteral("SL"));
  scratch_label_->hide();

  type_ = new QLabel(Q(kDesignTypeCaption), this);
  type_->setObjectName(QStringLiteral("TypeEd"));
  type_->setToolTip(Q(kTypeTooltip));
  type_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  type_->setTextFormat(Qt::PlainText);
  type_->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("Personal, Organization")) +
                         16);
  type_->setMargin(3);

  for (int slot = 1; slot <= 3; ++slot) {
    auto* label = new ClickableLabel(this);
    label->setObjectName(QStringLiteral("KW%1Ed").arg(slot));
    label->setToolTip(Q(kKeywordSlotTooltip));
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setTextFormat(Qt::PlainText);
    label->setMargin(3);
    label->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    label->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("WWWWWWWWWWWWWW")) + 8);
    // Delete in the slot clears it, as a double-click does.
    label->SetKeyboardActivation();
    label->setAccessibleName(tr("Keyword %1").arg(slot));
    const auto clear = [this, slot] {
      switch (slot) {
        case 1:
          return presenter_.KW1Ed_dblClick();
        case 2:
          return presenter_.KW2Ed_dblClick();
        default:
          return presenter_.KW3Ed_dblClick();
      }
    };
    connect(label, &ClickableLabel::DoubleClicked, this, clear);
    connect(label, &ClickableLabel::Cleared, this, clear);
    slots_[static_cast<std::size_t>(slot - 1)] = label;
  }

  keyword_list_ = new GridView(presenter_.KeywordGrid2(), this);
  keyword_list_->setObjectName(QStringLiteral("KeywordGrid2"));
  keyword_list_->setToolTip(Q(kKeywordGrid2Tooltip));
  keyword_list_->setAccessibleName(tr("Keywords"));
  keyword_list_->setMinimumWidth(keyword_list_->WidthForChars(kKeywordListChars));
  keyword_list_->horizontalHeader()->setStretchLastSection(true);
}

void ContactEdWidget::CreateButtons() {
  for (const EditorButtonControl& control : kEditorButtonControls) {
    auto* button = new QPushButton(Q(control.caption), this);
    button->setObjectName(Q(control.name));
    if (!control.tooltip.empty()) button->setToolTip(Q(control.tooltip));
    button->setAutoDefault(false);
    buttons_[static_cast<std::size_t>(control.id)] = button;
  }
  const auto on = [this](EditorButton id, auto click) {
    connect(Button(id), &QPushButton::clicked, this, click);
  };
  on(B::SaveBut, [this] { presenter_.SaveBut_Click(); });
  on(B::CancelBut, [this] { presenter_.CancelBut_Click(); });
  on(B::DelBut, [this] { presenter_.DelBut_Click(); });
  on(B::TypeTog, [this] { presenter_.TypeTog_Click(); });
  on(B::Key1Tog, [this] { presenter_.Key1Tog_Click(); });
  on(B::Key2Tog, [this] { presenter_.Key2Tog_Click(); });
  on(B::Key3Tog, [this] { presenter_.Key3Tog_Click(); });
  on(B::ScratchTog, [this] { presenter_.ScratchTog_Click(); });
}

QWidget* ContactEdWidget::BuildForm() {
  auto* form = new QWidget(this);
  const auto group = [this, form](const QString& title, std::initializer_list<Cell> cells) {
    auto* box = new QGroupBox(title, form);
    auto* grid = new QGridLayout(box);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(5);
    for (const Cell& cell : cells) {
      QLineEdit* edit = FieldBox(cell.field);
      auto* caption = new QLabel(Q(ControlOf(cell.field).label), box);
      caption->setBuddy(edit);
      grid->addWidget(caption, cell.row, cell.col, Qt::AlignRight | Qt::AlignVCenter);
      grid->addWidget(edit, cell.row, cell.col + 1, 1, cell.span);
    }
    grid->setColumnStretch(1, 3);
    grid->setColumnStretch(3, 2);
    return box;
  };

  QGroupBox* name = group(
      tr("Name"),
      {{F::LastNameEd, 0, 0}, {F::FirstNameEd, 0, 2}, {F::TitleEd, 1, 0, 3}, {F::OrgEd, 2, 0, 3}});
  QGroupBox* address = group(tr("Address"), {{F::Add1Ed, 0, 0, 3},
                                             {F::Add2Ed, 1, 0, 3},
                                             {F::CityEd, 2, 0, 3},
                                             {F::StateEd, 3, 0},
                                             {F::ZipEd, 3, 2},
                                             {F::CountryEd, 4, 0, 3}});
  QGroupBox* phones = group(tr("Telephone"), {{F::PhoneEd, 0, 0},
                                              {F::ExtEd, 0, 2},
                                              {F::FaxEd, 1, 0, 3},
                                              {F::CellularEd, 2, 0, 3},
                                              {F::BeeperEd, 3, 0, 3}});
  QGroupBox* internet = group(tr("Internet"), {{F::EMailEd, 0, 0, 3}, {F::WebEd, 1, 0, 3}});
  // Extensions are short; the phone number beside one takes the room, at
  // least that of an international number.
  FieldBox(F::ExtEd)->setFixedWidth(fontMetrics().averageCharWidth() * 8 + 12);
  FieldBox(F::PhoneEd)
      ->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("+00 00 0000-0000 00")) +
                        12);
  FieldBox(F::ZipEd)->setMinimumWidth(fontMetrics().averageCharWidth() * 10 + 12);
  FieldBox(F::StateEd)->setMinimumWidth(fontMetrics().averageCharWidth() * 8 + 12);

  // The scratch pad takes the notes box's place while it is shown, and its
  // label points at it from where the notes label was.
  auto* notes = new QGridLayout;
  notes->setHorizontalSpacing(8);
  notes->addWidget(notes_label_, 0, 0, Qt::AlignRight | Qt::AlignTop);
  notes->addWidget(scratch_label_, 0, 0, Qt::AlignRight | Qt::AlignTop);
  notes->addWidget(notes_, 0, 1);
  notes->addWidget(scratch_, 0, 1);
  notes->setColumnMinimumWidth(0, scratch_label_->sizeHint().width());
  notes->setColumnStretch(1, 1);

  auto* middle = new QHBoxLayout;
  middle->addWidget(address, 1);
  middle->addWidget(phones, 1);
  auto* column = new QVBoxLayout(form);
  column->setContentsMargins(0, 0, 0, 0);
  column->addWidget(name);
  column->addLayout(middle);
  column->addWidget(internet);
  column->addLayout(notes, 1);
  return form;
}

QWidget* ContactEdWidget::BuildKeywordColumn() {
  auto* column = new QWidget(this);
  auto* layout = new QVBoxLayout(column);
  layout->setContentsMargins(0, 0, 0, 0);

  auto* type = new QGroupBox(tr("Record type"), column);
  auto* type_row = new QHBoxLayout(type);
  type_row->addWidget(type_, 1);
  type_row->addWidget(Button(B::TypeTog));
  layout->addWidget(type);

  auto* keywords = new QGroupBox(tr("Keywords"), column);
  auto* grid = new QGridLayout(keywords);
  grid->setVerticalSpacing(5);
  const B keys[] = {B::Key1Tog, B::Key2Tog, B::Key3Tog};
  for (int i = 0; i < 3; ++i) {
    grid->addWidget(Button(keys[i]), i, 0);
    grid->addWidget(slots_[static_cast<std::size_t>(i)], i, 1);
  }
  grid->addWidget(keyword_list_, 3, 0, 1, 2);
  grid->setRowStretch(3, 1);
  layout->addWidget(keywords, 1);
  return column;
}

QLayout* ContactEdWidget::BuildButtonRow() {
  auto* row = new QHBoxLayout;
  row->addWidget(Button(B::ScratchTog));
  row->addStretch(1);
  row->addWidget(Button(B::SaveBut));
  row->addWidget(Button(B::CancelBut));
  row->addSpacing(16);
  row->addWidget(Button(B::DelBut));
  return row;
}

void ContactEdWidget::SetTabOrder() {
  QWidget* previous = nullptr;
  const auto next = [&previous](QWidget* widget) {
    if (previous != nullptr) QWidget::setTabOrder(previous, widget);
    previous = widget;
  };
  for (const EditorFieldControl& control : kEditorFieldControls) {
    next(control.multi_line ? static_cast<QWidget*>(notes_) : FieldBox(control.id));
  }
  next(scratch_);
  next(Button(B::TypeTog));
  for (std::size_t i = 0; i < slots_.size(); ++i) {
    next(Button(std::array{B::Key1Tog, B::Key2Tog, B::Key3Tog}[i]));
    next(slots_[i]);
  }
  next(keyword_list_);
  for (B id : {B::ScratchTog, B::SaveBut, B::CancelBut, B::DelBut}) next(Button(id));
}

QLabel* ContactEdWidget::TypeLabel() const {
  return type_;
}

QLabel* ContactEdWidget::KeywordSlot(int slot) const {
  if (slot < 1 || slot > 3) return nullptr;
  return slots_[static_cast<std::size_t>(slot - 1)];
}

bool ContactEdWidget::Open() {
  if (!presenter_.Form_Load()) return false;
  adjustSize();
  if (QWidget* owner = parentWidget()) {
    move(owner->frameGeometry().center() - rect().center());
  }
  show();
  raise();
  activateWindow();
  FieldBox(F::LastNameEd)->setFocus(Qt::OtherFocusReason);
  return true;
}

void ContactEdWidget::KeepNotesWithinLimit() {
  const QString text = notes_->toPlainText();
  // Line breaks are stored as two characters.
  qsizetype excess = text.size() + text.count(QLatin1Char('\n')) - notes_limit_;
  if (excess <= 0) return;
  // What was just typed or pasted ends at the cursor: cut it back from there.
  QTextCursor cursor = notes_->textCursor();
  const int end = cursor.position();
  int start = end;
  while (excess > 0 && start > 0) {
    excess -= text[start - 1] == QLatin1Char('\n') ? 2 : 1;
    --start;
  }
  cursor.setPosition(start);
  cursor.setPosition(end, QTextCursor::KeepAnchor);
  cursor.removeSelectedText();
  if (excess > 0) {
    // The cursor stood near the start: the rest goes from the end.
    cursor.movePosition(QTextCursor::End);
    const int last = cursor.position();
    const QString rest = notes_->toPlainText();
    int from = last;
    while (excess > 0 && from > 0) {
      excess -= rest[from - 1] == QLatin1Char('\n') ? 2 : 1;
      --from;
    }
    cursor.setPosition(from, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
  }
}

void ContactEdWidget::SetCaption(const std::string& text) {
  setWindowTitle(QString::fromStdString(text));
}

void ContactEdWidget::SetFieldText(EditorField field, const std::string& text) {
  QString value = QString::fromStdString(text);
  if (field == F::NotesEd) {
    value.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    notes_->setPlainText(value);
    return;
  }
  FieldBox(field)->setText(value);
}

std::string ContactEdWidget::FieldText(EditorField field) const {
  if (field == F::NotesEd) return notes_->toPlainText().toStdString();
  return FieldBox(field)->text().toStdString();
}

void ContactEdWidget::SetTypeCaption(const std::string& text) {
  type_->setText(QString::fromStdString(text));
}

void ContactEdWidget::SetKeywordSlot(int slot, const std::string& text) {
  if (QLabel* label = KeywordSlot(slot)) label->setText(QString::fromStdString(text));
}

void ContactEdWidget::ShowScratchPad(bool visible) {
  const bool pad_had_focus = scratch_->hasFocus();
  scratch_->setVisible(visible);
  scratch_label_->setVisible(visible);
  notes_label_->setVisible(!visible);
  notes_->setVisible(!visible);
  if (visible && isVisible()) scratch_->setFocus(Qt::OtherFocusReason);
  if (!visible && pad_had_focus) notes_->setFocus(Qt::OtherFocusReason);
}

void ContactEdWidget::Close() {
  closed_ = true;
  hide();
  // The keys go back to the main window, also where no window manager
  // hands the focus on.
  if (QWidget* owner = parentWidget()) owner->activateWindow();
  deleteLater();
}

void ContactEdWidget::closeEvent(QCloseEvent* event) {
  if (!closed_) presenter_.CancelBut_Click();
  event->accept();
}

bool ContactEdWidget::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && !closed_) {
    auto* widget = qobject_cast<QWidget*>(watched);
    // Seen once, at the key's first receiver in this window.
    QWidget* first = focusWidget() ? focusWidget() : this;
    auto* key = static_cast<QKeyEvent*>(event);
    if (widget == first && widget->window() == this && key->key() == Qt::Key_Escape) {
      return presenter_.Form_KeyDown(key::kEscape);
    }
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace tabrel::gui
