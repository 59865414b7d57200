#include "base/text_lines.h"

#include <cstring>

namespace tabrel {

std::size_t FindLineEnd(std::string_view text, std::size_t from) {
  // Two scans for one character each: find_first_of looks every character
  // up in its set with a call of its own, several times slower on files of
  // megabytes.
  if (from >= text.size()) return std::string_view::npos;
  const char* start = text.data() + from;
  const std::size_t left = text.size() - from;
  const void* lf = std::memchr(start, '\n', left);
  const std::size_t before_lf =
      lf == nullptr ? left : static_cast<std::size_t>(static_cast<const char*>(lf) - start);
  const void* cr = std::memchr(start, '\r', before_lf);
  if (cr != nullptr) return from + static_cast<std::size_t>(static_cast<const char*>(cr) - start);
  return lf == nullptr ? std::string_view::npos : from + before_lf;
}

bool LineReader::Next(std::string_view& line) {
  if (at_ >= text_.size()) return false;
  start_ = at_;
  const std::size_t end = FindLineEnd(text_, at_);
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
