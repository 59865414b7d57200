#include "exchange/formats/vcard_parser.h"

#include <algorithm>
#include <bit>
#include <optional>

#include "base/base64.h"
#include "base/codec.h"
#include "base/text_decoding.h"

namespace tabrel {
namespace {

bool IsNameChar(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
         c == '_';
}

char UpperChar(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

std::string Upper(std::string_view text) {
  std::string upper(text);
  std::transform(upper.begin(), upper.end(), upper.begin(), UpperChar);
  return upper;
}

bool SameNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return UpperChar(x) == UpperChar(y);
         });
}

bool IsBlankChar(char c) {
  return c == ' ' || c == '\t';
}

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlankChar(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlankChar(text.back())) text.remove_suffix(1);
  return text;
}

// True when `line` holds nothing but blanks and tabs.
bool IsEmptyLine(std::string_view line) {
  for (char c : line) {
    if (!IsBlankChar(c)) return false;
  }
  return true;
}

// A parameter value without the quotes around it.
std::string_view Unquote(std::string_view text) {
  text = TrimBlanks(text);
  if (text.size() >= 2 && text.front() == '"' && text.back() == '"') {
    return text.substr(1, text.size() - 2);
  }
  return text;
}

// True when `line` is a property line ("[GROUP.]NAME *(;PARAM) : VALUE"),
// so that it cannot continue the line before it.
bool LooksLikeProperty(std::string_view line) {
  std::size_t i = 0;
  while (i < line.size() && IsNameChar(line[i])) ++i;
  if (i > 0 && i < line.size() && line[i] == '.') {
    const std::size_t name = ++i;
    while (i < line.size() && IsNameChar(line[i])) ++i;
    if (i == name) return false;
  }
  if (i == 0) return false;
  bool quoted = false;
  while (i < line.size() && line[i] == ';') {
    for (++i; i < line.size() && (quoted || (line[i] != ';' && line[i] != ':')); ++i) {
      if (line[i] == '"') quoted = !quoted;
    }
  }
  return i < line.size() && line[i] == ':';
}

// The line is BEGIN:VCARD or END:VCARD, in any case.
bool IsCardBoundary(std::string_view line) {
  if (line.empty() ||
      (UpperChar(line[0]) != 'B' && UpperChar(line[0]) != 'E' && !IsBlankChar(line[0]))) {
    return false;
  }
  line = TrimBlanks(line);
  return SameNoCase(line, "BEGIN:VCARD") || SameNoCase(line, "END:VCARD");
}

bool EndsInLoneBackslash(std::string_view text) {
  std::size_t run = 0;
  while (run < text.size() && text[text.size() - 1 - run] == '\\') ++run;
  return run % 2 == 1;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  c = UpperChar(c);
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string DecodeQuotedPrintable(std::string_view text) {
  std::string bytes;
  bytes.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '=') {
      if (i + 2 < text.size()) {
        const int high = HexDigit(text[i + 1]);
        const int low = HexDigit(text[i + 2]);
        if (high >= 0 && low >= 0) {
          bytes.push_back(static_cast<char>(high * 16 + low));
          i += 2;
          continue;
        }
      }
      if (i + 1 == text.size()) break;  // a soft break at the very end
    }
    bytes.push_back(text[i]);
  }
  return bytes;
}

bool IsBinaryProperty(std::string_view name) {
  return name == "PHOTO" || name == "LOGO" || name == "SOUND" || name == "KEY";
}

}  // namespace

bool VcardProperty::HasType(std::string_view upper) const {
  return std::find(types.begin(), types.end(), upper) != types.end();
}

std::string_view VcardProperty::Param(std::string_view upper) const {
  for (const auto& [name, value] : params) {
    if (name == upper) return value;
  }
  return {};
}

// The parts of a property line, as views into it.
struct VcardParser::Header {
  std::string_view group;
  std::string_view name;
  std::vector<std::string_view> params;  // each "NAME=VALUE" or a bare "VALUE"
  std::string_view value;
  bool quoted_printable = false;
  bool base64 = false;
  std::string_view charset;

  // False when `line` is no property line.
  bool Parse(std::string_view line);
};

