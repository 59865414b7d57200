#include "exchange/vcard_reader.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <tuple>

#include "base/codec.h"
#include "base/text.h"
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

std::string_view TrimSpace(std::string_view text) {
  const auto first = text.find_first_not_of(" \t\r\n");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

// The parts of `value` between unescaped `separator`s, still escaped.
std::vector<std::string_view> Split(std::string_view value, char separator) {
  std::vector<std::string_view> parts;
  std::size_t start = 0;
  for (std::size_t i = 0; i < value.size(); ++i) {
    if (value[i] == '\\') {
      ++i;
    } else if (value[i] == separator) {
      parts.push_back(value.substr(start, i - start));
      start = i + 1;
    }
  }
  parts.push_back(value.substr(start));
  return parts;
}

// \n and \N stand for a line break; \, \; \: \\ and \" for the character.
// Any other backslash is kept, as a writer that escapes nothing leaves it.
std::string Unescape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 1 < text.size()) {
      const char next = text[i + 1];
      if (next == 'n' || next == 'N') {
        out.push_back('\n');
        ++i;
        continue;
      }
      if (next == ',' || next == ';' || next == ':' || next == '\\' || next == '"') {
        out.push_back(next);
        ++i;
        continue;
      }
    }
    out.push_back(text[i]);
  }
  return out;
}

std::string Component(const std::vector<std::string_view>& parts, std::size_t index) {
  return index < parts.size() ? Unescape(parts[index]) : std::string();
}

// The lines of a value, each trimmed, empty ones left out.
std::vector<std::string> Lines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= text.size(); ++i) {
    if (i == text.size() || text[i] == '\n' || text[i] == '\r') {
      const std::string_view line = TrimSpace(text.substr(start, i - start));
      if (!line.empty()) lines.emplace_back(line);
      start = i + 1;
    }
  }
  return lines;
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

// A record being filled from UTF-8 values, counting what could not be kept.
class RecordFiller {
 public:
  RecordFiller() : record_(l::kContactRecordLength, ' ') {}

