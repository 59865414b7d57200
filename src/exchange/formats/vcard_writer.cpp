#include "exchange/formats/vcard_writer.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

#include "base/codec.h"
#include "base/sha1.h"
#include "base/text.h"
#include "store/contact_record.h"
#include "store/layout.h"
#include "store/stamp.h"

namespace tabrel {
namespace {

namespace l = layout;

constexpr std::size_t kFoldAt = 75;  // octets of a line, its CR LF not counted

// The namespace of the name-based UUIDs of stamps (a random UUID of our own).
constexpr std::array<std::uint8_t, 16> kStampNamespace = {
    0x6f, 0x1d, 0x3c, 0x2e, 0x8b, 0x4a, 0x4c, 0x7e, 0x9a, 0x51, 0x2d, 0x0e, 0x7b, 0x3f, 0x5c, 0x18};

// A field without its padding, and without blanks typed before it.
std::string_view Field(std::string_view record, l::Span span) {
  return TrimView(record.substr(span.offset, span.width));
}

// The UTF-8 of each Windows-1252 byte.
const std::array<std::string, 256>& Utf8OfByte() {
  static const auto* table = [] {
    auto* t = new std::array<std::string, 256>();
    for (int b = 0; b < 256; ++b) (*t)[b] = DecodeCp1252(std::string(1, static_cast<char>(b)));
    return t;
  }();
  return *table;
}

enum class Escape {
  kText,  // \\ \, \; escaped, a line break as \n
  kUri,   // nothing escaped (a URI value is not text)
};

// Per byte: 1 when it goes into a text value as it is, 2 into a URI, 3 both.
constexpr std::array<std::uint8_t, 256> kPlain = [] {
  std::array<std::uint8_t, 256> t{};
  for (int c = 0x20; c < 0x7F; ++c) t[c] = (c == '\\' || c == ',' || c == ';') ? 2 : 3;
  return t;
}();

// Appends stored text as UTF-8. Line breaks (CR LF, CR or LF) become \n in
// text and a blank in a URI; other control characters, which no vCard
// value may hold, become a blank.
void AppendValue(std::string& line, std::string_view stored, Escape escape) {
  const auto& utf8 = Utf8OfByte();
  const std::uint8_t wanted = escape == Escape::kText ? 1 : 2;
  const auto plain = [wanted](unsigned char c) { return (kPlain[c] & wanted) != 0; };
  std::size_t i = 0;
  while (i < stored.size()) {
    // Runs of plain ASCII go in one piece.
    std::size_t run = i;
    while (run < stored.size() && plain(static_cast<unsigned char>(stored[run]))) ++run;
    line.append(stored.substr(i, run - i));
    if (run == stored.size()) break;
    i = run;
    const char c = stored[i];
    if (c == '\r' || c == '\n') {
      if (c == '\r' && i + 1 < stored.size() && stored[i + 1] == '\n') ++i;
      line.append(escape == Escape::kText ? "\\n" : " ");
    } else if (c == '\\' || c == ',' || c == ';') {
      line.push_back('\\');
      line.push_back(c);
    } else if ((static_cast<unsigned char>(c) < 0x20 && c != '\t') || c == 0x7F) {
      line.push_back(' ');
    } else {
      line.append(utf8[static_cast<unsigned char>(c)]);
    }
    ++i;
  }
}

// Appends one content line folded at 75 octets: each further piece on a
// line of its own led by a blank, never cutting a UTF-8 sequence.
void AppendFolded(std::string_view line, std::string& out) {
  std::size_t at = 0;
  std::size_t limit = kFoldAt;
  while (line.size() - at > limit) {
    std::size_t cut = at + limit;
    while (cut > at && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80) --cut;
    out.append(line.substr(at, cut - at)).append("\r\n ");
    at = cut;
    limit = kFoldAt - 1;
  }
  out.append(line.substr(at)).append("\r\n");
}

// A number a tel: URI carries exactly: digits with the visual separators
// "-", ".", "(" and ")", a leading "+" for a global number, "*" and "#".
bool FitsTelUri(std::string_view text) {
  bool digit = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c >= '0' && c <= '9') {
      digit = true;
    } else if (!(c == '-' || c == '.' || c == '(' || c == ')' || c == '*' || c == '#' ||
                 (c == '+' && i == 0))) {
      return false;
    }
  }
  return digit;
}

