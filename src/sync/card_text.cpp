#include "sync/card_text.h"

#include <algorithm>
#include <array>
#include <vector>

#include "base/text.h"
#include "exchange/formats/vcard_parser.h"
#include "exchange/formats/vcard_reader.h"
#include "store/contact_record.h"
#include "store/layout.h"

namespace tabrel {
namespace {

namespace l = layout;

// A property's lines as they stand in the text, folding kept.
struct CardLine {
  std::size_t line = 0;  // of its first physical line, from 1
  std::string raw;       // without the final line break
};

std::vector<CardLine> LogicalLines(std::string_view text) {
  std::vector<CardLine> out;
  std::size_t number = 0;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    ++number;
    if (line.ends_with('\r')) line.remove_suffix(1);
    if (!out.empty() && !line.empty() && (line[0] == ' ' || line[0] == '\t')) {
      out.back().raw += "\r\n";
      out.back().raw += line;
    } else {
      out.push_back({number, std::string(line)});
    }
  }
  return out;
}

// Which property of a card the reader takes for each field group; the
// order of preference is the reader's.
enum Group {
  kName,
  kOrg,
  kTitle,
  kVoice,
  kFax,
  kCell,
  kPager,
  kEmail,
  kUrl,
  kAdr,
  kNote,
  kCategories,
  kType,
  kRev,
  kGroups
};

std::pair<int, int> Rank(const VcardProperty& p, bool work_first) {
  const int work = p.HasType("WORK") ? 0 : 1;
  const int pref = p.pref > 0 ? p.pref : (p.HasType("PREF") ? 1 : 1000);
  return work_first ? std::pair{work, pref} : std::pair{pref, work};
}

Group TelGroup(const VcardProperty& tel) {
  if (tel.HasType("FAX")) return kFax;
  if (tel.HasType("PAGER")) return kPager;
  if (tel.HasType("CELL") || tel.HasType("MOBILE")) return kCell;
  return kVoice;
}

// For each group, the lines (by start line) of the properties it covers.
std::array<std::vector<std::size_t>, kGroups> Chosen(const VcardCard& card) {
  std::array<std::vector<std::size_t>, kGroups> chosen;
  std::array<const VcardProperty*, kGroups> best{};
  const auto keep = [&best](Group g, const VcardProperty& p, bool work_first) {
    if (!best[g] || Rank(p, work_first) < Rank(*best[g], work_first)) best[g] = &p;
  };
  const auto first = [&best](Group g, const VcardProperty& p) {
    if (!best[g]) best[g] = &p;
  };
  bool n_seen = false, fn_seen = false;
  for (const VcardProperty& p : card.properties) {
    const std::string_view n = p.name;
    if ((n == "N" && !n_seen) || (n == "FN" && !fn_seen)) {
      // Written together: the first of each.
      (n == "N" ? n_seen : fn_seen) = true;
      chosen[kName].push_back(p.line);
    } else if (n == "ORG") {
      first(kOrg, p);
    } else if (n == "TITLE") {
      first(kTitle, p);
    } else if (n == "TEL") {
      keep(TelGroup(p), p, true);
    } else if (n == "EMAIL") {
      keep(kEmail, p, false);
    } else if (n == "URL") {
      keep(kUrl, p, false);
    } else if (n == "ADR") {
      keep(kAdr, p, true);
    } else if (n == "NOTE") {
      chosen[kNote].push_back(p.line);
    } else if (n == "CATEGORIES" || n == "X-TABREL-SLOTS") {
      chosen[kCategories].push_back(p.line);
    } else if (n == "X-TABREL-TYPE") {
      first(kType, p);
    } else if (n == "REV") {
      first(kRev, p);
    }
  }
  for (int g = 0; g < kGroups; ++g) {
    if (best[g]) chosen[g].push_back(best[g]->line);
  }
  return chosen;
}

struct FieldGroup {
  Group group;
  std::array<l::Span, 6> spans;
  std::size_t count;
};
constexpr FieldGroup kFieldGroups[] = {
    {kName, {l::kLastName, l::kFirstName, l::kRecType}, 3},
    {kOrg, {l::kOrg}, 1},
    {kTitle, {l::kTitle}, 1},
    {kVoice, {l::kPhone, l::kExt}, 2},
    {kFax, {l::kFax}, 1},
    {kCell, {l::kCellular}, 1},
    {kPager, {l::kBeeper}, 1},
    {kEmail, {l::kEMail}, 1},
    {kUrl, {l::kWeb}, 1},
    {kAdr, {l::kAdd1, l::kAdd2, l::kCity, l::kState, l::kZip, l::kCountry}, 6},
    {kNote, {l::kNotes}, 1},
    {kCategories, {l::kKW1, l::kKW2, l::kKW3}, 3},
    {kType, {l::kRecType}, 1},
};

bool GroupChanged(const FieldGroup& g, std::string_view a, std::string_view b) {
  for (std::size_t i = 0; i < g.count; ++i) {
    const l::Span s = g.spans[i];
    if (a.substr(s.offset, s.width) != b.substr(s.offset, s.width)) return true;
  }
  return false;
}

VcardCard ParseOne(std::string_view text) {
  VcardParser parser(text);
  VcardCard card;
  if (!parser.Next(card)) card = {};
  return card;
}

std::string_view NameOfLine(std::string_view raw) {
  std::string_view name = raw.substr(0, raw.find_first_of(";:"));
  if (const std::size_t dot = name.find('.'); dot != std::string_view::npos)
    name.remove_prefix(dot + 1);
  return name;
}

bool IsEnd(std::string_view raw) {
  std::string name(NameOfLine(raw));
  for (char& c : name) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
  return name == "END";
}

bool IsMapped(std::string_view name) {
  static constexpr std::string_view kMapped[] = {
      "BEGIN", "END",           "VERSION",        "UID",        "PRODID", "N",
      "FN",    "ORG",           "TITLE",          "ROLE",       "TEL",    "EMAIL",
      "URL",   "ADR",           "NOTE",           "CATEGORIES", "REV",    "KIND",
      "CLASS", "X-TABREL-TYPE", "X-TABREL-SLOTS", "X-ABSHOWAS"};
  return std::find(std::begin(kMapped), std::end(kMapped), name) != std::end(kMapped);
}

}  // namespace

