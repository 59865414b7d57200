#include "exchange/formats/ldif_contact.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <forward_list>
#include <span>
#include <utility>
#include <vector>

#include "base/codec.h"
#include "base/text.h"

namespace tabrel {
namespace {

// Where a value may go. The home address is held apart until the entry
// shows whether it has another address.
enum Slot {
  kSlotLast,
  kSlotFirst,
  kSlotOrg,
  kSlotTitle,
  kSlotEMail,
  kSlotPhone,
  kSlotFax,
  kSlotCellular,
  kSlotBeeper,
  kSlotWeb,
  kSlotNotes,
  kSlotAdd1,
  kSlotAdd2,
  kSlotCity,
  kSlotState,
  kSlotZip,
  kSlotCountry,
  kSlotHomeAdd1,
  kSlotHomeAdd2,
  kSlotHomeCity,
  kSlotHomeState,
  kSlotHomeZip,
  kSlotHomeCountry,
  kSlotStreet2,  // streetAddress2: the line after streetAddress
  kSlotCn,
  kSlots,
};

constexpr std::array<RecordField, kSlotCn> kFieldOf = {
    RecordField::kLastName, RecordField::kFirstName, RecordField::kOrg,     RecordField::kTitle,
    RecordField::kEMail,    RecordField::kPhone,     RecordField::kFax,     RecordField::kCellular,
    RecordField::kBeeper,   RecordField::kWeb,       RecordField::kNotes,   RecordField::kAdd1,
    RecordField::kAdd2,     RecordField::kCity,      RecordField::kState,   RecordField::kZip,
    RecordField::kCountry,  RecordField::kAdd1,      RecordField::kAdd2,    RecordField::kCity,
    RecordField::kState,    RecordField::kZip,       RecordField::kCountry, RecordField::kAdd2};

struct Name {
  std::string_view name;  // lower case
  Slot slot;
  int rank;  // within the slot, lower first
};

// Sorted by name for the lookup.
constexpr Name kNames[] = {
    {"c", kSlotCountry, 3},
    {"cellphone", kSlotCellular, 1},
    {"cn", kSlotCn, 0},
    {"co", kSlotCountry, 0},
    {"countryname", kSlotCountry, 2},
    {"description", kSlotNotes, 0},
    {"facsimiletelephonenumber", kSlotFax, 0},
    {"fax", kSlotFax, 1},
    {"friendlycountryname", kSlotCountry, 1},
    {"givenname", kSlotFirst, 0},
    {"gn", kSlotFirst, 1},
    {"homephone", kSlotPhone, 1},
    {"homeurl", kSlotWeb, 4},
    {"l", kSlotCity, 0},
    {"labeleduri", kSlotWeb, 0},
    {"locality", kSlotCity, 1},
    {"localityname", kSlotCity, 2},
    {"mail", kSlotEMail, 0},
    {"mobile", kSlotCellular, 0},
    {"mobiletelephonenumber", kSlotCellular, 2},
    {"mozillahomecountryname", kSlotHomeCountry, 0},
    {"mozillahomelocalityname", kSlotHomeCity, 0},
    {"mozillahomepostalcode", kSlotHomeZip, 0},
    {"mozillahomestate", kSlotHomeState, 0},
    {"mozillahomestreet", kSlotHomeAdd1, 0},
    {"mozillahomestreet2", kSlotHomeAdd2, 0},
    {"mozillahomeurl", kSlotWeb, 3},
    {"mozillaworkstreet2", kSlotAdd2, 1},
    {"mozillaworkurl", kSlotWeb, 1},
    {"o", kSlotOrg, 0},
    {"organizationname", kSlotOrg, 1},
    {"pager", kSlotBeeper, 0},
    {"pagerphone", kSlotBeeper, 1},
    {"pagertelephonenumber", kSlotBeeper, 2},
    {"postalcode", kSlotZip, 0},
    {"postofficebox", kSlotAdd1, 1},
    {"sn", kSlotLast, 0},
    {"st", kSlotState, 0},
    {"stateorprovincename", kSlotState, 1},
    {"street", kSlotAdd1, 0},
    {"streetaddress", kSlotAdd2, 0},
    {"streetaddress2", kSlotStreet2, 0},
    {"surname", kSlotLast, 1},
    {"telephonenumber", kSlotPhone, 0},
    {"title", kSlotTitle, 0},
    {"workurl", kSlotWeb, 2},
};

// Where each first letter's names begin in kNames, and end at the next
// letter's start: a lookup compares only the names of its letter.
constexpr std::array<std::uint8_t, 27> kLetterStart = [] {
  std::array<std::uint8_t, 27> start{};
  std::size_t at = 0;
  for (int letter = 0; letter <= 26; ++letter) {
    while (at < std::size(kNames) && kNames[at].name[0] - 'a' < letter) ++at;
    start[static_cast<std::size_t>(letter)] = static_cast<std::uint8_t>(at);
  }
  return start;
}();

// The name `type` is, compared without case; null when it is none of them.
const Name* Lookup(std::string_view type) {
  char lower[32];
  if (type.empty() || type.size() > sizeof lower) return nullptr;
  for (std::size_t i = 0; i < type.size(); ++i) {
    const char c = type[i];
    lower[i] = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
  }
  const std::string_view key(lower, type.size());
  if (key[0] < 'a' || key[0] > 'z') return nullptr;
  const auto letter = static_cast<std::size_t>(key[0] - 'a');
  for (std::size_t i = kLetterStart[letter]; i < kLetterStart[letter + 1]; ++i) {
    if (kNames[i].name == key) return &kNames[i];
  }
  return nullptr;
}

bool HasOption(std::string_view options, std::string_view wanted) {
  while (!options.empty()) {
    const std::size_t semicolon = options.find(';');
    const std::string_view option = options.substr(0, semicolon);
    if (EqualsNoCase(option, wanted)) return true;
    if (semicolon == std::string_view::npos) break;
    options.remove_prefix(semicolon + 1);
  }
  return false;
}

// Whether a value is UTF-8 already. The file was decoded whole, but base64
// values from older installations hold Windows-1252 bytes rather than UTF-8.
bool IsValidText(std::string_view value, bool base64) {
  return !base64 || IsValidUtf8(value);
}

// A value as UTF-8; `storage` keeps a decoded value.
std::string_view TextOf(std::string_view value, bool base64, std::string& storage) {
  if (IsValidText(value, base64)) return value;
  storage = DecodeCp1252(value);
  return storage;
}

// The value a slot takes, and how good a choice it is.
struct Choice {
  std::string_view value;
  int rank = 0;
  bool options = false;
  bool base64 = false;
  bool taken = false;
};

bool StoresWhole(const Choice& choice) {
  std::string storage;
  return EncodeCp1252(TextOf(choice.value, choice.base64, storage)).replaced == 0;
}

// True when `offered` should replace `held`: a better-ranked name, or the
// same name without options where `held` had them, unless only one of the
// two can be stored whole. Otherwise the first value stays.
bool Better(const Choice& offered, const Choice& held) {
  if (!held.taken) return true;
  if (offered.rank != held.rank) return offered.rank < held.rank;
  if (offered.options == held.options) return false;
  const bool offered_whole = StoresWhole(offered);
  if (offered_whole != StoresWhole(held)) return offered_whole;
  return !offered.options;
}

bool IsGroup(const LdifRecord& record) {
  for (const LdifAttribute& a : record.attributes) {
    if (EqualsNoCase(a.type, "member") || EqualsNoCase(a.type, "uniquemember")) return true;
    if (EqualsNoCase(a.type, "objectclass") &&
        (EqualsNoCase(TrimView(a.value), "groupofnames") ||
         EqualsNoCase(TrimView(a.value), "groupofuniquenames"))) {
      return true;
    }
  }
  return false;
}

bool StartsNoCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && EqualsNoCase(text.substr(0, prefix.size()), prefix);
}

bool EndsNoCase(std::string_view text, std::string_view suffix) {
  return text.size() >= suffix.size() &&
         EqualsNoCase(text.substr(text.size() - suffix.size()), suffix);
}

// Fills the names the entry left empty from its cn: `cn` is the value
// chosen as for any attribute, `others` every cn value in file order (an
// entry often has several: "James A Jones 1", "James Jones", "Jim Jones").
void NamesFromCn(std::string_view cn, std::span<const std::string_view> others,
                 std::string_view& first, std::string_view& last) {
  cn = TrimView(cn);
  first = TrimView(first);
  last = TrimView(last);
  if (cn.empty() || (!first.empty() && !last.empty())) return;
  if (first.empty() && last.empty()) {
    const std::size_t blank = cn.rfind(' ');
    if (blank == std::string_view::npos) {
      last = cn;
    } else {
      first = TrimView(cn.substr(0, blank));
      last = cn.substr(blank + 1);
    }
    return;
  }
  // With one name known, the first cn that is that name and one more.
  for (std::string_view value : others) {
    value = TrimView(value);
    if (first.empty()) {
      if (value.size() > last.size() && EndsNoCase(value, last) &&
          value[value.size() - last.size() - 1] == ' ') {
        first = TrimView(value.substr(0, value.size() - last.size()));
        return;
      }
    } else if (value.size() > first.size() && StartsNoCase(value, first) &&
               value[first.size()] == ' ') {
      last = TrimView(value.substr(first.size()));
      return;
    }
  }
}

// Attributes that say nothing about the contact, and passwords.
bool IsBookkeeping(std::string_view type) {
  for (std::string_view name :
       {"objectclass", "modifytimestamp", "createtimestamp", "userpassword", "cn", "commonname"}) {
    if (EqualsNoCase(type, name)) return true;
  }
  return false;
}

}  // namespace

