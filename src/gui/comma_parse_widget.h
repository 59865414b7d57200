#pragma once

#include <QWidget>
#include <array>

#include "exchange/comma_parse.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QRadioButton;

namespace tabrel::gui {

class ClickableLabel;

// The comma-delimited field selector CommaParse ("Comma-Delimited Import
// Field Selector"): a modeless window that owns its presenter. It deletes
// itself (later, from the event loop) when the presenter closes it; Esc and
// its close button count as Cancel.
class CommaParseWidget : public QWidget, public CommaParseView {
  Q_OBJECT

 public:
  // `state`, `dialogs`, `clock` and `host` must outlive the window.
  CommaParseWidget(const AppState& state, Dialogs& dialogs, Clock& clock, MainListHost& host,
                   std::string path, QWidget* parent = nullptr);

  CommaParse& presenter() { return presenter_; }
  // Runs Form_Load and shows the window.
  void Open();

  QListWidget* Preview() const { return preview_; }
  ClickableLabel* LinkLabel(RecordField field) const;
  QCheckBox* FirstLineBox() const { return header_; }
  QComboBox* EncodingList() const { return encoding_; }
  QLineEdit* KeywordBox() const { return keyword_; }
  QPushButton* ImportButton() const { return import_; }
  QPushButton* CancelButton() const { return cancel_; }
  QLabel* FileLabel() const { return file_; }

  // CommaParseView
  void SetFileText(const std::string& text) override;
  void SetTargetText(const std::string& text) override;
  void SetPreview(const std::vector<std::string>& entries) override;
  void SetLink(RecordField field, const std::string& number, const std::string& name) override;
  void SetHeaderBox(bool checked) override;
  bool HeaderBox() const override;
  void SetEncoding(std::size_t index) override;
  std::size_t Encoding() const override;
  void SetKeyword(const std::string& keyword) override;
  std::string Keyword() const override;
  void SetIndividual(bool individual) override;
  bool Individual() const override;
  void SetExtras(bool extras) override;
  bool Extras() const override;
  void SetProgressRange(int minimum, int maximum) override;
  void SetProgressValue(int value) override;
  void SetBusy(bool busy) override;
  void Close() override;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  QWidget* BuildFields();
  QWidget* BuildOptions();

  CommaParse presenter_;
  QLabel* file_ = nullptr;
  QLabel* target_ = nullptr;
  QListWidget* preview_ = nullptr;
  std::array<ClickableLabel*, kRecordFieldCount> links_{};
  QCheckBox* header_ = nullptr;
  QComboBox* encoding_ = nullptr;
  QLineEdit* keyword_ = nullptr;
  QRadioButton* individual_ = nullptr;
  QRadioButton* organization_ = nullptr;
  QCheckBox* extras_ = nullptr;
  QProgressBar* progress_ = nullptr;
  QPushButton* import_ = nullptr;
  QPushButton* cancel_ = nullptr;
  bool busy_ = false;
  bool closed_ = false;
  bool filling_ = false;  // set while the presenter sets a control
};

}  // namespace tabrel::gui
