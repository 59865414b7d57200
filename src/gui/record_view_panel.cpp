#include "gui/record_view_panel.h"

#include <QApplication>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QToolTip>
#include <QVBoxLayout>

#include "gui/clickable_label.h"
#include "mainwin/main_window.h"

namespace tabrel::gui {
namespace {

constexpr int kCardMaxWidth = 760;
constexpr int kCardMargin = 14;

QString Q(const std::string& text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Sets size and weight explicitly, so that the font does not follow the
// card's bold title font.
QFont Scaled(QFont font, double extra_points, bool bold) {
  font.setPointSizeF(font.pointSizeF() + extra_points);
  font.setBold(bold);
  return font;
}

// A plain envelope: the flap's two edges meeting in the middle.
QIcon EnvelopeIcon() {
  QPixmap pixmap(28, 20);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(QColor(60, 60, 60), 1.4));
  painter.setBrush(QColor(250, 246, 232));
  const QRectF body(1.5, 2.5, 25, 15);
  painter.drawRect(body);
  painter.drawLine(body.topLeft(), QPointF(body.center().x(), body.center().y() + 1));
  painter.drawLine(body.topRight(), QPointF(body.center().x(), body.center().y() + 1));
  return QIcon(pixmap);
}

}  // namespace

RecordViewPanel::RecordViewPanel(MainWindow& presenter, QWidget* parent)
    : QFrame(parent), presenter_(presenter) {
  setObjectName(QStringLiteral("background"));
  setToolTip(tr("background for view frame"));
  setAutoFillBackground(true);
  QPalette backdrop = palette();
  backdrop.setColor(QPalette::Window, QColor(46, 58, 89));
  setPalette(backdrop);

  frame_ = new QGroupBox(this);
  frame_->setObjectName(QStringLiteral("ViewFrame"));
  frame_->setAutoFillBackground(true);
  // Set explicitly: a colour left unset would follow the backdrop's.
  QPalette card_palette = QApplication::palette();
  card_palette.setColor(QPalette::Window, card_palette.color(QPalette::Base));
  frame_->setPalette(card_palette);
  frame_->setMaximumWidth(kCardMaxWidth);
  frame_->setFont(Scaled(font(), 1, true));
  // The backdrop's tooltip is not to show over the card.
  frame_->installEventFilter(this);

  notes_ = new QPlainTextEdit(frame_);
  notes_->setObjectName(QStringLiteral("NoteView"));
  // A cursor of its own, so that the focus shows and arrows scroll.
  notes_->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
  notes_->setReadOnly(true);
  notes_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  notes_->setTabChangesFocus(true);
  notes_->setFont(Scaled(font(), 0, false));
  notes_->setMinimumHeight(notes_->fontMetrics().lineSpacing() * 3);
  notes_->setMaximumHeight(notes_->fontMetrics().lineSpacing() * 10 + 12);

  auto* card = new QVBoxLayout(frame_);
  card->setContentsMargins(kCardMargin, kCardMargin, kCardMargin, kCardMargin);
  card->setSpacing(10);
  card->addWidget(BuildHeader());
  auto* rule = new QFrame(frame_);
  rule->setFrameShape(QFrame::HLine);
  rule->setFrameShadow(QFrame::Sunken);
  card->addWidget(rule);
  card->addWidget(BuildDetails());
  card->addWidget(AddCaption(tr("Notes")));
  card->addWidget(notes_, 1);
  card->addWidget(BuildButtons());

  // The card takes the width up to its maximum and its own height, centred.
  // In a window too small for it, it scrolls rather than widen the window.
  frame_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Maximum);
  auto* scroll = new QScrollArea(this);
  scroll->setFrameShape(QFrame::NoFrame);
  scroll->setWidgetResizable(true);
  scroll->viewport()->setAutoFillBackground(false);
  auto* content = new QWidget(scroll);
  content->setAutoFillBackground(false);
  auto* across = new QHBoxLayout;
  across->addStretch(1);
  across->addWidget(frame_, 100);
  across->addStretch(1);
  auto* centred = new QVBoxLayout(content);
  centred->setContentsMargins(16, 16, 16, 16);
  centred->addStretch(1);
  centred->addLayout(across);
  centred->addStretch(1);
  scroll->setWidget(content);
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(0, 0, 0, 0);
  outer->addWidget(scroll);
  hide();
}

QLabel* RecordViewPanel::AddValue(const char* name) {
  auto* label = new ClickableLabel(frame_);
  label->setObjectName(QString::fromLatin1(name));
  label->setTextFormat(Qt::PlainText);
  label->setFont(Scaled(font(), 0, false));
  // Long values are cut off rather than widen the card.
  label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  label->setMinimumWidth(1);
  return label;
}

