#pragma once

#include <optional>
#include <string>

#include "platform/file_selector.h"

namespace tabrel::testing {

// Answers every selection with `choice`; empty means the user cancelled.
class FakeFileSelector : public FileSelector {
 public:
  std::optional<FileChoice> Select(const std::string&, const std::string&) override {
    return choice;
  }
  std::optional<FileChoice> choice;
};

}  // namespace tabrel::testing