// The UID of a record stamped `stamp` after `out`: "urn:uuid:" and the
// version 5 UUID of the trimmed stamp. Made on the stack: every card has one.
void AppendUid(std::string_view stamp, std::string& out) {
  const std::string_view trimmed = TrimView(stamp);
  char name[kStampNamespace.size() + l::kModified.width];
  std::string longer;  // for a text longer than a stamp
  std::string_view named;
  if (trimmed.size() <= l::kModified.width) {
    std::copy(kStampNamespace.begin(), kStampNamespace.end(), name);
    std::copy(trimmed.begin(), trimmed.end(), name + kStampNamespace.size());
    named = std::string_view(name, kStampNamespace.size() + trimmed.size());
  } else {
    longer.assign(kStampNamespace.begin(), kStampNamespace.end());
    named = longer.append(trimmed);
  }
  std::array<std::uint8_t, 20> digest = Sha1(named);
  digest[6] = static_cast<std::uint8_t>((digest[6] & 0x0F) | 0x50);  // version 5
  digest[8] = static_cast<std::uint8_t>((digest[8] & 0x3F) | 0x80);  // RFC 4122 variant
  static constexpr char kHex[] = "0123456789abcdef";
  char uid[9 + 36] = {'u', 'r', 'n', ':', 'u', 'u', 'i', 'd', ':'};
  std::size_t at = 9;
  for (int i = 0; i < 16; ++i) {
    if (i == 4 || i == 6 || i == 8 || i == 10) uid[at++] = '-';
    uid[at++] = kHex[digest[i] >> 4];
    uid[at++] = kHex[digest[i] & 0x0F];
  }
  out.append(uid, at);
}

// The REV value of `stamp` after `out` ("1999-12-31T12:34:56" in 3.0,
// "19991231T123456" in 4.0); false, with nothing appended, when the stamp
// is not a date and time.
bool AppendRevision(std::string_view stamp, VcardVersion version, std::string& out) {
  const auto when = ParseReadableStamp(stamp);
  if (!when) return false;
  const int seconds = static_cast<int>(std::floor(when->seconds_since_midnight));
  const bool basic = version == VcardVersion::k40;
  char text[20];
  std::size_t at = 0;
  const auto digits = [&](int value, int width) {
    for (int place = width - 1; place >= 0; --place) {
      text[at + static_cast<std::size_t>(place)] = static_cast<char>('0' + value % 10);
      value /= 10;
    }
    at += static_cast<std::size_t>(width);
  };
  const auto separator = [&](char c) {
    if (!basic) text[at++] = c;
  };
  digits(when->year, 4);
  separator('-');
  digits(when->month, 2);
  separator('-');
  digits(when->day, 2);
  text[at++] = 'T';
  digits(seconds / 3600, 2);
  separator(':');
  digits(seconds / 60 % 60, 2);
  separator(':');
  digits(seconds % 60, 2);
  out.append(text, at);
  return true;
}

class CardWriter {
 public:
  CardWriter(std::string_view record, VcardVersion version, std::string& out)
      : record_(record), version_(version), out_(out) {
    for (std::size_t i = 0; i < fields_.size(); ++i) fields_[i] = Field(record, kSpans[i]);
  }

  void Write();

 private:
  // A field by its span, found when compiled: every card asks for each.
  template <const l::Span& kSpan>
  std::string_view F() const {
    constexpr std::size_t kIndex = Index(kSpan);
    return fields_[kIndex];
  }
  // A content line is written straight into the output, and folded there
  // in the rare case it is longer than a line may be.
  void Begin(std::string_view start) {
    start_ = out_.size();
    out_.append(start);
  }
  void Line(std::string_view name) {
    Begin(name);
    out_.push_back(':');
  }
  void End() {
    if (out_.size() - start_ <= kFoldAt) {
      out_.append("\r\n");
      return;
    }
    const std::string line = out_.substr(start_);
    out_.resize(start_);
    AppendFolded(line, out_);
  }
  void Text(std::string_view name, std::string_view value) {
    if (IsBlank(value)) return;
    Line(name);
    AppendValue(out_, value, Escape::kText);
    End();
  }
  void Tel(std::string_view types, std::string_view number, std::string_view ext = {});
  void Address();