LdifOutcome ContactFromLdif(const LdifRecord& record, RecordBuilder& out, LeftOut* left_out,
                            bool extras_to_notes) {
  out.Clear();
  if (!record.changetype.empty() && !EqualsNoCase(TrimView(record.changetype), "add")) {
    return LdifOutcome::kChange;
  }
  if (IsGroup(record)) return LdifOutcome::kGroup;

  std::array<Choice, kSlots> choices{};
  // Every cn value, plain text only (names are never base64 here): an
  // entry has a few, held without memory of their own.
  std::array<std::string_view, 8> few_cns;
  std::vector<std::string_view> more_cns;
  std::size_t cn_count = 0;
  // Each attribute's name, looked up once for both passes below.
  std::array<const Name*, 64> names;
  const auto name_of = [&names, &record](std::size_t i) {
    return i < names.size() ? names[i] : Lookup(record.attributes[i].type);
  };
  for (std::size_t i = 0; i < record.attributes.size(); ++i) {
    const LdifAttribute& a = record.attributes[i];
    const Name* name = Lookup(a.type);
    if (i < names.size()) names[i] = name;
    if (a.url || TrimView(a.value).empty()) continue;
    if (HasOption(a.options, "binary") || a.options.find("phonetic") != std::string_view::npos) {
      continue;
    }
    if (!name) continue;
    std::string_view value = a.value;
    // labeledURI: the URI, then a blank and a label.
    if (name->slot == kSlotWeb && name->rank == 0) {
      value = TrimView(value);
      value = value.substr(0, value.find(' '));
    }
    if (name->slot == kSlotCn && !a.base64) {
      if (cn_count == few_cns.size()) more_cns.assign(few_cns.begin(), few_cns.end());
      if (cn_count < few_cns.size()) {
        few_cns[cn_count] = value;
      } else {
        more_cns.push_back(value);
      }
      ++cn_count;
    }
    const Choice offered{value, name->rank, !a.options.empty(), a.base64, true};
    if (Better(offered, choices[name->slot])) choices[name->slot] = offered;
  }

  // Views of the values, or of their decoded text in `storage`, made only
  // for the few values that need one.
  std::array<std::string_view, kSlots> text{};
  std::forward_list<std::string> storage;
  for (int slot = 0; slot < kSlots; ++slot) {
    const Choice& choice = choices[slot];
    if (!choice.taken) continue;
    text[slot] = IsValidText(choice.value, choice.base64)
                     ? choice.value
                     : std::string_view(storage.emplace_front(DecodeCp1252(choice.value)));
  }
  const std::span<const std::string_view> cns =
      cn_count <= few_cns.size() ? std::span<const std::string_view>(few_cns.data(), cn_count)
                                 : std::span<const std::string_view>(more_cns);
  NamesFromCn(text[kSlotCn], cns, text[kSlotFirst], text[kSlotLast]);
  bool work_address = choices[kSlotStreet2].taken;
  for (int slot = kSlotAdd1; slot <= kSlotCountry; ++slot) work_address |= choices[slot].taken;
  const int address = work_address ? kSlotAdd1 : kSlotHomeAdd1;
  const int address_first = address;
  // A second address line alone is the first: streetAddress is the
  // standard name of a street, which this program's own files use for the
  // second line.
  if (text[address].empty()) std::swap(text[address], text[address + 1]);
  // streetAddress2 (abook's) follows streetAddress: the second line, or
  // joined to it when the street took both lines.
  if (!text[kSlotStreet2].empty()) {
    if (text[kSlotAdd2].empty()) {
      text[kSlotAdd2] = text[kSlotStreet2];
    } else {
      std::string joined = std::string(text[kSlotAdd2]) + ", " + std::string(text[kSlotStreet2]);
      text[kSlotAdd2] = storage.emplace_front(std::move(joined));
    }
    if (text[kSlotAdd1].empty()) std::swap(text[kSlotAdd1], text[kSlotAdd2]);
  }
  for (int slot = 0; slot < kSlotStreet2; ++slot) {
    const bool is_address = slot >= kSlotAdd1 && slot <= kSlotHomeCountry;
    if (is_address && (slot < address || slot >= address + 6)) continue;
    if (!text[slot].empty()) out.Set(kFieldOf[slot], text[slot]);
  }

  LdifOutcome outcome = LdifOutcome::kNoContact;
  if (out.Has(RecordField::kFirstName) || out.Has(RecordField::kLastName)) {
    outcome = LdifOutcome::kIndividual;
  } else if (out.Has(RecordField::kOrg)) {
    outcome = LdifOutcome::kOrganisation;
  } else if (out.Has(RecordField::kEMail)) {
    outcome = LdifOutcome::kIndividual;
  }
  if (outcome == LdifOutcome::kNoContact || (!left_out && !extras_to_notes)) return outcome;

  std::string line;
  for (std::size_t i = 0; i < record.attributes.size(); ++i) {
    const LdifAttribute& a = record.attributes[i];
    const Name* name = name_of(i);
    // Of the bookkeeping names, only cn is among those a field takes.
    if (TrimView(a.value).empty() || ((!name || name->slot == kSlotCn) && IsBookkeeping(a.type))) {
      continue;
    }
    if (name) {
      const Choice& kept = choices[name->slot];
      const bool is_address = name->slot >= kSlotAdd1 && name->slot <= kSlotHomeCountry;
      const bool used =
          !is_address || (name->slot >= address_first && name->slot < address_first + 6);
      // The kept value is a view into the attribute it came from.
      if (used && kept.taken && kept.value.data() >= a.value.data() &&
          kept.value.data() <= a.value.data() + a.value.size()) {
        continue;
      }
    }
    const bool text =
        !a.url && !HasOption(a.options, "binary") && (!a.base64 || IsValidUtf8(a.value));
    if (extras_to_notes && text) {
      std::string storage;
      line.assign(a.type).append(": ").append(TextOf(a.value, a.base64, storage));
      out.AppendNoteLine(line);
    } else if (left_out) {
      left_out->Count(a.type);
    }
  }
  return outcome;
}

}  // namespace tabrel
