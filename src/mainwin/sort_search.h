#pragma once

#include "mainwin/main_view.h"
#include "platform/dialogs.h"
#include "store/app_state.h"
#include "store/file_reader.h"

namespace tabrel {

class MainWindow;

// Sorting the contact file into name order, and narrowing the record list
// to the records that contain a word.
class SortSearch {
 public:
  SortSearch(AppState& state, MainView& view, Dialogs& dialogs, MainWindow& main);

  void mu_Sort_Click();
  void mu_WordSearchCurrent_Click();

 private:
  AppState& state_;
  MainView& view_;
  Dialogs& dialogs_;
  MainWindow& main_;
  ReadBuffer sort_buffer_;  // kept from one sort to the next
};

}  // namespace tabrel
