#pragma once

#include <string>

#include "base/status.h"
#include "mainwin/main_view.h"
#include "platform/dialogs.h"
#include "store/app_state.h"
#include "store/atomic_file.h"

namespace tabrel {

class MainWindow;

// Keyword maintenance on the main window: the keyword edit frame with its
// Save and Cancel, and the Add, Change and Delete menu items. Every change
// is written to the data set at once.
class KeywordPanel {
 public:
  KeywordPanel(AppState& state, MainView& view, Dialogs& dialogs, MainWindow& main);

  void mu_NewKey_Click();
  void mu_changeKey_Click();
  void mu_deleteKey_Click();
  void KeySave_Click();
  void KeyCancel_Click();

  bool frame_visible() const { return frame_visible_; }

  static constexpr int kAddMode = 0;
  static constexpr int kChangeMode = 2;

 private:
  void ShowFrame(bool visible);
  bool Report(const Status& status, const std::string& consequence);
  // Report for a change of keyword.dat and tabrel.dat made as one.
  bool Report(const GroupCommit& commit, const std::string& consequence);
  std::string CurrentKeyword() const;

  AppState& state_;
  MainView& view_;
  Dialogs& dialogs_;
  MainWindow& main_;
  bool frame_visible_ = false;
  int edit_mode_ = kAddMode;
  std::string old_keyword_;  // trimmed, Windows-1252
};

}  // namespace tabrel
