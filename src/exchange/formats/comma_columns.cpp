#include "exchange/formats/comma_columns.h"

#include <algorithm>
#include <map>
#include <optional>
#include <unordered_set>

#include "base/text.h"

namespace tabrel {
namespace {

constexpr std::size_t kNone = static_cast<std::size_t>(-1);

// A header name compared without case and with single blanks.
std::string Normal(std::string_view name) {
  std::string out;
  for (const char c : name) {
    const bool blank = c == ' ' || c == '\t' || c == '\r' || c == '\n';
    if (blank) {
      if (!out.empty() && out.back() != ' ') out.push_back(' ');
      continue;
    }
    out.push_back(c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c);
  }
  while (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

// A value made only of digits and the signs numbers, phone numbers and
// dates are written with.
bool IsNumberLike(std::string_view text) {
  bool digit = false;
  for (const char c : text) {
    if (c >= '0' && c <= '9') {
      digit = true;
    } else if (std::string_view(" +-()./,:#").find(c) == std::string_view::npos) {
      return false;
    }
  }
  return digit;
}

// ---- typed columns --------------------------------------------------------

enum TypedKind {
  kTypedPhone,
  kTypedFax,
  kTypedMobile,
  kTypedPager,
  kTypedEMail,
  kTypedWebsite,
  kTypedStreet,
  kTypedStreet2,
  kTypedCity,
  kTypedRegion,
  kTypedPostalCode,
  kTypedCountry,
  kTypedKinds,
};

constexpr std::array<std::string_view, kTypedKinds> kTypedNames = {
    "Phone, by type",  "Fax, by type",     "Mobile, by type",      "Pager, by type",
    "E-mail, by type", "Website, by type", "Street, by type",      "Street 2, by type",
    "City, by type",   "Region, by type",  "Postal Code, by type", "Country, by type"};

// What a pair's group is about, by the header's word for it.
enum class Topic { kPhone, kEMail, kWebsite, kAddress };

std::optional<Topic> TopicOf(std::string_view word) {
  if (word == "phone") return Topic::kPhone;
  if (word == "e-mail" || word == "email") return Topic::kEMail;
  if (word == "website" || word == "web site" || word == "web page") return Topic::kWebsite;
  if (word == "address") return Topic::kAddress;
  return std::nullopt;
}

// "Phone 3 - Value" -> topic, group number 3, part "value".
struct PairName {
  Topic topic;
  int number;
  std::string part;
};

std::optional<PairName> ParsePairName(const std::string& normal) {
  const std::size_t dash = normal.find(" - ");
  if (dash == std::string::npos) return std::nullopt;
  const std::string head = normal.substr(0, dash);
  const std::size_t blank = head.rfind(' ');
  if (blank == std::string::npos) return std::nullopt;
  const std::string digits = head.substr(blank + 1);
  if (digits.empty() || digits.size() > 3 ||
      !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    return std::nullopt;
  }
  const auto topic = TopicOf(head.substr(0, blank));
  if (!topic) return std::nullopt;
  return PairName{*topic, std::stoi(digits), normal.substr(dash + 3)};
}

// The part of an address group a typed kind takes ("street 2" has two).
std::vector<std::string_view> PartsOf(int kind) {
  switch (kind) {
    case kTypedStreet:
      return {"street"};
    case kTypedStreet2:
      return {"extended address", "po box"};
    case kTypedCity:
      return {"city"};
    case kTypedRegion:
      return {"region"};
    case kTypedPostalCode:
      return {"postal code"};
    case kTypedCountry:
      return {"country"};
    default:
      return {"value"};
  }
}

Topic TopicOfKind(int kind) {
  if (kind <= kTypedPager) return Topic::kPhone;
  if (kind == kTypedEMail) return Topic::kEMail;
  if (kind == kTypedWebsite) return Topic::kWebsite;
  return Topic::kAddress;
}

// How well a pair's type suits a typed column: 0 not at all; higher wins,
// the earlier pair among equals.
int Score(int kind, std::string_view type) {
  const std::string t = Normal(type);
  const bool primary = t.starts_with("*");
  auto has = [&t](std::string_view word) { return t.find(word) != std::string::npos; };
  if (kind <= kTypedPager) {
    const int phone_kind = has("fax")                      ? kTypedFax
                           : has("mobile") || has("cell")  ? kTypedMobile
                           : has("pager") || has("beeper") ? kTypedPager
                                                           : kTypedPhone;
    if (phone_kind != kind) return 0;
  }
  if (primary) return 4;
  if (has("work") || has("business") || has("office")) return 3;
  if (has("main")) return 2;
  return 1;
}

}  // namespace

bool LooksLikeHeader(const std::vector<std::string>& fields) {
  std::size_t named = fields.size();
  while (named > 0 && IsBlank(fields[named - 1])) --named;
  if (named == 0) return false;
  std::unordered_set<std::string> seen;
  for (std::size_t i = 0; i < named; ++i) {
    const std::string name = Normal(fields[i]);
    if (name.empty() || IsNumberLike(name) || name.find('@') != std::string::npos) return false;
    if (!seen.insert(name).second) return false;
  }
  return true;
}

CommaColumns::CommaColumns(const std::vector<std::string>& header) : names_(header) {
  // Groups of pairs by topic and number, in the header's order.
  struct Group {
    Topic topic;
    std::size_t type_column = kNone;
    std::map<std::string, std::size_t> parts;
  };
  std::vector<Group> groups;
  std::map<std::pair<int, int>, std::size_t> group_of;
  for (std::size_t i = 0; i < header.size(); ++i) {
    const auto pair = ParsePairName(Normal(header[i]));
    if (!pair) continue;
    const auto key = std::make_pair(static_cast<int>(pair->topic), pair->number);
    auto [it, added] = group_of.try_emplace(key, groups.size());
    if (added) groups.push_back({pair->topic, kNone, {}});
    Group& group = groups[it->second];
    if (pair->part == "type" || pair->part == "label") {
      group.type_column = i;
    } else {
      group.parts.emplace(pair->part, i);
    }
  }
  for (int kind = 0; kind < kTypedKinds; ++kind) {
    Typed typed{kind, {}, {}};
    bool any_type = false;
    for (const Group& group : groups) {
      if (group.topic != TopicOfKind(kind)) continue;
      std::size_t value = kNone;
      for (std::string_view part : PartsOf(kind)) {
        if (auto it = group.parts.find(std::string(part)); it != group.parts.end()) {
          value = it->second;
          break;
        }
      }
      typed.type_columns.push_back(group.type_column);
      typed.value_columns.push_back(value);
      any_type = any_type || group.type_column != kNone;
    }
    const bool any_value = std::any_of(typed.value_columns.begin(), typed.value_columns.end(),
                                       [](std::size_t c) { return c != kNone; });
    if (!any_type || !any_value) continue;
    typed_.push_back(std::move(typed));
    names_.emplace_back(kTypedNames[kind]);
  }
}

std::string_view CommaColumns::Name(std::size_t number) const {
  if (number == 0 || number > names_.size()) return {};
  return names_[number - 1];
}

void CommaColumns::Complete(std::vector<std::string>& fields) const {
  if (typed_.empty()) return;
  const std::size_t named_columns = named();
  std::vector<std::string> extra;
  if (fields.size() > named_columns) {
    extra.assign(
        std::make_move_iterator(fields.begin() + static_cast<std::ptrdiff_t>(named_columns)),
        std::make_move_iterator(fields.end()));
  }
  fields.resize(named_columns);
  auto cell = [&fields](std::size_t column) -> std::string_view {
    return column < fields.size() ? std::string_view(fields[column]) : std::string_view();
  };
  // The address all address columns take from: one group for all of them.
  std::size_t address = kNone;
  int address_score = 0;
  for (const Typed& typed : typed_) {
    if (TopicOfKind(typed.kind) != Topic::kAddress) continue;
    for (std::size_t g = 0; g < typed.value_columns.size(); ++g) {
      if (IsBlank(cell(typed.value_columns[g]))) continue;
      const int score = Score(typed.kind, cell(typed.type_columns[g]));
      if (score > address_score || (score == address_score && g < address)) {
        address = g;
        address_score = score;
      }
    }
  }
  for (const Typed& typed : typed_) {
    std::size_t best = kNone;
    if (TopicOfKind(typed.kind) == Topic::kAddress) {
      best = address;
    } else {
      int best_score = 0;
      for (std::size_t g = 0; g < typed.value_columns.size(); ++g) {
        if (IsBlank(cell(typed.value_columns[g]))) continue;
        const int score = Score(typed.kind, cell(typed.type_columns[g]));
        if (score > best_score) {
          best = g;
          best_score = score;
        }
      }
    }
    fields.emplace_back(best == kNone || best >= typed.value_columns.size()
                            ? std::string_view()
                            : cell(typed.value_columns[best]));
  }
  for (std::string& field : extra) fields.push_back(std::move(field));
}

// ---- suggested links -----------------------------------------------------

namespace {

struct Candidates {
  RecordField field;
  std::vector<std::string_view> names;  // normalised, best first
};

const std::vector<Candidates>& SingleFields() {
  static const std::vector<Candidates> table = {
      {RecordField::kLastName, {"last name", "family name", "surname", "lastname", "last"}},
      {RecordField::kFirstName, {"first name", "given name", "firstname", "first", "forename"}},
      {RecordField::kOrg,
       {"organization", "company", "organization 1 - name", "organization name", "organisation",
        "company name", "org"}},
      {RecordField::kPhone,
       {"phone, by type", "phone", "business phone", "work phone", "company main phone",
        "primary phone", "telephone", "phone number", "home phone", "other phone"}},
      {RecordField::kExt, {"phone ext", "phone extension", "extension", "ext"}},
      {RecordField::kFax,
       {"fax, by type", "fax", "business fax", "fax number", "work fax", "home fax", "other fax"}},
      {RecordField::kCellular,
       {"mobile, by type", "mobile", "mobile phone", "mobile number", "cellular", "cell phone",
        "cellphone", "home mobile", "cell"}},
      {RecordField::kBeeper, {"pager, by type", "pager", "pager number", "beeper"}},
      {RecordField::kEMail,
       {"e-mail, by type", "email", "e-mail", "e-mail address", "email address", "primary email",
        "email work", "work email", "email home", "home email", "mail"}},
      {RecordField::kWeb,
       {"website, by type", "url", "web page", "web page 1", "website", "web site",
        "business web page", "website work", "website home page", "personal web page", "homepage",
        "home page", "web address", "website other"}},
      {RecordField::kNotes, {"notes", "note", "comments", "comment"}},
  };
  return table;
}

// Job titles; a column named just "Title" counts only when none of these
// is in the header.
constexpr std::string_view kJobTitles[] = {"job title", "organization 1 - title",
                                           "organization title", "jobtitle", "position"};

// The address fields, each address of the header a group of columns.
constexpr std::array<RecordField, 6> kAddressFields = {RecordField::kAdd1, RecordField::kAdd2,
                                                       RecordField::kCity, RecordField::kState,
                                                       RecordField::kZip,  RecordField::kCountry};
using AddressNames = std::array<std::vector<std::string_view>, 6>;
const std::vector<AddressNames>& AddressGroups() {
  static const std::vector<AddressNames> groups = {
      {{{"street, by type"},
        {"street 2, by type"},
        {"city, by type"},
        {"region, by type"},
        {"postal code, by type"},
        {"country, by type"}}},
      {{{"address 1", "address", "street", "street address"},
        {"address 2", "street 2"},
        {"city", "town", "locality"},
        {"state", "province", "region", "county"},
        {"zip", "zip code", "postal code", "postcode", "zipcode"},
        {"country", "country/region"}}},
      {{{"business street", "work address", "work street", "business address"},
        {"business street 2", "work address 2", "work street 2", "business address 2"},
        {"business city", "work city"},
        {"business state", "work state", "business region"},
        {"business postal code", "work zipcode", "work zip", "work postal code", "business zip"},
        {"business country/region", "business country", "work country"}}},
      {{{"home street", "home address"},
        {"home street 2", "home address 2"},
        {"home city"},
        {"home state"},
        {"home postal code", "home zipcode", "home zip"},
        {"home country/region", "home country"}}},
      {{{"other street", "other address"},
        {"other street 2", "other address 2"},
        {"other city"},
        {"other state"},
        {"other postal code", "other zipcode", "other zip"},
        {"other country/region", "other country"}}},
  };
  return groups;
}

}  // namespace

CommaLinks SuggestLinks(const CommaColumns& columns,
                        const std::vector<std::vector<std::string>>& sample) {
  std::map<std::string, std::size_t> number_of;  // the first column of each name
  for (std::size_t i = 0; i < columns.names().size(); ++i) {
    number_of.try_emplace(Normal(columns.names()[i]), i + 1);
  }
  auto find = [&number_of](std::string_view name) -> std::size_t {
    const auto it = number_of.find(std::string(name));
    return it == number_of.end() ? 0 : it->second;
  };
  auto has_value = [&sample](std::size_t number) {
    return std::any_of(sample.begin(), sample.end(), [number](const auto& record) {
      return number <= record.size() && !IsBlank(record[number - 1]);
    });
  };
  // The first of `numbers` with a value in the sample, else the first.
  auto choose = [&has_value](const std::vector<std::size_t>& numbers) -> std::size_t {
    for (const std::size_t n : numbers) {
      if (has_value(n)) return n;
    }
    return numbers.empty() ? 0 : numbers.front();
  };

  CommaLinks links{};
  auto present = [&find](const std::vector<std::string_view>& names) {
    std::vector<std::size_t> numbers;
    for (std::string_view name : names) {
      if (const std::size_t n = find(name); n != 0) numbers.push_back(n);
    }
    return numbers;
  };
  for (const Candidates& c : SingleFields()) {
    links[static_cast<std::size_t>(c.field)] = choose(present(c.names));
  }
  std::vector<std::string_view> titles(std::begin(kJobTitles), std::end(kJobTitles));
  if (present(titles).empty()) titles.push_back("title");
  links[static_cast<std::size_t>(RecordField::kTitle)] = choose(present(titles));

  // One address for all address fields: the first that holds a value.
  std::vector<std::array<std::size_t, 6>> found;
  for (const AddressNames& group : AddressGroups()) {
    std::array<std::size_t, 6> numbers{};
    bool any = false;
    for (std::size_t k = 0; k < numbers.size(); ++k) {
      const auto named = present(group[k]);
      numbers[k] = choose(named);
      any = any || numbers[k] != 0;
    }
    if (any) found.push_back(numbers);
  }
  const std::array<std::size_t, 6>* address = found.empty() ? nullptr : &found.front();
  for (const auto& numbers : found) {
    if (std::any_of(numbers.begin(), numbers.end(),
                    [&](std::size_t n) { return n != 0 && has_value(n); })) {
      address = &numbers;
      break;
    }
  }
  if (address != nullptr) {
    for (std::size_t k = 0; k < kAddressFields.size(); ++k) {
      links[static_cast<std::size_t>(kAddressFields[k])] = (*address)[k];
    }
  }
  return links;
}

}  // namespace tabrel
