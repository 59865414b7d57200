#pragma once

#include <string>

#include "platform/help_viewer.h"

namespace tabrel::testing {

class FakeHelp : public HelpViewer {
 public:
  void SetHelpFile(const std::string& file_name) override { help_file = file_name; }
  void Close() override {}
  std::string help_file;
};

}  // namespace tabrel::testing
