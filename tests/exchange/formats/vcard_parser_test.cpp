// The vCard reader's syntax: lines, folding, quoted-printable and base64,
// parameters, groups, character sets, and the BEGIN/END structure with the
// line of each fault, from testdata/formats/vcard_parser.cases.
#include "exchange/formats/vcard_parser.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/case_file.h"

namespace tabrel {
namespace {

using VcardParserTest = testing::FileCaseTest;

TEST_P(VcardParserTest, ReadsTheCardsAndTheirValuesOrSaysWhereTheyAreBroken) {
  const testing::FileCase& c = GetParam();
  std::string text = c.Get("text", "");
  if (!c.Has("text")) {
    text = "BEGIN:VCARD\r\nVERSION:2.1\r\n";
    for (const std::string& line : c.All("line")) text += line + "\r\n";
    text += "END:VCARD\r\n";
  }
  VcardParser parser(text);
  std::vector<VcardCard> cards;
  for (VcardCard card; parser.Next(card);) cards.push_back(card);
  std::string problems, wanted, lines;
  for (const VcardProblem& p : parser.problems()) {
    problems += std::to_string(p.line) + ": " + p.text + "\n";
  }
  for (const std::string& p : c.All("problem")) wanted += p + "\n";
  EXPECT_EQ(problems, wanted);
  for (const VcardCard& card : cards)
    lines += (lines.empty() ? "" : " ") + std::to_string(card.line);
  testing::ExpectIfGiven(c, "cards", lines);
  if (c.Has("note")) {
    ASSERT_EQ(cards.size(), 1u);
    std::string note = "<no NOTE>";
    for (const VcardProperty& p : cards[0].properties) {
      if (p.name == "NOTE") {
        note = p.value;
        break;
      }
    }
    EXPECT_EQ(note, c.Get("note"));
  }
  if (c.Has("last")) {
    EXPECT_EQ(cards.at(0).properties.back().value, c.Get("last"));
  }
}

TABREL_FILE_CASES(Cards, VcardParserTest, "formats", "vcard_parser.cases");

// What a file offers before it is read: each line that is BEGIN:VCARD,
// whatever ends the lines, and nothing else.
TEST(VcardParserTest, CardsBegunAreCountedByWholeLines) {
  const std::pair<std::string, std::size_t> cases[] = {
      {" \tbegin:vCard \r\r\nEND:VCARD\nBEGIN:VCARD", 2},
      {"x BEGIN:VCARD\nBEGIN:VCARDS\nBEGIN:VCARD\r \n\rBEGIN:VCARD\nNOTE:BEGIN:VCARD\n", 0},
      {"BEGIN:VCARD\rEND:VCARD\r BEGIN:vcard\r", 2},
      {"\xEF\xBB\xBF"
       "BEGIN:VCARD\nEND:VCARD\n",
       1},
  };
  for (const auto& [text, begun] : cases) EXPECT_EQ(CountCardsBegun(text), begun) << text;
}

}  // namespace
}  // namespace tabrel
