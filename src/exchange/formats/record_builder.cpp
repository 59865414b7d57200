#include "exchange/formats/record_builder.h"

#include <algorithm>

#include "base/codec.h"
#include "base/text.h"
#include "base/text_lines.h"

namespace tabrel {
namespace {

namespace l = layout;

constexpr std::array<l::Span, kRecordFieldCount> kSpans = {
    l::kLastName, l::kFirstName, l::kTitle,  l::kOrg,   l::kPhone,   l::kExt,
    l::kFax,      l::kCellular,  l::kBeeper, l::kEMail, l::kWeb,     l::kAdd1,
    l::kAdd2,     l::kCity,      l::kState,  l::kZip,   l::kCountry, l::kNotes};

bool IsSpace(char c) {
  return c == ' ' || c == '\r' || c == '\n';
}

std::string_view TrimSpace(std::string_view text) {
  while (!text.empty() && IsSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsSpace(text.back())) text.remove_suffix(1);
  return text;
}

// Control characters other than the line ends stand for a blank; a tab too,
// except in the notes, which show it.
void BlankControls(std::string& text, bool keep_tab) {
  for (char& c : text) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x20 && c != '\r' && c != '\n' && !(keep_tab && c == '\t')) c = ' ';
  }
}

// Printable ASCII without blanks at either end: stored as it stands, which
// most values of most files are.
bool IsPlain(std::string_view text) {
  if (text.empty()) return true;
  if (text.front() == ' ' || text.back() == ' ') return false;
  for (const char c : text) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x20 || u > 0x7E) return false;
  }
  return true;
}

}  // namespace

l::Span SpanOf(RecordField field) {
  return kSpans[static_cast<std::size_t>(field)];
}

void RecordBuilder::Clear() {
  for (std::string& value : values_) value.clear();
  street_rest_.clear();
  replaced_ = 0;
  cut_ = 0;
}

void RecordBuilder::Set(RecordField field, std::string_view utf8) {
  if (IsPlain(utf8)) {
    values_[Index(field)].assign(utf8);
    if (field == RecordField::kAdd1) street_rest_.clear();
    return;
  }
  EncodeResult encoded = EncodeCp1252(utf8);
  replaced_ += encoded.replaced;
  std::string& value = values_[Index(field)];
  value.clear();
  const bool notes = field == RecordField::kNotes;
  BlankControls(encoded.bytes, notes);
  LineReader lines(TrimSpace(encoded.bytes));
  std::string_view line;
  bool first = true;
  if (field == RecordField::kAdd1) street_rest_.clear();
  while (lines.Next(line)) {
    if (notes) {
      if (!first) value += "\r\n";
      value += RTrimView(line);
      first = false;
      continue;
    }
    line = TrimView(line);
    if (line.empty()) continue;
    std::string& into = field == RecordField::kAdd1 && !first ? street_rest_ : value;
    if (!into.empty()) into += ' ';
    into += line;
    first = false;
  }
}

void RecordBuilder::AppendToNotes(std::string_view utf8) {
  std::string notes = std::move(values_[Index(RecordField::kNotes)]);
  Set(RecordField::kNotes, utf8);
  std::string& value = values_[Index(RecordField::kNotes)];
  value = notes + " " + value;
}

void RecordBuilder::AppendNoteLine(std::string_view utf8) {
  std::string notes = std::move(values_[Index(RecordField::kNotes)]);
  Set(RecordField::kNotes, utf8);
  std::string& value = values_[Index(RecordField::kNotes)];
  if (!TrimView(notes).empty()) value = notes + "\r\n" + value;
}

bool RecordBuilder::Has(RecordField field) const {
  return !TrimView(values_[Index(field)]).empty();
}

void RecordBuilder::Put(std::span<char> out, l::Span span, std::string_view value) {
  if (value.size() > span.width) {
    ++cut_;
    value = value.substr(0, span.width);
    // Half a line break would show as a stray character.
    if (value.ends_with('\r')) value.remove_suffix(1);
  }
  std::copy(value.begin(), value.end(), out.begin() + static_cast<std::ptrdiff_t>(span.offset));
}

void RecordBuilder::Write(std::string& out, char type, std::string_view keyword,
                          std::string_view stamp) {
  out.resize(l::kContactRecordLength);
  Write(std::span<char>(out), type, keyword, stamp);
}

void RecordBuilder::Write(std::span<char> out, char type, std::string_view keyword,
                          std::string_view stamp) {
  std::fill(out.begin(), out.begin() + l::kContactRecordLength, ' ');
  out[l::kRecType.offset] = type;
  std::string& add1 = values_[Index(RecordField::kAdd1)];
  std::string& add2 = values_[Index(RecordField::kAdd2)];
  if (!street_rest_.empty()) {
    if (add2.empty()) {
      add2 = std::move(street_rest_);
    } else {
      add1 += ' ' + street_rest_;
    }
    street_rest_.clear();
  }
  for (std::size_t i = 0; i < kRecordFieldCount; ++i) Put(out, kSpans[i], values_[i]);
  // The keyword and the stamp are the import's own: cutting them is no loss
  // of the file's data.
  const std::string_view kw = TrimView(keyword).substr(0, l::kKW1.width);
  std::copy(kw.begin(), kw.end(), out.begin() + l::kKW1.offset);
  Stamp(out, stamp);
}

void RecordBuilder::Stamp(std::span<char> record, std::string_view stamp) {
  const std::string_view st = stamp.substr(0, l::kModified.width);
  std::copy(st.begin(), st.end(), record.begin() + l::kModified.offset);
}

}  // namespace tabrel