bool VcardParser::Header::Parse(std::string_view line) {
  params.clear();
  quoted_printable = base64 = false;
  charset = {};
  std::size_t i = 0;
  const auto token = [&] {
    const std::size_t start = i;
    while (i < line.size() && IsNameChar(line[i])) ++i;
    return line.substr(start, i - start);
  };
  name = token();
  group = {};
  if (i < line.size() && line[i] == '.' && !name.empty()) {
    group = name;
    ++i;
    name = token();
  }
  if (name.empty()) return false;
  while (i < line.size() && line[i] == ';') {
    const std::size_t start = ++i;
    bool quoted = false;
    while (i < line.size() && (quoted || (line[i] != ';' && line[i] != ':'))) {
      if (line[i] == '"') quoted = !quoted;
      ++i;
    }
    params.push_back(line.substr(start, i - start));
  }
  if (i >= line.size() || line[i] != ':') return false;
  value = line.substr(i + 1);
  for (std::string_view param : params) {
    const auto eq = param.find('=');
    const std::string_view key =
        eq == std::string_view::npos ? "" : TrimBlanks(param.substr(0, eq));
    const std::string_view given =
        Unquote(eq == std::string_view::npos ? param : param.substr(eq + 1));
    if (key.empty() || SameNoCase(key, "ENCODING")) {
      if (SameNoCase(given, "QUOTED-PRINTABLE")) quoted_printable = true;
      if (SameNoCase(given, "BASE64") || SameNoCase(given, "B")) base64 = true;
    } else if (SameNoCase(key, "CHARSET")) {
      charset = given;
    }
  }
  return true;
}

VcardParser::VcardParser(std::string_view bytes, VcardReadOptions options)
    : VcardParser(std::string(bytes), std::move(options)) {}

VcardParser::VcardParser(std::string&& bytes, VcardReadOptions options)
    : lines_({}), options_(std::move(options)), header_(std::make_unique<Header>()) {
  if (auto unicode = DecodeUnicodeForm(bytes)) {
    text_ = std::move(unicode->text);
    encoding_ = std::move(unicode->encoding);
    unicode_ = true;
  } else {
    text_ = std::move(bytes);
    encoding_ = "8-bit";
  }
  lines_ = LineReader(text_, LoneCr::kKeptWhereLfEndsLines);
  text_holds_nul_ = text_.find('\0') != std::string::npos;
}

VcardParser::VcardParser(const VcardParser& whole, std::size_t from)
    : encoding_(whole.encoding_),
      unicode_(whole.unicode_),
      text_holds_nul_(whole.text_holds_nul_),
      lines_(std::string_view(whole.text_).substr(from), LoneCr::kKeptWhereLfEndsLines),
      options_(whole.options_),
      header_(std::make_unique<Header>()),
      line_base_(static_cast<std::size_t>(std::count(
          whole.text_.begin(), whole.text_.begin() + static_cast<std::ptrdiff_t>(from), '\n'))) {}

VcardParser::~VcardParser() = default;

std::unique_ptr<VcardParser> VcardParser::SplitOff(double share) {
  // Only where an LF ends every line, in the rest too, does the rest read
  // alike on its own.
  if (stop_at_ != std::string_view::npos || text_.find('\n') == std::string::npos) return nullptr;
  const std::string_view text = text_;
  const auto start = static_cast<std::size_t>(static_cast<double>(text.size()) * share);
  // Where a card seems to begin; should the line lie within one, the
  // front reads on.
  const std::size_t at = text.find("\nBEGIN:VCARD", start);
  if (at == std::string_view::npos || text.find('\n', at + 1) == std::string_view::npos) {
    return nullptr;
  }
  stop_at_ = at + 1;
  return std::unique_ptr<VcardParser>(new VcardParser(*this, stop_at_));
}

bool VcardParser::NextLogical(std::string_view& text, std::size_t& line, bool& property) {
  std::string_view first;
  do {
    if (!lines_.Next(first)) return false;
  } while (IsEmptyLine(first));
  // Most lines continue on no other: they are parsed where they stand in the
  // file's text, and only a folded one is joined in `logical_`.
  text = first;
  line = line_base_ + lines_.number();
  Header& header = *header_;
  property = header.Parse(text);
  bool joined = false;
  const auto join = [&] {
    if (!joined) logical_.assign(first);
    joined = true;
  };
  for (std::string_view next; lines_.Peek(next);) {
    if (property && header.quoted_printable && !text.empty() && text.back() == '=' &&
        !IsCardBoundary(next)) {
      join();
      logical_.pop_back();  // a soft line break
      logical_.append(next);
    } else if (!next.empty() && IsBlankChar(next[0])) {
      join();
      logical_.append(next.substr(1));
    } else if (property && EndsInLoneBackslash(text) && !IsEmptyLine(next) &&
               !LooksLikeProperty(next)) {
      join();
      logical_.push_back('n');  // the backslash and the line end stand for a line break
      logical_.append(next);
    } else if (property && header.base64 && !IsEmptyLine(next) && !LooksLikeProperty(next)) {
      join();
      logical_.append(next);
    } else {
      break;
    }
    text = logical_;
    lines_.Next(next);
    // A header folded before its colon is known only now.
    if (!property) property = header.Parse(text);
  }
  // The parts must point into the text as it ends.
  if (joined && property) header.Parse(text);
  return true;
}

