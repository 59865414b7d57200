#include "help/help_menu.h"

#include <optional>
#include <string>

#include "contact/hand_off.h"
#include "present/product.h"

namespace tabrel {

HelpMenu::HelpMenu(AppState& state, Dialogs& dialogs, HelpViewer& help, Shell& shell)
    : state_(state), dialogs_(dialogs), help_(help), shell_(shell) {}

void HelpMenu::mu_HelpContents_Click() {
  help_.ShowContents();
}

void HelpMenu::mu_DunWeb_Click() {
  if (dialogs_.Show({"Go to the Tabrel home page, " + std::string(kMakerHomePage) + " ?",
                     "Visit Website!",
                     MessageIcon::kQuestion,
                     MessageButtons::kYesNo,
                     {}}) != MessageAnswer::kYes) {
    return;
  }
  // The same road as "Visit Website" for a record's address.
  if (std::optional<HandOffRequest> request =
          WebHandOff(dialogs_, state_.settings.Browser, kMakerHomePage)) {
    HandOff(shell_, dialogs_, *request);
  }
}

void HelpMenu::mu_HelpAbout_Click() {
  dialogs_.Show(
      {std::string(kAboutText), "Tabrel", MessageIcon::kInformation, MessageButtons::kOk, {}});
}

}  // namespace tabrel