  // The fields in layout order, trimmed once: each is asked for again and again.
  static constexpr l::Span kSpans[] = {
      l::kRecType, l::kLastName, l::kFirstName, l::kTitle,  l::kOrg,   l::kPhone,
      l::kExt,     l::kFax,      l::kCellular,  l::kBeeper, l::kEMail, l::kWeb,
      l::kAdd1,    l::kAdd2,     l::kCity,      l::kState,  l::kZip,   l::kCountry,
      l::kKW1,     l::kKW2,      l::kKW3,       l::kNotes};
  static constexpr std::size_t Index(l::Span span) {
    for (std::size_t i = 0; i < std::size(kSpans); ++i) {
      if (kSpans[i].offset == span.offset) return i;
    }
    return 0;
  }

  std::string_view record_;
  VcardVersion version_;
  std::string& out_;
  std::size_t start_ = 0;  // where the line in hand began in `out_`
  std::array<std::string_view, std::size(kSpans)> fields_;
};

void CardWriter::Tel(std::string_view types, std::string_view number, std::string_view ext) {
  number = TrimView(number);
  ext = TrimView(ext);
  if (number.empty() && ext.empty()) return;
  Begin("TEL;");
  if (version_ == VcardVersion::k40) {
    if (FitsTelUri(number) && (ext.empty() || FitsTelUri(ext))) {
      out_.append("VALUE=uri;TYPE=").append(types).append(":tel:").append(number);
      if (!ext.empty()) out_.append(";ext=").append(ext);
      End();
      return;
    }
    out_.append("VALUE=text;");
  }
  out_.append("TYPE=").append(types).push_back(':');
  AppendValue(out_, number, Escape::kText);
  if (!ext.empty()) {
    if (!number.empty()) out_.push_back(' ');
    out_.append("ext. ");
    AppendValue(out_, ext, Escape::kText);
  }
  End();
}

void CardWriter::Address() {
  const std::string_view place[] = {F<l::kCity>(), F<l::kState>(), F<l::kZip>(), F<l::kCountry>()};
  bool any = !F<l::kAdd1>().empty() || !F<l::kAdd2>().empty();
  for (std::string_view part : place) any = any || !part.empty();
  if (!any) return;
  // The two address lines are the street's two lines: the extended address
  // is best left empty, as most programs show only the street.
  Line("ADR;TYPE=work");
  out_.append(";;");
  AppendValue(out_, F<l::kAdd1>(), Escape::kText);
  if (!IsBlank(F<l::kAdd2>())) {
    out_.append("\\n");
    AppendValue(out_, F<l::kAdd2>(), Escape::kText);
  }
  for (std::string_view part : place) {
    out_.push_back(';');
    AppendValue(out_, part, Escape::kText);
  }
  End();
}

