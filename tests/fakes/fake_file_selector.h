#pragma once

#include <optional>
#include <string>

#include "platform/file_selector.h"

namespace tabrel::testing {

// Answers every selection with `choice`; empty means the user cancelled.
// Remembers what the last selection asked for.
class FakeFileSelector : public FileSelector {
 public:
  std::optional<FileChoice> Select(const std::string& start, const std::string& file_pattern,
                                   const std::string& window_caption) override {
    start_folder = start;
    pattern = file_pattern;
    caption = window_caption;
    return choice;
  }
  std::optional<FileChoice> choice;
  std::string start_folder;
  std::string pattern;
  std::string caption;
};

}  // namespace tabrel::testing
