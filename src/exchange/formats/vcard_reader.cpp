#include "exchange/formats/vcard_reader.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <chrono>
#include <utility>

#include "base/codec.h"
#include "base/text.h"
#include "base/text_lines.h"
#include "store/layout.h"
#include "store/stamp.h"

namespace tabrel {
namespace {

namespace l = layout;

char LowerChar(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    if (LowerChar(text[i]) != LowerChar(prefix[i])) return false;
  }
  return true;
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string_view TrimSpace(std::string_view text) {
  while (!text.empty() && IsSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsSpace(text.back())) text.remove_suffix(1);
  return text;
}

// The parts of a structured value between unescaped separators, still
// escaped; the parts past the last are empty.
template <std::size_t N>
struct Parts {
  std::array<std::string_view, N> part{};
  std::size_t count = 0;

  Parts(std::string_view value, char separator) {
    std::size_t start = 0;
    for (std::size_t i = 0; i < value.size() && count + 1 < N; ++i) {
      if (value[i] == '\\') {
        ++i;
      } else if (value[i] == separator) {
        part[count++] = value.substr(start, i - start);
        start = i + 1;
      }
    }
    part[count++] = value.substr(start);
  }
};

// `text` with \n and \N as a line break and \, \; \: \\ \" as the
// character; any other backslash is kept, as a writer that escapes nothing
// leaves it. A text without a backslash is its own answer; others are
// written into `buffer`.
std::string_view Unescaped(std::string_view text, std::string& buffer) {
  std::size_t slash = FindByte(text, '\\');
  if (slash == std::string_view::npos) return text;
  buffer.clear();
  // The text between backslashes goes over a run at a time.
  for (std::size_t from = 0;; slash = FindByte(text, '\\', from)) {
    if (slash == std::string_view::npos) {
      buffer.append(text.substr(from));
      return buffer;
    }
    buffer.append(text.substr(from, slash - from));
    from = slash + 1;
    const char next = slash + 1 < text.size() ? text[slash + 1] : '\0';
    if (next == 'n' || next == 'N') {
      buffer.push_back('\n');
      ++from;
    } else if (next == ',' || next == ';' || next == ':' || next == '\\' || next == '"') {
      buffer.push_back(next);
      ++from;
    } else {
      buffer.push_back('\\');
    }
  }
}

// Calls `visit` with each line of a value, trimmed, empty ones left out.
template <typename Visit>
void ForEachLine(std::string_view text, Visit visit) {
  std::size_t start = 0;
  for (std::size_t i = 0; i <= text.size(); ++i) {
    if (i == text.size() || text[i] == '\n' || text[i] == '\r') {
      const std::string_view line = TrimSpace(text.substr(start, i - start));
      if (!line.empty()) visit(line);
      start = i + 1;
    }
  }
}

// The lines of a value appended to `out`.
void AppendLines(std::string_view text, std::vector<std::string>& out) {
  ForEachLine(text, [&out](std::string_view line) { out.emplace_back(line); });
}

// The same lines after `out`, each led by ", " when `out` holds any: what
// Join of AppendLines makes, without a string a line.
void AppendJoinedLines(std::string_view text, std::string& out) {
  ForEachLine(text, [&out](std::string_view line) {
    if (!out.empty()) out.append(", ");
    out.append(line);
  });
}

std::string Join(const std::vector<std::string>& parts, std::size_t from, std::string_view glue) {
  std::string joined;
  for (std::size_t i = from; i < parts.size(); ++i) {
    if (!joined.empty()) joined.append(glue);
    joined.append(parts[i]);
  }
  return joined;
}

int HexValue(char c) {
  if (IsDigit(c)) return c - '0';
  c = LowerChar(c);
  return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

std::string PercentDecode(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const int high = i + 2 < text.size() ? HexValue(text[i + 1]) : -1;
    const int low = i + 2 < text.size() ? HexValue(text[i + 2]) : -1;
    if (text[i] == '%' && high >= 0 && low >= 0) {
      out.push_back(static_cast<char>(high * 16 + low));
      i += 2;
    } else {
      out.push_back(text[i]);
    }
  }
  return out;
}

// Fills a stored record from UTF-8 values, counting what could not be kept.
class RecordFiller {
 public:
  explicit RecordFiller(std::string& record) : record_(record) {
    record_.assign(l::kContactRecordLength, ' ');
  }

