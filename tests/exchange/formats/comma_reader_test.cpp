// Comma-separated text: the reader, header detection, typed columns and
// suggested links.
#include "exchange/formats/comma_reader.h"

#include <gtest/gtest.h>

#include "exchange/formats/comma_columns.h"
#include "exchange/formats/comma_contact.h"
#include "fakes/case_file.h"

namespace tabrel {
namespace {

using CommaReaderTest = testing::FileCaseTest;
using CommaHeaderTest = testing::FileCaseTest;

TEST_P(CommaReaderTest, SplitsRecordsAndFieldsAsOtherProgramsWriteThem) {
  const std::string text = GetParam().Get("text");
  CommaReader reader(text);
  std::vector<std::string> rows;
  std::string lines;
  for (std::vector<std::string> fields; reader.Next(fields);) {
    std::string row;
    for (const std::string& field : fields) row += (&field == &fields[0] ? "" : "|") + field;
    rows.push_back(row);
    lines += (lines.empty() ? "" : " ") + std::to_string(reader.line());
  }
  EXPECT_EQ(rows, GetParam().All("row"));
  testing::ExpectIfGiven(GetParam(), "lines", lines);
  testing::ExpectIfGiven(GetParam(), "skipped", reader.skipped_empty());
}

TEST_P(CommaHeaderTest, TakesALineOfDistinctNamesForAHeader) {
  testing::ExpectIfGiven(GetParam(), "header",
                         LooksLikeHeader(testing::SplitOn(GetParam().Get("fields"), '|')));
}

TABREL_FILE_CASES(Texts, CommaReaderTest, "formats", "comma_reader.cases");
TABREL_FILE_CASES(FirstLines, CommaHeaderTest, "formats", "comma_header.cases");

TEST(CommaSurveyTest, AbooksExportsHaveNoHeader) {
  // abook's exports of six generated contacts: no header, six records.
  for (const char* name : {"abook_export.csv", "abook_export_palm.csv"}) {
    const std::string text = testing::ReadBytes(testing::TestDataFolder("exchange") / name);
    const CommaSurvey survey = SurveyComma(text, false);
    EXPECT_FALSE(survey.header_likely) << name;
    EXPECT_EQ(survey.records, 6u) << name;
  }
}

// One record through the links: the notes with extras (blank columns keep
// their place), and the records never stored.
TEST(CommaContactTest, ExtrasKeepBlankColumnsAndEntirelyBlankRecordsAreLeftOut) {
  struct Case {
    std::vector<std::string> fields;
    std::size_t last_name;  // the column linked to LastName; 0: none
    bool extras;
    std::optional<std::string> notes;  // nothing: not stored
  };
  const Case cases[] = {
      {{"Adams", "a", "", "b"}, 1, true, " a  b"}, {{"Adams", "a", "", "b"}, 1, false, ""},
      {{"", "  "}, 1, false, std::nullopt},        {{"", ""}, 1, true, std::nullopt},
      {{"Adams", "x"}, 0, false, std::nullopt},    {{"Adams", "x"}, 0, true, " Adams x"},
  };
  for (const Case& c : cases) {
    CommaImportOptions options;
    options.links[static_cast<std::size_t>(RecordField::kLastName)] = c.last_name;
    options.extras_to_notes = c.extras;
    RecordBuilder built;
    const auto type = ContactFromComma(c.fields, CommaColumns(), options, built);
    ASSERT_EQ(type.has_value(), c.notes.has_value()) << c.fields[0] << c.extras;
    EXPECT_EQ(c.notes ? built.Get(RecordField::kNotes) : "", c.notes.value_or("")) << c.fields[0];
  }
  CommaImportOptions options;
  EXPECT_EQ(CommaLeftOutText(options, 0),
            "No field is linked to a column of the file: no record was imported.");
  options.links[0] = 1;
  EXPECT_EQ(CommaLeftOutText(options, 0), "");
  EXPECT_EQ(CommaLeftOutText(options, 2),
            "2 records were left out: they would have been entirely blank.");
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
  std::vector<std::string_view> typed_names;
  for (std::size_t n = 17; n <= 24; ++n) typed_names.push_back(columns.Name(n));
  EXPECT_EQ(typed_names, (std::vector<std::string_view>{
                             "Phone, by type", "Fax, by type", "Mobile, by type", "Pager, by type",
                             "E-mail, by type", "Street 2, by type", "City, by type", ""}));
  EXPECT_EQ(columns.Name(0), "");
  for (const std::string website : {"Website", "Web Site", "Web page"}) {
    EXPECT_EQ(CommaColumns({website + " 1 - Type", website + " 1 - Value"}).Name(3),
              "Website, by type")
        << website;
  }

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
      // An address without values never wins, whatever its type.
      {{"Di", "", "", "", "", "", "", "", "", "", "", "Work", "", "Home", "Hometown", ""},
       {"", "", "", "", "", "", "Hometown"}},
  };
  for (const Case& c : cases) {
    std::vector<std::string> fields = c.fields;
    columns.Complete(fields);
    ASSERT_EQ(fields.size(), header.size() + 7) << c.fields[0];
    const std::vector<std::string> typed(fields.begin() + header.size(), fields.end());
    EXPECT_EQ(typed, c.typed) << c.fields[0];
  }
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

}  // namespace
}  // namespace tabrel
