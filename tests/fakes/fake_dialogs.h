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
    if (!answers.empty()) {
      const MessageAnswer answer = answers.front();
      answers.pop_front();
      return answer;
    }
    if (message.default_answer) return *message.default_answer;
    switch (message.buttons) {
      case MessageButtons::kYesNo:
      case MessageButtons::kYesNoCancel:
        return MessageAnswer::kYes;
      default:
        return MessageAnswer::kOk;
    }
  }

  std::optional<std::string> Input(const std::string& prompt, const std::string& title,
                                   const std::string& default_answer) override {
    inputs.push_back({prompt, title, default_answer});
    if (input_answers.empty()) return std::nullopt;
    auto answer = input_answers.front();
    input_answers.pop_front();
    return answer;
  }

  struct InputCall {
    std::string prompt;
    std::string title;
    std::string default_answer;
  };

  std::vector<Message> messages;
  std::deque<MessageAnswer> answers;
  std::vector<InputCall> inputs;
  std::deque<std::optional<std::string>> input_answers;
};

}  // namespace tabrel::testing
