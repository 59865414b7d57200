#include "mainwin/record_list.h"

#include <gtest/gtest.h>

#include "fakes/contact_files.h"
#include "fakes/temp_dir.h"
#include "store/text.h"

namespace tabrel {
namespace {

using testing::Contact;
using testing::Keyword;
using testing::TempDir;
using testing::WriteContacts;

TEST(MainGridFormatTest, ElevenLeftAlignedColumnsWithTheirCaptionsAndWidths) {
  Grid grid;
  grid.SetFormatString(kMainGridFormat);
  struct Expected {
    const char* caption;
    int width;
  };
  const Expected expected[] = {{"Name", 62},      {"Phone", 22},     {"Ext", 6},   {"Fax", 22},
                               {"Address 1", 43}, {"Address 2", 48}, {"City", 30}, {"State", 5},
                               {"Zip", 17},       {"Country", 8},    {"ID", 36}};
  ASSERT_EQ(grid.Cols(), 11);
  for (int c = 0; c < 11; ++c) {
    EXPECT_EQ(RTrim(grid.columns()[c].caption), expected[c].caption);
    EXPECT_EQ(grid.columns()[c].width_chars, expected[c].width) << expected[c].caption;
    EXPECT_EQ(grid.columns()[c].alignment, Alignment::kLeft);
  }
}

TEST(BuildRowTextTest, IndividualsShowTrimmedNamesAndOrganisationsTheStoredOrg) {
  ContactRecord person = Contact("3", "  Smith ", " Jo", "12-31-1999 45296.13");
  person.Phone = "555-1234";
  person.Ext = "12";
  person.Country = "Canada";
  person.Title = "not shown";
  std::string row;
  ASSERT_TRUE(BuildRowText(EncodeContact(person), row));
  EXPECT_EQ(row, "Smith, Jo\t" + Fit("555-1234", 20) + "\t" + Fit("12", 10) + "\t" +
                     std::string(20, ' ') + "\t" + std::string(40, ' ') + "\t" +
                     std::string(40, ' ') + "\t" + std::string(20, ' ') + "\t" +
                     std::string(20, ' ') + "\t" + std::string(10, ' ') + "\t" + Fit("Canada", 40) +
                     "\t12-31-1999 45296.13");

  ASSERT_TRUE(BuildRowText(EncodeContact(Contact("2", "Acme", "", "x")), row));
  EXPECT_EQ(row.substr(0, row.find('\t')), Fit("Acme", 40));
  ASSERT_TRUE(BuildRowText(EncodeContact(Contact("1", "", "", "x")), row));
  EXPECT_EQ(row.substr(0, row.find('\t')), ", ");
  for (const char* type : {" ", "5", "0"}) {
    EXPECT_FALSE(BuildRowText(EncodeContact(Contact(type, "Hidden", "", "x")), row)) << type;
  }
}

// Word search: which fields are searched, in capitals, across field borders.
TEST(WordMatcherTest, SearchesTheListedFieldsOnly) {
  struct Case {
    std::string ContactRecord::*field;
    const char* text;
    bool found;
  };
  const Case cases[] = {
      {&ContactRecord::LastName, "Zebedee", true},  {&ContactRecord::FirstName, "zebedee", true},
      {&ContactRecord::Org, "ZEBEDEE Ltd", true},   {&ContactRecord::EMail, "zebedee@x", true},
      {&ContactRecord::Add1, "1 Zebedee St", true}, {&ContactRecord::Add2, "Zebedee", true},
      {&ContactRecord::City, "Zebedee", true},      {&ContactRecord::State, "Zebedee", true},
      {&ContactRecord::Country, "Zebedee", true},   {&ContactRecord::Notes, "met zebedee", true},
      {&ContactRecord::Phone, "ZEBEDEE", true},     {&ContactRecord::Fax, "zebedee", true},
      {&ContactRecord::Title, "Zebedee", false},    {&ContactRecord::Ext, "Zebedee", false},
      {&ContactRecord::Cellular, "Zebedee", false}, {&ContactRecord::Beeper, "Zebedee", false},
      {&ContactRecord::Web, "zebedee.com", false},  {&ContactRecord::Zip, "Zebedee", false},
      {&ContactRecord::KW1, "Zebedee", false},      {&ContactRecord::KW3, "Zebedee", false},
  };
  for (const Case& c : cases) {
    ContactRecord record = Contact("1", "", "", "01-01-2000 1");
    record.*c.field = c.text;
    WordMatcher matcher("ZEBEDEE");
    EXPECT_EQ(matcher.Matches(EncodeContact(record)), c.found) << c.text;
  }
}

TEST(WordMatcherTest, MatchesAcrossFieldBordersAndOnTheDateOfTheStamp) {
  ContactRecord record = Contact("1", "ABCDEFGHIJKLMNOPQRST", "uv", "12-31-1999 45296.13");
  record.City = "Paris";
  record.State = "Texas";
  record.Notes = "Caf\xE9 owner";
  const std::string bytes = EncodeContact(record);
  struct Case {
    std::string word;
    bool found;
  };
  // City is 20 wide: "PARIS", 15 blanks of padding, the joining blank, "TEXAS".
  for (const Case& c :
       {Case{"RST UV", true}, Case{"PARIS", true},
        Case{"PARIS" + std::string(16, ' ') + "TEXAS", true}, Case{"PARIS TEXAS", false},
        Case{"12-31-1999", true}, Case{"45296", false}, Case{"CAF\xC9 OWNER", true}}) {
    WordMatcher matcher(c.word);
    EXPECT_EQ(matcher.Matches(bytes), c.found) << c.word;
  }
}

class AppendSelectedRowsTest : public ::testing::Test {
 protected:
  TempDir dir;
  AppState state{dir.path()};
  Grid grid;

  void SetUp() override { grid.SetFormatString(kMainGridFormat); }

  int Append(std::string_view selection) {
    auto added = AppendSelectedRows(grid, state, selection, {});
    EXPECT_TRUE(added.ok()) << added.status().ErrorLine();
    return added.ok() ? added.value() : -1;
  }
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (int r = 1; r < grid.Rows(); ++r) names.push_back(RTrim(grid.TextAt(r, 0)));
    return names;
  }
};

TEST_F(AppendSelectedRowsTest, KeywordSelectionComparesTheStored14Characters) {
  auto in_two_slots = Contact("1", "Twice", "", "s1");
  in_two_slots.KW2 = Keyword("Friends");
  in_two_slots.KW3 = Keyword("Friends");
  auto other_case = Contact("1", "Lower", "", "s2");
  other_case.KW1 = Keyword("friends");
  auto first_slot = Contact("2", "Org", "", "s3");
  first_slot.KW1 = Keyword("Friends");
  auto none = Contact("1", "None", "", "s4");
  WriteContacts(dir, {in_two_slots, other_case, first_slot, none});
  EXPECT_EQ(Append(Keyword("Friends")), 2);
  EXPECT_EQ(Names(), (std::vector<std::string>{"Twice,", "Org"}));
  grid.ClearToHeader();
  EXPECT_EQ(Append("Friends"), 0) << "an unpadded keyword matches no stored field";
  EXPECT_EQ(Append(""), 1) << "only the record with three blank keywords";
  EXPECT_EQ(Names(), (std::vector<std::string>{"None,"}));
}

}  // namespace
}  // namespace tabrel