ServerRecord ReadServerCard(std::string_view text) {
  ServerRecord out;
  const VcardCard card = ParseOne(text);
  out.record = EntryOfCard(card).record;
  std::array<int, kGroups> seen{};
  for (const VcardProperty& p : card.properties) {
    if (p.name == "UID" && out.uid.empty()) out.uid = Trim(p.value);
    if (!IsMapped(p.name)) out.unmapped = true;
    const Group g = p.name == "TEL"     ? TelGroup(p)
                    : p.name == "EMAIL" ? kEmail
                    : p.name == "URL"   ? kUrl
                    : p.name == "ADR"   ? kAdr
                                        : kGroups;
    if (g != kGroups && ++seen[g] > 1) out.unmapped = true;
  }
  const ContactRecord r = DecodeContact(out.record);
  out.name = Trim(IsOrganisation(r.RecType) && !IsBlank(r.Org)
                      ? r.Org
                      : Trim(r.FirstName) + " " + Trim(r.LastName));
  if (out.name.empty()) out.name = Trim(r.Org);
  return out;
}

bool SameContent(std::string_view a, std::string_view b) {
  return a.substr(0, l::kModified.offset) == b.substr(0, l::kModified.offset);
}

std::string HrefForUid(std::string_view uid) {
  std::string name(uid.starts_with("urn:uuid:") ? uid.substr(9) : uid);
  for (char& c : name) {
    const bool plain =
        (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-';
    if (!plain) c = '-';
  }
  return name + ".vcf";
}

std::string CardForRecord(std::string_view record, std::string_view stored, VcardVersion version) {
  std::string ours;
  AppendVcard(record, {version}, ours);
  if (stored.empty()) return ours;
  const VcardCard old_card = ParseOne(stored);
  const std::string base = EntryOfCard(old_card).record;
  const VcardCard new_card = ParseOne(ours);
  const auto old_chosen = Chosen(old_card);
  const auto new_chosen = Chosen(new_card);
  const std::vector<CardLine> old_lines = LogicalLines(stored);
  const std::vector<CardLine> new_lines = LogicalLines(ours);

  std::array<bool, kGroups> changed{};
  bool any = false;
  for (const FieldGroup& g : kFieldGroups) {
    if (GroupChanged(g, base, record)) changed[g.group] = any = true;
  }
  // An organisation's FN is its name.
  if (IsOrganisation(record.substr(l::kRecType.offset, 1)) &&
      GroupChanged(kFieldGroups[1], base, record)) {
    changed[kName] = true;
  }
  if (!any) return std::string(stored);
  changed[kRev] = true;

  const auto group_of = [](const std::array<std::vector<std::size_t>, kGroups>& chosen,
                           std::size_t line) {
    for (int g = 0; g < kGroups; ++g) {
      if (std::find(chosen[g].begin(), chosen[g].end(), line) != chosen[g].end()) return g;
    }
    return static_cast<int>(kGroups);
  };
  const auto ours_of = [&](int group) {
    std::string out;
    for (const CardLine& line : new_lines) {
      if (group_of(new_chosen, line.line) == group) out += line.raw + "\r\n";
    }
    return out;
  };
  std::array<bool, kGroups> placed{};
  std::string out;
  for (const CardLine& line : old_lines) {
    const int g = group_of(old_chosen, line.line);
    if (IsEnd(line.raw)) {
      for (int rest = 0; rest < kGroups; ++rest) {
        if (changed[rest] && !placed[rest]) out += ours_of(rest);
      }
      out += line.raw + "\r\n";
      continue;
    }
    if (g == kGroups || !changed[g]) {
      out += line.raw + "\r\n";
    } else if (!placed[g]) {
      out += ours_of(g);
      placed[g] = true;
    }
  }
  return out;
}

}  // namespace tabrel
