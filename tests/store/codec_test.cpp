#include "store/codec.h"

#include <gtest/gtest.h>

#include <string>

namespace tabrel {
namespace {

TEST(Cp1252Test, EveryByteSurvivesARoundTrip) {
  std::string all;
  for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
  const std::string utf8 = DecodeCp1252(all);
  const EncodeResult back = EncodeCp1252(utf8);
  EXPECT_EQ(back.bytes, all);
  EXPECT_EQ(back.replaced, 0u);
}

TEST(Cp1252Test, DecodesTheHighBytesToTheirUnicodeCharacters) {
  struct Case {
    const char* bytes;
    const char* utf8;
  };
  for (const Case& c : {Case{"\x80", "\u20AC"}, Case{"\x93x\x94", "\u201Cx\u201D"},
                        Case{"\x9F", "\u0178"}, Case{"\xE9t\xE9", "\u00E9t\u00E9"},
                        Case{"\xA0", "\u00A0"}, Case{"\x81", "\u0081"}, Case{"plain", "plain"}}) {
    EXPECT_EQ(DecodeCp1252(c.bytes), c.utf8) << c.bytes;
  }
}

TEST(Cp1252Test, CharactersTheCodePageCannotHoldBecomeQuestionMarksAndAreCounted) {
  struct Case {
    std::string utf8;
    std::string bytes;
    std::size_t replaced;
  };
  const Case cases[] = {
      {"caf\u00E9 \u20AC5",
       "caf\xE9 \x80"
       "5",
       0},
      {"\u03A9mega", "?mega", 1},               // Greek capital omega
      {"a\U0001F600b", "a?b", 1},               // one four-byte character
      {"\u4E2D\u6587", "??", 2},                // two CJK characters
      {std::string("x\xFFy"), "x?y", 1},        // a byte that is not UTF-8
      {std::string("\xC3"), "?", 1},            // truncated sequence
      {std::string("\xED\xA0\x80"), "???", 3},  // an encoded surrogate
  };
  for (const Case& c : cases) {
    const EncodeResult result = EncodeCp1252(c.utf8);
    EXPECT_EQ(result.bytes, c.bytes) << c.utf8;
    EXPECT_EQ(result.replaced, c.replaced) << c.utf8;
  }
}

TEST(Cp1252Test, UpperCasesAsciiAndTheAccentedLettersOfTheCodePage) {
  EXPECT_EQ(UpperCp1252(std::string_view("smith, o'neil 12-31")), "SMITH, O'NEIL 12-31");
  EXPECT_EQ(UpperCp1252(std::string_view("\xE9\xE0\xFE\xF8")), "\xC9\xC0\xDE\xD8");
  EXPECT_EQ(UpperCp1252(std::string_view("\x9A\x9C\x9E\xFF")), "\x8A\x8C\x8E\x9F");
  // Division sign and sharp s have no capital in the code page.
  EXPECT_EQ(UpperCp1252(std::string_view("\xF7\xDF")), "\xF7\xDF");
}

}  // namespace
}  // namespace tabrel