  // A one-line field, trimmed: line breaks and tabs become blanks.
  void Line(l::Span span, std::string_view utf8) { Store(span, TrimSpace(utf8), true); }
  // The notes: every line break as CR LF.
  void Notes(std::string_view utf8) {
    utf8 = TrimSpace(utf8);
    std::size_t end = FindLineEnd(utf8, 0);
    if (end == std::string_view::npos) {
      Store(l::kNotes, utf8, false);
      return;
    }
    std::string& text = scratch_;
    text.clear();
    for (std::size_t start = 0;;) {
      if (end == std::string_view::npos) {
        text.append(utf8.substr(start));
        break;
      }
      text.append(utf8.substr(start, end - start)).append("\r\n");
      start = end + (utf8.substr(end, 2) == "\r\n" ? 2 : 1);
      end = FindLineEnd(utf8, start);
    }
    Store(l::kNotes, text, false);
  }
  // A keyword as stored (14 bytes or fewer).
  void Keyword(l::Span span, std::string_view stored) {
    record_.replace(span.offset, stored.size(), stored);
  }
  void Type(char type) { record_[l::kRecType.offset] = type; }
  std::size_t replaced() const { return replaced_; }
  std::size_t cut() const { return cut_; }

  bool Has(l::Span span) const {
    for (std::size_t i = span.offset; i < span.offset + span.width; ++i) {
      if (record_[i] != ' ') return true;
    }
    return false;
  }
  void Lost(std::size_t replaced, std::size_t cut) {
    replaced_ += replaced;
    cut_ += cut;
  }

 private:
  // Encodes `utf8` into the field, cut to its width.
  void Store(l::Span span, std::string_view utf8, bool one_line) {
    char* out = record_.data() + span.offset;
    // Plain ASCII is copied as it is; the rest goes through the encoder.
    const std::size_t ascii = AsciiPrefix(utf8);
    EncodeResult rest;
    if (ascii < utf8.size()) {
      rest = EncodeCp1252(utf8.substr(ascii));
      replaced_ += rest.replaced;
    }
    std::size_t n = std::min(ascii, span.width);
    std::copy_n(utf8.data(), n, out);
    const std::size_t more = std::min(rest.bytes.size(), span.width - n);
    std::copy_n(rest.bytes.data(), more, out + n);
    n += more;
    std::fill(out + n, out + span.width, ' ');
    if (one_line) {
      std::replace_if(
          out, out + n, [](char c) { return c == '\r' || c == '\n' || c == '\t'; }, ' ');
    }
    if (ascii + rest.bytes.size() > span.width) {
      ++cut_;
      // Half a line break would be a lone CR.
      if (out[n - 1] == '\r') out[n - 1] = ' ';
    }
  }

  std::string& record_;
  std::string scratch_;
  std::size_t replaced_ = 0;
  std::size_t cut_ = 0;
};

enum class Order {
  kWorkFirst,  // work, then preferred, then the first
  kPrefFirst,  // preferred, then work, then the first
};

// How good `p` is among properties of its name: lower is better.
std::pair<int, int> Rank(const VcardProperty& p, Order order) {
  const int work = p.HasType("WORK") ? 0 : 1;
  const int pref = p.pref > 0 ? p.pref : (p.HasType("PREF") ? 1 : 1000);
  return order == Order::kWorkFirst ? std::pair{work, pref} : std::pair{pref, work};
}

// Keeps the best of the properties offered, the first of equals.
void Keep(const VcardProperty*& best, const VcardProperty& p, Order order) {
  if (!best || Rank(p, order) < Rank(*best, order)) best = &p;
}

enum class TelKind { kVoice, kFax, kCell, kPager };

TelKind KindOf(const VcardProperty& tel) {
  if (tel.HasType("FAX")) return TelKind::kFax;
  if (tel.HasType("PAGER")) return TelKind::kPager;
  if (tel.HasType("CELL") || tel.HasType("MOBILE")) return TelKind::kCell;
  return TelKind::kVoice;
}

// The properties a record takes from a card, found in one pass.
struct CardIndex {
  const VcardProperty* n = nullptr;
  const VcardProperty* fn = nullptr;
  const VcardProperty* org = nullptr;
  const VcardProperty* title = nullptr;
  const VcardProperty* role = nullptr;
  const VcardProperty* kind = nullptr;
  const VcardProperty* show_as = nullptr;
  const VcardProperty* type = nullptr;
  const VcardProperty* privacy = nullptr;
  const VcardProperty* rev = nullptr;
  const VcardProperty* tel[4] = {};  // the best of each TelKind
  const VcardProperty* email = nullptr;
  const VcardProperty* url = nullptr;
  const VcardProperty* adr = nullptr;
  bool notes = false;
  bool categories = false;

