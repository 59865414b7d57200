#pragma once

#include <string>

namespace tabrel {

// The help window: one window, owned by the main window, that closes with it.
class HelpViewer {
 public:
  virtual ~HelpViewer() = default;
  // Opens the help window at its contents, or brings it forward there.
  virtual void ShowContents() = 0;
  // Opens the help window at a topic (an id of help/help_topics.h).
  virtual void ShowTopic(const std::string& topic_id) = 0;
  // Closes the help window if it is open.
  virtual void Close() = 0;
};

}  // namespace tabrel
