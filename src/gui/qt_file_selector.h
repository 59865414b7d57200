#pragma once

#include "platform/file_selector.h"

namespace tabrel::gui {

// The file selector as a modal FileSelectorDialog over the active window.
class QtFileSelector : public FileSelector {
 public:
  std::optional<FileChoice> Select(const std::string& start_folder, const std::string& pattern,
                                   const std::string& caption) override;
};

}  // namespace tabrel::gui
