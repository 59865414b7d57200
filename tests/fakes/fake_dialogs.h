#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/dialogs.h"

namespace tabrel::testing {

// Records every message box and input box, and answers from a script.
// Unscripted message boxes answer with their default (or first) button;
// unscripted input boxes are cancelled.
class FakeDialogs : public Dialogs {
 public:
  MessageAnswer Show(const Message& message) override {
    messages.push_back(message);
    const bool yes_first = message.buttons == MessageButtons::kYesNo ||
                           message.buttons == MessageButtons::kYesNoCancel;
    return Next(answers, message.default_answer.value_or(yes_first ? MessageAnswer::kYes
                                                                   : MessageAnswer::kOk));
  }
  std::optional<std::string> Input(const std::string& prompt, const std::string& title,
                                   const std::string& default_answer) override {
    inputs.push_back({prompt, title, default_answer});
    return Next(input_answers, std::optional<std::string>());
  }
  std::optional<std::string> Password(const std::string& prompt,
                                      const std::string& title) override {
    return Input(prompt, title, "");
  }

  struct InputBox {
    std::string prompt;
    std::string title;
    std::string default_answer;
  };

  std::vector<Message> messages;
  std::deque<MessageAnswer> answers;
  std::vector<InputBox> inputs;
  std::deque<std::optional<std::string>> input_answers;

 private:
  template <typename T>
  static T Next(std::deque<T>& script, T unscripted) {
    if (script.empty()) return unscripted;
    T next = script.front();
    script.pop_front();
    return next;
  }
};

}  // namespace tabrel::testing
