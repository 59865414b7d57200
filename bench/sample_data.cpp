#include "sample_data.h"

#include <algorithm>
#include <cerrno>
#include <fstream>
#include <string_view>

#include "base/text.h"
#include "store/app_state.h"
#include "store/layout.h"
#include "store/stamp.h"

namespace tabrel::sample {
namespace {

namespace l = layout;

// Texts are Windows-1252, as stored: "\xFC" is u-umlaut, "\xE9" e-acute.
constexpr std::string_view kLastNames[] = {
    "Smith",        "Johnson",   "Williams",     "Brown",     "Jones",     "Garcia",    "Miller",
    "Davis",        "Rodriguez", "Martinez",     "Hernandez", "Lopez",     "Wilson",    "Anderson",
    "Thomas",       "Taylor",    "Moore",        "Jackson",   "Martin",    "Lee",       "Thompson",
    "White",        "Harris",    "Clark",        "Lewis",     "Robinson",  "Walker",    "Young",
    "Allen",        "King",      "Wright",       "Scott",     "Hill",      "Green",     "Adams",
    "Baker",        "Nelson",    "Carter",       "Mitchell",  "Roberts",   "Turner",    "Phillips",
    "Campbell",     "Parker",    "Evans",        "Edwards",   "Collins",   "Stewart",   "Morris",
    "Murphy",       "Cook",      "Rogers",       "O'Brien",   "M\xFCller", "Schmidt",   "Dubois",
    "Lef\xE8vre",   "Nakamura",  "Kowalski",     "Nov\xE1k",  "Jensen",    "Andersson", "Rossi",
    "Fern\xE1ndez", "MacDonald", "Van der Berg", "Okafor",    "Chen",      "Patel",     "Nguyen",
};

constexpr std::string_view kFirstNames[] = {
    "James",   "Mary",      "Robert",  "Patricia", "John",    "Jennifer", "Michael", "Linda",
    "David",   "Elizabeth", "William", "Barbara",  "Richard", "Susan",    "Joseph",  "Jessica",
    "Thomas",  "Sarah",     "Charles", "Karen",    "Daniel",  "Nancy",    "Matthew", "Lisa",
    "Anthony", "Betty",     "Mark",    "Margaret", "Paul",    "Sandra",   "Steven",  "Ashley",
    "Andrew",  "Emily",     "Kenneth", "Donna",    "Joshua",  "Michelle", "Kevin",   "Carol",
    "Brian",   "Amanda",    "Ren\xE9", "Zo\xEB",   "J\xF6rg", "Ingrid",   "Hiroshi", "Priya",
    "Olu",     "Mei",
};

constexpr std::string_view kTitles[] = {
    "Sales Manager",
    "Director of Operations",
    "Accountant",
    "Software Engineer",
    "Account Executive",
    "Purchasing Agent",
    "Attorney",
    "Professor",
    "Office Manager",
    "President",
    "Vice President, Marketing",
    "Consultant",
    "Dentist",
    "Pharmacist",
    "Architect",
    "Customer Service",
    "Owner",
    "Project Manager",
};

constexpr std::string_view kOrgFirst[] = {
    "Acme",      "Northwind", "Blue Ridge", "Summit",     "Harbor",   "Pioneer",  "Cedar",
    "Evergreen", "Lakeside",  "Redwood",    "Silverline", "Keystone", "Granite",  "Maple Leaf",
    "Orchard",   "Riverbend", "Sterling",   "Trident",    "Union",    "Westgate",
};

constexpr std::string_view kOrgSecond[] = {
    "Supply Co.",    "Consulting",        "Dental Group",   "Insurance Agency", "Hardware",
    "Bakery",        "Law Offices",       "Medical Center", "Printing",         "Travel",
    "Software Inc.", "Builders",          "Realty",         "Auto Repair",      "Florist",
    "Credit Union",  "Veterinary Clinic", "Books",          "Electric",         "Plumbing",
};

constexpr std::string_view kStreets[] = {
    "Maple",  "Oak",   "Pine", "Cedar",  "Elm",    "Washington", "Lincoln",
    "Park",   "Lake",  "Hill", "Main",   "Church", "Spring",     "Highland",
    "Sunset", "River", "Mill", "Forest", "Meadow", "Chestnut",
};

constexpr std::string_view kStreetKinds[] = {"Street", "Avenue",    "Road",  "Lane",
                                             "Drive",  "Boulevard", "Court", "Way"};

constexpr std::string_view kSecondLines[] = {"Suite 400", "Apt 5B",     "P.O. Box 1234",
                                             "Floor 3",   "Building C", "Unit 12"};

// In patterns '9' becomes a digit and 'A' a capital letter.
struct Place {
  std::string_view city;
  std::string_view state;
  std::string_view zip;
  std::string_view country;
  std::string_view phone;
  bool domestic;
};

constexpr Place kPlaces[] = {
    {"Springfield", "IL", "62799", "USA", "(217) 555-9999", true},
    {"Portland", "OR", "97299", "USA", "(503) 555-9999", true},
    {"Austin", "TX", "78799", "USA", "(512) 555-9999", true},
    {"Boston", "MA", "02199", "USA", "(617) 555-9999", true},
    {"Denver", "CO", "80299", "USA", "(303) 555-9999", true},
    {"Madison", "WI", "53799", "USA", "(608) 555-9999", true},
    {"Seattle", "WA", "98199", "USA", "(206) 555-9999", true},
    {"Raleigh", "NC", "27699", "USA", "(919) 555-9999", true},
    {"Tucson", "AZ", "85799", "USA", "(520) 555-9999", true},
    {"Columbus", "OH", "43299", "USA", "(614) 555-9999", true},
    {"Richmond", "VA", "23299", "USA", "(804) 555-9999", true},
    {"Albany", "NY", "12299", "USA", "(518) 555-9999", true},
    {"Toronto", "ON", "M5V 9A9", "Canada", "(416) 555-9999", false},
    {"Vancouver", "BC", "V6B 9A9", "Canada", "(604) 555-9999", false},
    {"London", "", "SW1A 9AA", "United Kingdom", "+44 20 7946 9999", false},
    {"Manchester", "", "M1 9AA", "United Kingdom", "+44 161 496 9999", false},
    {"M\xFCnchen", "Bayern", "80999", "Germany", "+49 89 9999999", false},
    {"Z\xFCrich", "", "8099", "Switzerland", "+41 44 999 99 99", false},
    {"Lyon", "", "69999", "France", "+33 4 99 99 99 99", false},
    {"Sydney", "NSW", "2000", "Australia", "+61 2 9999 9999", false},
    {"Dublin", "", "D02 A999", "Ireland", "+353 1 999 9999", false},
    {"G\xF6teborg", "", "411 99", "Sweden", "+46 31 999 99 99", false},
    {"S\xE3o Paulo", "SP", "01999-999", "Brazil", "+55 11 9999-9999", false},
};

constexpr std::string_view kKeywords[] = {
    "Customers",    "Suppliers",   "~Family",    "~Friends",    "Colleagues",  "Christmas List",
    "Leads",        "Consultants", "Accounting", "Legal",       "Medical",     "Dental",
    "Insurance",    "Banking",     "Travel",     "Restaurants", "Contractors", "Plumbers",
    "Electricians", "Printers",    "IT Support", "Press",       "Conference",  "Alumni",
    "Neighbours",   "~Doctors",    "School",     "Church",      "Club",        "Volunteers",
    "Board",        "Investors",   "Partners",   "Recruiters",  "Vendors",     "Shipping",
    "Emergency",    "Government",  "Charity",    "~Birthdays",
};

constexpr std::string_view kSentences[] = {
    "Met at the spring trade show; follow up about the catalogue.",
    "Prefers e-mail to phone calls.",
    "Call before 10 a.m. Eastern time.",
    "Birthday in March. Likes jazz and gardening.",
    "Net 30 payment terms agreed.",
    "Referred by a former colleague.",
    "Send the quarterly newsletter.",
    "Asked for a quote on the new service plan.",
    "Moved offices last year; mail to the old address came back.",
    "Speaks French and German.",
    "Invoice 4471 outstanding as of the last review.",
    "Do not call on weekends.",
    "Assistant handles scheduling.",
    "Sent a thank-you card after the conference.",
    "Annual contract renewal in September.",
    "Good contact for local permits.",
    "Caf\xE9 meeting every second Tuesday.",
    "Parking is behind the building, entrance on the east side.",
    "Allergic to nuts: remember for the holiday party.",
    "Prefers to be called by a nickname.",
};

// Zipf-like: keyword k is picked about 1/(k+1) as often as the first.
constexpr std::uint32_t KeywordWeight(std::size_t k) {
  return static_cast<std::uint32_t>(10080 / (k + 1));
}

// Lower-case ASCII for addresses: accents dropped, blanks and marks left out.
std::string Lower(std::string_view text) {
  constexpr std::string_view kAccented = "\xE1\xE3\xE8\xE9\xEB\xF6\xFC";
  constexpr std::string_view kPlain = "aaeeeou";
  std::string out;
  for (char c : text) {
    if (const auto at = kAccented.find(c); at != std::string_view::npos) {
      out.push_back(kPlain[at]);
    } else if (c >= 'A' && c <= 'Z') {
      out.push_back(static_cast<char>(c - 'A' + 'a'));
    } else if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) {
      out.push_back(c);
    }
  }
  return out;
}

}  // namespace

