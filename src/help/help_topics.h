#pragma once

#include <span>
#include <string>
#include <string_view>

namespace tabrel {

// A place in the help: a whole page (empty anchor) or a section of one.
struct HelpTopic {
  std::string_view id;      // "settings.print-lines"
  std::string_view page;    // "settings.html"
  std::string_view anchor;  // "print-lines", or empty for the page's top
  std::string_view title;   // as the contents list shows it
};

inline constexpr std::string_view kHelpContentsId = "contents";

// Every topic in the order of the contents: each page, followed by its
// sections.
std::span<const HelpTopic> HelpTopics();

// The topic of that id, or nullptr.
const HelpTopic* FindHelpTopic(std::string_view id);

// "settings.html#print-lines", or "settings.html" for a page.
std::string HelpTopicUrl(const HelpTopic& topic);

}  // namespace tabrel
