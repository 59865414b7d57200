#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/dialogs.h"
#include "present/main_list_host.h"
#include "store/app_state.h"
#include "sync/sync_job.h"

namespace tabrel {

// What the sync window's presenter asks of its window. Texts are UTF-8.
class SyncWindowView {
 public:
  virtual ~SyncWindowView() = default;
  // Shows the step and moves the progress bar; lets the Cancel button be
  // pressed while a sync runs.
  virtual void ShowProgress(const std::string& step, std::size_t done, std::size_t total) = 0;
  // Ends the run: `heading` over the stopped progress bar ("Done." only for
  // a sync that finished), the result list shown, Cancel turned into Close.
  virtual void ShowResult(const std::string& heading, const std::vector<std::string>& lines) = 0;
  virtual void OpenServerSettings() = 0;
  virtual void CloseWindow() = 0;
};

// The sync as the window runs it; RunSyncJob in the program.
using SyncRun = std::function<Result<SyncReport>(const SyncOptions& options, SyncObserver* observer,
                                                 const AskPassword& ask)>;

// "Synchronise with Server": one run of the sync with progress, Cancel
// between requests, the password asked when carddav.ini names no command,
// and a question before a mass deletion.
class SyncWindow : public SyncObserver {
 public:
  SyncWindow(AppState& state, Dialogs& dialogs, MainListHost& host, SyncWindowView& view,
             SyncRun run)
      : state_(state), dialogs_(dialogs), host_(host), view_(view), run_(std::move(run)) {}

  // The window opened: without a server named, the server settings instead.
  void Form_Load();
  // The user pressed Cancel (while it runs) or Close (after it ran).
  void Cancel_Click();

  void Progress(std::string_view step, std::size_t done, std::size_t total) override;
  bool Cancelled() override { return cancelled_; }

 private:
  void Run();
  Result<std::string> Ask(const SyncConfig& config);

  AppState& state_;
  Dialogs& dialogs_;
  MainListHost& host_;
  SyncWindowView& view_;
  SyncRun run_;
  std::optional<std::string> password_;  // in memory only, for this window
  bool running_ = false;
  bool cancelled_ = false;
};

}  // namespace tabrel
