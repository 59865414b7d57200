#pragma once

#include <QMainWindow>
#include <QPointer>
#include <array>
#include <memory>

#include "mainwin/main_view.h"
#include "mainwin/main_window.h"

class QAction;
class QGridLayout;
class QGroupBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QSplashScreen;
class QStackedWidget;
class QToolBar;
class QVBoxLayout;

namespace tabrel::gui {

class ClickableLabel;
class CommaParseWidget;
class GameWidget;
class GridView;
class ImportWindowWidget;
class RecordViewPanel;
class SettingsDialogWidget;

// The main window. It owns the main window presenter and draws what the
// presenter decides; every user action goes to one of the presenter's event
// procedures, and every key of the window passes the presenter's key
// handler before the control with the focus sees it.
class MainWindowWidget : public QMainWindow, public MainView {
  Q_OBJECT

 public:
  // `state` and `platform` must outlive the window. Nothing is read until
  // presenter().Form_Load().
  MainWindowWidget(AppState& state, Platform& platform, QWidget* parent = nullptr);
  ~MainWindowWidget() override;

  MainWindow& presenter() { return presenter_; }

  QAction* MenuAction(MenuId id) const { return actions_[static_cast<std::size_t>(id)]; }
  GridView* RecordView() const { return record_view_; }
  GridView* KeywordView() const { return keyword_view_; }
  QLabel* StatusPanel(StatusPanelId panel) const;
  QProgressBar* ProgressBar() const { return progress_; }
  // Null until the settings dialog is opened the first time.
  SettingsDialogWidget* SettingsWindow() const;
  // Null until the game is opened the first time.
  GameWidget* GameWidgetIfOpened() const;
  // The import window while one is open, else null.
  ImportWindowWidget* ImportWindow() const;
  // The comma-delimited field selector while one is open, else null.
  CommaParseWidget* CommaWindow() const;

  // MainView
  void SetCaption(const std::string& caption) override;
  void SetMenuEnabled(MenuId id, bool enabled) override;
  void SetMenuChecked(MenuId id, bool checked) override;
  void SetMenuCaption(MenuId id, const std::string& caption) override;
  void SetStatusText(StatusPanelId panel, const std::string& text) override;
  void SetControlVisible(Control control, bool visible) override;
  void FocusControl(Control control) override;
  // kNone while a control of the keyword edit frame has the focus, so that
  // typing there never counts as keys of a list.
  Control FocusedControl() const override;
  void ShowSplash() override;
  void CloseSplash() override;
  void SetKeywordEditText(const std::string& text) override;
  std::string KeywordEditText() const override;
  bool KeyOpPersonal() const override;
  void ShowRecordView(const ViewPanelContent& content) override;
  void OpenEditor() override;
  void OpenSyncWindow() override;
  void OpenServerSettings() override;
  void OpenImportWindow(const ImportSource& source) override;
  void OpenCommaParse(const std::string& path) override;
  void OpenSettings() override;
  GameView& GameWindow() override;
  void CloseWindow() override;

  // PreviewView
  void SetPrintOptionsVisible(bool visible) override;
  void SetPreviewVisible(bool visible) override;
  void SetPreviewText(const std::string& text) override;
  // Lines separated by CR LF.
  std::string PreviewText() const override;
  void SetPreviewReadOnly(bool read_only) override;
  // The desktop's fixed-pitch font stands in for kLabelFont, the window's
  // own font for kPreviewFont.
  void SetPreviewFixedPitch(bool fixed_pitch) override;
  void SetToolbarVisible(bool visible) override;
  void SetAllRecordsVisible(bool visible) override;
  void SetProgressVisible(bool visible) override;
  void SetProgressRange(int minimum, int maximum) override;
  void SetProgressValue(int value) override;
  void SetBusy(bool busy) override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  static constexpr std::size_t kMenuCount = static_cast<std::size_t>(MenuId::kSeparator);

  void BuildMenus();
  void BuildToolbar();
  void BuildStatusBar();
  void BuildCentralArea();
  QWidget* BuildLetterRow();
  QGroupBox* BuildKeyFrame(QWidget* parent);
  // The print options and the record view panel are made the first time
  // they are shown: start-up does not wait for windows it does not show.
  QGroupBox& PrintOptions();
  RecordViewPanel& ViewPanel();
  void ShowKeyFrame(bool visible);
  bool KeyFrameHasFocus() const;
  void ConnectGrid(GridView* view, Control control);
  bool HandleKey(QKeyEvent* event);

  AppState& state_;
  Dialogs& dialogs_;
  Clock& clock_;
  HelpViewer& help_;
  MainWindow presenter_;
  std::array<QAction*, kMenuCount> actions_{};
  // The ticks as the presenter set them; a click must not change them.
  std::array<bool, kMenuCount> checked_{};
  std::array<ClickableLabel*, 4> panels_{};
  GridView* record_view_ = nullptr;
  GridView* keyword_view_ = nullptr;
  QPushButton* all_records_ = nullptr;
  QGroupBox* key_frame_ = nullptr;
  QLineEdit* keyword_edit_ = nullptr;
  QRadioButton* key_op_personal_ = nullptr;
  // Where the focus was when the keyword edit frame opened; it returns there.
  QPointer<QWidget> focus_before_key_frame_;
  QProgressBar* progress_ = nullptr;
  RecordViewPanel* view_panel_ = nullptr;
  QGridLayout* list_area_ = nullptr;
  QVBoxLayout* central_layout_ = nullptr;
  // Page 0: the letter row and the lists; page 1: the preview text box.
  QStackedWidget* pages_ = nullptr;
  QGroupBox* print_options_ = nullptr;
  QPlainTextEdit* preview_ = nullptr;
  QToolBar* toolbar_ = nullptr;
  QPointer<SettingsDialogWidget> settings_;
  QPointer<GameWidget> game_;
  QPointer<ImportWindowWidget> import_window_;
  QPointer<CommaParseWidget> comma_parse_;
  std::unique_ptr<QSplashScreen> splash_;
  Control focused_ = Control::kNone;
  bool busy_ = false;
  // A key the presenter already saw as a shortcut override, and its answer.
  int overridden_key_ = 0;
  bool overridden_key_consumed_ = false;
};

}  // namespace tabrel::gui
