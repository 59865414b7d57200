#include "exchange/formats/comma_reader.h"

#include "base/text.h"
#include "base/text_lines.h"

namespace tabrel {
namespace {

// The line breaks inside a quoted field: CR LF, CR or LF, each one.
std::size_t LineBreaks(std::string_view part) {
  std::size_t breaks = 0;
  for (std::size_t i = FindLineEnd(part, 0); i != std::string_view::npos;
       i = FindLineEnd(part, i + 1)) {
    if (part[i] == '\r' && i + 1 < part.size() && part[i + 1] == '\n') ++i;
    ++breaks;
  }
  return breaks;
}

}  // namespace

void CommaReader::EndLine() {
  if (at_ >= text_.size()) return;
  if (text_[at_] == '\r') {
    ++at_;
    if (at_ < text_.size() && text_[at_] == '\n') ++at_;
    ++line_;
  } else if (text_[at_] == '\n') {
    ++at_;
    ++line_;
  }
}

bool CommaReader::ReadField(std::string& field) {
  std::size_t start = at_;
  while (start < text_.size() && text_[start] == ' ') ++start;
  if (start < text_.size() && text_[start] == '"') {
    at_ = start + 1;
    for (;;) {
      const std::size_t quote = text_.find('"', at_);
      const std::size_t end = quote == std::string_view::npos ? text_.size() : quote;
      const std::string_view part = text_.substr(at_, end - at_);
      line_ += LineBreaks(part);
      field.append(part);
      at_ = end;
      if (quote == std::string_view::npos) return false;
      if (at_ + 1 < text_.size() && text_[at_ + 1] == '"') {
        field.push_back('"');
        at_ += 2;
        continue;
      }
      ++at_;  // the closing quote
      break;
    }
  }
  // The field, or what follows its closing quote, up to a comma or line end.
  std::size_t stop = at_;
  while (stop < text_.size() && text_[stop] != ',' && text_[stop] != '\r' && text_[stop] != '\n') {
    ++stop;
  }
  field.append(text_.substr(at_, stop - at_));
  at_ = stop;
  if (at_ < text_.size() && text_[at_] == ',') {
    ++at_;
    return true;
  }
  return false;
}

bool CommaReader::ReadRecord(std::vector<std::string>& fields, std::size_t& count) {
  count = 0;
  if (at_ >= text_.size()) return false;
  record_line_ = line_;
  for (;;) {
    if (count == fields.size()) fields.emplace_back();
    std::string& field = fields[count++];
    field.clear();
    if (!ReadField(field)) break;
  }
  EndLine();
  return true;
}

bool CommaReader::Next(std::vector<std::string>& fields) {
  std::size_t count = 0;
  while (ReadRecord(fields, count)) {
    bool empty = true;
    for (std::size_t i = 0; i < count && empty; ++i) empty = IsBlank(fields[i]);
    if (!empty) {
      fields.resize(count);
      return true;
    }
    ++skipped_empty_;
  }
  fields.clear();
  return false;
}

}  // namespace tabrel
