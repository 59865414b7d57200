#include "help/help_pages.h"

namespace tabrel {

std::optional<std::string_view> HelpPage(std::string_view name) {
  for (const HelpPageFile& page : HelpPageFiles()) {
    if (page.name == name) return page.html;
  }
  return std::nullopt;
}

}  // namespace tabrel
