// The vCard reader's syntax: lines, folding, quoted-printable and base64,
// parameters, groups, character sets, and the BEGIN/END structure with the
// line of each fault.
#include "exchange/formats/vcard_parser.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tabrel {
namespace {

struct Read {
  std::vector<VcardCard> cards;
  std::vector<VcardProblem> problems;
};

Read Parse(std::string_view text) {
  Read read;
  VcardParser parser(text);
  VcardCard card;
  while (parser.Next(card)) read.cards.push_back(card);
  read.problems = parser.problems();
  return read;
}

// The first property `name` of the only card of `body`, wrapped in BEGIN and
// END lines; null when it is not there.
struct One {
  Read read;
  const VcardProperty* Find(const std::string& name) const {
    if (read.cards.size() != 1) return nullptr;
    for (const VcardProperty& p : read.cards[0].properties) {
      if (p.name == name) return &p;
    }
    return nullptr;
  }
};
One Card(const std::string& body) {
  return {Parse("BEGIN:VCARD\r\nVERSION:2.1\r\n" + body + "\r\nEND:VCARD\r\n")};
}

std::string Problems(const Read& read) {
  std::string text;
  for (const VcardProblem& p : read.problems) {
    text += std::to_string(p.line) + ": " + p.text + "\n";
  }
  return text;
}

TEST(VcardParserTest, LogicalLinesAreUnfoldedAndDecodedAsEachValueSays) {
  struct Case {
    const char* what;
    std::string body;
    std::string value;  // of the NOTE property
  };
  const Case cases[] = {
      {"a fold drops one blank", "NOTE:ab\r\n cd", "abcd"},
      {"a fold drops one tab", "NOTE:ab\r\n\tcd", "abcd"},
      {"a second blank is text", "NOTE:ab\r\n  cd", "ab cd"},
      {"a fold inside a character", "NOTE:x\xC3\r\n \xA9y", "x\xC3\xA9y"},
      {"a fold inside the name", "NO\r\n TE;TYPE=x:v", "v"},
      {"escapes stay for the fields to split", "NOTE:a\\,b\\;c\\nd", "a\\,b\\;c\\nd"},
      {"quoted-printable", "NOTE;ENCODING=QUOTED-PRINTABLE:a=3Db=0D=0Ac", "a=b\r\nc"},
      {"a bare quoted-printable, lower-case hex, UTF-8",
       "NOTE;CHARSET=UTF-8;QUOTED-PRINTABLE:=c3=a9", "\xC3\xA9"},
      {"a soft break joins the next line whole", "NOTE;ENCODING=QUOTED-PRINTABLE:time =\r\n to",
       "time  to"},
      {"after a soft break a # is text", "NOTE;ENCODING=QUOTED-PRINTABLE:a=\r\n#b\r\n# c", "a#b"},
      {"a soft break before an empty line", "NOTE;ENCODING=QUOTED-PRINTABLE:=41=\r\n\r\nTEL:1",
       "A"},
      {"a broken escape stays as it is", "NOTE;ENCODING=QUOTED-PRINTABLE:50=%", "50=%"},
      {"a soft break before the card's end", "NOTE;ENCODING=QUOTED-PRINTABLE:ab=", "ab"},
      {"a line ending in a backslash goes on", "NOTE:a\\\r\nb\\\r\nc;d", "a\\nb\\nc;d"},
      {"an escaped backslash at the end does not", "NOTE:a\\\\\r\nb c", "a\\\\"},
      {"base64 text", "NOTE;ENCODING=b:SGVsbG8=", "Hello"},
      {"2.1 base64 over lines that are no property",
       "NOTE;ENCODING=BASE64:SGVs\r\nbG8g\r\nd29y\r\nbGQ=\r\n\r\nTEL:1", "Hello world"},
      {"Windows-1252 named", "NOTE;CHARSET=windows-1252:Do\xEB", "Do\xC3\xAB"},
      {"8-bit text that is not UTF-8", "NOTE:Do\xEB", "Do\xC3\xAB"},
      {"8-bit text that is UTF-8", "NOTE:Do\xC3\xAB", "Do\xC3\xAB"},
      {"Shift_JIS quoted-printable over a soft break",
       "NOTE;CHARSET=SHIFT_JIS;ENCODING=QUOTED-PRINTABLE:=88=C0=\r\n=93=A1",
       "\xE5\xAE\x89\xE8\x97\xA4"},
      {"an unknown set falls back", "NOTE;CHARSET=x-none:Do\xEB", "Do\xC3\xAB"},
  };
  for (const Case& c : cases) {
    const One one = Card(c.body);
    const VcardProperty* note = one.Find("NOTE");
    ASSERT_NE(note, nullptr) << c.what << "\n" << Problems(one.read);
    EXPECT_EQ(note->value, c.value) << c.what;
    EXPECT_TRUE(one.read.problems.empty()) << c.what << "\n" << Problems(one.read);
  }
}

TEST(VcardParserTest, CardsPairUpAndEachFaultIsReportedWithItsLine) {
  struct Case {
    const char* what;
    std::string text;
    std::vector<std::size_t> card_lines;
    std::string problems;
  };
  const Case cases[] = {
      {"two cards, any case, blank lines and comments between",
       "begin:vcard\nFN:a\nEnd:VCard\n\n# comment\n\x1a\nBEGIN:VCARD\nFN:b\nEND:VCARD\n",
       {1, 7},
       ""},
      {"a card left open",
       "BEGIN:VCARD\nFN:a\nEND:VCARD\nBEGIN:VCARD\nFN:b\n",
       {1},
       "4: the card begun on this line has no END:VCARD\n"},
      {"a card begun inside another",
       "BEGIN:VCARD\nFN:a\nBEGIN:VCARD\nFN:b\nEND:VCARD\n",
       {3},
       "3: BEGIN:VCARD inside the card begun on line 1, which has no END:VCARD\n"},
      {"an END without a BEGIN",
       "BEGIN:VCARD\nEND:VCARD\nEND:VCARD\n",
       {1},
       "3: END:VCARD without a BEGIN:VCARD before it\n"},
      {"text outside any card",
       "FN:lost\nBEGIN:VCARD\nEND:VCARD\n",
       {2},
       "1: \"FN:lost\" is outside any card (BEGIN:VCARD missing?)\n"},
      {"lines counted through folds",
       "BEGIN:VCARD\nNOTE:a\n b\n c\nBEGIN:VCARD\nEND:VCARD\n",
       {5},
       "5: BEGIN:VCARD inside the card begun on line 1, which has no END:VCARD\n"},
      {"a card an AGENT holds is skipped with it",
       "BEGIN:VCARD\nAGENT:\nBEGIN:VCARD\nFN:agent\nEND:VCARD\nFN:boss\nEND:VCARD\n",
       {1},
       ""},
      {"an END that a soft break would swallow still ends the card",
       "BEGIN:VCARD\nNOTE;QUOTED-PRINTABLE:a=\nEND:VCARD\n",
       {1},
       ""},
  };
  for (const Case& c : cases) {
    const Read read = Parse(c.text);
    std::vector<std::size_t> lines;
    for (const VcardCard& card : read.cards) lines.push_back(card.line);
    EXPECT_EQ(lines, c.card_lines) << c.what;
    EXPECT_EQ(Problems(read), c.problems) << c.what;
  }
  const Read agent = Parse(cases[6].text);
  ASSERT_EQ(agent.cards.size(), 1u);
  EXPECT_EQ(agent.cards[0].properties.back().value, "boss");
}

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
