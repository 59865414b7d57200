#pragma once

#include <string>
#include <vector>

#include "platform/help_viewer.h"

namespace tabrel::testing {

// Records the topics asked for; "contents" for ShowContents.
class FakeHelp : public HelpViewer {
 public:
  void ShowContents() override { shown.push_back("contents"); }
  void ShowTopic(const std::string& topic_id) override { shown.push_back(topic_id); }
  void Close() override { ++closed; }

  std::vector<std::string> shown;
  int closed = 0;
};

}  // namespace tabrel::testing
