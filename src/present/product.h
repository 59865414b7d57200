#pragma once

#include <string_view>

namespace tabrel {

// The maker's web site: the HTML report's footer links to it and the Help
// menu offers to visit it.
inline constexpr std::string_view kMakerHomePage = "https://tabrel.example.org/";

}  // namespace tabrel
