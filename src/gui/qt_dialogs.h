#pragma once

#include "platform/dialogs.h"

class QWidget;

namespace tabrel::gui {

// Message boxes and input boxes, modal to the active window.
class QtDialogs : public Dialogs {
 public:
  MessageAnswer Show(const Message& message) override;
  std::optional<std::string> Input(const std::string& prompt, const std::string& title,
                                   const std::string& default_answer) override;
  std::optional<std::string> Password(const std::string& prompt, const std::string& title) override;
};

}  // namespace tabrel::gui
