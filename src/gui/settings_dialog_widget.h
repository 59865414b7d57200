#pragma once

#include <QDialog>
#include <array>
#include <initializer_list>
#include <string>

#include "settings/settings_dialog.h"

class QCheckBox;
class QKeyEvent;
class QLineEdit;
class QPushButton;

namespace tabrel::gui {

// The modeless settings dialog. It owns its presenter; Open() reloads the
// stored settings into the boxes, Save and Cancel go to the presenter, and
// Esc or the window's close button count as Cancel.
class SettingsDialogWidget : public QDialog, public SettingsView {
  Q_OBJECT

 public:
  SettingsDialogWidget(AppState& state, Dialogs& dialogs, HelpViewer& help,
                       QWidget* parent = nullptr);

  SettingsDialog& presenter() { return presenter_; }
  // Loads and shows the dialog.
  void Open();

  QLineEdit* TextBox(SettingsText id) const { return texts_[static_cast<std::size_t>(id)]; }
  QCheckBox* CheckBox(SettingsCheck id) const { return checks_[static_cast<std::size_t>(id)]; }
  QPushButton* SaveButton() const { return save_; }
  QPushButton* CancelButton() const { return cancel_; }

  // SettingsView
  void Fill(const SettingsForm& form) override;
  SettingsForm Read() const override;
  void SetText(SettingsText id, const std::string& text) override;
  void CloseDialog() override;

 public slots:
  void reject() override;

 protected:
  // F1: the help for the box with the focus.
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void CreateControls();
  QPushButton* NewButton(const QString& caption, const char* name, const QString& tooltip);
  QWidget* BuildPathGroup();
  QWidget* BuildGroup(const QString& title, std::initializer_list<SettingsText> ids);
  QWidget* BuildFullRecordGroup();

  SettingsDialog presenter_;
  std::array<QLineEdit*, static_cast<std::size_t>(SettingsText::kCount)> texts_{};
  std::array<QCheckBox*, static_cast<std::size_t>(SettingsCheck::kCount)> checks_{};
  QPushButton* use_current1_ = nullptr;
  QPushButton* use_current2_ = nullptr;
  QPushButton* save_ = nullptr;
  QPushButton* cancel_ = nullptr;
};

}  // namespace tabrel::gui
