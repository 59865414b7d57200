#pragma once

#include <QWidget>
#include <array>

#include "editor/contact_editor.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace tabrel::gui {

class ClickableLabel;
class GridView;

// The record editor window ContactEd: a modeless tool window of the main
// window (it stays above it, so a click into the list never hides it) that owns its
// presenter. The main window's presenter has set the editor mode, the
// duplicate flag and the stamp in the state before Open(). The window
// deletes itself (later, from the event loop) when the presenter closes it;
// Esc anywhere in it and its close button count as Cancel.
class ContactEdWidget : public QWidget, public EditorView {
  Q_OBJECT

 public:
  // `state`, `dialogs` and `clock` must outlive the window.
  ContactEdWidget(AppState& state, Dialogs& dialogs, Clock& clock, QWidget* parent = nullptr);
  ~ContactEdWidget() override;

  ContactEditor& presenter() { return presenter_; }
  // Runs Form_Load and shows the window. False when the editor closed at
  // once; the window is then on its way to deletion.
  bool Open();

  // The text boxes; NotesEd is NotesBox().
  QLineEdit* FieldBox(EditorField field) const { return boxes_[static_cast<std::size_t>(field)]; }
  QPlainTextEdit* NotesBox() const { return notes_; }
  QPlainTextEdit* ScratchPad() const { return scratch_; }
  QPushButton* Button(EditorButton button) const {
    return buttons_[static_cast<std::size_t>(button)];
  }
  QLabel* TypeLabel() const;
  QLabel* KeywordSlot(int slot) const;
  GridView* KeywordList() const { return keyword_list_; }

  // EditorView
  void SetCaption(const std::string& text) override;
  void SetFieldText(EditorField field, const std::string& text) override;
  std::string FieldText(EditorField field) const override;
  void SetTypeCaption(const std::string& text) override;
  void SetKeywordSlot(int slot, const std::string& text) override;
  void ShowScratchPad(bool visible) override;
  void Close() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void CreateControls();
  void CreateButtons();
  void KeepNotesWithinLimit();
  void SetTabOrder();
  QWidget* BuildForm();
  QWidget* BuildKeywordColumn();
  QLayout* BuildButtonRow();

  ContactEditor presenter_;
  std::array<QLineEdit*, static_cast<std::size_t>(EditorField::kCount)> boxes_{};
  std::array<QPushButton*, kEditorButtonControls.size()> buttons_{};
  std::array<ClickableLabel*, 3> slots_{};
  QPlainTextEdit* notes_ = nullptr;
  QPlainTextEdit* scratch_ = nullptr;
  QLabel* type_ = nullptr;
  QLabel* scratch_label_ = nullptr;  // SL
  QLabel* notes_label_ = nullptr;    // NL1
  GridView* keyword_list_ = nullptr;
  int notes_limit_ = 0;
  bool closed_ = false;
};

}  // namespace tabrel::gui
