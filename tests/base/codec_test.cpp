#include "base/codec.h"

#include <gtest/gtest.h>

namespace tabrel {
namespace {

TEST(Cp1252Test, EveryByteSurvivesARoundTrip) {
  std::string all;
  for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
  const EncodeResult back = EncodeCp1252(DecodeCp1252(all));
  EXPECT_EQ(back.bytes, all);
  EXPECT_EQ(back.replaced, 0u);
}

TEST(Cp1252Test, EveryHighByteDecodesToItsOwnCharacter) {
  // 0x80 to 0x9F as the code page defines them; the five it leaves
  // undefined keep their value as C1 controls.
  const char* const kHigh[32] = {
      "\u20AC", "\u0081", "\u201A", "\u0192", "\u201E", "\u2026", "\u2020", "\u2021",  // 0x80
      "\u02C6", "\u2030", "\u0160", "\u2039", "\u0152", "\u008D", "\u017D", "\u008F",  // 0x88
      "\u0090", "\u2018", "\u2019", "\u201C", "\u201D", "\u2022", "\u2013", "\u2014",  // 0x90
      "\u02DC", "\u2122", "\u0161", "\u203A", "\u0153", "\u009D", "\u017E", "\u0178",  // 0x98
  };
  for (int b = 0x80; b <= 0xFF; ++b) {
    // From 0xA0 on the code page is Latin-1: each byte is its own code point.
    const std::string expected = b < 0xA0 ? kHigh[b - 0x80]
                                          : std::string{static_cast<char>(0xC0 | (b >> 6)),
                                                        static_cast<char>(0x80 | (b & 0x3F))};
    EXPECT_EQ(DecodeCp1252(std::string(1, static_cast<char>(b))), expected) << std::hex << b;
  }
}

TEST(Cp1252Test, UpperCasesAsciiAndTheSmallLettersOfTheCodePageAndNothingElse) {
  // Each small letter above its capital; every other byte is its own upper case
  // (sharp s, micro sign and the division sign have no capital in the code page).
  const std::string small =
      "abcdefghijklmnopqrstuvwxyz\x9A\x9C\x9E\xFF"
      "\xE0\xE1\xE2\xE3\xE4\xE5\xE6\xE7\xE8\xE9\xEA\xEB\xEC\xED\xEE\xEF"
      "\xF0\xF1\xF2\xF3\xF4\xF5\xF6\xF8\xF9\xFA\xFB\xFC\xFD\xFE";
  const std::string capital =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZ\x8A\x8C\x8E\x9F"
      "\xC0\xC1\xC2\xC3\xC4\xC5\xC6\xC7\xC8\xC9\xCA\xCB\xCC\xCD\xCE\xCF"
      "\xD0\xD1\xD2\xD3\xD4\xD5\xD6\xD8\xD9\xDA\xDB\xDC\xDD\xDE";
  ASSERT_EQ(small.size(), capital.size());
  std::string all;
  std::string expected;
  for (int b = 0; b < 256; ++b) {
    const auto at = small.find(static_cast<char>(b));
    all.push_back(static_cast<char>(b));
    expected.push_back(at == std::string::npos ? static_cast<char>(b) : capital[at]);
  }
  EXPECT_EQ(UpperCp1252(all), expected);
}

TEST(Cp1252Test, Utf8TextIsUpperCasedByTheCodePagesRulesAndTheRestKept) {
  EXPECT_EQ(UpperUtf8ByCp1252("/home/ren\u00e9e/\u0153uvre/\u03b4/\u00df/"),
            "/HOME/REN\u00c9E/\u0152UVRE/\u03b4/\u00df/");
  EXPECT_EQ(UpperUtf8ByCp1252(std::string("a\xFF\xC3")), std::string("A\xFF\xC3"));
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

}  // namespace
}  // namespace tabrel
