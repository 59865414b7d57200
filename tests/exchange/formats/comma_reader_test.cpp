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

using CommaColumnsTest = testing::FileCaseTest;

TEST_P(CommaColumnsTest, TypedColumnsPickEachRecordsValueByItsTypeAndKnownNamesLinkTheirFields) {
  const testing::FileCase& c = GetParam();
  const std::vector<std::string> header = testing::SplitOn(c.Get("header"), '|');
  const CommaColumns columns(header);
  testing::ExpectIfGiven(c, "named", columns.named());
  testing::ExpectIfGiven(c, "typed_columns", columns.typed());
  if (c.Has("names_from")) {
    std::vector<std::string> names;
    for (std::size_t n = std::stoul(c.Get("names_from")); names.size() < c.All("name").size();
         ++n) {
      names.emplace_back(columns.Name(n));
    }
    EXPECT_EQ(names, c.All("name"));
  }
  const std::vector<std::string> records = c.All("record"), typed = c.All("typed");
  ASSERT_EQ(records.size(), typed.size());
  for (std::size_t i = 0; i < records.size(); ++i) {
    std::vector<std::string> fields = testing::SplitOn(records[i], '|');
    columns.Complete(fields);
    ASSERT_EQ(fields.size(), header.size() + columns.typed()) << records[i];
    EXPECT_EQ(std::vector<std::string>(fields.begin() + header.size(), fields.end()),
              testing::SplitOn(typed[i], '|'))
        << records[i];
  }
  std::string links;
  for (std::size_t link : SuggestLinks(columns, {})) {
    links += (links.empty() ? "" : " ") + std::to_string(link);
  }
  testing::ExpectIfGiven(c, "links", links);
}

TABREL_FILE_CASES(Headers, CommaColumnsTest, "formats", "comma_columns.cases");

}  // namespace
}  // namespace tabrel
