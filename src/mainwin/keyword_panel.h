#pragma once

#include <string>
#include <string_view>

#include "base/status.h"
#include "mainwin/main_view.h"
#include "platform/dialogs.h"
#include "present/main_list_host.h"
#include "store/app_state.h"
#include "store/atomic_file.h"

namespace tabrel {

// Keyword maintenance on the main window: the keyword edit frame with its
// Save and Cancel, and the Add, Change and Delete menu items. Every change
// is written to the data set at once; the lists are refilled through `host`.
class KeywordPanel {
 public:
  KeywordPanel(AppState& state, MainView& view, Dialogs& dialogs, MainListHost& host);

  // Keywords > Add New Keyword.
  void mu_NewKey_Click();
  // Keywords > Change Keyword, on the keyword last double-clicked.
  void mu_changeKey_Click();
  // Keywords > Delete Keyword, on the keyword last double-clicked.
  void mu_deleteKey_Click();
  // Save in the keyword edit frame (or Enter in its text box).
  void KeySave_Click();
  // Cancel in the keyword edit frame.
  void KeyCancel_Click();

  bool frame_visible() const { return frame_visible_; }

 private:
  // What Save does with the text: add it, or rename the keyword Change
  // was started on.
  enum class EditMode { kAdd, kChange };

  void ShowFrame(bool visible);
  // Reports a failed file access; true when `status` is a failure.
  bool Report(const Status& status, std::string_view consequence);
  // Report for a change of keyword.dat and tabrel.dat made as one.
  bool Report(const GroupCommit& commit, std::string_view consequence);
  std::string CurrentKeyword() const;

  AppState& state_;
  MainView& view_;
  Dialogs& dialogs_;
  MainListHost& host_;
  bool frame_visible_ = false;
  EditMode edit_mode_ = EditMode::kAdd;
  std::string old_keyword_;  // trimmed, Windows-1252
};

}  // namespace tabrel
