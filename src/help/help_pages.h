#pragma once

#include <optional>
#include <span>
#include <string_view>

namespace tabrel {

// A help page compiled into the program from src/help/pages/.
struct HelpPageFile {
  std::string_view name;  // "contact.html"
  std::string_view html;  // UTF-8
};

// Every help page, in file-name order.
std::span<const HelpPageFile> HelpPageFiles();

// The page of that name, or nothing.
std::optional<std::string_view> HelpPage(std::string_view name);

}  // namespace tabrel
