#pragma once

#include <string>

#include "mainwin/main_view.h"
#include "platform/platform.h"
#include "store/app_state.h"

namespace tabrel {

class MainWindow;

// The record view panel over the record list: one record in full, read
// afresh from the file by the key of the list's current row; stepping
// through the list, copying to the clipboard and printing.
class ViewPanel {
 public:
  ViewPanel(AppState& state, MainView& view, Platform& platform, MainWindow& main);

  // Shows the record of the record list's current row.
  void ShowCurrentRow();
  void ViewNext_Click();
  void ViewBack_Click();
  void CloseView_Click();
  void EditView_Click();
  void ViewCopyAddress_Click();
  void ViewCopyAll_Click();
  void ViewEmail_dblClick();
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
  MainWindow& main_;
  bool visible_ = false;
};

// "Public, Individual" .. "Personal, Organization" for "1".."4", else empty.
std::string TypeCaption(const std::string& rec_type);

}  // namespace tabrel
