#include "base/text.h"

namespace tabrel {

std::string_view RTrimView(std::string_view text) {
  const auto end = text.find_last_not_of(' ');
  return end == std::string_view::npos ? std::string_view() : text.substr(0, end + 1);
}

std::string_view TrimView(std::string_view text) {
  const auto begin = text.find_first_not_of(' ');
  if (begin == std::string_view::npos) return {};
  return RTrimView(text.substr(begin));
}

std::string Trim(std::string_view text) {
  return std::string(TrimView(text));
}
std::string RTrim(std::string_view text) {
  return std::string(RTrimView(text));
}

std::string Fit(std::string_view text, std::size_t width) {
  std::string out(text.substr(0, width));
  out.resize(width, ' ');
  return out;
}

bool IsBlank(std::string_view text) {
  return text.find_first_not_of(' ') == std::string_view::npos;
}

}  // namespace tabrel
