#pragma once

#include <QDialog>

#include "sync/libsecret_store.h"
#include "sync/server_settings.h"

class QCheckBox;
class QLineEdit;
class QRadioButton;

namespace tabrel::gui {

// The "Server Settings" window: the address book carddav.ini names.
class ServerSettingsWidget : public QDialog, public ServerSettingsView {
  Q_OBJECT

 public:
  ServerSettingsWidget(AppState& state, Dialogs& dialogs, QWidget* parent = nullptr);

  // Runs Form_Load and waits until the window is closed.
  void Open();

  // ServerSettingsView
  void SetFields(const ServerSettingsFields& fields) override;
  ServerSettingsFields Fields() const override;
  void CloseWindow() override { accept(); }

 private:
  LibsecretStore secrets_;  // before the presenter, which holds it
  ServerSettings presenter_;
  QLineEdit* url_ = nullptr;
  QLineEdit* user_ = nullptr;
  QLineEdit* addressbook_ = nullptr;
  QRadioButton* ask_ = nullptr;
  QRadioButton* command_ = nullptr;
  QLineEdit* password_command_ = nullptr;
  QRadioButton* secret_store_ = nullptr;
  QLineEdit* password_ = nullptr;
  QCheckBox* plain_http_ = nullptr;
};

}  // namespace tabrel::gui
