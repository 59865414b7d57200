#pragma once

#include <string_view>

#include "platform/dialogs.h"
#include "platform/help_viewer.h"
#include "platform/shell.h"
#include "store/app_state.h"

namespace tabrel {

inline constexpr std::string_view kAboutText =
    "Tabrel 3.0 (release #1)\r\nAn address book for the Linux desktop. MIT licence.";

// The main window's Help menu.
class HelpMenu {
 public:
  HelpMenu(AppState& state, Dialogs& dialogs, HelpViewer& help, Shell& shell);

  // "Contents" (F1, toolbar "Help"): the help window at its contents.
  void mu_HelpContents_Click();
  // "Visit Dunmarrow on the Web": offers the maker's site to the browser.
  void mu_DunWeb_Click();
  // "About Tabrel".
  void mu_HelpAbout_Click();

 private:
  AppState& state_;
  Dialogs& dialogs_;
  HelpViewer& help_;
  Shell& shell_;
};

}  // namespace tabrel
