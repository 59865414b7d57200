#include "gui/main_window_widget.h"

#include "gui/server_settings_widget.h"
#include "gui/sync_window_widget.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSplashScreen>
#include <QStackedWidget>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <utility>

#include "gui/busy_cursor.h"
#include "gui/clickable_label.h"
#include "gui/comma_parse_widget.h"
#include "gui/contact_ed_widget.h"
#include "gui/game_widget.h"
#include "gui/grid_view.h"
#include "gui/import_window_widget.h"
#include "gui/record_view_panel.h"
#include "gui/settings_dialog_widget.h"
#include "gui/splash_pixmap.h"
#include "gui/vb_keys.h"
#include "present/key_codes.h"
#include "store/layout.h"

namespace tabrel::gui {
namespace {

constexpr int kMinimumWidth = 443;
constexpr int kMinimumHeight = 621;
constexpr int kKeywordListChars = 46;

QString Q(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::size_t Slot(MenuId id) {
  return static_cast<std::size_t>(id);
}

using PresenterClick = void (MainWindow::*)();
constexpr std::pair<std::string_view, PresenterClick> kPrintOptionClicks[] = {
    {"SendPrint", &MainWindow::SendPrint_Click},
    {"SendFile", &MainWindow::SendFile_Click},
    {"PrintToFile", &MainWindow::PrintToFile_Click},
    {"PrintToHTML", &MainWindow::PrintToHTML_Click},
    {"CancelPrint", &MainWindow::CancelPrint_Click},
};

PresenterClick PrintOptionClick(std::string_view name) {
  for (const auto& [control, click] : kPrintOptionClicks) {
    if (control == name) return click;
  }
  return nullptr;
}

}  // namespace

MainWindowWidget::MainWindowWidget(AppState& state, Platform& platform, QWidget* parent)
    : QMainWindow(parent),
      state_(state),
      dialogs_(platform.dialogs),
      clock_(platform.clock),
      help_(platform.help),
      presenter_(state, *this, platform) {
  setObjectName(QStringLiteral("tr30_main"));
  setWindowTitle(Q(kProgramCaption));
  setMinimumSize(kMinimumWidth, kMinimumHeight);
  BuildMenus();
  BuildToolbar();
  BuildCentralArea();
  BuildStatusBar();
  qApp->installEventFilter(this);
}

MainWindowWidget::~MainWindowWidget() {
  qApp->removeEventFilter(this);
  if (busy_) QApplication::restoreOverrideCursor();
  // The views' models observe the presenter's grids, which go before the
  // child widgets would.
  delete record_view_;
  delete keyword_view_;
}

void MainWindowWidget::BuildMenus() {
  QMenu* menu = nullptr;
  for (const MenuEntry& entry : MenuTree()) {
    if (entry.top_level) {
      menu = menuBar()->addMenu(Q(entry.caption));
      menu->setObjectName(Q(entry.name));
      actions_[Slot(entry.id)] = menu->menuAction();
      continue;
    }
    if (menu == nullptr) continue;
    if (entry.id == MenuId::kSeparator) {
      menu->addSeparator();
      continue;
    }
    QAction* action = menu->addAction(Q(entry.caption));
    action->setObjectName(Q(entry.name));
    if (entry.checked_at_start) {
      action->setCheckable(true);
      action->setChecked(true);
      checked_[Slot(entry.id)] = true;
    }
    if (entry.shortcut_key >= key::kF1 && entry.shortcut_key <= key::kF9) {
      action->setShortcut(QKeySequence(Qt::Key_F1 + (entry.shortcut_key - key::kF1)));
    }
    const MenuId id = entry.id;
    connect(action, &QAction::triggered, this, [this, action, id] {
      action->setChecked(checked_[Slot(id)]);
      presenter_.MenuClicked(id);
    });
    actions_[Slot(id)] = action;
  }
}

void MainWindowWidget::BuildToolbar() {
  toolbar_ = addToolBar(tr("Toolbar"));
  toolbar_->setObjectName(QStringLiteral("tr_TB1"));
  toolbar_->setMovable(false);
  toolbar_->setFloatable(false);
  toolbar_->toggleViewAction()->setVisible(false);
  for (const ToolbarButton& button : ToolbarButtons()) {
    auto* tool = new QToolButton(toolbar_);
    tool->setObjectName(Q(button.key));
    tool->setText(Q(button.caption));
    tool->setToolTip(Q(button.tooltip));
    tool->setToolButtonStyle(Qt::ToolButtonTextOnly);
    tool->setAutoRaise(true);
    tool->setFocusPolicy(Qt::NoFocus);
    // The eight buttons share the window's width.
    tool->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    const std::string_view key = button.key;
    connect(tool, &QToolButton::clicked, this, [this, key] { presenter_.tr_TB1_ButtonClick(key); });
    toolbar_->addWidget(tool);
  }
}

void MainWindowWidget::BuildStatusBar() {
  statusBar()->setObjectName(QStringLiteral("tr_SB1"));
  statusBar()->setSizeGripEnabled(true);
  const int stretch[] = {0, 0, 2, 3};
  for (std::size_t i = 0; i < panels_.size(); ++i) {
    const tabrel::StatusPanel& design = StatusPanels()[i];
    auto* panel = new ClickableLabel(Q(design.design_text), statusBar());
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setContentsMargins(6, 1, 6, 1);
    if (!design.tooltip.empty()) panel->setToolTip(Q(design.tooltip));
    if (stretch[i] == 0) {
      panel->setAlignment(Qt::AlignCenter);
      panel->setMinimumWidth(panel->fontMetrics().horizontalAdvance(QStringLiteral("PERSONAL")) +
                             16);
    } else {
      // Long texts must not widen the window.
      panel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    }
    if (!design.key.empty()) {
      panel->setCursor(Qt::PointingHandCursor);
      const std::string_view key = design.key;
      connect(panel, &ClickableLabel::Clicked, this,
              [this, key] { presenter_.tr_SB1_PanelClick(key); });
    }
    statusBar()->addWidget(panel, stretch[i]);
    panels_[i] = panel;
  }
}

QWidget* MainWindowWidget::BuildLetterRow() {
  auto* row = new QWidget(this);
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(1);
  for (int index = 0; index < 26; ++index) {
    auto* button = new QToolButton(row);
    button->setText(QString(QChar('A' + index)));
    button->setObjectName(QStringLiteral("Command1_%1").arg(index));
    // The grid keeps the focus, so a letter jumps in the list the user is in.
    button->setFocusPolicy(Qt::NoFocus);
    button->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    button->setMinimumWidth(8);
    connect(button, &QToolButton::clicked, this,
            [this, index] { presenter_.Command1_Click(index); });
    layout->addWidget(button);
  }
  return row;
}

void MainWindowWidget::BuildCentralArea() {
  auto* central = new QWidget(this);
  auto* outer = new QVBoxLayout(central);
  outer->setContentsMargins(4, 2, 4, 0);
  outer->setSpacing(4);
  central_layout_ = outer;
  // The preview text box covers the letter row and both lists while shown.
  pages_ = new QStackedWidget(central);
  outer->addWidget(pages_, 1);

  auto* lists_page = new QWidget(pages_);
  auto* page = new QVBoxLayout(lists_page);
  page->setContentsMargins(0, 0, 0, 0);
  page->setSpacing(4);
  page->addWidget(BuildLetterRow());

  QFont list_font = font();
  list_font.setPointSizeF(list_font.pointSizeF() + 1);

  record_view_ = new GridView(presenter_.MainGrid(), lists_page);
  record_view_->setObjectName(QStringLiteral("MainGrid"));
  record_view_->setAccessibleName(tr("Records"));
  record_view_->setFont(list_font);
  QSizePolicy keep = record_view_->sizePolicy();
  keep.setRetainSizeWhenHidden(true);
  record_view_->setSizePolicy(keep);
  progress_ = new QProgressBar(lists_page);
  progress_->setObjectName(QStringLiteral("ProgressBar1"));
  progress_->setTextVisible(false);
  progress_->hide();
  // The record view panel covers the record list; the progress bar lies
  // over the bottom of the list.
  auto* list_area = new QGridLayout;
  list_area->addWidget(record_view_, 0, 0);
  list_area->addWidget(progress_, 0, 0, Qt::AlignBottom);
  list_area_ = list_area;

  keyword_view_ = new GridView(presenter_.KeywordGrid(), lists_page);
  keyword_view_->setObjectName(QStringLiteral("KeywordGrid"));
  keyword_view_->setAccessibleName(tr("Keywords"));
  keyword_view_->setFont(list_font);
  keyword_view_->setFixedWidth(keyword_view_->WidthForChars(kKeywordListChars));
  // Its one column reaches the scroll bar, however the font measures.
  keyword_view_->horizontalHeader()->setStretchLastSection(true);
  all_records_ = new QPushButton(tr("All Records <F4>"), lists_page);
  all_records_->setObjectName(QStringLiteral("AllRecords"));
  all_records_->setFocusPolicy(Qt::NoFocus);
  connect(all_records_, &QPushButton::clicked, this, [this] { presenter_.AllRecords_Click(); });
  auto* keyword_column = new QVBoxLayout;
  keyword_column->setSpacing(3);
  keyword_column->addWidget(all_records_);
  keyword_column->addWidget(BuildKeyFrame(lists_page));
  keyword_column->addWidget(keyword_view_, 1);

  auto* lists = new QHBoxLayout;
  lists->setSpacing(4);
  lists->addLayout(list_area, 1);
  lists->addLayout(keyword_column);
  page->addLayout(lists, 1);
  pages_->addWidget(lists_page);

  preview_ = new QPlainTextEdit(pages_);
  preview_->setObjectName(QStringLiteral("Text1"));
  preview_->setAccessibleName(Q(kPrintOptionsCaption).trimmed());
  // Tab goes on to the print options: a tab character typed into the list
  // would be printed and saved with it.
  preview_->setTabChangesFocus(true);
  pages_->addWidget(preview_);
  SetPreviewFixedPitch(false);
  setCentralWidget(central);

  ConnectGrid(record_view_, Control::kMainGrid);
  ConnectGrid(keyword_view_, Control::kKeywordGrid);
}

QGroupBox& MainWindowWidget::PrintOptions() {
  if (print_options_) return *print_options_;
  print_options_ = new QGroupBox(Q(kPrintOptionsCaption), centralWidget());
  print_options_->setObjectName(QStringLiteral("PrnOpFrame"));
  auto* row = new QHBoxLayout(print_options_);
  row->setContentsMargins(8, 4, 8, 6);
  row->setSpacing(6);
  for (const PrintOptionButton& design : kPrintOptionButtons) {
    auto* button = new QPushButton(Q(design.caption), print_options_);
    button->setObjectName(Q(design.name));
    button->setToolTip(Q(design.tooltip));
    // A click leaves the focus in the text the user may be editing; Tab
    // still reaches the buttons.
    button->setFocusPolicy(Qt::TabFocus);
    if (const PresenterClick click = PrintOptionClick(design.name)) {
      connect(button, &QPushButton::clicked, this, [this, click] { (presenter_.*click)(); });
    }
    row->addWidget(button);
  }
  row->addStretch(1);
  print_options_->hide();
  central_layout_->insertWidget(0, print_options_);
  return *print_options_;
}

QGroupBox* MainWindowWidget::BuildKeyFrame(QWidget* parent) {
  key_frame_ = new QGroupBox(tr(" Keyword Edit "), parent);
  key_frame_->setObjectName(QStringLiteral("KeyFrame"));
  keyword_edit_ = new QLineEdit(key_frame_);
  keyword_edit_->setObjectName(QStringLiteral("KeywordEdit"));
  keyword_edit_->setMaxLength(static_cast<int>(layout::kKeywordRecordLength));
  keyword_edit_->setToolTip(tr("type keyword here"));
  // Siblings in one frame: the two options exclude each other, and the
  // choice stays as the user left it for the next add or change.
  key_op_personal_ = new QRadioButton(tr("personal"), key_frame_);
  key_op_personal_->setObjectName(QStringLiteral("KeyOpPersonal"));
  auto* key_op_public = new QRadioButton(tr("public"), key_frame_);
  key_op_public->setObjectName(QStringLiteral("KeyOpPublic"));
  key_op_public->setChecked(true);
  auto* save = new QPushButton(tr("Save"), key_frame_);
  save->setObjectName(QStringLiteral("KeySave"));
  save->setToolTip(tr("save new or revised keyword"));
  auto* cancel = new QPushButton(tr("Cancel"), key_frame_);
  cancel->setObjectName(QStringLiteral("KeyCancel"));
  cancel->setToolTip(tr("close keyword edit without further action"));
  connect(save, &QPushButton::clicked, this, [this] { presenter_.KeySave_Click(); });
  connect(keyword_edit_, &QLineEdit::returnPressed, this, [this] { presenter_.KeySave_Click(); });
  connect(cancel, &QPushButton::clicked, this, [this] { presenter_.KeyCancel_Click(); });

  auto* grid = new QGridLayout(key_frame_);
  grid->setContentsMargins(8, 6, 8, 8);
  grid->setVerticalSpacing(4);
  grid->addWidget(keyword_edit_, 0, 0, 1, 2);
  grid->addWidget(key_op_personal_, 1, 0);
  grid->addWidget(key_op_public, 1, 1);
  grid->addWidget(save, 2, 0);
  grid->addWidget(cancel, 2, 1);
  key_frame_->hide();
  return key_frame_;
}

void MainWindowWidget::ShowKeyFrame(bool visible) {
  if (visible) {
    if (key_frame_->isHidden()) focus_before_key_frame_ = focusWidget();
    key_frame_->show();
    return;
  }
  const bool had_focus = KeyFrameHasFocus();
  key_frame_->hide();
  if (!had_focus) return;
  // Back to the list the user came from, rather than wherever Qt's focus
  // chain would go next.
  QWidget* back = focus_before_key_frame_;
  if (back == nullptr || back->isHidden() || key_frame_->isAncestorOf(back)) back = keyword_view_;
  if (back == record_view_) {
    FocusControl(Control::kMainGrid);
  } else if (back == keyword_view_) {
    FocusControl(Control::kKeywordGrid);
  } else {
    back->setFocus(Qt::OtherFocusReason);
  }
}

bool MainWindowWidget::KeyFrameHasFocus() const {
  const QWidget* focus = focusWidget();
  return focus != nullptr && !key_frame_->isHidden() && key_frame_->isAncestorOf(focus);
}

Control MainWindowWidget::FocusedControl() const {
  return KeyFrameHasFocus() ? Control::kNone : focused_;
}

void MainWindowWidget::ConnectGrid(GridView* view, Control control) {
  const bool records = control == Control::kMainGrid;
  connect(view, &GridView::GotFocus, this, [this, control, records] {
    focused_ = control;
    if (records) {
      presenter_.MainGrid_GotFocus();
    } else {
      presenter_.KeywordGrid_GotFocus();
    }
  });
  connect(view, &GridView::LostFocus, this, [this, control, records] {
    if (focused_ == control) focused_ = Control::kNone;
    if (!records) presenter_.KeywordGrid_LostFocus();
  });
  connect(view, &QTableView::doubleClicked, this, [this, records] {
    if (records) {
      presenter_.MainGrid_dblClick();
    } else {
      presenter_.KeywordGrid_dblClick();
    }
  });
}

QLabel* MainWindowWidget::StatusPanel(StatusPanelId panel) const {
  const auto number = static_cast<std::size_t>(panel);
  if (number < 1 || number > panels_.size()) return nullptr;
  return panels_[number - 1];
}

void MainWindowWidget::SetCaption(const std::string& caption) {
  setWindowTitle(QString::fromStdString(caption));
}

void MainWindowWidget::SetMenuEnabled(MenuId id, bool enabled) {
  if (id == MenuId::kSeparator || !actions_[Slot(id)]) return;
  actions_[Slot(id)]->setEnabled(enabled);
}

void MainWindowWidget::SetMenuChecked(MenuId id, bool checked) {
  if (id == MenuId::kSeparator || !actions_[Slot(id)]) return;
  checked_[Slot(id)] = checked;
  QAction* action = actions_[Slot(id)];
  if (checked) action->setCheckable(true);
  action->setChecked(checked);
}

void MainWindowWidget::SetMenuCaption(MenuId id, const std::string& caption) {
  if (id == MenuId::kSeparator || !actions_[Slot(id)]) return;
  actions_[Slot(id)]->setText(QString::fromStdString(caption));
}

void MainWindowWidget::SetStatusText(StatusPanelId panel, const std::string& text) {
  if (QLabel* label = StatusPanel(panel)) label->setText(QString::fromStdString(text));
}

void MainWindowWidget::SetControlVisible(Control control, bool visible) {
  switch (control) {
    case Control::kMainGrid:
      record_view_->setVisible(visible);
      break;
    case Control::kKeywordGrid:
      keyword_view_->setVisible(visible);
      break;
    case Control::kAllRecords:
      all_records_->setVisible(visible);
      break;
    case Control::kProgressBar:
      progress_->setVisible(visible);
      if (visible) progress_->raise();
      break;
    case Control::kToolbar:
      toolbar_->setVisible(visible);
      break;
    case Control::kKeyFrame:
      ShowKeyFrame(visible);
      break;
    case Control::kBackground:
      if (!visible && !view_panel_) break;
      ViewPanel().setVisible(visible);
      if (visible) view_panel_->raise();
      break;
    case Control::kViewFrame:
      if (!visible && !view_panel_) break;
      // Closing the card must not pass the focus on to whatever control
      // comes next; the presenter says where it goes.
      if (!visible && view_panel_->isAncestorOf(focusWidget())) focusWidget()->clearFocus();
      ViewPanel().SetFrameVisible(visible);
      break;
    case Control::kPreviewText:
      SetPreviewVisible(visible);
      break;
    default:
      // The file selector is a dialog of its own.
      break;
  }
}

void MainWindowWidget::FocusControl(Control control) {
  QWidget* target = nullptr;
  switch (control) {
    case Control::kMainGrid:
      target = record_view_;
      break;
    case Control::kKeywordGrid:
      target = keyword_view_;
      break;
    case Control::kAllRecords:
      target = all_records_;
      break;
    case Control::kKeywordEdit:
      target = keyword_edit_;
      keyword_edit_->end(false);
      break;
    default:
      return;
  }
  if (control == Control::kMainGrid || control == Control::kKeywordGrid) {
    focused_ = control;
    // A list the presenter has just shown again is still hidden until its
    // model's changes are applied, and a hidden widget takes no focus.
    auto* list = static_cast<GridView*>(target);
    if (list->model().HasPendingChanges()) list->model().Flush();
  }
  target->setFocus(Qt::OtherFocusReason);
}

void MainWindowWidget::SetPrintOptionsVisible(bool visible) {
  if (visible || print_options_) PrintOptions().setVisible(visible);
}

RecordViewPanel& MainWindowWidget::ViewPanel() {
  if (view_panel_) return *view_panel_;
  view_panel_ = new RecordViewPanel(presenter_, list_area_->parentWidget());
  view_panel_->hide();
  list_area_->addWidget(view_panel_, 0, 0);
  // Under the progress bar, which lies over the bottom of the list.
  progress_->raise();
  // Tab goes through it where it lies, after the record list.
  QWidget* previous = record_view_;
  for (QWidget* w = view_panel_->nextInFocusChain(); view_panel_->isAncestorOf(w);
       w = w->nextInFocusChain()) {
    if (w->focusPolicy() & Qt::TabFocus) {
      QWidget::setTabOrder(previous, w);
      previous = w;
    }
  }
  return *view_panel_;
}

void MainWindowWidget::SetPreviewVisible(bool visible) {
  // Switching pages takes the focus along: into the text box, and back to
  // the control of the lists that last had it.
  pages_->setCurrentWidget(visible ? static_cast<QWidget*>(preview_) : pages_->widget(0));
  if (visible) preview_->setFocus(Qt::OtherFocusReason);
}

void MainWindowWidget::SetPreviewText(const std::string& text) {
  // The text box breaks lines at LF; the report's lines end at CR LF or a
  // lone CR.
  QString shown = QString::fromStdString(text);
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  preview_->setPlainText(shown);
}

std::string MainWindowWidget::PreviewText() const {
  // The raw text keeps no-break spaces, which toPlainText() would turn into
  // blanks.
  QString text = preview_->document()->toRawText();
  text.replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"));
  text.replace(QChar::LineSeparator, QStringLiteral("\r\n"));
  return text.toStdString();
}

void MainWindowWidget::SetPreviewReadOnly(bool read_only) {
  preview_->setReadOnly(read_only);
}

void MainWindowWidget::SetPreviewFixedPitch(bool fixed_pitch) {
  if (fixed_pitch) {
    // The desktop's fixed-pitch font reads better on screen than a Courier
    // clone would.
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setPointSizeF(font().pointSizeF());
    preview_->setFont(fixed);
    // Labels stand side by side; wrapping would break the columns apart.
    preview_->setLineWrapMode(QPlainTextEdit::NoWrap);
  } else {
    preview_->setFont(font());
    preview_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  }
}

void MainWindowWidget::SetToolbarVisible(bool visible) {
  SetControlVisible(Control::kToolbar, visible);
}

void MainWindowWidget::SetAllRecordsVisible(bool visible) {
  SetControlVisible(Control::kAllRecords, visible);
}

void MainWindowWidget::SetProgressVisible(bool visible) {
  SetControlVisible(Control::kProgressBar, visible);
}

void MainWindowWidget::SetProgressRange(int minimum, int maximum) {
  progress_->setRange(minimum, maximum);
}

void MainWindowWidget::SetProgressValue(int value) {
  progress_->setValue(value);
  // A fill runs without the event loop; the bar has to draw itself.
  if (progress_->isVisible()) progress_->repaint();
}

void MainWindowWidget::SetBusy(bool busy) {
  // Before the window first shows (the fill of start-up) the pointer is on
  // the opening screen at most: the cursor theme waits until it is needed.
  if (busy && !isVisible()) return;
  SetBusyCursor(busy_, busy);
}

void MainWindowWidget::ShowSplash() {
  if (!splash_) splash_ = std::make_unique<QSplashScreen>(PaintSplashPixmap());
  splash_->show();
  splash_->raise();
  QApplication::processEvents();
}

void MainWindowWidget::CloseSplash() {
  if (!splash_) return;
  // Start-up is over: the screen goes at once, however fast that was.
  splash_->close();
  splash_.reset();
}

SettingsDialogWidget* MainWindowWidget::SettingsWindow() const {
  return settings_;
}

void MainWindowWidget::OpenSettings() {
  if (!settings_) settings_ = new SettingsDialogWidget(state_, dialogs_, help_, this);
  settings_->Open();
}

GameWidget* MainWindowWidget::GameWidgetIfOpened() const {
  return game_;
}

GameView& MainWindowWidget::GameWindow() {
  if (!game_) game_ = new GameWidget(presenter_.Game(), this);
  return *game_;
}

void MainWindowWidget::CloseWindow() {
  close();
}

void MainWindowWidget::closeEvent(QCloseEvent* event) {
  presenter_.Form_Unload();
  if (settings_) settings_->hide();
  if (import_window_) import_window_->hide();
  if (comma_parse_) comma_parse_->hide();
  event->accept();
}

bool MainWindowWidget::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type == QEvent::KeyPress || type == QEvent::ShortcutOverride) {
    auto* widget = qobject_cast<QWidget*>(watched);
    // A key event travels from the focus widget up through its parents; the
    // presenter sees it once, at its first receiver, and only in this window.
    QWidget* first = focusWidget() ? focusWidget() : this;
    if (widget != nullptr && widget == first && widget->window() == this) {
      auto* key = static_cast<QKeyEvent*>(event);
      if (type == QEvent::KeyPress && key->key() == Qt::Key_Escape && KeyFrameHasFocus()) {
        overridden_key_ = 0;
        presenter_.KeyCancel_Click();
        return true;
      }
      return HandleKey(key);
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

bool MainWindowWidget::HandleKey(QKeyEvent* event) {
  if (event->modifiers() & Qt::AltModifier) return false;  // the menus' mnemonics
  const int code = VbKeyCode(event->key());
  if (code == 0) return false;
  const int shift = VbShiftMask(event->modifiers());
  if (event->type() == QEvent::ShortcutOverride) {
    // This comes before the menu shortcuts (F1 to F9) act: a key the
    // presenter consumes must not also fire its menu item. The key press
    // that follows gets the same answer without a second call.
    overridden_key_ = event->key();
    overridden_key_consumed_ = presenter_.Form_KeyDown(code, shift);
    if (overridden_key_consumed_) event->accept();
    return overridden_key_consumed_;
  }
  if (overridden_key_ == event->key()) {
    overridden_key_ = 0;
    return overridden_key_consumed_;
  }
  return presenter_.Form_KeyDown(code, shift);
}

void MainWindowWidget::SetKeywordEditText(const std::string& text) {
  keyword_edit_->setText(QString::fromStdString(text));
}

std::string MainWindowWidget::KeywordEditText() const {
  return keyword_edit_->text().toStdString();
}

bool MainWindowWidget::KeyOpPersonal() const {
  return key_op_personal_->isChecked();
}

void MainWindowWidget::ShowRecordView(const ViewPanelContent& content) {
  ViewPanel().Fill(content);
}

ImportWindowWidget* MainWindowWidget::ImportWindow() const {
  return import_window_;
}

void MainWindowWidget::OpenImportWindow(const ImportSource& source) {
  // One import window at a time: a new choice of file replaces the old one.
  if (import_window_) import_window_->Close();
  import_window_ = new ImportWindowWidget(state_, dialogs_, clock_, presenter_, source, this);
  import_window_->Open();
}

CommaParseWidget* MainWindowWidget::CommaWindow() const {
  return comma_parse_;
}

void MainWindowWidget::OpenCommaParse(const std::string& path) {
  // One field selector at a time: a new choice of file replaces the old one.
  if (comma_parse_) comma_parse_->Close();
  comma_parse_ = new CommaParseWidget(state_, dialogs_, clock_, presenter_, path, this);
  comma_parse_->Open();
}

void MainWindowWidget::OpenEditor() {
  // The window deletes itself when its presenter closes it, also when
  // Form_Load closes it at once.
  auto* editor = new ContactEdWidget(state_, dialogs_, clock_, this);
  editor->Open();
}

void MainWindowWidget::OpenSyncWindow() {
  SyncWindowWidget window(state_, dialogs_, clock_, presenter_, this);
  window.Open();
}

void MainWindowWidget::OpenServerSettings() {
  ServerSettingsWidget window(state_, dialogs_, this);
  window.Open();
}

}  // namespace tabrel::gui
