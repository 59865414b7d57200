#include "sync/sync_window.h"

#include "base/codec.h"
#include "sync/carddav_client.h"

namespace tabrel {
namespace {

constexpr const char* kTitle = "Synchronise with Server";

}  // namespace

void SyncWindow::Form_Load() {
  auto config = SyncConfig::Read(state_);
  if (!config.ok()) {
    dialogs_.Show({config.status().description() + ".",
                   kTitle,
                   MessageIcon::kExclamation,
                   MessageButtons::kOk,
                   {}});
    view_.CloseWindow();
    return;
  }
  if (!config.value().configured()) {
    view_.CloseWindow();
    view_.OpenServerSettings();
    return;
  }
  Run();
}

void SyncWindow::Run() {
  running_ = true;
  cancelled_ = false;
  SyncOptions options;
  auto ask = [this](const SyncConfig& config) { return Ask(config); };
  auto report = run_(options, this, ask);
  if (!report.ok() && report.status().number() == kSyncMassDelete && !cancelled_) {
    const MessageAnswer answer =
        dialogs_.Show({report.status().description() + ".\r\nDelete them all the same?", kTitle,
                       MessageIcon::kQuestion, MessageButtons::kYesNo, MessageAnswer::kNo});
    if (answer == MessageAnswer::kYes) {
      options.allow_mass_delete = true;
      report = run_(options, this, ask);
    }
  }
  running_ = false;
  if (!report.ok()) {
    view_.ShowResult("The sync did not finish.",
                     {DecodeCp1252(report.status().description()) + "."});
    return;
  }
  // Records came, went or changed: both lists show the data set as it is now.
  host_.mu_DisplayAll_Click();
  // Names in the lines are record text.
  std::vector<std::string> lines;
  for (const std::string& line : ReportLines(report.value(), false)) {
    lines.push_back(DecodeCp1252(line));
  }
  view_.ShowResult("Done.", lines);
}

Result<std::string> SyncWindow::Ask(const SyncConfig& config) {
  // Asked once per window: a run again after the mass-deletion question
  // takes the same.
  if (password_) return *password_;
  auto password =
      dialogs_.Password("Password of " + config.user + " on " + config.url + ":", kTitle);
  if (!password)
    return Status::Error(kSyncError, "No password was given, so the sync did not start");
  password_ = std::move(password);
  return *password_;
}

void SyncWindow::Cancel_Click() {
  if (running_) {
    cancelled_ = true;
    return;
  }
  view_.CloseWindow();
}

void SyncWindow::Progress(std::string_view step, std::size_t done, std::size_t total) {
  view_.ShowProgress(std::string(step), done, total);
}

}  // namespace tabrel
