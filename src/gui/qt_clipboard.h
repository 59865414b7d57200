#pragma once

#include "platform/clipboard.h"

namespace tabrel::gui {

// The desktop clipboard, as plain Unicode text.
class QtClipboard : public Clipboard {
 public:
  void Clear() override;
  void SetText(const std::string& text) override;
};

}  // namespace tabrel::gui
