#pragma once

#include <string>

#include "mainwin/main_view.h"
#include "platform/platform.h"
#include "present/main_list_host.h"
#include "store/app_state.h"

namespace tabrel {

// The record view panel over the record list: one record in full, read
// afresh from the file by the key of the list's current row; stepping
// through the list, copying to the clipboard and printing.
class ViewPanel {
 public:
  ViewPanel(AppState& state, MainView& view, Platform& platform, MainListHost& host);

  // Shows the record of the record list's current row (a row was
  // double-clicked).
  void ShowCurrentRow();
  // Next > (or "."): the record of the next row, the first after the last.
  void ViewNext_Click();
  // < Back (or ","): the record of the row before, the last before the first.
  void ViewBack_Click();
  // Close (or Esc).
  void CloseView_Click();
  // Edit: the record editor on the shown record.
  void EditView_Click();
  // Clip Address: the mailing address to the clipboard, and maybe the printer.
  void ViewCopyAddress_Click();
  // Clip All: the full record to the clipboard, and maybe the printer.
  void ViewCopyAll_Click();
  // The e-mail address is double-clicked: it goes to the clipboard.
  void ViewEmail_dblClick();
  // The web address is double-clicked: it goes to the clipboard.
  void ViewWeb_dblClick();

  bool visible() const { return visible_; }
  // Hides the panel without touching the list (keyword selection, Display All).
  void Hide();

  // The panel's texts for a record.
  static ViewPanelContent ContentOf(const ContactRecord& record);

 private:
  void CopyAndOfferPrint(const std::string& block, const std::string& title);

  AppState& state_;
  MainView& view_;
  Platform& platform_;
  MainListHost& host_;
  bool visible_ = false;
};

// "Public, Individual" .. "Personal, Organization" for "1".."4", else empty.
std::string TypeCaption(const std::string& rec_type);

}  // namespace tabrel
