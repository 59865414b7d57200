#include "gui/server_settings_widget.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace tabrel::gui {
namespace {

QLineEdit* Edit(QWidget* parent, const QString& name) {
  auto* edit = new QLineEdit(parent);
  edit->setAccessibleName(name);
  edit->setMinimumWidth(320);
  return edit;
}

std::string Text(const QLineEdit* edit) {
  return edit->text().trimmed().toStdString();
}

}  // namespace

ServerSettingsWidget::ServerSettingsWidget(AppState& state, Dialogs& dialogs, QWidget* parent)
    : QDialog(parent), presenter_(state, dialogs, secrets_, *this) {
  setWindowTitle(tr("Server Settings"));
  setAccessibleName(tr("Server Settings"));
  url_ = Edit(this, tr("Server address"));
  user_ = Edit(this, tr("User name"));
  addressbook_ = Edit(this, tr("Address book"));
  ask_ = new QRadioButton(tr("As&k for the password at each sync"), this);
  command_ = new QRadioButton(tr("Take it from the &output of this command:"), this);
  password_command_ = Edit(this, tr("Password command"));
  secret_store_ =
      new QRadioButton(tr("Keep it in the desktop's &secret store (give it to change it):"), this);
  password_ = Edit(this, tr("Password for the secret store"));
  password_->setEchoMode(QLineEdit::Password);
  plain_http_ = new QCheckBox(tr("Allow plain &http (the password travels readable)"), this);
  connect(command_, &QRadioButton::toggled, password_command_, &QWidget::setEnabled);
  connect(secret_store_, &QRadioButton::toggled, password_, &QWidget::setEnabled);
  auto* form = new QFormLayout;
  form->addRow(tr("Server &address:"), url_);
  form->addRow(tr("&User name:"), user_);
  form->addRow(tr("Address &book:"), addressbook_);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Save | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, [this] { presenter_.Save_Click(); });
  connect(buttons, &QDialogButtonBox::rejected, this, [this] { presenter_.Cancel_Click(); });
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(ask_);
  layout->addWidget(command_);
  layout->addWidget(password_command_);
  layout->addWidget(secret_store_);
  layout->addWidget(password_);
  layout->addWidget(plain_http_);
  layout->addWidget(buttons);
}

void ServerSettingsWidget::Open() {
  presenter_.Form_Load();
  exec();
}

void ServerSettingsWidget::SetFields(const ServerSettingsFields& fields) {
  url_->setText(QString::fromStdString(fields.url));
  user_->setText(QString::fromStdString(fields.user));
  addressbook_->setText(QString::fromStdString(fields.addressbook));
  QRadioButton* source = fields.source == PasswordSource::kCommand       ? command_
                         : fields.source == PasswordSource::kSecretStore ? secret_store_
                                                                         : ask_;
  source->setChecked(true);
  password_command_->setText(QString::fromStdString(fields.password_command));
  password_command_->setEnabled(source == command_);
  password_->clear();
  password_->setEnabled(source == secret_store_);
  plain_http_->setChecked(fields.allow_plain_http);
}

ServerSettingsFields ServerSettingsWidget::Fields() const {
  ServerSettingsFields fields;
  fields.url = Text(url_);
  fields.user = Text(user_);
  fields.addressbook = Text(addressbook_);
  fields.source = command_->isChecked()        ? PasswordSource::kCommand
                  : secret_store_->isChecked() ? PasswordSource::kSecretStore
                                               : PasswordSource::kAsk;
  fields.password_command = Text(password_command_);
  // Blanks may belong to a password.
  fields.password = password_->text().toStdString();
  fields.allow_plain_http = plain_http_->isChecked();
  return fields;
}

}  // namespace tabrel::gui
