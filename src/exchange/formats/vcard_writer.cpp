#include "exchange/formats/vcard_writer.h"

#include <array>
#include <cmath>

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

// Appends stored text as UTF-8. Line breaks (CR LF, CR or LF) become \n in
// text and a blank in a URI; other control characters, which no vCard
// value may hold, become a blank.
void AppendValue(std::string& line, std::string_view stored, Escape escape) {
  const auto& utf8 = Utf8OfByte();
  const auto plain = [escape](unsigned char c) {
    return c >= 0x20 && c < 0x7F && (escape == Escape::kUri || (c != '\\' && c != ',' && c != ';'));
  };
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

class CardWriter {
 public:
  CardWriter(std::string_view record, VcardVersion version, std::string& out)
      : record_(record), version_(version), out_(out) {}

  void Write();

 private:
  std::string_view F(l::Span span) const { return Field(record_, span); }
  void Line(std::string_view name) {
    line_.assign(name);
    line_.push_back(':');
  }
  void End() { AppendFolded(line_, out_); }
  void Text(std::string_view name, std::string_view value) {
    if (IsBlank(value)) return;
    Line(name);
    AppendValue(line_, value, Escape::kText);
    End();
  }
  void Tel(std::string_view types, std::string_view number, std::string_view ext = {});
  void Address();

  std::string_view record_;
  VcardVersion version_;
  std::string& out_;
  std::string line_;
};

void CardWriter::Tel(std::string_view types, std::string_view number, std::string_view ext) {
  number = TrimView(number);
  ext = TrimView(ext);
  if (number.empty() && ext.empty()) return;
  line_.assign("TEL;");
  if (version_ == VcardVersion::k40) {
    if (FitsTelUri(number) && (ext.empty() || FitsTelUri(ext))) {
      line_.append("VALUE=uri;TYPE=").append(types).append(":tel:").append(number);
      if (!ext.empty()) line_.append(";ext=").append(ext);
      End();
      return;
    }
    line_.append("VALUE=text;");
  }
  line_.append("TYPE=").append(types).push_back(':');
  AppendValue(line_, number, Escape::kText);
  if (!ext.empty()) {
    if (!number.empty()) line_.push_back(' ');
    line_.append("ext. ");
    AppendValue(line_, ext, Escape::kText);
  }
  End();
}

void CardWriter::Address() {
  const l::Span parts[] = {l::kAdd1, l::kAdd2, l::kCity, l::kState, l::kZip, l::kCountry};
  bool any = false;
  for (l::Span span : parts) any = any || !IsBlank(F(span));
  if (!any) return;
  // The two address lines are the street's two lines: the extended address
  // is best left empty, as most programs show only the street.
  Line("ADR;TYPE=work");
  line_.append(";;");
  AppendValue(line_, F(l::kAdd1), Escape::kText);
  if (!IsBlank(F(l::kAdd2))) {
    line_.append("\\n");
    AppendValue(line_, F(l::kAdd2), Escape::kText);
  }
  for (l::Span span : {l::kCity, l::kState, l::kZip, l::kCountry}) {
    line_.push_back(';');
    AppendValue(line_, F(span), Escape::kText);
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
  AppendValue(line_, F(l::kLastName), Escape::kText);
  line_.push_back(';');
  AppendValue(line_, F(l::kFirstName), Escape::kText);
  line_.append(";;;");
  End();

  // FN names the card in every list; it must not be empty when anything
  // can name it.
  Line("FN");
  const std::string_view first = TrimView(F(l::kFirstName));
  const std::string_view last = TrimView(F(l::kLastName));
  const std::string_view org = TrimView(F(l::kOrg));
  if (organisation && !org.empty()) {
    AppendValue(line_, org, Escape::kText);
  } else if (!first.empty() || !last.empty()) {
    AppendValue(line_, first, Escape::kText);
    if (!first.empty() && !last.empty()) line_.push_back(' ');
    AppendValue(line_, last, Escape::kText);
  } else if (!org.empty()) {
    AppendValue(line_, org, Escape::kText);
  } else {
    AppendValue(line_, TrimView(F(l::kEMail)), Escape::kText);
  }
  End();

  Text("ORG", F(l::kOrg));
  Text("TITLE", F(l::kTitle));
  Address();
  Tel("work,voice", F(l::kPhone), F(l::kExt));
  Tel("work,fax", F(l::kFax));
  Tel("cell", F(l::kCellular));
  Tel("pager", F(l::kBeeper));
  Text("EMAIL", F(l::kEMail));
  if (!IsBlank(F(l::kWeb))) {
    Line("URL");
    AppendValue(line_, TrimView(F(l::kWeb)), Escape::kUri);
    End();
  }

  // A keyword after a blank slot keeps its slot through a parameter that
  // other programs pass over.
  std::string slots;  // "1,3"
  std::string categories;
  int slot = 0;
  for (l::Span span : {l::kKW1, l::kKW2, l::kKW3}) {
    ++slot;
    const std::string_view keyword = TrimView(F(span));
    if (keyword.empty()) continue;
    if (!slots.empty()) {
      slots.push_back(',');
      categories.push_back(',');
    }
    slots.push_back(static_cast<char>('0' + slot));
    AppendValue(categories, keyword, Escape::kText);
  }
  if (!categories.empty()) {
    const bool in_order = slots == "1" || slots == "1,2" || slots == "1,2,3";
    line_.assign(in_order ? "CATEGORIES:" : "CATEGORIES;X-TABREL-SLOTS=" + slots + ":");
    line_.append(categories);
    End();
  }

  Text("NOTE", F(l::kNotes));
  const std::string_view stamp = record_.substr(l::kModified.offset, l::kModified.width);
  if (const std::string rev = VcardRevision(stamp, version_); !rev.empty()) {
    out_.append("REV:").append(rev).append("\r\n");
  }
  out_.append("UID:").append(VcardUid(stamp)).append("\r\n");
  if (!IsBlank(type)) {
    Line("X-TABREL-TYPE");
    AppendValue(line_, type, Escape::kText);
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

std::string VcardsOf(std::span<const std::string_view> records, const VcardWriteOptions& options) {
  std::string out;
  out.reserve(records.size() * 640);
  for (std::string_view record : records) AppendVcard(record, options, out);
  return out;
}

std::string VcardUid(std::string_view stamp) {
  std::string name(kStampNamespace.begin(), kStampNamespace.end());
  name.append(TrimView(stamp));
  std::array<std::uint8_t, 20> digest = Sha1(name);
  digest[6] = static_cast<std::uint8_t>((digest[6] & 0x0F) | 0x50);  // version 5
  digest[8] = static_cast<std::uint8_t>((digest[8] & 0x3F) | 0x80);  // RFC 4122 variant
  std::string uid = "urn:uuid:";
  static constexpr char kHex[] = "0123456789abcdef";
  for (int i = 0; i < 16; ++i) {
    if (i == 4 || i == 6 || i == 8 || i == 10) uid.push_back('-');
    uid.push_back(kHex[digest[i] >> 4]);
    uid.push_back(kHex[digest[i] & 0x0F]);
  }
  return uid;
}

std::string VcardRevision(std::string_view stamp, VcardVersion version) {
  if (!IsReadableStamp(stamp)) return "";
  const auto when = ParseStamp(stamp);
  if (!when) return "";
  const int seconds = static_cast<int>(std::floor(when->seconds_since_midnight));
  const bool basic = version == VcardVersion::k40;
  std::string text;
  const auto digits = [&text](int value, int width) {
    for (int place = width - 1; place >= 0; --place) {
      int divisor = 1;
      for (int k = 0; k < place; ++k) divisor *= 10;
      text.push_back(static_cast<char>('0' + value / divisor % 10));
    }
  };
  digits(when->year, 4);
  if (!basic) text.push_back('-');
  digits(when->month, 2);
  if (!basic) text.push_back('-');
  digits(when->day, 2);
  text.push_back('T');
  digits(seconds / 3600, 2);
  if (!basic) text.push_back(':');
  digits(seconds / 60 % 60, 2);
  if (!basic) text.push_back(':');
  digits(seconds % 60, 2);
  return text;
}

}  // namespace tabrel