void CardWriter::Write() {
  const std::string_view type = record_.substr(l::kRecType.offset, l::kRecType.width);
  const bool organisation = IsOrganisation(type);
  out_.append("BEGIN:VCARD\r\nVERSION:").append(VersionText(version_)).append("\r\n");
  out_.append("PRODID:-//Tabrel//Tabrel 3//EN\r\n");
  if (organisation && version_ == VcardVersion::k40) out_.append("KIND:org\r\n");

  Line("N");
  AppendValue(out_, F<l::kLastName>(), Escape::kText);
  out_.push_back(';');
  AppendValue(out_, F<l::kFirstName>(), Escape::kText);
  out_.append(";;;");
  End();

  // FN names the card in every list; it must not be empty when anything
  // can name it.
  Line("FN");
  const std::string_view first = TrimView(F<l::kFirstName>());
  const std::string_view last = TrimView(F<l::kLastName>());
  const std::string_view org = TrimView(F<l::kOrg>());
  if (organisation && !org.empty()) {
    AppendValue(out_, org, Escape::kText);
  } else if (!first.empty() || !last.empty()) {
    AppendValue(out_, first, Escape::kText);
    if (!first.empty() && !last.empty()) out_.push_back(' ');
    AppendValue(out_, last, Escape::kText);
  } else if (!org.empty()) {
    AppendValue(out_, org, Escape::kText);
  } else {
    AppendValue(out_, TrimView(F<l::kEMail>()), Escape::kText);
  }
  End();

  Text("ORG", F<l::kOrg>());
  Text("TITLE", F<l::kTitle>());
  Address();
  Tel("work,voice", F<l::kPhone>(), F<l::kExt>());
  Tel("work,fax", F<l::kFax>());
  Tel("cell", F<l::kCellular>());
  Tel("pager", F<l::kBeeper>());
  Text("EMAIL", F<l::kEMail>());
  if (!IsBlank(F<l::kWeb>())) {
    Line("URL");
    AppendValue(out_, TrimView(F<l::kWeb>()), Escape::kUri);
    End();
  }

  // A keyword after a blank slot keeps its slot through a parameter that
  // other programs pass over.
  const std::string_view keywords[] = {F<l::kKW1>(), F<l::kKW2>(), F<l::kKW3>()};
  char slots[6] = {};  // "1,3"
  std::size_t slots_length = 0;
  for (int slot = 0; slot < 3; ++slot) {
    if (keywords[slot].empty()) continue;
    if (slots_length > 0) slots[slots_length++] = ',';
    slots[slots_length++] = static_cast<char>('1' + slot);
  }
  if (slots_length > 0) {
    const std::string_view given(slots, slots_length);
    const bool in_order = given == "1" || given == "1,2" || given == "1,2,3";
    Begin("CATEGORIES");
    if (!in_order) out_.append(";X-TABREL-SLOTS=").append(given);
    out_.push_back(':');
    bool first_keyword = true;
    for (const std::string_view keyword : keywords) {
      if (keyword.empty()) continue;
      if (!first_keyword) out_.push_back(',');
      first_keyword = false;
      AppendValue(out_, keyword, Escape::kText);
    }
    End();
  }

  Text("NOTE", F<l::kNotes>());
  const std::string_view stamp = record_.substr(l::kModified.offset, l::kModified.width);
  const std::size_t rev = out_.size();
  out_.append("REV:");
  if (AppendRevision(stamp, version_, out_)) {
    out_.append("\r\n");
  } else {
    out_.resize(rev);
  }
  out_.append("UID:");
  AppendUid(stamp, out_);
  out_.append("\r\n");
  if (!IsBlank(type)) {
    Line("X-TABREL-TYPE");
    AppendValue(out_, type, Escape::kText);
    End();
  }
  out_.append("END:VCARD\r\n");
}

}  // namespace

std::string_view VersionText(VcardVersion version) {
  return version == VcardVersion::k40 ? "4.0" : "3.0";
}

void AppendVcard(std::string_view record, const VcardWriteOptions& options, std::string& out) {
  CardWriter(record, options.version, out).Write();
}

void AppendVcards(std::span<const std::string_view> records, const VcardWriteOptions& options,
                  std::string& out) {
  // A card of this program's is some 500 bytes: one allocation, no copies
  // as the text grows.
  out.reserve(out.size() + records.size() * 600);
  for (std::string_view record : records) AppendVcard(record, options, out);
}

std::string VcardsOf(std::span<const std::string_view> records, const VcardWriteOptions& options) {
  std::string out;
  AppendVcards(records, options, out);
  return out;
}

std::string VcardUid(std::string_view stamp) {
  std::string uid;
  AppendUid(stamp, uid);
  return uid;
}

std::string VcardRevision(std::string_view stamp, VcardVersion version) {
  std::string text;
  if (!AppendRevision(stamp, version, text)) text.clear();
  return text;
}

}  // namespace tabrel
