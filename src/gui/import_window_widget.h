#pragma once

#include <QWidget>
#include <array>

#include "exchange/import_window.h"

class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;

namespace tabrel::gui {

// The import window TR_ImportFrm ("Tabrel Record Import Controls"): a
// modeless window that owns its presenter. It deletes itself (later, from
// the event loop) when the presenter closes it; Esc and its close button
// count as Close.
class ImportWindowWidget : public QWidget, public ImportView {
  Q_OBJECT

 public:
  // `state`, `dialogs`, `clock` and `host` must outlive the window.
  ImportWindowWidget(const AppState& state, Dialogs& dialogs, Clock& clock, MainListHost& host,
                     ImportSource source, QWidget* parent = nullptr);

  ImportWindow& presenter() { return presenter_; }
  // Runs Form_Load and shows the window.
  void Open();

  QPushButton* PreviewButton() const { return preview_; }
  QPushButton* ImportButton() const { return import_; }
  QPushButton* CloseButton() const { return close_; }
  QRadioButton* DefinitionButton(DuplicateDefinition value) const;
  QRadioButton* SkipButton(DuplicateSkip value) const;
  QLabel* Description() const { return description_; }
  QLabel* Results() const { return results_; }
  QPlainTextEdit* RecordList() const { return list_; }

  // ImportView
  void SetFilePath(const std::string& path) override;
  void SetDescription(const std::string& text) override;
  void SetTargetText(const std::string& text) override;
  void SetRules(DuplicateRules rules) override;
  DuplicateRules Rules() const override;
  void ShowExtrasToNotes(bool shown) override;
  bool ExtrasToNotes() const override;
  void SetProgressRange(int minimum, int maximum) override;
  void SetProgressValue(int value) override;
  void SetBusy(bool busy) override;
  void SetResultText(const std::string& text) override;
  void SetListText(const std::string& text) override;
  void SetListVisible(bool visible) override;
  void Close() override;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  QWidget* BuildOptions();

  ImportWindow presenter_;
  QLabel* file_ = nullptr;
  QLabel* description_ = nullptr;
  QLabel* target_ = nullptr;
  std::array<QRadioButton*, kDefinitionOptions.size()> definitions_{};
  std::array<QRadioButton*, kSkipOptions.size()> skips_{};
  QPushButton* preview_ = nullptr;
  QPushButton* import_ = nullptr;
  QPushButton* close_ = nullptr;
  QProgressBar* progress_ = nullptr;
  QLabel* results_ = nullptr;
  QPlainTextEdit* list_ = nullptr;
  QCheckBox* extras_ = nullptr;
  bool busy_ = false;
  bool closed_ = false;
};

}  // namespace tabrel::gui
