#pragma once

#include <optional>
#include <string>

namespace tabrel {

enum class MessageIcon { kNone, kCritical, kQuestion, kExclamation, kInformation };
enum class MessageButtons { kOk, kOkCancel, kYesNo, kYesNoCancel };
enum class MessageAnswer { kOk, kCancel, kYes, kNo };

struct Message {
  std::string text;   // UTF-8; line breaks as "\r\n" or "\n"
  std::string title;  // UTF-8
  MessageIcon icon = MessageIcon::kNone;
  MessageButtons buttons = MessageButtons::kOk;
  // The button that Enter presses; empty means the first one.
  std::optional<MessageAnswer> default_answer;
  // Texts for the Yes, No and Cancel buttons, when the answers name choices
  // ("vCard 3.0", "vCard 4.0", "Cancel"); empty ones keep their own.
  std::string yes_text = {};
  std::string no_text = {};
};

// Modal message boxes and input boxes. Texts cross this interface as UTF-8;
// presenters convert stored Windows-1252 text before they show it.
class Dialogs {
 public:
  virtual ~Dialogs() = default;
  virtual MessageAnswer Show(const Message& message) = 0;
  // An input box; empty when the user cancels.
  virtual std::optional<std::string> Input(const std::string& prompt, const std::string& title,
                                           const std::string& default_answer) = 0;
  // A masked input box for a password, never kept; empty when the user
  // cancels or nobody can be asked.
  virtual std::optional<std::string> Password(const std::string& /*prompt*/,
                                              const std::string& /*title*/) {
    return std::nullopt;
  }
};

}  // namespace tabrel
