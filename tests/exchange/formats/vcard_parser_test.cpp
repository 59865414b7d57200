// The vCard reader's syntax: lines, folding, quoted-printable and base64,
// parameters, groups, character sets, and the BEGIN/END structure with the
// line of each fault, from testdata/formats/vcard_parser.cases.
#include "exchange/formats/vcard_parser.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "fakes/case_file.h"

namespace tabrel {
namespace {

using VcardParserTest = testing::FileCaseTest;

// Everything a reading gives, as text to compare.
std::string Described(const std::vector<VcardCard>& cards,
                      const std::vector<VcardProblem>& problems) {
  std::string out;
  for (const VcardCard& card : cards) {
    out += "card " + std::to_string(card.line) + " " + card.version + "\n";
    for (const VcardProperty& p : card.properties) {
      out += " " + std::to_string(p.line) + " " + p.group + "." + p.name + "=" + p.value + "\n";
    }
  }
  for (const VcardProblem& p : problems) out += std::to_string(p.line) + ": " + p.text + "\n";
  return out;
}

// `text` read by one parser, or with the part from `share` on split off
// to a second (`split` then says whether the second's cards counted).
std::string Read(const std::string& text, double share = -1, bool* split = nullptr) {
  VcardParser front(text);
  std::unique_ptr<VcardParser> back = share >= 0 ? front.SplitOff(share) : nullptr;
  std::vector<VcardCard> cards;
  for (VcardCard card; front.Next(card);) cards.push_back(card);
  std::vector<VcardProblem> problems = front.problems();
  if (back && front.split()) {
    for (VcardCard card; back->Next(card);) cards.push_back(card);
    problems.insert(problems.end(), back->problems().begin(), back->problems().end());
  }
  if (split) *split = back && front.split();
  return Described(cards, problems);
}

// A file read by two parsers, split anywhere, reads as by one: where the
// part split off begins inside a card, the first reads on.
void ExpectSplitsReadAlike(const std::string& text) {
  const std::string whole = Read(text);
  for (double share = 0; share < 1; share += 0.05) {
    EXPECT_EQ(Read(text, share), whole) << "split at " << share << " of\n" << text;
  }
}

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
  ExpectSplitsReadAlike(text);
}

TEST(VcardParserTest, SplitsReadAsOneParser) {
  std::string many;
  for (int i = 0; i < 40; ++i) {
    many += "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Card " + std::to_string(i) +
            "\r\nNOTE:folded\r\n  on\r\nEND:VCARD\r\n";
  }
  const std::string agent =
      "BEGIN:VCARD\nVERSION:2.1\nN:Outer\nAGENT:\nBEGIN:VCARD\nN:Inner\nEND:VCARD\n"
      "BEGIN:VCARD\nN:Begun inside\nEND:VCARD\nEND:VCARD\nBEGIN:VCARD\nN:After\nEND:VCARD\n";
  const std::string faults = many +
                             std::string("stray text\nBEGIN:VCARD\nNOTE:a\0b\nEND:VCARD\n", 42) +
                             many + "END:VCARD\nBEGIN:VCARD\nN:Open\n";
  for (const std::string& text :
       {many, agent, faults, std::string("BEGIN:VCARD\nEND:VCARD\nBEGIN:VCARD\rN:x")}) {
    ExpectSplitsReadAlike(text);
  }
  // The split is taken where it can be, and only in a file whose lines LF ends.
  bool split = false;
  Read(many, 0.5, &split);
  EXPECT_TRUE(split);
  std::string cr_only = many;
  std::erase(cr_only, '\n');
  EXPECT_EQ(VcardParser(cr_only).SplitOff(0.5), nullptr);
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
