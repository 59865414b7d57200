#include "gui/sync_window_widget.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "gui/server_settings_widget.h"

namespace tabrel::gui {

SyncWindowWidget::SyncWindowWidget(AppState& state, Dialogs& dialogs, Clock& clock,
                                   MainListHost& host, QWidget* parent)
    : QDialog(parent),
      state_(state),
      dialogs_(dialogs),
      presenter_(state, dialogs, host, *this,
                 [&state, &clock](const SyncOptions& options, SyncObserver* observer,
                                  const AskPassword& ask) {
                   return RunSyncJob(state, clock, options, observer, ask);
                 }) {
  setWindowTitle(tr("Synchronise with Server"));
  setAccessibleName(tr("Synchronise with Server"));
  step_ = new QLabel(tr("Connecting to the server..."), this);
  progress_ = new QProgressBar(this);
  progress_->setAccessibleName(tr("Sync progress"));
  progress_->setRange(0, 0);
  list_ = new QPlainTextEdit(this);
  list_->setObjectName(QStringLiteral("SyncResult"));
  list_->setReadOnly(true);
  list_->setAccessibleName(tr("Sync result"));
  list_->setMinimumSize(420, 200);
  cancel_ = new QPushButton(tr("Cancel"), this);
  cancel_->setObjectName(QStringLiteral("SyncCancel"));
  cancel_->setAccessibleName(tr("Cancel"));
  connect(cancel_, &QPushButton::clicked, this, [this] { presenter_.Cancel_Click(); });
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(cancel_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(step_);
  layout->addWidget(progress_);
  layout->addWidget(list_);
  layout->addLayout(buttons);
}

void SyncWindowWidget::Open() {
  QTimer::singleShot(0, this, [this] { presenter_.Form_Load(); });
  exec();
}

void SyncWindowWidget::ShowProgress(const std::string& step, std::size_t done, std::size_t total) {
  step_->setText(QString::fromStdString(step));
  progress_->setRange(0, static_cast<int>(total));
  progress_->setValue(static_cast<int>(done));
  // The sync runs here, between requests: the window stays drawn and its
  // Cancel button pressable (the window is modal, so nothing else is).
  QCoreApplication::processEvents();
}

void SyncWindowWidget::ShowResult(const std::string& heading,
                                  const std::vector<std::string>& lines) {
  step_->setText(QString::fromStdString(heading));
  progress_->setRange(0, 1);
  progress_->setValue(1);
  QString text;
  for (const std::string& line : lines) text += QString::fromUtf8(line) + u'\n';
  list_->setPlainText(text);
  cancel_->setText(tr("Close"));
  cancel_->setAccessibleName(tr("Close"));
  cancel_->setFocus();
}

void SyncWindowWidget::OpenServerSettings() {
  ServerSettingsWidget settings(state_, dialogs_, parentWidget());
  settings.Open();
}

void SyncWindowWidget::CloseWindow() {
  // Before the window shows, Form_Load may close it at once.
  QTimer::singleShot(0, this, &QDialog::accept);
}

void SyncWindowWidget::reject() {
  // Esc and the close button count as Cancel (or Close once it ran).
  presenter_.Cancel_Click();
}

}  // namespace tabrel::gui
