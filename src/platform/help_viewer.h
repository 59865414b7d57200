#pragma once

#include <string>

namespace tabrel {

// The help window. Set up at start-up and closed with the main window.
class HelpViewer {
 public:
  virtual ~HelpViewer() = default;
  virtual void SetHelpFile(const std::string& file_name) = 0;
  virtual void Close() = 0;
};

}  // namespace tabrel