bool VcardParser::Decode(const Header& header, VcardProperty& property, bool& as_in_file) const {
  as_in_file = false;
  property.group.assign(header.group);
  property.name.assign(header.name);
  std::transform(property.name.begin(), property.name.end(), property.name.begin(), UpperChar);
  property.types.clear();
  property.pref = 0;
  property.value_type.clear();
  property.params.clear();
  for (std::string_view param : header.params) {
    const auto eq = param.find('=');
    if (eq == std::string_view::npos) {
      const std::string bare = Upper(Unquote(param));
      if (bare != "QUOTED-PRINTABLE" && bare != "BASE64" && bare != "8BIT" && bare != "7BIT" &&
          !bare.empty()) {
        property.types.push_back(bare);
      }
      continue;
    }
    const std::string_view key = TrimBlanks(param.substr(0, eq));
    const std::string_view given = param.substr(eq + 1);
    if (SameNoCase(key, "TYPE")) {
      // TYPE=a,b and TYPE="a,b" alike.
      std::string_view list = Unquote(given);
      while (!list.empty()) {
        const auto comma = list.find(',');
        const std::string item = Upper(Unquote(list.substr(0, comma)));
        if (!item.empty()) property.types.push_back(item);
        list = comma == std::string_view::npos ? std::string_view{} : list.substr(comma + 1);
      }
    } else if (SameNoCase(key, "PREF")) {
      const std::string_view digits = Unquote(given);
      int pref = 0;
      for (char c : digits) {
        if (c < '0' || c > '9' || pref > 1000) break;
        pref = pref * 10 + (c - '0');
      }
      property.pref = pref > 0 ? pref : 1;
    } else if (SameNoCase(key, "VALUE")) {
      property.value_type = Upper(Unquote(given));
    } else if (!SameNoCase(key, "ENCODING") && !SameNoCase(key, "CHARSET")) {
      property.params.emplace_back(Upper(key), Unquote(given));
    }
  }

  std::string bytes;
  std::string_view raw = header.value;
  bool transformed = false;
  if (header.base64) {
    if (IsBinaryProperty(property.name)) return false;
    auto decoded = DecodeBase64(raw);
    if (!decoded) return false;
    bytes = std::move(*decoded);
    transformed = true;
  } else if (header.quoted_printable) {
    bytes = DecodeQuotedPrintable(raw);
    transformed = true;
  }
  const std::string_view value = transformed ? std::string_view(bytes) : raw;
  // Raw text of a Unicode file is UTF-8 already, whatever CHARSET says; the
  // bytes of an encoded value, or of an 8-bit file, are in the value's set.
  // Plain ASCII reads the same in every set a vCard may name.
  if ((unicode_ && !transformed) || AsciiPrefix(value) == value.size()) {
    property.value.assign(value);
    as_in_file = !transformed;
    return true;
  }
  std::optional<std::string> converted;
  if (!header.charset.empty()) converted = CharsetToUtf8(value, header.charset);
  if (!converted && !options_.charset.empty()) converted = CharsetToUtf8(value, options_.charset);
  property.value = converted ? std::move(*converted) : Utf8OrWindows1252(value);
  return true;
}

void VcardParser::SkipNested(std::size_t begun) {
  int depth = 1;
  std::size_t line = 0;
  bool property = false;
  for (std::string_view logical; depth > 0 && NextLogical(logical, line, property);) {
    const std::string_view text = TrimBlanks(logical);
    if (SameNoCase(text, "BEGIN:VCARD")) ++depth;
    if (SameNoCase(text, "END:VCARD")) --depth;
  }
  if (depth > 0) Problem(begun, "the card begun on this line has no END:VCARD");
}