  explicit CardIndex(const VcardCard& card) {
    const auto first = [](const VcardProperty*& slot, const VcardProperty& p) {
      if (!slot) slot = &p;
    };
    for (const VcardProperty& p : card.properties) {
      // By length first: most names are then told apart without comparing
      // a character.
      const std::string_view name = p.name;
      switch (name.size()) {
        case 1:
          if (name == "N") first(n, p);
          break;
        case 2:
          if (name == "FN") first(fn, p);
          break;
        case 3:
          if (name == "TEL") {
            Keep(tel[static_cast<int>(KindOf(p))], p, Order::kWorkFirst);
          } else if (name == "ORG") {
            first(org, p);
          } else if (name == "ADR") {
            Keep(adr, p, Order::kWorkFirst);
          } else if (name == "URL") {
            Keep(url, p, Order::kPrefFirst);
          } else if (name == "REV") {
            first(rev, p);
          }
          break;
        case 4:
          if (name == "NOTE") {
            notes = true;
          } else if (name == "ROLE") {
            first(role, p);
          } else if (name == "KIND") {
            first(kind, p);
          }
          break;
        case 5:
          if (name == "EMAIL") {
            Keep(email, p, Order::kPrefFirst);
          } else if (name == "TITLE") {
            first(title, p);
          } else if (name == "CLASS") {
            first(privacy, p);
          }
          break;
        case 10:
          if (name == "CATEGORIES") {
            categories = true;
          } else if (name == "X-ABSHOWAS") {
            first(show_as, p);
          }
          break;
        case 13:
          if (name == "X-TABREL-TYPE") first(type, p);
          break;
      }
    }
  }
};

// Views into the property's value, or into the buffer NumberOf was given.
struct Number {
  std::string_view number;
  std::string_view ext;
};

// Where the extension starts after a marker at `i` of `text`, or npos:
// "ext. 12", "ext 12", "extension 12" (the word whole, not "Extra"), "x12".
std::size_t ExtensionAfterMarker(std::string_view text, std::size_t i) {
  const std::string_view from = text.substr(i);
  const bool word_start = i == 0 || text[i - 1] == ' ' || text[i - 1] == ',' || text[i - 1] == ';';
  for (std::string_view word : {"extension", "ext"}) {
    if (word_start && StartsWithNoCase(from, word) && from.size() > word.size() &&
        (IsDigit(from[word.size()]) ||
         std::string_view(". :=").find(from[word.size()]) != std::string_view::npos)) {
      return i + word.size();
    }
  }
  const bool x = i > 0 && text[i - 1] == ' ' && LowerChar(text[i]) == 'x';
  if (x && from.size() > 1 && IsDigit(from[1])) return i + 1;
  if (x && from.size() > 2 && (from[1] == ' ' || from[1] == '.') && IsDigit(from[2])) return i + 1;
  return std::string_view::npos;
}

// A number written as text, the extension after its last marker (so that
// a number that itself ends in "ext" keeps it).
Number SplitExtension(std::string_view text) {
  for (std::size_t i = text.size(); i-- > 0;) {
    std::size_t after = ExtensionAfterMarker(text, i);
    if (after == std::string_view::npos) continue;
    while (after < text.size() &&
           std::string_view(". :=").find(text[after]) != std::string_view::npos) {
      ++after;
    }
    const std::string_view ext = TrimSpace(text.substr(after));
    if (ext.empty()) continue;
    std::string_view number = TrimSpace(text.substr(0, i));
    while (!number.empty() && (number.back() == ',' || number.back() == ';')) {
      number.remove_suffix(1);
    }
    return {TrimSpace(number), ext};
  }
  return {text, {}};
}

// The number of a TEL property: from a tel: URI its number and ";ext=";
// from text the whole text, or with `split` the extension apart. What had
// to be decoded is kept in `buffer`.
Number NumberOf(const VcardProperty& tel, bool split, std::string& buffer) {
  std::string_view value = TrimSpace(tel.value);
  const bool uri = StartsWithNoCase(value, "tel:");
  if (!uri && std::string_view(tel.value_type) != "URI") {
    const std::string_view text = Unescaped(value, buffer);
    return split ? SplitExtension(text) : Number{text, {}};
  }
  if (uri) value.remove_prefix(4);
  const Parts<8> parts(value, ';');
  buffer = PercentDecode(parts.part[0]);
  const std::size_t number_end = buffer.size();
  for (std::size_t i = 1; i < parts.count; ++i) {
    if (StartsWithNoCase(parts.part[i], "ext=")) {
      buffer.resize(number_end);
      buffer += PercentDecode(parts.part[i].substr(4));
    }
  }
  const std::string_view decoded = buffer;
  return {decoded.substr(0, number_end), decoded.substr(number_end)};
}

// The number with its extension after " ext. ", joined in `joined` when
// there is one.
std::string_view WithExtension(const Number& number, std::string& joined) {
  if (number.ext.empty()) return number.number;
  joined.assign(number.number).append(" ext. ").append(number.ext);
  return joined;
}

// The next `count` digits of `text` from `at` as a number, skipping the
// separators `skip`; -1 when they are not there.
int Digits(std::string_view text, std::size_t& at, int count, char skip) {
  int value = 0;
  for (int read = 0; read < count; ++at) {
    if (at >= text.size()) return -1;
    if (IsDigit(text[at])) {
      value = value * 10 + (text[at] - '0');
      ++read;
    } else if (text[at] != skip) {
      return -1;
    }
  }
  return value;
}

// REV in any of its shapes ("2012-03-05T13:32:54Z", "20120305T131933Z",
// "2012-03-05") as a stamp; empty when it holds no real date.
std::string StampOfRevision(std::string_view rev) {
  std::size_t at = 0;
  const int year = Digits(rev, at, 4, '-');
  const int month = year < 0 ? -1 : Digits(rev, at, 2, '-');
  const int day = month < 0 ? -1 : Digits(rev, at, 2, '-');
  if (day < 0) return "";
  const std::chrono::year_month_day date{std::chrono::year(year),
                                         std::chrono::month(static_cast<unsigned>(month)),
                                         std::chrono::day(static_cast<unsigned>(day))};
  if (!date.ok()) return "";
  double seconds = 0;
  if (at < rev.size() && (rev[at] == 'T' || rev[at] == 't')) {
    ++at;
    const int h = Digits(rev, at, 2, ':');
    const int m = h < 0 ? -1 : Digits(rev, at, 2, ':');
    const int sec = m < 0 ? -1 : Digits(rev, at, 2, ':');
    if (sec >= 0 && h < 24 && m < 60 && sec < 60) seconds = h * 3600 + m * 60 + sec;
  }
  return MakeStamp({year, month, day, seconds});
}

// The property's value unescaped, trimmed and upper case; empty without one.
std::string UpperText(const VcardProperty* p) {
  if (!p) return "";
  std::string buffer;
  std::string text(TrimSpace(Unescaped(p->value, buffer)));
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

void Names(const CardIndex& index, bool organisation, RecordFiller& filler) {
  std::string buffer;
  if (index.n) {
    const Parts<3> parts(index.n->value, ';');
    filler.Line(l::kLastName, Unescaped(parts.part[0], buffer));
    filler.Line(l::kFirstName, Unescaped(parts.part[1], buffer));
  }
  if (organisation || filler.Has(l::kLastName) || filler.Has(l::kFirstName) || !index.fn) return;
  const std::string full(TrimSpace(Unescaped(index.fn->value, buffer)));
  // An organisation's card names the organisation in FN.
  if (full.empty()) return;
  if (index.org && TrimSpace(Unescaped(Parts<2>(index.org->value, ';').part[0], buffer)) == full) {
    return;
  }
  const auto blank = full.find_last_of(' ');
  if (blank == std::string::npos) {
    filler.Line(l::kLastName, full);
  } else {
    filler.Line(l::kLastName, std::string_view(full).substr(blank + 1));
    filler.Line(l::kFirstName, std::string_view(full).substr(0, blank));
  }
}

void Phones(const CardIndex& index, RecordFiller& filler) {
  if (const VcardProperty* tel = index.tel[static_cast<int>(TelKind::kVoice)]) {
    std::string buffer;
    const Number number = NumberOf(*tel, true, buffer);
    filler.Line(l::kPhone, number.number);
    filler.Line(l::kExt, number.ext);
  }
  const std::pair<TelKind, l::Span> others[] = {
      {TelKind::kFax, l::kFax}, {TelKind::kCell, l::kCellular}, {TelKind::kPager, l::kBeeper}};
  for (const auto& [kind, span] : others) {
    if (const VcardProperty* tel = index.tel[static_cast<int>(kind)]) {
      std::string buffer;
      std::string joined;
      filler.Line(span, WithExtension(NumberOf(*tel, false, buffer), joined));
    }
  }
}

// City, region, postal code and country of an address.
void FillPlace(const Parts<8>& parts, RecordFiller& filler) {
  std::string buffer;
  filler.Line(l::kCity, Unescaped(parts.part[3], buffer));
  filler.Line(l::kState, Unescaped(parts.part[4], buffer));
  filler.Line(l::kZip, Unescaped(parts.part[5], buffer));
  filler.Line(l::kCountry, Unescaped(parts.part[6], buffer));
}

void Address(const VcardProperty& adr, RecordFiller& filler) {
  const Parts<8> parts(adr.value, ';');
  std::string street_buffer;
  std::string buffer;
  const std::string_view street = Unescaped(parts.part[2], street_buffer);
  if (!TrimSpace(street).empty()) {
    // The street's own first line, even an empty one, stays the first line;
    // its other lines, the extended address and the post office box follow
    // in Add2, joined as they come.
    const std::size_t line_end = FindLineEnd(street, 0);
    std::string more;
    if (line_end != std::string_view::npos) AppendJoinedLines(street.substr(line_end), more);
    AppendJoinedLines(Unescaped(parts.part[1], buffer), more);
    AppendJoinedLines(Unescaped(parts.part[0], buffer), more);
    filler.Line(l::kAdd1, street.substr(0, line_end));
    filler.Line(l::kAdd2, more);
    FillPlace(parts, filler);
    return;
  }
  std::vector<std::string> rest;
  AppendLines(Unescaped(parts.part[1], buffer), rest);
  AppendLines(Unescaped(parts.part[0], buffer), rest);
  if (!rest.empty()) {
    filler.Line(l::kAdd1, rest[0]);
    filler.Line(l::kAdd2, Join(rest, 1, ", "));
  }
  FillPlace(parts, filler);
}

// The slots X-TABREL-SLOTS gives the `count` categories of a property
// ("1,3"), each from 0; empty when it gives none that fit.
std::vector<std::size_t> SlotsOf(const VcardProperty& p, std::size_t count) {
  std::vector<std::size_t> slots;
  for (char c : p.Param("X-TABREL-SLOTS")) {
    if (c >= '1' && c <= '3' && std::find(slots.begin(), slots.end(), c - '1') == slots.end()) {
      slots.push_back(static_cast<std::size_t>(c - '1'));
    } else if (c != ',') {
      return {};
    }
  }
  return slots.size() == count ? slots : std::vector<std::size_t>{};
}

void Keywords(const VcardCard& card, RecordFiller& filler, VcardEntry& entry) {
  const l::Span spans[] = {l::kKW1, l::kKW2, l::kKW3};
  std::string slots[3];  // as stored; empty while free
  std::string buffer;
  for (const VcardProperty& p : card.properties) {
    if (std::string_view(p.name) != "CATEGORIES") continue;
    std::vector<std::string> categories;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= p.value.size(); ++i) {
      if (i < p.value.size() && p.value[i] == '\\') {
        ++i;
        continue;
      }
      if (i < p.value.size() && p.value[i] != ',') continue;
      std::string category(Unescaped(std::string_view(p.value).substr(start, i - start), buffer));
      std::replace_if(
          category.begin(), category.end(),
          [](char c) { return c == '\r' || c == '\n' || c == '\t'; }, ' ');
      if (!TrimSpace(category).empty()) categories.emplace_back(TrimSpace(category));
      start = i + 1;
    }
    const std::vector<std::size_t> given = SlotsOf(p, categories.size());
    for (std::size_t i = 0; i < categories.size(); ++i) {
      const EncodeResult encoded = EncodeCp1252(categories[i]);
      const std::string stored = Fit(encoded.bytes, l::kKW1.width);
      if (std::find(std::begin(slots), std::end(slots), stored) != std::end(slots)) continue;
      std::size_t slot = given.empty() ? 0 : given[i];
      if (given.empty() || !slots[slot].empty()) {
        slot = 0;
        while (slot < 3 && !slots[slot].empty()) ++slot;
      }
      if (slot == 3) {
        ++entry.dropped_keywords;
        continue;
      }
      filler.Lost(encoded.replaced, encoded.bytes.size() > l::kKW1.width ? 1 : 0);
      filler.Keyword(spans[slot], stored);
      slots[slot] = stored;
    }
  }
}

bool IsOneOf(std::string_view name, std::initializer_list<std::string_view> names) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

// The properties a record takes or that say nothing about the contact: most
// of a card's. By length first, as CardIndex tells them apart.
bool SaysNothingLost(std::string_view name) {
  if (name.starts_with("X-TABREL-")) return true;
  switch (name.size()) {
    case 1:
      return name == "N";
    case 2:
      return name == "FN";
    case 3:
      return name == "ORG" || name == "REV" || name == "UID" || name == "END";
    case 4:
      return name == "NOTE" || name == "KIND";
    case 5:
      return name == "TITLE" || name == "BEGIN" || name == "CLASS";
    case 6:
      return name == "PRODID";
    case 7:
      return name == "VERSION" || name == "X-ABUID";
    case 9:
      return name == "X-ABLABEL";
    case 10:
      return name == "CATEGORIES" || name == "X-ABSHOWAS";
  }
  return false;
}

// What a value no field of the record holds is called in the report and
// in the notes; empty for a value the record took, or one that says nothing
// about the contact.
std::string_view ExtraKind(const VcardProperty& p, const CardIndex& index) {
  const std::string_view name = p.name;
  if (SaysNothingLost(name)) return "";
  if (name == "TEL") {
    static constexpr std::string_view kTel[] = {"other phone number", "other fax number",
                                                "other cellular number", "other beeper number"};
    const int kind = static_cast<int>(KindOf(p));
    return index.tel[kind] == &p ? "" : kTel[kind];
  }
  if (name == "EMAIL") return index.email == &p ? "" : "other e-mail address";
  if (name == "URL") return index.url == &p ? "" : "other web address";
  if (name == "ADR") return index.adr == &p ? "" : "other address";
  if (name == "ROLE") return index.title ? "role" : "";
  if (name == "BDAY") return "birthday";
  if (name == "PHOTO") return "photo";
  if (name == "LOGO") return "logo";
  if (name == "ANNIVERSARY") return "anniversary";
  if (name == "NICKNAME") return "nickname";
  return name;
}

// The value of a property as a line of the notes.
std::string ExtraText(const VcardProperty& p) {
  const std::string_view name = p.name;
  if (name == "TEL") {
    std::string buffer;
    std::string joined;
    return std::string(WithExtension(NumberOf(p, false, buffer), joined));
  }
  std::string buffer;
  if (name == "ADR") {
    const Parts<8> parts(p.value, ';');
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < parts.count; ++i)
      AppendLines(Unescaped(parts.part[i], buffer), lines);
    return Join(lines, 0, ", ");
  }
  std::string_view text = TrimSpace(Unescaped(p.value, buffer));
  if (name == "EMAIL" && StartsWithNoCase(text, "mailto:")) text.remove_prefix(7);
  // One line of the notes for each value.
  std::vector<std::string> lines;
  AppendLines(text, lines);
  return Join(lines, 0, ", ");
}

// Counts every value of `card` no field holds in `left_out`, or adds it to
// `notes`, a line each.
void Extras(const VcardCard& card, const CardIndex& index, LeftOut* left_out, bool to_notes,
            std::string& notes) {
  for (const VcardProperty& p : card.properties) {
    const std::string_view kind = ExtraKind(p, index);
    if (kind.empty() || TrimSpace(p.value).empty()) continue;
    if (!to_notes || IsOneOf(p.name, {"PHOTO", "LOGO", "SOUND", "KEY"})) {
      if (left_out) left_out->Count(kind);
      continue;
    }
    if (!notes.empty()) notes.push_back('\n');
    notes.push_back(static_cast<char>(std::toupper(static_cast<unsigned char>(kind[0]))));
    notes.append(kind.substr(1)).append(": ").append(ExtraText(p));
  }
}

}  // namespace

