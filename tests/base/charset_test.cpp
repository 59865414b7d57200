// Text of other programs' files turned into UTF-8, and the digest that names
// exported cards.
#include "base/charset.h"

#include <gtest/gtest.h>

#include "base/sha1.h"

namespace tabrel {
namespace {

std::string Hex(const std::array<std::uint8_t, 20>& digest) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string text;
  for (std::uint8_t b : digest) {
    text.push_back(kHex[b >> 4]);
    text.push_back(kHex[b & 15]);
  }
  return text;
}

TEST(CharsetTest, AFileSaysItIsUnicodeByItsMarkOrByTheZeroBytesOfUtf16) {
  struct Case {
    std::string bytes;
    std::string text;
    bool unicode;
    std::string_view encoding;
  };
  const Case cases[] = {
      {"\xEF\xBB\xBFN:D\xC3\xA9", "N:D\xC3\xA9", true, "UTF-8"},
      {std::string("\xFF\xFEN\0:\0\xE9\0", 8), "N:\xC3\xA9", true, "UTF-16LE"},
      {std::string("\xFE\xFF\0N\0:\x01\x3D", 8), "N:\xC4\xBD", true, "UTF-16BE"},
      // Without a mark: the high bytes of Latin text are zero.
      {std::string("\0B\0E\0G\0I\0N", 10), "BEGIN", true, "UTF-16BE"},
      {std::string("B\0E\0G\0I\0N\0", 10), "BEGIN", true, "UTF-16LE"},
      // A surrogate pair, an unpaired surrogate and a lone last byte.
      {std::string("\xFF\xFE\x3D\xD8\x00\xDE\x00\xD8x", 9),
       "\xF0\x9F\x98\x80\xEF\xBF\xBD\xEF\xBF\xBD", true, "UTF-16LE"},
      // 8-bit text stays byte for byte: each value names its own set.
      {"N:Do\xEB", "N:Do\xEB", false, "8-bit"},
      {"N:D\xC3\xA9", "N:D\xC3\xA9", false, "8-bit"},
  };
  for (const Case& c : cases) {
    const FileText text = SettleUnicodeForm(c.bytes);
    EXPECT_EQ(text.text, c.text) << c.text;
    EXPECT_EQ(text.unicode, c.unicode) << c.text;
    EXPECT_EQ(text.encoding, c.encoding) << c.text;
  }
}

TEST(CharsetTest, ValuesAreReadInTheSetTheyNameOrAsUtf8ElseWindows1252) {
  EXPECT_EQ(Utf8OrWindows1252("D\xC3\xA9j\xC3\xA0"), "D\xC3\xA9j\xC3\xA0");
  EXPECT_EQ(Utf8OrWindows1252("Do\xEB \x80"), "Do\xC3\xAB \xE2\x82\xAC");
  EXPECT_EQ(Utf8OrWindows1252("\xC3"), "\xC3\x83") << "a sequence cut short is no UTF-8";

  EXPECT_EQ(CharsetToUtf8("Do\xEB", "windows-1252"), "Do\xC3\xAB");
  EXPECT_EQ(CharsetToUtf8("\x80", "ISO-8859-1"), "\xE2\x82\xAC") << "read as its superset";
  EXPECT_EQ(CharsetToUtf8("\xC3\xA9", "utf-8"), "\xC3\xA9");
  // Shift_JIS through the system's converter: two kanji, a half-width kana.
  EXPECT_EQ(CharsetToUtf8("\x88\xC0\x93\xA1 \xB1", "SHIFT_JIS"),
            "\xE5\xAE\x89\xE8\x97\xA4 \xEF\xBD\xB1");
  // A byte that starts no character becomes U+FFFD, and the rest is read.
  EXPECT_EQ(CharsetToUtf8("a\x80z", "SHIFT_JIS"), "a\xEF\xBF\xBDz");
  EXPECT_EQ(CharsetToUtf8("a\x88", "SHIFT_JIS"), "a\xEF\xBF\xBD");
  EXPECT_EQ(CharsetToUtf8("x", "NO-SUCH-SET"), std::nullopt);
  EXPECT_EQ(CharsetToUtf8("x", ""), std::nullopt);
}

TEST(Sha1Test, DigestsMatchTheStandardsExamples) {
  EXPECT_EQ(Hex(Sha1("")), "da39a3ee5e6b4b0d3255bfef95601890afd80709");
  EXPECT_EQ(Hex(Sha1("abc")), "a9993e364706816aba3e25717850c26c9cd0d89d");
  EXPECT_EQ(Hex(Sha1("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq")),
            "84983e441c3bd26ebaae4aa1f95129e5e54670f1");
  EXPECT_EQ(Hex(Sha1(std::string(1000000, 'a'))), "34aa973cd4c4daa4f61eeb2bdbad27316534016f");
}

}  // namespace
}  // namespace tabrel
