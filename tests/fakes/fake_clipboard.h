#pragma once

#include <string>

#include "platform/clipboard.h"

namespace tabrel::testing {

class FakeClipboard : public Clipboard {
 public:
  void Clear() override { text.clear(); }
  void SetText(const std::string& value) override { text = value; }
  std::string text;
};

}  // namespace tabrel::testing
