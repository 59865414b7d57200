#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/file_selector.h"

namespace tabrel::testing {

// Answers every selection with `choice` (empty: the user cancelled) and
// records where it started and with what pattern.
class FakeFileSelector : public FileSelector {
 public:
  std::optional<FileChoice> Select(const std::string& start_folder,
                                   const std::string& pattern) override {
    calls.push_back({start_folder, pattern});
    return choice;
  }

  struct Call {
    std::string start_folder;
    std::string pattern;
  };
  std::optional<FileChoice> choice;
  std::vector<Call> calls;
};

}  // namespace tabrel::testing