bool VcardParser::Next(VcardCard& card) {
  bool open = false;
  std::size_t line = 0;
  bool property = false;
  const Header& header = *header_;
  // The properties of the last card lend their memory to the next: they
  // are taken over in place, and those left over dropped at the end.
  std::size_t used = 0;
  const auto start = [&](std::size_t begun) {
    card.line = begun;
    card.version.clear();
    used = 0;
  };
  for (std::string_view logical;;) {
    if (!open && lines_.offset() == stop_at_) {
      stopped_ = true;
      break;
    }
    if (!NextLogical(logical, line, property)) break;
    const bool begin = property && header.group.empty() && SameNoCase(header.name, "BEGIN") &&
                       SameNoCase(TrimBlanks(header.value), "VCARD");
    const bool end = property && header.group.empty() && SameNoCase(header.name, "END") &&
                     SameNoCase(TrimBlanks(header.value), "VCARD");
    if (!open) {
      if (begin) {
        ++begun_;
        open = true;
        start(line);
      } else if (end) {
        Problem(line, "END:VCARD without a BEGIN:VCARD before it");
      } else if (logical[0] != '#' &&
                 logical.find_first_not_of(" \t\x1a") != std::string_view::npos) {
        const std::string shown(logical.substr(0, 40));
        Problem(line, "\"" + shown + (logical.size() > 40 ? "...\"" : "\"") +
                          " is outside any card (BEGIN:VCARD missing?)");
      }
      continue;
    }
    if (end) {
      card.properties.resize(used);
      return true;
    }
    if (begin) {
      // A 2.1 AGENT property holds the card that follows it.
      if (used > 0 && std::string_view(card.properties[used - 1].name) == "AGENT" &&
          TrimBlanks(card.properties[used - 1].value).empty()) {
        SkipNested(card.line);
        continue;
      }
      Problem(line, "BEGIN:VCARD inside the card begun on line " + std::to_string(card.line) +
                        ", which has no END:VCARD");
      start(line);
      continue;
    }
    if (!property) continue;
    if (used == card.properties.size()) card.properties.emplace_back();
    VcardProperty& added = card.properties[used];
    added.line = line;
    bool as_in_file = false;
    if (!Decode(header, added, as_in_file)) continue;
    // As every text format of an import refuses it: a NUL is no text. A
    // value copied as the file has it holds one only if the file does.
    if ((!as_in_file || text_holds_nul_) && added.value.find('\0') != std::string::npos) {
      Problem(line, "the value of " + added.name + " holds a NUL character, which no text does");
    }
    ++used;
    if (std::string_view(added.name) == "VERSION" && added.group.empty()) {
      card.version = TrimBlanks(added.value);
    }
  }
  if (open) Problem(card.line, "the card begun on this line has no END:VCARD");
  card.properties.resize(used);
  return false;
}

namespace {

// Whether `text` holds "BEGIN:VCARD", in any case, at `at`.
bool BeginVcardAt(std::string_view text, std::size_t at) {
  return at + 11 <= text.size() && SameNoCase(text.substr(at, 11), "BEGIN:VCARD");
}

// Where the next ":V" or ":v" stands at or after `from`; npos when none.
// Sixteen places compared at a time: the pair stands twice a card, a
// hundred times more rarely than either byte alone.
std::size_t FindColonV(std::string_view text, std::size_t from) {
  std::size_t at = from;
#if defined(__SSE2__)
  const __m128i colon = _mm_set1_epi8(':');
  const __m128i v = _mm_set1_epi8('v');
  const __m128i lower = _mm_set1_epi8(0x20);
  for (; at + 17 <= text.size(); at += 16) {
    const auto* here = reinterpret_cast<const __m128i*>(text.data() + at);
    const auto* next = reinterpret_cast<const __m128i*>(text.data() + at + 1);
    const __m128i pair =
        _mm_and_si128(_mm_cmpeq_epi8(_mm_loadu_si128(here), colon),
                      _mm_cmpeq_epi8(_mm_or_si128(_mm_loadu_si128(next), lower), v));
    const auto found = static_cast<unsigned>(_mm_movemask_epi8(pair));
    if (found != 0) return at + static_cast<std::size_t>(std::countr_zero(found));
  }
#endif
  for (; at + 1 < text.size(); ++at) {
    if (text[at] == ':' && (text[at + 1] | 0x20) == 'v') return at;
  }
  return std::string_view::npos;
}

// The lines that are BEGIN:VCARD of a text whose lines LF ends (the CRs
// before it not part of the line), found from each ":V" rather than line by
// line: a file of megabytes has a line every few dozen bytes and a card
// every few hundred.
std::size_t CountBeginLines(std::string_view text, std::size_t up_to) {
  std::size_t cards = 0;
  for (std::size_t colon = FindColonV(text, 5); colon != std::string_view::npos && cards < up_to;
       colon = FindColonV(text, colon + 1)) {
    if (!BeginVcardAt(text, colon - 5)) continue;
    std::size_t start = colon - 5;
    while (start > 0 && IsBlankChar(text[start - 1])) --start;
    if (start > 0 && text[start - 1] != '\n') continue;
    std::size_t end = colon + 6;
    while (end < text.size() && IsBlankChar(text[end])) ++end;
    while (end < text.size() && text[end] == '\r') ++end;
    cards += end == text.size() || text[end] == '\n';
  }
  return cards;
}

}  // namespace

std::size_t CountCardsBegun(std::string_view bytes, std::size_t up_to) {
  const auto unicode = DecodeUnicodeForm(bytes);
  const std::string_view text = unicode ? std::string_view(unicode->text) : bytes;
  if (text.find('\n') != std::string_view::npos) return CountBeginLines(text, up_to);
  LineReader lines(text, LoneCr::kKeptWhereLfEndsLines);
  std::size_t cards = 0;
  for (std::string_view line; cards < up_to && lines.Next(line);) {
    cards += SameNoCase(TrimBlanks(line), "BEGIN:VCARD");
  }
  return cards;
}

}  // namespace tabrel
