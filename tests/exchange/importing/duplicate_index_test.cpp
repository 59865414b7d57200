// The duplicate rules of an import: one table over every definition and
// skip rule, and the index against the record-by-record comparison it
// replaces.
#include "exchange/importing/duplicate_index.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "base/text.h"
#include "fakes/contact_files.h"
#include "store/stamp.h"

namespace tabrel {
namespace {

using D = DuplicateDefinition;
using S = DuplicateSkip;

ContactRecord Person(const std::string& first, const std::string& last, const std::string& org,
                     const std::string& stamp) {
  ContactRecord record = BlankContactRecord();
  record.RecType = "1";
  record.FirstName = first;
  record.LastName = last;
  record.Org = org;
  record.Modified = stamp;
  return record;
}

// The data set every case of the table meets, in file order.
const std::vector<ContactRecord> kExisting = {
    Person("John", "Smith", "Acme", "06-15-2000 100"),       // 1
    Person("", "", "Acme", "12-31-1999 100"),                // 2: an organisation
    Person("A", "BC", "", "01-01-2000 100"),                 // 3
    Person("Mary", "Jones", "Beta", "..................."),  // 4: never saved
    Person("John", "Smith", "", "01-01-2001 100"),           // 5
};

// "A" add, "S<n>" skip as a duplicate of record n, "R<n>" replace record n.
std::string Code(const DuplicateIndex::Decision& d) {
  switch (d.verdict) {
    case DuplicateIndex::Verdict::kAdd:
      return "A";
    case DuplicateIndex::Verdict::kSkip:
      return "S" + std::to_string(d.number);
    case DuplicateIndex::Verdict::kReplace:
      break;
  }
  return "R" + std::to_string(d.number);
}

struct Case {
  const char* what;
  ContactRecord incoming;
  // [definition][skip]: same name, same organisation, both; each under
  // never, always, if older.
  const char* expected[3][3];
};

TEST(DuplicateIndexTest, EveryDefinitionAndSkipRuleDecidesAsTheTableSays) {
  const Case cases[] = {
      {"match, same date",
       Person("John", "Smith", "Acme", "06-15-2000 200"),
       {{"R1", "S1", "S1"}, {"R1", "S1", "R2"}, {"R1", "S1", "S1"}}},
      {"match, later date",
       Person(" John ", "Smith", "Acme  ", "06-16-2000 5"),
       {{"R1", "S1", "R1"}, {"R1", "S1", "R1"}, {"R1", "S1", "R1"}}},
      {"case counts",
       Person("john", "smith", "ACME", "06-16-2000 5"),
       {{"A", "A", "A"}, {"A", "A", "A"}, {"A", "A", "A"}}},
      {"no match",
       Person("Jane", "Doe", "Gamma", "01-01-2020 1"),
       {{"A", "A", "A"}, {"A", "A", "A"}, {"A", "A", "A"}}},
      {"blank key",
       Person("", "", "", "01-01-2020 1"),
       {{"A", "A", "A"}, {"A", "A", "A"}, {"A", "A", "A"}}},
      {"an organisation has a blank name",
       Person("", "", "Acme", "01-01-2020 1"),
       {{"A", "A", "A"}, {"R1", "S1", "R1"}, {"R2", "S2", "R2"}}},
      {"a person without organisation has a blank organisation",
       Person("Pat", "Lee", "", "01-01-2020 1"),
       {{"A", "A", "A"}, {"A", "A", "A"}, {"A", "A", "A"}}},
      {"joined names differ field by field",
       Person("AB", "C", "", "01-01-2020 1"),
       {{"A", "A", "A"}, {"A", "A", "A"}, {"A", "A", "A"}}},
      {"unreadable existing date counts as the oldest",
       Person("Mary", "Jones", "Beta", "01-01-1990 1"),
       {{"R4", "S4", "R4"}, {"R4", "S4", "R4"}, {"R4", "S4", "R4"}}},
      {"unreadable incoming date never replaces",
       Person("Mary", "Jones", "Beta", "..................."),
       {{"R4", "S4", "S4"}, {"R4", "S4", "S4"}, {"R4", "S4", "S4"}}},
      {"dates across a year: an earlier year is older",
       Person("A", "BC", "", "12-31-1999 5"),
       {{"R3", "S3", "S3"}, {"A", "A", "A"}, {"R3", "S3", "S3"}}},
      {"dates across a year: a later year is newer",
       Person("", "", "Acme", "01-01-2000 5"),
       {{"A", "A", "A"}, {"R1", "S1", "R2"}, {"R2", "S2", "R2"}}},
  };
  const D definitions[] = {D::kSameName, D::kSameOrg, D::kNameAndOrg};
  const S skips[] = {S::kNever, S::kAlways, S::kIfOlder};
  const std::string existing = testing::ContactBytes(kExisting);
  for (const Case& c : cases) {
    const ContactRecord& i = c.incoming;
    for (int d = 0; d < 3; ++d) {
      for (int s = 0; s < 3; ++s) {
        StampSet stamps;
        const DuplicateIndex index(existing, {definitions[d], skips[s]}, stamps);
        EXPECT_EQ(Code(index.Decide({i.FirstName, i.LastName, i.Org, i.Modified})),
                  c.expected[d][s])
            << c.what << ", definition " << d << ", skip rule " << s;
      }
    }
  }
}

TEST(DuplicateIndexTest, BuildingTheIndexTellsTheStampSetEveryStamp) {
  StampSet stamps;
  const DuplicateIndex index(testing::ContactBytes(kExisting), {}, stamps);
  for (const ContactRecord& record : kExisting) EXPECT_TRUE(stamps.Contains(record.Modified));
  EXPECT_FALSE(stamps.Contains("01-01-2000 101"));
}

// The comparison the index stands for: every incoming record against every
// existing record in file order, a replaced record compared by its new
// content, records added by the import never compared.
std::vector<std::string> Literal(std::vector<ContactRecord> existing,
                                 const std::vector<ContactRecord>& incoming, DuplicateRules rules) {
  auto matches = [&](const ContactRecord& e, const ContactRecord& i) {
    const bool name = rules.definition != D::kSameOrg;
    const bool org = rules.definition != D::kSameName;
    const bool blank = (!name || (Trim(i.FirstName).empty() && Trim(i.LastName).empty())) &&
                       (!org || Trim(i.Org).empty());
    if (blank) return false;
    if (name && (Trim(e.FirstName) != Trim(i.FirstName) || Trim(e.LastName) != Trim(i.LastName)))
      return false;
    return !org || Trim(e.Org) == Trim(i.Org);
  };
  auto day = [](const std::string& stamp) { return StampDay(stamp); };
  std::vector<std::string> decisions;
  for (const ContactRecord& i : incoming) {
    int best = 0;
    std::size_t matched = 0;
    for (std::size_t j = 0; j < existing.size(); ++j) {
      if (!matches(existing[j], i)) continue;
      int status = 2;
      if (rules.skip == S::kAlways) status = 1;
      if (rules.skip == S::kIfOlder && day(existing[j].Modified) >= day(i.Modified)) status = 1;
      if (status > best) {
        best = status;
        matched = j;
      }
    }
    if (best == 0) decisions.push_back("A");
    if (best == 1) decisions.push_back("S" + std::to_string(matched + 1));
    if (best == 2) {
      decisions.push_back("R" + std::to_string(matched + 1));
      existing[matched] = i;
    }
  }
  return decisions;
}

TEST(DuplicateIndexTest, DecidesAsComparingWithEveryRecordWouldOverManyImports) {
  std::mt19937 random(20240601);
  const char* firsts[] = {"", "Al", "A", "Bo"};
  const char* lasts[] = {"", "Li", "lLi", "Ng"};
  const char* orgs[] = {"", "Co", "Inc"};
  const char* stamps[] = {"01-01-2000 1", "12-31-1999 1", "01-02-2000 1", "...................",
                          "06-06-2006 1"};
  auto any = [&](auto& options) { return options[random() % std::size(options)]; };
  auto some = [&](std::size_t n) {
    std::vector<ContactRecord> records;
    for (std::size_t k = 0; k < n; ++k)
      records.push_back(Person(any(firsts), any(lasts), any(orgs), any(stamps)));
    return records;
  };
  for (int round = 0; round < 300; ++round) {
    const std::vector<ContactRecord> existing = some(random() % 30);
    const std::vector<ContactRecord> incoming = some(1 + random() % 30);
    for (D d : {D::kSameName, D::kSameOrg, D::kNameAndOrg}) {
      for (S s : {S::kNever, S::kAlways, S::kIfOlder}) {
        StampSet sequence;
        DuplicateIndex index(testing::ContactBytes(existing), {d, s}, sequence);
        std::vector<std::string> got;
        for (const ContactRecord& i : incoming) {
          const DuplicateIndex::Decision decision =
              index.Decide({i.FirstName, i.LastName, i.Org, i.Modified});
          got.push_back(Code(decision));
          if (decision.verdict == DuplicateIndex::Verdict::kReplace) {
            index.Replaced(decision.number, i.Modified);
          }
        }
        ASSERT_EQ(got, Literal(existing, incoming, {d, s}))
            << "round " << round << ", definition " << static_cast<int>(d) << ", skip rule "
            << static_cast<int>(s);
      }
    }
  }
}

}  // namespace
}  // namespace tabrel
