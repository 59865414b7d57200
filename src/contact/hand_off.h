#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/dialogs.h"
#include "platform/shell.h"

namespace tabrel {

// One hand-off of an address to another program: the program named in the
// settings gets `argument` as one word after the setting's own words; with
// no program set, the desktop opens `url`. Texts are UTF-8.
struct HandOffRequest {
  std::string program_setting;  // as stored (Windows-1252), blank: the desktop
  std::string program_kind;     // "web browser", "e-mail program", ...
  std::string argument;
  std::string url;
  // The last line of the message when the desktop has no program for `url`.
  std::string desktop_advice;
};

// Performs the hand-off. Every failure becomes an "Error!" message naming
// the program or the URL; true when the address was handed on.
bool HandOff(Shell& shell, Dialogs& dialogs, const HandOffRequest& request);

// The hand-off of a web address to the browser of the settings or the
// desktop, or nothing after telling the user why the address is refused
// (it would read as an option, or, for the desktop, it is not an http or
// https address).
std::optional<HandOffRequest> WebHandOff(Dialogs& dialogs, const std::string& browser_setting,
                                         std::string_view web);

// Tells the user that a field was not handed on, and why.
void ShowRefusal(Dialogs& dialogs, const std::string& text);

// The sentence for a field that starts with "-"; `what` names the field.
std::string OptionRefusal(std::string_view what, std::string_view text);

}  // namespace tabrel
