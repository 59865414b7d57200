#include "base/codec.h"

#include <gtest/gtest.h>

#include <tuple>

namespace tabrel {
namespace {

TEST(Cp1252Test, EveryByteSurvivesARoundTripAndHighBytesDecodeToTheirCharacters) {
  std::string all;
  for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
  const EncodeResult back = EncodeCp1252(DecodeCp1252(all));
  EXPECT_EQ(back.bytes, all);
  EXPECT_EQ(back.replaced, 0u);
  // The undefined 0x81 keeps its value as a C1 control.
  EXPECT_EQ(DecodeCp1252("\x80\x93x\x94\x9F\xE9\xA0\x81"),
            "\u20AC\u201Cx\u201D\u0178\u00E9\u00A0\u0081");
}

TEST(Cp1252Test, CharactersTheCodePageCannotHoldBecomeQuestionMarksAndAreCounted) {
  const std::tuple<std::string, std::string, std::size_t> cases[] = {
      {"\u03A9mega", "?mega", 1},               // Greek capital omega
      {"\u4E2D\u6587", "??", 2},                // two CJK characters
      {std::string("x\xFFy"), "x?y", 1},        // a byte that is not UTF-8
      {std::string("\xED\xA0\x80"), "???", 3},  // an encoded surrogate
  };
  for (const auto& [utf8, bytes, replaced] : cases) {
    const EncodeResult result = EncodeCp1252(utf8);
    EXPECT_EQ(result.bytes, bytes) << utf8;
    EXPECT_EQ(result.replaced, replaced) << utf8;
  }
}

TEST(Cp1252Test, TheAsciiPrefixEndsAtTheFirstByteAboveSeven) {
  // The first high byte on either side of an eight-byte step, and in the tail.
  const std::string twenty(20, 'a');
  EXPECT_EQ(AsciiPrefix(""), 0u);
  EXPECT_EQ(AsciiPrefix(twenty), 20u);
  EXPECT_EQ(AsciiPrefix("\x7F\x01"), 2u);
  for (std::size_t at : {0u, 1u, 7u, 8u, 9u, 15u, 16u, 17u, 19u}) {
    std::string text = twenty;
    text[at] = '\x80';
    text[19] = '\xFF';
    EXPECT_EQ(AsciiPrefix(text), at) << at;
  }
}

TEST(Cp1252Test, UpperCasesAsciiAndTheAccentedLettersOfTheCodePage) {
  // Division sign and sharp s have no capital in the code page.
  EXPECT_EQ(UpperCp1252(std::string_view("o'neil \xE9\xFE\x9A\x9C\xFF\xF7\xDF")),
            "O'NEIL \xC9\xDE\x8A\x8C\x9F\xF7\xDF");
}

}  // namespace
}  // namespace tabrel
