#include "base/text_lines.h"

namespace tabrel {

bool LineReader::Next(std::string_view& line) {
  if (at_ >= text_.size()) return false;
  start_ = at_;
  const std::size_t end = text_.find_first_of("\r\n", at_);
  if (end == std::string_view::npos) {
    line = text_.substr(at_);
    at_ = text_.size();
  } else {
    line = text_.substr(at_, end - at_);
    at_ = end + 1;
    if (text_[end] == '\r' && at_ < text_.size() && text_[at_] == '\n') ++at_;
  }
  ++number_;
  return true;
}

}  // namespace tabrel
