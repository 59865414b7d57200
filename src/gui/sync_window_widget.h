#pragma once

#include <QDialog>

#include "platform/clock.h"
#include "sync/sync_window.h"

class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

namespace tabrel::gui {

// The "Synchronise with Server" window: modal while the sync runs, which
// lets only its Cancel button through; then the result list and Close.
class SyncWindowWidget : public QDialog, public SyncWindowView {
  Q_OBJECT

 public:
  // `state`, `dialogs`, `clock` and `host` must outlive the window.
  SyncWindowWidget(AppState& state, Dialogs& dialogs, Clock& clock, MainListHost& host,
                   QWidget* parent = nullptr);

  // Shows the window, runs the sync and waits until it is closed.
  void Open();

  QPushButton* CancelButton() const { return cancel_; }
  QPlainTextEdit* ResultList() const { return list_; }

  // SyncWindowView
  void ShowProgress(const std::string& step, std::size_t done, std::size_t total) override;
  void ShowResult(const std::string& heading, const std::vector<std::string>& lines) override;
  void OpenServerSettings() override;
  void CloseWindow() override;

 protected:
  void reject() override;

 private:
  AppState& state_;
  Dialogs& dialogs_;
  SyncWindow presenter_;
  QLabel* step_ = nullptr;
  QProgressBar* progress_ = nullptr;
  QPlainTextEdit* list_ = nullptr;
  QPushButton* cancel_ = nullptr;
};

}  // namespace tabrel::gui