QLabel* RecordViewPanel::AddCaption(const QString& text) {
  auto* caption = new QLabel(text, frame_);
  caption->setFont(Scaled(font(), -1, false));
  caption->setForegroundRole(QPalette::PlaceholderText);
  return caption;
}

QPushButton* RecordViewPanel::AddButton(const QString& caption, const char* name,
                                        const QString& tooltip) {
  auto* button = new QPushButton(caption, frame_);
  button->setObjectName(QString::fromLatin1(name));
  button->setToolTip(tooltip);
  button->setFont(Scaled(font(), 0, false));
  button->setAutoDefault(false);
  return button;
}

QWidget* RecordViewPanel::BuildHeader() {
  auto* header = new QWidget(frame_);
  name_ = AddValue("ViewName");
  name_->setFont(Scaled(font(), 5, true));
  org_ = AddValue("ViewOrg");
  org_->setFont(Scaled(font(), 1.5, true));
  add1_ = AddValue("ViewAdd1");
  add2_ = AddValue("ViewAdd2");
  csz_ = AddValue("ViewCSZ");
  rec_type_ = AddValue("ViewRecType");
  rec_type_->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
  rec_type_->setAlignment(Qt::AlignCenter);
  rec_type_->setStyleSheet(
      QStringLiteral("QLabel { background: #e4ebf7; color: #1d3461; border: 1px solid #9fb3d6;"
                     " border-radius: 9px; padding: 2px 10px; }"));
  rec_age_ = AddValue("ViewRecAge");
  rec_age_->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
  rec_age_->setFont(Scaled(font(), -1, false));
  rec_age_->setForegroundRole(QPalette::PlaceholderText);
  rec_age_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

  auto* address = new QVBoxLayout;
  address->setSpacing(2);
  for (QLabel* line : {name_, org_, add1_, add2_, csz_}) address->addWidget(line);
  auto* side = new QVBoxLayout;
  side->setSpacing(6);
  side->addWidget(rec_type_, 0, Qt::AlignRight);
  side->addWidget(rec_age_, 0, Qt::AlignRight);
  side->addStretch(1);
  auto* row = new QHBoxLayout(header);
  row->setContentsMargins(0, 0, 0, 0);
  row->addLayout(address, 1);
  row->addLayout(side);
  return header;
}

QWidget* RecordViewPanel::BuildDetails() {
  auto* details = new QWidget(frame_);
  auto* grid = new QGridLayout(details);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setHorizontalSpacing(10);
  grid->setVerticalSpacing(5);

  phone_ = AddValue("ViewPhone");
  ext_ = AddValue("ViewExt");
  fax_ = AddValue("ViewFax");
  cellular_ = AddValue("ViewCellular");
  beeper_ = AddValue("ViewBeeper");
  email_ = AddValue("ViewEmail");
  web_ = AddValue("ViewWeb");
  for (QLabel* copyable : {email_, web_}) {
    copyable->setToolTip(tr("double-click to place in clipboard"));
    copyable->setCursor(Qt::PointingHandCursor);
    copyable->setForegroundRole(QPalette::Link);
    static_cast<ClickableLabel*>(copyable)->SetKeyboardActivation();
  }
  for (const auto signal : {&ClickableLabel::DoubleClicked, &ClickableLabel::Activated}) {
    connect(static_cast<ClickableLabel*>(email_), signal, this,
            [this] { presenter_.ViewEmail_dblClick(); });
    connect(static_cast<ClickableLabel*>(web_), signal, this,
            [this] { presenter_.ViewWeb_dblClick(); });
  }

  const std::pair<QString, QLabel*> rows[] = {
      {tr("Phone"), phone_},  {tr("Fax"), fax_},      {tr("Mobile"), cellular_},
      {tr("Pager"), beeper_}, {tr("E-mail"), email_}, {tr("Web"), web_},
  };
  int row = 0;
  for (const auto& [text, value] : rows) {
    QLabel* caption = AddCaption(text);
    captioned_.emplace_back(caption, value);
    value->setAccessibleName(text);
    grid->addWidget(caption, row, 0, Qt::AlignLeft | Qt::AlignVCenter);
    // E-mail and web addresses run long; they take the extension's column too.
    grid->addWidget(value, row, 1, 1, value == email_ || value == web_ ? 3 : 1);
    ++row;
  }
  ext_caption_ = AddCaption(tr("Ext."));
  captioned_.emplace_back(ext_caption_, ext_);
  grid->addWidget(ext_caption_, 0, 2, Qt::AlignLeft | Qt::AlignVCenter);
  grid->addWidget(ext_, 0, 3);

  QLabel* keywords = AddCaption(tr("Keywords"));
  grid->addWidget(keywords, 0, 5, Qt::AlignLeft | Qt::AlignVCenter);
  for (int i = 0; i < 3; ++i) {
    kw_[i] = AddValue(QStringLiteral("ViewKW%1").arg(i + 1).toLatin1().constData());
    grid->addWidget(kw_[i], i + 1, 5);
  }
  grid->setColumnStretch(1, 3);
  grid->setColumnStretch(3, 1);
  grid->setColumnMinimumWidth(4, 12);
  grid->setColumnStretch(5, 2);
  return details;
}

