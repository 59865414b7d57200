// Comma-separated text: the reader, header detection, typed columns and
// suggested links.
#include "exchange/formats/comma_reader.h"

#include <gtest/gtest.h>

#include "exchange/formats/comma_columns.h"

namespace tabrel {
namespace {

using Records = std::vector<std::vector<std::string>>;

Records ReadAll(std::string_view text) {
  CommaReader reader(text);
  Records records;
  for (std::vector<std::string> fields; reader.Next(fields);) records.push_back(fields);
  return records;
}

TEST(CommaReaderTest, SplitsRecordsAndFieldsAsOtherProgramsWriteThem) {
  const std::pair<std::string, Records> cases[] = {
      {"a,b,c", {{"a", "b", "c"}}},
      {"\"a,b\",c\r\n", {{"a,b", "c"}}},                               // quoted comma
      {"\"say \"\"hi\"\"\",x", {{"say \"hi\"", "x"}}},                 // doubled quote
      {"\"\"\"worker\"\"\"", {{"\"worker\""}}},                        // quotes all round
      {"\"a\r\nb\",\"c\rd\",\"e\nf\"", {{"a\r\nb", "c\rd", "e\nf"}}},  // breaks in quotes
      {"a,,\"\",b", {{"a", "", "", "b"}}},                    // bare and quoted empty fields
      {"a,b\r\nc\rd\ne", {{"a", "b"}, {"c"}, {"d"}, {"e"}}},  // CR LF, CR, LF
      {"a,b\n1,2,3,4\nx", {{"a", "b"}, {"1", "2", "3", "4"}, {"x"}}},  // ragged rows
      {"a\n\n\r\n,,\n  ,\"\"\nb\n", {{"a"}, {"b"}}},                   // empty records skipped
      {"5'2\" tall,\"x\"y,z", {{"5'2\" tall", "xy", "z"}}},            // quotes inside bare fields
      {" \"a\" ,b", {{"a ", "b"}}},  // blanks round a quoted field
      {"\"open, never closed\nnext", {{"open, never closed\nnext"}}},
      {"x,", {{"x", ""}}},
  };
  for (const auto& [text, expected] : cases) {
    EXPECT_EQ(ReadAll(text), expected) << text;
  }
}

TEST(CommaReaderTest, CountsLinesAcrossBreaksInsideQuotesAndTheEmptyRecords) {
  CommaReader reader("h1,h2\r\n\"two\r\nlines\",x\r\n\r\nlast,y");
  std::vector<std::string> fields;
  std::vector<std::size_t> lines;
  while (reader.Next(fields)) lines.push_back(reader.line());
  EXPECT_EQ(lines, (std::vector<std::size_t>{1, 2, 5}));
  EXPECT_EQ(reader.skipped_empty(), 1u);
}

TEST(CommaHeaderTest, TakesALineOfDistinctNamesForAHeader) {
  const std::pair<std::vector<std::string>, bool> cases[] = {
      {{"First Name", "Last Name", "E-mail Address"}, true},
      {{"First Name", "Address 1 - Street", "", ""}, true},  // empty names only at the end
      {{"Given Name", "given name"}, false},                 // a name twice
      {{"Shumway1", "Gordon", "408-555-1254"}, false},       // a phone number
      {{"Gordon", "1975-12-12"}, false},                     // a date
      {{"Ann", "ann@example.com"}, false},
      {{"Ann", "", "Adams"}, false},
      {{"", ""}, false},
  };
  for (const auto& [fields, header] : cases) {
    EXPECT_EQ(LooksLikeHeader(fields), header) << fields[0];
  }
}

// The typed columns of a Google-style header, and the value each picks in
// records whose pairs come in different orders.
TEST(CommaColumnsTest, TypedColumnsPickEachRecordsValueByItsType) {
  const std::vector<std::string> header = {
      "Given Name",       "Phone 1 - Type",   "Phone 1 - Value",  "Phone 2 - Type",
      "Phone 2 - Value",  "Phone 3 - Label",  "Phone 3 - Value",  "E-mail 1 - Type",
      "E-mail 1 - Value", "E-mail 2 - Type",  "E-mail 2 - Value", "Address 1 - Type",
      "Address 1 - City", "Address 2 - Type", "Address 2 - City", "Address 2 - PO Box"};
  const CommaColumns columns(header);
  EXPECT_EQ(columns.named(), header.size());
  // No street, region, postal code, country or website pairs: no columns
  // for them.
  ASSERT_EQ(columns.typed(), 7u);
  EXPECT_EQ(columns.Name(17), "Phone, by type");
  EXPECT_EQ(columns.Name(22), "Street 2, by type");
  EXPECT_EQ(columns.Name(23), "City, by type");
  EXPECT_EQ(columns.Name(0), "");

  struct Case {
    std::vector<std::string> fields;
    // Phone, Fax, Mobile, Pager, E-mail, Street 2, City.
    std::vector<std::string> typed;
  };
  const Case cases[] = {
      {{"Ann", "Mobile", "m1", "Work", "w1", "Work Fax", "f1", "Home", "h@x", "Work", "w@x", "Home",
        "Hometown", "Work", "Worktown", "PO 5"},
       {"w1", "f1", "m1", "", "w@x", "PO 5", "Worktown"}},
      // The primary mark wins; a home phone serves without a work one.
      {{"Bo", "Home", "h2", "Pager", "p2", "", "", "* Home", "h@y", "Work", "w@y", "Home",
        "Hometown", "", "", ""},
       {"h2", "", "", "p2", "h@y", "", "Hometown"}},
      // Values without a type still count, as the weakest choice.
      {{"Cy", "", "x3"}, {"x3", "", "", "", "", "", ""}},
  };
  for (const Case& c : cases) {
    std::vector<std::string> fields = c.fields;
    columns.Complete(fields);
    ASSERT_EQ(fields.size(), header.size() + 7) << c.fields[0];
    const std::vector<std::string> typed(fields.begin() + header.size(), fields.end());
    EXPECT_EQ(typed, c.typed) << c.fields[0];
  }
}

TEST(CommaColumnsTest, ExtraFieldsComeAfterTheTypedOnesAndPlainHeadersAddNone) {
  const CommaColumns typed({"E-mail 1 - Type", "E-mail 1 - Value"});
  std::vector<std::string> fields = {"Work", "a@b", "extra"};
  typed.Complete(fields);
  EXPECT_EQ(fields, (std::vector<std::string>{"Work", "a@b", "a@b", "extra"}));

  const CommaColumns plain({"Name", "Phone 1"});
  EXPECT_EQ(plain.typed(), 0u);
  fields = {"a", "b", "c"};
  plain.Complete(fields);
  EXPECT_EQ(fields.size(), 3u);
}

std::size_t LinkOf(const CommaLinks& links, RecordField field) {
  return links[static_cast<std::size_t>(field)];
}

TEST(SuggestLinksTest, KnownNamesLinkTheirFields) {
  // This program's own header links every field it has.
  const CommaColumns own({"First Name", "Last Name", "Title",     "Organization", "Address 1",
                          "Address 2",  "City",      "State",     "Zip",          "Country",
                          "Email",      "URL",       "Phone",     "Phone Ext",    "Fax",
                          "Pager",      "Mobile",    "Keyword 1", "Keyword 2",    "Keyword 3"});
  const CommaLinks links = SuggestLinks(own, {});
  const std::pair<RecordField, std::size_t> expected[] = {
      {RecordField::kFirstName, 1}, {RecordField::kLastName, 2},  {RecordField::kTitle, 3},
      {RecordField::kOrg, 4},       {RecordField::kAdd1, 5},      {RecordField::kAdd2, 6},
      {RecordField::kCity, 7},      {RecordField::kState, 8},     {RecordField::kZip, 9},
      {RecordField::kCountry, 10},  {RecordField::kEMail, 11},    {RecordField::kWeb, 12},
      {RecordField::kPhone, 13},    {RecordField::kExt, 14},      {RecordField::kFax, 15},
      {RecordField::kBeeper, 16},   {RecordField::kCellular, 17}, {RecordField::kNotes, 0}};
  for (const auto& [field, number] : expected) {
    EXPECT_EQ(LinkOf(links, field), number) << static_cast<int>(field);
  }
}

TEST(SuggestLinksTest, TitleIsAJobTitleOnlyWithoutAJobTitleColumn) {
  const CommaColumns outlook({"Title", "First Name", "Company", "Job Title"});
  EXPECT_EQ(LinkOf(SuggestLinks(outlook, {}), RecordField::kTitle), 4u);
  // Even when only the form of address holds a value.
  EXPECT_EQ(LinkOf(SuggestLinks(outlook, {{"Mr.", "John", "Acme", ""}}), RecordField::kTitle), 4u);
  const CommaColumns plain({"Title", "First Name"});
  EXPECT_EQ(LinkOf(SuggestLinks(plain, {}), RecordField::kTitle), 1u);
}

TEST(SuggestLinksTest, TheAddressThatHoldsValuesFeedsAllAddressFields) {
  const CommaColumns columns({"Business Street", "Business City", "Home Street", "Home City",
                              "Home Postal Code", "Home Phone", "Business Phone"});
  const CommaLinks empty = SuggestLinks(columns, {});
  EXPECT_EQ(LinkOf(empty, RecordField::kAdd1), 1u);
  EXPECT_EQ(LinkOf(empty, RecordField::kCity), 2u);
  EXPECT_EQ(LinkOf(empty, RecordField::kZip), 0u);  // not taken from the home address
  EXPECT_EQ(LinkOf(empty, RecordField::kPhone), 7u);

  const CommaLinks home = SuggestLinks(columns, {{"", "", "1 Elm St", "Leeds", "LS1", "555", ""}});
  EXPECT_EQ(LinkOf(home, RecordField::kAdd1), 3u);
  EXPECT_EQ(LinkOf(home, RecordField::kCity), 4u);
  EXPECT_EQ(LinkOf(home, RecordField::kZip), 5u);
  EXPECT_EQ(LinkOf(home, RecordField::kPhone), 6u);  // the phone that holds a value
}

TEST(SuggestLinksTest, TypedColumnsWinOverTheirPairsAndUnknownNamesLinkNothing) {
  const CommaColumns columns({"Given Name", "Family Name", "Phone 1 - Type", "Phone 1 - Value",
                              "Birthday", "Organization 1 - Name", "Organization 1 - Title"});
  const CommaLinks links = SuggestLinks(columns, {});
  EXPECT_EQ(LinkOf(links, RecordField::kFirstName), 1u);
  EXPECT_EQ(LinkOf(links, RecordField::kLastName), 2u);
  EXPECT_EQ(LinkOf(links, RecordField::kOrg), 6u);
  EXPECT_EQ(LinkOf(links, RecordField::kTitle), 7u);
  EXPECT_EQ(columns.Name(LinkOf(links, RecordField::kPhone)), "Phone, by type");
  EXPECT_EQ(columns.Name(LinkOf(links, RecordField::kCellular)), "Mobile, by type");
  EXPECT_EQ(LinkOf(links, RecordField::kNotes), 0u);
  EXPECT_EQ(SuggestLinks(CommaColumns(), {{"a", "b"}}), CommaLinks{});
}

}  // namespace
}  // namespace tabrel
