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

LineReader::LineReader(std::string_view text, LoneCr lone_cr)
    : text_(text),
      lf_only_(lone_cr == LoneCr::kKeptWhereLfEndsLines &&
               text.find('\n') != std::string_view::npos) {}

void LineReader::Scan() {
  scanned_for_ = at_;
  if (lf_only_) {
    const std::size_t end = FindByte(text_, '\n', at_);
    line_ = text_.substr(at_, end == std::string_view::npos ? std::string_view::npos : end - at_);
    after_ = end == std::string_view::npos ? text_.size() : end + 1;
    while (!line_.empty() && line_.back() == '\r') line_.remove_suffix(1);
    return;
  }
  const std::size_t end = FindLineEnd(text_, at_);
  if (end == std::string_view::npos) {
    line_ = text_.substr(at_);
    after_ = text_.size();
    return;
  }
  line_ = text_.substr(at_, end - at_);
  after_ = end + 1;
  if (text_[end] == '\r') {
    std::size_t next = after_;
    while (next < text_.size() && text_[next] == '\r') ++next;
    if (next < text_.size() && text_[next] == '\n') after_ = next + 1;
  }
}

}  // namespace tabrel