QWidget* RecordViewPanel::BuildButtons() {
  auto* buttons = new QWidget(frame_);
  auto* row = new QHBoxLayout(buttons);
  row->setContentsMargins(0, 4, 0, 0);
  row->setSpacing(6);
  QPushButton* copy_address =
      AddButton(tr("Clip &Address"), "ViewCopyAddress", tr("copy mailing address to clipboard"));
  QPushButton* copy_all =
      AddButton(tr("Clip Al&l"), "ViewCopyAll", tr("copy entire record to clipboard"));
  auto* envelope = new QPushButton(EnvelopeIcon(), QString(), frame_);
  envelope->setObjectName(QStringLiteral("Envelope"));
  envelope->setAccessibleName(tr("Envelope"));
  envelope->setToolTip(tr("<alt-V> print mailing address on an envelope"));
  envelope->setAutoDefault(false);
  envelope->setIconSize(QSize(28, 20));
  // Alt+V, as its tooltip says; the plain V reaches the presenter as a key.
  envelope->setShortcut(QKeySequence(Qt::ALT | Qt::Key_V));
  QPushButton* back = AddButton(tr("< &Back"), "ViewBack",
                                tr("view the previous record in the set currently displayed"));
  QPushButton* next = AddButton(tr("&Next >"), "ViewNext",
                                tr("view the next record in the set currently displayed"));
  QPushButton* edit =
      AddButton(tr("&Edit"), "EditView", tr("start up editing utility to modify this record"));
  QPushButton* close = AddButton(tr("&Close"), "CloseView", tr("close full record display"));

  connect(copy_address, &QPushButton::clicked, this,
          [this] { presenter_.ViewCopyAddress_Click(); });
  connect(copy_all, &QPushButton::clicked, this, [this] { presenter_.ViewCopyAll_Click(); });
  connect(envelope, &QPushButton::clicked, this, [this] { presenter_.Envelope_Click(); });
  connect(back, &QPushButton::clicked, this, [this] { presenter_.ViewBack_Click(); });
  connect(next, &QPushButton::clicked, this, [this] { presenter_.ViewNext_Click(); });
  connect(edit, &QPushButton::clicked, this, [this] { presenter_.EditView_Click(); });
  connect(close, &QPushButton::clicked, this, [this] { presenter_.CloseView_Click(); });

  for (QWidget* button : {copy_address, copy_all, envelope}) row->addWidget(button);
  row->addStretch(1);
  row->addWidget(back);
  row->addWidget(next);
  row->addSpacing(12);
  row->addWidget(edit);
  row->addWidget(close);
  return buttons;
}

void RecordViewPanel::Fill(const ViewPanelContent& content) {
  if (content.caption) frame_->setTitle(Q(*content.caption));
  name_->setText(Q(content.name));
  org_->setText(Q(content.org));
  add1_->setText(Q(content.add1));
  add2_->setText(Q(content.add2));
  // A card, not a form: an empty line of the address leaves no gap.
  for (QLabel* line : {org_, add1_, add2_}) line->setVisible(!line->text().isEmpty());
  csz_->setText(Q(content.csz));
  phone_->setText(Q(content.phone));
  ext_->setText(Q(content.ext));
  fax_->setText(Q(content.fax));
  cellular_->setText(Q(content.cellular));
  beeper_->setText(Q(content.beeper));
  email_->setText(Q(content.email));
  web_->setText(Q(content.web));
  kw_[0]->setText(Q(content.kw1));
  kw_[1]->setText(Q(content.kw2));
  kw_[2]->setText(Q(content.kw3));
  rec_type_->setText(Q(content.rec_type));
  rec_type_->setVisible(!content.rec_type.empty());
  rec_age_->setText(Q(content.rec_age));
  QString notes = Q(content.notes);
  notes.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  notes_->setPlainText(notes);
  for (const auto& [caption, value] : captioned_) caption->setEnabled(!value->text().isEmpty());
}

void RecordViewPanel::SetFrameVisible(bool visible) {
  frame_->setVisible(visible);
  // Arrow and page keys then scroll long notes; every other key goes to the
  // presenter's key handler anyway.
  if (visible && isVisible()) notes_->setFocus(Qt::OtherFocusReason);
}

bool RecordViewPanel::eventFilter(QObject* watched, QEvent* event) {
  if (watched == frame_ && event->type() == QEvent::ToolTip) {
    QToolTip::hideText();
    return true;
  }
  return QFrame::eventFilter(watched, event);
}

}  // namespace tabrel::gui