void EntryOfCard(const VcardCard& card, VcardEntry& entry, LeftOut* left_out,
                 bool extras_to_notes) {
  entry.line = card.line;
  entry.dated_as.clear();
  entry.dropped_keywords = 0;
  RecordFiller filler(entry.record);
  const CardIndex index(card);
  std::string buffer;

  const std::string kind = UpperText(index.kind);
  const bool said_organisation =
      kind == "ORG" || kind == "ORGANIZATION" || UpperText(index.show_as) == "COMPANY";
  Names(index, said_organisation, filler);
  if (const VcardProperty* title = index.title ? index.title : index.role) {
    filler.Line(l::kTitle, Unescaped(title->value, buffer));
  }
  if (index.org) filler.Line(l::kOrg, Unescaped(Parts<2>(index.org->value, ';').part[0], buffer));
  if (said_organisation && !filler.Has(l::kOrg) && index.fn) {
    filler.Line(l::kOrg, Unescaped(index.fn->value, buffer));
  }
  Phones(index, filler);
  if (index.email) {
    std::string_view address = TrimSpace(Unescaped(index.email->value, buffer));
    if (StartsWithNoCase(address, "mailto:")) address.remove_prefix(7);
    filler.Line(l::kEMail, address);
  }
  if (index.url) filler.Line(l::kWeb, Unescaped(index.url->value, buffer));
  if (index.adr) Address(*index.adr, filler);
  std::string notes;
  if (index.notes) {
    for (const VcardProperty& p : card.properties) {
      if (std::string_view(p.name) != "NOTE") continue;
      const std::string_view note = Unescaped(p.value, buffer);
      if (TrimSpace(note).empty()) continue;
      if (!notes.empty()) notes.push_back('\n');
      notes.append(note);
    }
  }
  if (left_out || extras_to_notes) Extras(card, index, left_out, extras_to_notes, notes);
  if (!notes.empty()) filler.Notes(notes);

  static constexpr l::Span kFields[] = {
      l::kLastName, l::kFirstName, l::kTitle,  l::kOrg,   l::kPhone,   l::kExt,
      l::kFax,      l::kCellular,  l::kBeeper, l::kEMail, l::kWeb,     l::kAdd1,
      l::kAdd2,     l::kCity,      l::kState,  l::kZip,   l::kCountry, l::kNotes};
  entry.empty = std::none_of(std::begin(kFields), std::end(kFields),
                             [&filler](l::Span field) { return filler.Has(field); });
  if (index.categories) Keywords(card, filler, entry);

  const std::string type = UpperText(index.type);
  const std::string privacy = UpperText(index.privacy);
  if (type.size() == 1) {
    filler.Type(type[0]);
    entry.privacy_given = true;
  } else {
    const bool organisation =
        said_organisation ||
        (!filler.Has(l::kLastName) && !filler.Has(l::kFirstName) && filler.Has(l::kOrg));
    const bool personal = privacy == "PRIVATE" || privacy == "CONFIDENTIAL";
    entry.privacy_given = personal || privacy == "PUBLIC";
    filler.Type(organisation ? (personal ? '4' : '2') : (personal ? '3' : '1'));
  }
  if (index.rev) entry.dated_as = StampOfRevision(TrimSpace(index.rev->value));
  entry.replaced = filler.replaced();
  entry.cut = filler.cut();
}

VcardEntry EntryOfCard(const VcardCard& card) {
  VcardEntry entry;
  EntryOfCard(card, entry);
  return entry;
}

VcardReadResult ReadVcards(std::string_view bytes, const VcardReadOptions& options) {
  VcardReadResult result;
  VcardParser parser(bytes, options);
  VcardCard card;
  while (parser.Next(card)) result.entries.push_back(EntryOfCard(card));
  result.problems = parser.problems();
  result.begun = parser.begun();
  result.encoding = parser.encoding();
  return result;
}

}  // namespace tabrel
