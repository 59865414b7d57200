#include "exchange/formats/ldif_reader.h"

#include "base/base64.h"

namespace tabrel {
namespace {

char Lower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool StartsNoCase(std::string_view line, std::string_view prefix) {
  return line.size() >= prefix.size() && EqualsNoCase(line.substr(0, prefix.size()), prefix);
}

bool IsSeparator(std::string_view line) {
  return line.find_first_not_of(' ') == std::string_view::npos;
}

bool IsDnLine(std::string_view line) {
  return StartsNoCase(line, "dn:");
}

std::string_view SkipBlanks(std::string_view text) {
  const std::size_t start = text.find_first_not_of(' ');
  return start == std::string_view::npos ? std::string_view() : text.substr(start);
}

}  // namespace

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (Lower(a[i]) != Lower(b[i])) return false;
  }
  return true;
}

std::size_t LdifRecordStartFrom(std::string_view text, std::size_t from) {
  for (std::size_t at = from; (at = text.find('\n', at)) != std::string_view::npos;) {
    ++at;
    if (IsDnLine(text.substr(at, 3))) return at;
  }
  return std::string_view::npos;
}

bool LdifReader::ParseLine(std::string_view line, LdifAttribute& attribute) {
  const std::size_t colon = line.find(':');
  if (colon == 0 || colon == std::string_view::npos) return false;
  const std::string_view name = line.substr(0, colon);
  if (name.find(' ') != std::string_view::npos) return false;
  const std::size_t semicolon = name.find(';');
  attribute.type = name.substr(0, semicolon);
  attribute.options =
      semicolon == std::string_view::npos ? std::string_view() : name.substr(semicolon + 1);
  attribute.url = false;
  attribute.base64 = false;
  std::string_view rest = line.substr(colon + 1);
  if (rest.starts_with(':')) {
    // Reserved beforehand: appending never moves what the views show.
    const std::size_t start = buffer_.size();
    if (!AppendDecodedBase64(SkipBlanks(rest.substr(1)), buffer_)) return false;
    attribute.value = std::string_view(buffer_).substr(start);
    attribute.base64 = true;
    return true;
  }
  if (rest.starts_with('<')) {
    attribute.url = true;
    rest.remove_prefix(1);
  }
  attribute.value = SkipBlanks(rest);
  return true;
}

bool LdifReader::Next(LdifRecord& record) {
  record.dn = {};
  record.changetype = {};
  record.attributes.clear();
  std::string_view line;
  // Up to the record's "dn:" line: empty lines, comments and their folds,
  // "version:", and lines that belong to no record.
  for (;;) {
    if (!lines_in_.Next(line)) return false;
    if (IsDnLine(line)) break;
  }
  record.line = lines_in_.number();
  // The record's physical lines, up to an empty line or the next "dn:".
  std::vector<std::string_view>& physical = physical_;
  physical.assign(1, line);
  std::size_t total = line.size();
  while (lines_in_.Next(line)) {
    if (IsSeparator(line)) break;
    if (IsDnLine(line)) {
      lines_in_.PutBack();
      break;
    }
    physical.push_back(line);
    total += line.size();
  }
  buffer_.clear();
  buffer_.reserve(2 * total + 16);
  // Unfold: a line led by one blank goes on with the line before it.
  lines_.clear();
  for (std::size_t i = 0; i < physical.size();) {
    std::size_t j = i + 1;
    while (j < physical.size() && physical[j].starts_with(' ')) ++j;
    if (physical[i].starts_with('#')) {
      i = j;
      continue;
    }
    if (j == i + 1) {
      lines_.push_back(physical[i]);
    } else {
      const std::size_t start = buffer_.size();
      buffer_ += physical[i];
      for (std::size_t k = i + 1; k < j; ++k) buffer_ += physical[k].substr(1);
      lines_.push_back(std::string_view(buffer_).substr(start));
    }
    i = j;
  }
  LdifAttribute attribute;
  bool first = true;
  bool only_controls = true;
  for (const std::string_view logical : lines_) {
    if (!ParseLine(logical, attribute)) {
      ++bad_lines_;
      continue;
    }
    if (first) {
      record.dn = attribute.value;
      first = false;
      continue;
    }
    // The changetype follows the dn and any controls.
    if (only_controls && record.changetype.empty() && EqualsNoCase(attribute.type, "changetype")) {
      record.changetype = attribute.value;
      only_controls = false;
      continue;
    }
    only_controls = only_controls && EqualsNoCase(attribute.type, "control");
    record.attributes.push_back(attribute);
  }
  return true;
}

}  // namespace tabrel
