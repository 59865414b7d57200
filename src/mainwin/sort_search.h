#pragma once

#include "mainwin/main_view.h"
#include "platform/dialogs.h"
#include "present/main_list_host.h"
#include "store/app_state.h"
#include "store/file_reader.h"

namespace tabrel {

// Sorting the contact file into name order, and narrowing the record list
// to the records that contain a word.
class SortSearch {
 public:
  SortSearch(AppState& state, MainView& view, Dialogs& dialogs, MainListHost& host);

  // File > Sort the Current Data Set.
  void mu_Sort_Click();
  // Filter > Search current list for a word (F6).
  void mu_WordSearchCurrent_Click();

 private:
  AppState& state_;
  MainView& view_;
  Dialogs& dialogs_;
  MainListHost& host_;
  ReadBuffer sort_buffer_;  // kept from one sort to the next
};

}  // namespace tabrel