  // A one-line field: line breaks and tabs become blanks.
  void Line(l::Span span, std::string_view utf8) {
    std::string text(TrimSpace(utf8));
    std::replace_if(
        text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n' || c == '\t'; }, ' ');
    Store(span, text);
  }
  // The notes: every line break as CR LF.
  void Notes(std::string_view utf8) {
    std::string text;
    utf8 = TrimSpace(utf8);
    for (std::size_t i = 0; i < utf8.size(); ++i) {
      if (utf8[i] == '\r' || utf8[i] == '\n') {
        if (utf8[i] == '\r' && i + 1 < utf8.size() && utf8[i + 1] == '\n') ++i;
        text.append("\r\n");
      } else {
        text.push_back(utf8[i]);
      }
    }
    Store(l::kNotes, text);
  }
  void Keyword(l::Span span, const std::string& stored) {
    record_.replace(span.offset, span.width, Fit(stored, span.width));
  }
  void Type(char type) { record_[l::kRecType.offset] = type; }
  std::string& record() { return record_; }
  std::size_t replaced() const { return replaced_; }
  std::size_t cut() const { return cut_; }

  bool Has(l::Span span) const { return !IsBlank(Get(span)); }
  std::string_view Get(l::Span span) const {
    return std::string_view(record_).substr(span.offset, span.width);
  }
  void Lost(std::size_t replaced, std::size_t cut) {
    replaced_ += replaced;
    cut_ += cut;
  }

 private:
  // `utf8` as stored text: encoded, cut to `width`; counts what was lost.
  std::string Encode(std::string_view utf8, std::size_t width) {
    EncodeResult encoded = EncodeCp1252(utf8);
    replaced_ += encoded.replaced;
    if (encoded.bytes.size() > width) {
      ++cut_;
      encoded.bytes.resize(width);
      // Half a line break would be a lone CR.
      if (encoded.bytes.back() == '\r') encoded.bytes.back() = ' ';
    }
    return std::move(encoded.bytes);
  }

  void Store(l::Span span, std::string_view utf8) {
    record_.replace(span.offset, span.width, Fit(Encode(utf8, span.width), span.width));
  }

  std::string record_;
  std::size_t replaced_ = 0;
  std::size_t cut_ = 0;
};

enum class Order {
  kWorkFirst,  // work, then preferred, then the first
  kPrefFirst,  // preferred, then work, then the first
};

// The best of the properties `name` that `accept` takes; null when none.
template <typename Accept>
const VcardProperty* Best(const VcardCard& card, std::string_view name, Order order,
                          Accept accept) {
  const VcardProperty* best = nullptr;
  std::tuple<int, int, int> best_key{};
  for (const VcardProperty& p : card.properties) {
    if (p.name != name || !accept(p)) continue;
    const int work = p.HasType("WORK") ? 0 : 1;
    const int pref = p.pref > 0 ? p.pref : (p.HasType("PREF") ? 1 : 1000);
    const std::tuple<int, int, int> key =
        order == Order::kWorkFirst ? std::tuple{work, pref, 0} : std::tuple{pref, work, 0};
    if (!best || key < best_key) {
      best = &p;
      best_key = key;
    }
  }
  return best;
}

const VcardProperty* First(const VcardCard& card, std::string_view name) {
  for (const VcardProperty& p : card.properties) {
    if (p.name == name) return &p;
  }
  return nullptr;
}

enum class TelKind { kVoice, kFax, kCell, kPager };

TelKind KindOf(const VcardProperty& tel) {
  if (tel.HasType("FAX")) return TelKind::kFax;
  if (tel.HasType("PAGER")) return TelKind::kPager;
  if (tel.HasType("CELL") || tel.HasType("MOBILE")) return TelKind::kCell;
  return TelKind::kVoice;
}

struct Number {
  std::string number;
  std::string ext;
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
Number SplitExtension(std::string text) {
  for (std::size_t i = text.size(); i-- > 0;) {
    std::size_t after = ExtensionAfterMarker(text, i);
    if (after == std::string_view::npos) continue;
    while (after < text.size() &&
           std::string_view(". :=").find(text[after]) != std::string_view::npos) {
      ++after;
    }
    const std::string_view ext = TrimSpace(std::string_view(text).substr(after));
    if (ext.empty()) continue;
    std::string_view number = TrimSpace(std::string_view(text).substr(0, i));
    while (!number.empty() && (number.back() == ',' || number.back() == ';')) {
      number.remove_suffix(1);
    }
    return {std::string(TrimSpace(number)), std::string(ext)};
  }
  return {std::move(text), {}};
}

// The number of a TEL property: from a tel: URI its number and ";ext=";
// from text the whole text, or with `split` the extension apart.
Number NumberOf(const VcardProperty& tel, bool split) {
  std::string_view value = TrimSpace(tel.value);
  const bool uri = StartsWithNoCase(value, "tel:");
  if (!uri && tel.value_type != "URI") {
    std::string text = Unescape(value);
    return split ? SplitExtension(std::move(text)) : Number{std::move(text), {}};
  }
  if (uri) value.remove_prefix(4);
  const auto parts = Split(value, ';');
  Number number{PercentDecode(parts[0]), {}};
  for (std::size_t i = 1; i < parts.size(); ++i) {
    if (StartsWithNoCase(parts[i], "ext=")) number.ext = PercentDecode(parts[i].substr(4));
  }
  return number;
}

std::string WithExtension(const Number& number) {
  return number.ext.empty() ? number.number : number.number + " ext. " + number.ext;
}

// REV in any of its shapes ("2012-03-05T13:32:54Z", "20120305T131933Z",
// "2012-03-05") as a stamp; empty when it holds no real date.
std::string StampOfRevision(std::string_view rev) {
  std::string digits;
  std::size_t i = 0;
  for (; i < rev.size() && digits.size() < 8; ++i) {
    if (IsDigit(rev[i])) {
      digits.push_back(rev[i]);
    } else if (rev[i] != '-') {
      break;
    }
  }
  if (digits.size() != 8) return "";
  const int year = std::stoi(digits.substr(0, 4));
  const int month = std::stoi(digits.substr(4, 2));
  const int day = std::stoi(digits.substr(6, 2));
  const std::chrono::year_month_day date{std::chrono::year(year),
                                         std::chrono::month(static_cast<unsigned>(month)),
                                         std::chrono::day(static_cast<unsigned>(day))};
  if (!date.ok()) return "";
  double seconds = 0;
  if (i < rev.size() && (rev[i] == 'T' || rev[i] == 't')) {
    std::string time;
    for (++i; i < rev.size() && time.size() < 6; ++i) {
      if (IsDigit(rev[i])) {
        time.push_back(rev[i]);
      } else if (rev[i] != ':') {
        break;
      }
    }
    if (time.size() == 6) {
      const int h = std::stoi(time.substr(0, 2));
      const int m = std::stoi(time.substr(2, 2));
      const int s = std::stoi(time.substr(4, 2));
      if (h < 24 && m < 60 && s < 60) seconds = h * 3600 + m * 60 + s;
    }
  }
  return MakeStamp({year, month, day, seconds});
}

void Names(const VcardCard& card, bool organisation, RecordFiller& filler) {
  if (const VcardProperty* n = First(card, "N")) {
    const auto parts = Split(n->value, ';');
    filler.Line(l::kLastName, Component(parts, 0));
    filler.Line(l::kFirstName, Component(parts, 1));
  }
  if (organisation || filler.Has(l::kLastName) || filler.Has(l::kFirstName)) return;
  const VcardProperty* fn = First(card, "FN");
  if (!fn) return;
  const std::string full(TrimSpace(Unescape(fn->value)));
  const VcardProperty* org = First(card, "ORG");
  // An organisation's card names the organisation in FN.
  if (full.empty() || (org && TrimSpace(Component(Split(org->value, ';'), 0)) == full)) return;
  const auto blank = full.find_last_of(' ');
  if (blank == std::string::npos) {
    filler.Line(l::kLastName, full);
  } else {
    filler.Line(l::kLastName, std::string_view(full).substr(blank + 1));
    filler.Line(l::kFirstName, std::string_view(full).substr(0, blank));
  }
}

void Phones(const VcardCard& card, RecordFiller& filler) {
  const auto of_kind = [](TelKind kind) {
    return [kind](const VcardProperty& p) { return KindOf(p) == kind; };
  };
  if (const VcardProperty* tel = Best(card, "TEL", Order::kWorkFirst, of_kind(TelKind::kVoice))) {
    const Number number = NumberOf(*tel, true);
    filler.Line(l::kPhone, number.number);
    filler.Line(l::kExt, number.ext);
  }
  const std::pair<TelKind, l::Span> others[] = {
      {TelKind::kFax, l::kFax}, {TelKind::kCell, l::kCellular}, {TelKind::kPager, l::kBeeper}};
  for (const auto& [kind, span] : others) {
    if (const VcardProperty* tel = Best(card, "TEL", Order::kWorkFirst, of_kind(kind))) {
      filler.Line(span, WithExtension(NumberOf(*tel, false)));
    }
  }
}

void Address(const VcardCard& card, RecordFiller& filler) {
  const VcardProperty* adr =
      Best(card, "ADR", Order::kWorkFirst, [](const VcardProperty&) { return true; });
  if (!adr) return;
  const auto parts = Split(adr->value, ';');
  const std::string street = Component(parts, 2);
  std::vector<std::string> rest;
  for (std::size_t index : {std::size_t{1}, std::size_t{0}}) {
    for (std::string& line : Lines(Component(parts, index))) rest.push_back(std::move(line));
  }
  if (!Lines(street).empty()) {
    // The street's own first line, even an empty one, stays the first line.
    const auto line_end = street.find_first_of("\r\n");
    std::vector<std::string> more =
        Lines(line_end == std::string::npos ? std::string_view()
                                            : std::string_view(street).substr(line_end));
    more.insert(more.end(), rest.begin(), rest.end());
    filler.Line(l::kAdd1, std::string_view(street).substr(0, line_end));
    filler.Line(l::kAdd2, Join(more, 0, ", "));
  } else if (!rest.empty()) {
    filler.Line(l::kAdd1, rest[0]);
    filler.Line(l::kAdd2, Join(rest, 1, ", "));
  }
  filler.Line(l::kCity, Component(parts, 3));
  filler.Line(l::kState, Component(parts, 4));
  filler.Line(l::kZip, Component(parts, 5));
  filler.Line(l::kCountry, Component(parts, 6));
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
  for (const VcardProperty& p : card.properties) {
    if (p.name != "CATEGORIES") continue;
    std::vector<std::string> categories;
    for (std::string_view part : Split(p.value, ',')) {
      std::string category = Unescape(part);
      std::replace_if(
          category.begin(), category.end(),
          [](char c) { return c == '\r' || c == '\n' || c == '\t'; }, ' ');
      if (!TrimSpace(category).empty()) categories.emplace_back(TrimSpace(category));
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

std::string UpperText(const VcardProperty* p) {
  if (!p) return "";
  std::string text(TrimSpace(Unescape(p->value)));
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

}  // namespace

VcardEntry EntryOfCard(const VcardCard& card) {
  VcardEntry entry;
  entry.line = card.line;
  RecordFiller filler;

  const std::string kind = UpperText(First(card, "KIND"));
  const bool said_organisation =
      kind == "ORG" || kind == "ORGANIZATION" || UpperText(First(card, "X-ABSHOWAS")) == "COMPANY";
  Names(card, said_organisation, filler);
  if (const VcardProperty* title = First(card, "TITLE")) {
    filler.Line(l::kTitle, Unescape(title->value));
  } else if (const VcardProperty* role = First(card, "ROLE")) {
    filler.Line(l::kTitle, Unescape(role->value));
  }
  if (const VcardProperty* org = First(card, "ORG")) {
    filler.Line(l::kOrg, Component(Split(org->value, ';'), 0));
  }
  if (said_organisation && !filler.Has(l::kOrg)) {
    if (const VcardProperty* fn = First(card, "FN")) filler.Line(l::kOrg, Unescape(fn->value));
  }
  Phones(card, filler);
  if (const VcardProperty* email =
          Best(card, "EMAIL", Order::kPrefFirst, [](const VcardProperty&) { return true; })) {
    std::string address(TrimSpace(Unescape(email->value)));
    if (StartsWithNoCase(address, "mailto:")) address.erase(0, 7);
    filler.Line(l::kEMail, address);
  }
  if (const VcardProperty* url =
          Best(card, "URL", Order::kPrefFirst, [](const VcardProperty&) { return true; })) {
    filler.Line(l::kWeb, Unescape(url->value));
  }
  Address(card, filler);
  std::string notes;
  for (const VcardProperty& p : card.properties) {
    if (p.name != "NOTE") continue;
    const std::string note = Unescape(p.value);
    if (TrimSpace(note).empty()) continue;
    if (!notes.empty()) notes.push_back('\n');
    notes.append(note);
  }
  filler.Notes(notes);

  entry.empty = true;
  for (const auto& field : {l::kLastName, l::kFirstName, l::kTitle, l::kOrg, l::kPhone, l::kExt,
                            l::kFax, l::kCellular, l::kBeeper, l::kEMail, l::kWeb, l::kAdd1,
                            l::kAdd2, l::kCity, l::kState, l::kZip, l::kCountry, l::kNotes}) {
    if (filler.Has(field)) entry.empty = false;
  }
  Keywords(card, filler, entry);

  const std::string type = UpperText(First(card, "X-TABREL-TYPE"));
  const std::string privacy = UpperText(First(card, "CLASS"));
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
  if (const VcardProperty* rev = First(card, "REV")) {
    entry.dated_as = StampOfRevision(TrimSpace(rev->value));
  }
  entry.replaced = filler.replaced();
  entry.cut = filler.cut();
  entry.record = std::move(filler.record());
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