SampleContacts::SampleContacts(std::uint64_t seed) : state_(seed) {}

// SplitMix64: tiny, and the same on every platform.
std::uint32_t SampleContacts::Below(std::uint32_t bound) {
  std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
  z ^= z >> 31;
  return static_cast<std::uint32_t>(z % bound);
}

std::string SampleContacts::Keyword() {
  std::uint32_t total = 0;
  for (std::size_t k = 0; k < std::size(kKeywords); ++k) total += KeywordWeight(k);
  std::uint32_t pick = Below(total);
  for (std::size_t k = 0; k < std::size(kKeywords); ++k) {
    if (pick < KeywordWeight(k)) return Fit(kKeywords[k], l::kKW1.width);
    pick -= KeywordWeight(k);
  }
  return Fit(kKeywords[0], l::kKW1.width);
}

std::string SampleContacts::Notes() {
  if (Chance(40)) return {};
  const std::uint32_t length = Chance(60)   ? 20 + Below(80)
                               : Chance(75) ? 100 + Below(200)
                                            : 300 + Below(201);
  std::string notes;
  while (notes.size() < length) {
    if (!notes.empty()) notes += Chance(20) ? "\r\n" : " ";
    notes += Pick(kSentences);
  }
  return notes.substr(0, l::kNotes.width);
}

