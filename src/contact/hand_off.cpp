#include "contact/hand_off.h"

#include "base/codec.h"
#include "base/command_line.h"
#include "base/text.h"
#include "contact/contact_urls.h"

namespace tabrel {
namespace {

void ShowError(Dialogs& dialogs, const std::string& text) {
  dialogs.Show({text, "Error!", MessageIcon::kExclamation, MessageButtons::kOk, {}});
}

}  // namespace

bool HandOff(Shell& shell, Dialogs& dialogs, const HandOffRequest& request) {
  const std::string program = DecodeCp1252(Trim(request.program_setting));
  if (program.empty()) {
    if (Status opened = shell.OpenUrl(request.url); !opened.ok()) {
      ShowError(dialogs, "No program could open " + request.url + ":\r\n" + opened.description() +
                             "\r\n" + request.desktop_advice);
      return false;
    }
    return true;
  }
  std::vector<std::string> argv = SplitCommandLine(program);
  if (argv.empty()) argv.push_back(program);
  argv.push_back(request.argument);
  if (Status started = shell.StartProgram(argv); !started.ok()) {
    ShowError(dialogs, "The " + request.program_kind + " could not be started:\r\n" + argv.front() +
                           "\r\n" + started.description() + "\r\nCheck its program in Settings.");
    return false;
  }
  return true;
}

std::optional<HandOffRequest> WebHandOff(Dialogs& dialogs, const std::string& browser_setting,
                                         std::string_view web) {
  if (LooksLikeOption(web)) {
    ShowRefusal(dialogs, OptionRefusal("web address", web));
    return std::nullopt;
  }
  DesktopUrl url = WebUrl(web);
  // Only the desktop's default program is kept to http and https: a browser
  // named in the settings gets any address as typed, as the user chose it.
  if (!url.refusal.empty() && IsBlank(browser_setting)) {
    ShowRefusal(dialogs, url.refusal);
    return std::nullopt;
  }
  return HandOffRequest{browser_setting, "web browser", std::string(TrimView(web)),
                        std::move(url.url), "Name a web browser in Settings."};
}

void ShowRefusal(Dialogs& dialogs, const std::string& text) {
  dialogs.Show({text, "Attention!", MessageIcon::kExclamation, MessageButtons::kOk, {}});
}

std::string OptionRefusal(std::string_view what, std::string_view text) {
  return "The " + std::string(what) + " \"" + std::string(TrimView(text)) +
         "\" starts with \"-\", which a program would take for an option, so it was not "
         "handed on. Correct it in the record.";
}

}  // namespace tabrel