std::string SampleContacts::Stamp() {
  while (true) {
    LocalDateTime when;
    when.year = 2010 + static_cast<int>(Below(16));
    when.month = 1 + static_cast<int>(Below(12));
    when.day = 1 + static_cast<int>(Below(28));
    when.seconds_since_midnight = Below(8640000) / 100.0;
    std::string stamp = MakeStamp(when);
    if (stamps_.insert(stamp).second) return stamp;
  }
}

ContactRecord SampleContacts::Next() {
  auto fill = [this](std::string_view pattern) {
    std::string out(pattern);
    for (char& c : out) {
      if (c == '9') c = static_cast<char>('0' + Below(10));
      if (c == 'A') c = static_cast<char>('A' + Below(26));
    }
    return out;
  };

  ContactRecord r = BlankContactRecord();
  const bool organisation = Chance(25);
  const bool personal = Chance(30);
  r.RecType = organisation ? (personal ? "4" : "2") : (personal ? "3" : "1");

  const std::string_view org_first = Pick(kOrgFirst);
  const std::string_view org_second = Pick(kOrgSecond);
  const std::string org = std::string(org_first) + " " + std::string(org_second);
  const bool employed = organisation || Chance(45);
  if (employed) r.Org = org;
  if (!organisation || Chance(40)) {
    r.LastName = Pick(kLastNames);
    r.FirstName = Pick(kFirstNames);
    if (employed && Chance(70)) r.Title = Pick(kTitles);
  }

  const Place& place = Pick(kPlaces);
  if (Chance(90)) r.Phone = fill(place.phone);
  if (employed && Chance(15)) r.Ext = std::to_string(100 + Below(900));
  if (Chance(25)) r.Fax = fill(place.phone);
  if (!organisation && Chance(55)) r.Cellular = fill(place.phone);
  if (Chance(2)) r.Beeper = fill(place.phone);

  // Short enough for the e-mail field's 45 bytes.
  const std::string domain = Lower(org_first) + ".example.com";
  if (!organisation && Chance(75)) {
    r.EMail =
        Lower(r.FirstName) + "." + Lower(r.LastName) + "@" + (employed ? domain : "example.net");
  } else if (organisation && Chance(60)) {
    r.EMail = "info@" + domain;
  }
  if (Chance(organisation ? 60 : 8)) {
    r.Web = "www." + Lower(org_first) + Lower(org_second) + ".example.com";
  }

  r.Add1 = std::to_string(1 + Below(9899)) + " " + std::string(Pick(kStreets)) + " " +
           std::string(Pick(kStreetKinds));
  if (Chance(20)) r.Add2 = Pick(kSecondLines);
  r.City = place.city;
  r.State = place.state;
  r.Zip = fill(place.zip);
  if (!place.domestic || Chance(50)) r.Country = place.country;

  // Some records have no keyword. Keywords fill KW1 first as a rule, but a
  // keyword can sit in any slot, as deleting keywords leaves them.
  std::string* slots[] = {&r.KW1, &r.KW2, &r.KW3};
  const std::uint32_t wanted = Chance(15) ? 0 : Chance(47) ? 1 : Chance(67) ? 2 : 3;
  for (std::uint32_t n = 0; n < wanted; ++n) {
    const std::string keyword = Keyword();
    if (r.KW1 == keyword || r.KW2 == keyword || r.KW3 == keyword) {
      continue;
    }
    std::string** slot = std::find_if(std::begin(slots), std::end(slots),
                                      [](const std::string* s) { return IsBlank(*s); });
    if (Chance(15)) {
      slot = &slots[Below(3)];
    }
    if (slot != std::end(slots) && IsBlank(**slot)) {
      **slot = keyword;
    }
  }
  r.Notes = Notes();
  r.Modified = Stamp();
  return r;
}

std::vector<std::string> SampleKeywords() {
  std::vector<std::string> out;
  for (std::string_view keyword : kKeywords) out.push_back(Fit(keyword, l::kKeywordRecordLength));
  return out;
}

std::string CommonKeyword() {
  return Fit(kKeywords[0], l::kKeywordRecordLength);
}

Status WriteSampleDataSet(const std::string& folder, int count, std::uint64_t seed) {
  const std::string contacts = WithSlash(folder) + kContactFileName;
  std::ofstream out(contacts, std::ios::binary | std::ios::trunc);
  if (!out) return Status::FromErrno(errno ? errno : EIO, contacts);
  SampleContacts generator(seed);
  constexpr int kSlice = 512;
  std::string slice;
  for (int done = 0; done < count; done += kSlice) {
    const int n = std::min(kSlice, count - done);
    slice.assign(static_cast<std::size_t>(n) * l::kContactRecordLength, ' ');
    for (int i = 0; i < n; ++i) {
      EncodeContactInto(generator.Next(), slice.data() + i * l::kContactRecordLength);
    }
    out.write(slice.data(), static_cast<std::streamsize>(slice.size()));
    if (!out) return Status::FromErrno(errno ? errno : EIO, contacts);
  }
  out.close();
  if (!out) return Status::FromErrno(errno ? errno : EIO, contacts);

  const std::string keywords = WithSlash(folder) + kKeywordFileName;
  std::ofstream kw(keywords, std::ios::binary | std::ios::trunc);
  for (const std::string& keyword : SampleKeywords()) kw << keyword;
  kw.close();
  if (!kw) return Status::FromErrno(errno ? errno : EIO, keywords);
  return Status::Ok();
}

}  // namespace tabrel::sample
