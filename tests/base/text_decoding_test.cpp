// Reading text files from other programs: encodings found from the bytes,
// encodings chosen by name, lines, and base64.
#include "base/text_decoding.h"

#include <gtest/gtest.h>

#include <vector>

#include "base/base64.h"
#include "base/text_lines.h"

namespace tabrel {
namespace {

std::string Utf16(std::u16string_view text, bool big_endian) {
  std::string out;
  for (const char16_t unit : text) {
    const char high = static_cast<char>(unit >> 8);
    const char low = static_cast<char>(unit & 0xFF);
    out += big_endian ? std::string{high, low} : std::string{low, high};
  }
  return out;
}

TEST(DecodeTextTest, FindsTheEncodingFromMarkZerosAndValidity) {
  struct Case {
    std::string bytes;
    std::string text;
    const char* encoding;
    std::size_t invalid;
  };
  const Case cases[] = {
      {"M\xC3\xBCller", "M\u00FCller", "UTF-8", 0},
      {"\xEF\xBB\xBFM\xC3\xBCller", "M\u00FCller", "UTF-8", 0},
      {"\xEF\xBB\xBF"
       "a\xFC",
       "a\uFFFD", "UTF-8", 1},  // a mark, then bytes that are not UTF-8
      {"M\xFCller \x80", "M\u00FCller \u20AC", "Windows-1252", 0},
      {"\xFF\xFE" + Utf16(u"M\u00FCller\r\n", false), "M\u00FCller\r\n", "UTF-16LE", 0},
      {"\xFE\xFF" + Utf16(u"M\u00FCller", true), "M\u00FCller", "UTF-16BE", 0},
      // Without a mark: the zero bytes of Latin text tell the order.
      {Utf16(u"Name,E-mail\r\n", false), "Name,E-mail\r\n", "UTF-16LE", 0},
      {Utf16(u"BEGIN:VCARD", true), "BEGIN:VCARD", "UTF-16BE", 0},
      // A surrogate pair, a lone surrogate and half a code unit at the end.
      {"\xFF\xFE" + Utf16(u"\U0001F600", false), "\U0001F600", "UTF-16LE", 0},
      {"\xFF\xFE" + Utf16(u"a", false) + std::string("\x00\xD8", 2) + "b", "a\uFFFD\uFFFD",
       "UTF-16LE", 2},
      {"", "", "UTF-8", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const DecodedText decoded = DecodeText(c.bytes);
    EXPECT_EQ(decoded.text, c.text);
    EXPECT_EQ(decoded.encoding, c.encoding);
    EXPECT_EQ(decoded.invalid, c.invalid);
  }
}

TEST(DecodeTextTest, ReadsNamedEncodingsThroughTheSystemConverter) {
  struct Case {
    const char* encoding;
    std::string bytes;
    std::string text;
    std::size_t invalid;
  };
  const Case cases[] = {
      {"SHIFT_JIS", "\x93\xfa\x96\x7b", "\u65E5\u672C", 0},  // "Japan"
      {"WINDOWS-1251", "\xcf\xf0\xe8", "\u041F\u0440\u0438", 0},
      {"WINDOWS-1250", "\x8a\xe8", "\u0160\u010D", 0},
      {"ISO-8859-15", "\xa4", "\u20AC", 0},
      {"MACINTOSH", "\x8a", "\u00E4", 0},
      {"UTF-16", "\xFF\xFE" + Utf16(u"ab", false), "ab", 0},
      {"UTF-8", "\xEF\xBB\xBFok", "ok", 0},  // the mark is dropped
      {"UTF-8",
       "a\xFF"
       "b",
       "a\uFFFD"
       "b",
       1},
      {"SHIFT_JIS", "a\x93", "a\uFFFD", 1},  // the text ends inside a character
      {"", "M\xFCller", "M\u00FCller", 0},   // no name: found by itself
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.encoding);
    const auto decoded = DecodeTextAs(c.bytes, c.encoding);
    ASSERT_TRUE(decoded.ok()) << decoded.status().ErrorLine();
    EXPECT_EQ(decoded.value().text, c.text);
    EXPECT_EQ(decoded.value().invalid, c.invalid);
  }
  const auto unknown = DecodeTextAs("x", "NO-SUCH-ENCODING");
  ASSERT_FALSE(unknown.ok());
  EXPECT_NE(unknown.status().description().find("NO-SUCH-ENCODING"), std::string::npos);
}

// The system converter passes code points past U+10FFFF through as if they
// were UTF-8; each of their bytes must become U+FFFD like any other fault.
TEST(DecodeTextTest, UtfEightThatIsNotSoundComesOutSound) {
  const std::string beyond =
      "a\xF5\xBE\x91\x91"
      "b";
  const std::string replaced =
      "a\uFFFD\uFFFD\uFFFD\uFFFD"
      "b";
  const DecodedText marked = DecodeText("\xEF\xBB\xBF" + beyond);
  EXPECT_EQ(marked.text, replaced);
  EXPECT_EQ(marked.invalid, 4u);
  auto named = DecodeTextAs(beyond, "UTF-8");
  ASSERT_TRUE(named.ok());
  EXPECT_EQ(named.value().text, replaced);
  EXPECT_EQ(named.value().invalid, 4u);
  EXPECT_EQ(DecodeTextAs("\xC3\xA9\xED\xA0\x80", "UTF-8").value().text, "\u00E9\uFFFD\uFFFD\uFFFD");
}

TEST(DecodeTextTest, EveryEncodingOfferedIsKnownToTheSystem) {
  for (const TextEncodingChoice& choice : kTextEncodingChoices) {
    EXPECT_TRUE(DecodeTextAs("abc", std::string(choice.name)).ok()) << choice.caption;
  }
}

TEST(DecodeTextTest, AFileDeclaresItsUnicodeFormOrIsKeptForItsValuesToName) {
  const std::string utf16 = Utf16(u"N:\u00E9", false);
  EXPECT_EQ(DecodeUnicodeForm("\xEF\xBB\xBFN:D\xC3\xA9")->text, "N:D\u00E9");
  EXPECT_EQ(DecodeUnicodeForm("\xFF\xFE" + utf16)->encoding, "UTF-16LE");
  EXPECT_EQ(DecodeUnicodeForm(Utf16(u"BEGIN", true))->text, "BEGIN");
  // 8-bit text, valid UTF-8 or not, declares nothing: each value names its set.
  EXPECT_EQ(DecodeUnicodeForm("N:Do\xEB"), std::nullopt);
  EXPECT_EQ(DecodeUnicodeForm("N:D\xC3\xA9"), std::nullopt);

  EXPECT_EQ(Utf8OrWindows1252("D\xC3\xA9j\xC3\xA0"), "D\xC3\xA9j\xC3\xA0");
  EXPECT_EQ(Utf8OrWindows1252("Do\xEB \x80"), "Do\xC3\xAB \xE2\x82\xAC");
  EXPECT_EQ(Utf8OrWindows1252("\xC3"), "\xC3\x83") << "a sequence cut short is no UTF-8";
}

TEST(DecodeTextTest, ReadsTheCharacterSetAValueNames) {
  EXPECT_EQ(CharsetToUtf8("Do\xEB", "windows-1252"), "Do\xC3\xAB");
  EXPECT_EQ(CharsetToUtf8("\x80", "ISO-8859-1"), "\xE2\x82\xAC") << "read as its superset";
  EXPECT_EQ(CharsetToUtf8("\xC3\xA9", "utf-8"), "\xC3\xA9");
  EXPECT_EQ(CharsetToUtf8("\xE9", "us-ascii"), "\xC3\xA9");
  EXPECT_EQ(CharsetToUtf8("\x88\xC0\x93\xA1 \xB1", "SHIFT_JIS"),
            "\xE5\xAE\x89\xE8\x97\xA4 \xEF\xBD\xB1");
  EXPECT_EQ(CharsetToUtf8("a\x80z", "SHIFT_JIS"), "a\xEF\xBF\xBDz");
  EXPECT_EQ(CharsetToUtf8("x", "NO-SUCH-SET"), std::nullopt);
  EXPECT_EQ(CharsetToUtf8("x", ""), std::nullopt);
}

TEST(LineReaderTest, EndsLinesAtCrLfLoneCrAndLoneLf) {
  const std::pair<std::string, std::vector<std::string>> cases[] = {
      {"a\r\nb\rc\nd", {"a", "b", "c", "d"}},
      {"a\n\nb\n", {"a", "", "b"}},
      {"\r\n", {""}},
      {"a\r\r\nb\r\r\n", {"a", "b"}},  // CRs doubled before LF end one line
      {"a\r\rb", {"a", "", "b"}},
      {"", {}},
  };
  for (const auto& [text, expected] : cases) {
    LineReader reader(text);
    std::vector<std::string> lines;
    for (std::string_view line; reader.Next(line);) lines.emplace_back(line);
    EXPECT_EQ(lines, expected) << text;
  }
  // Where LF ends lines, a lone CR may be kept in the line.
  const std::pair<std::string, std::vector<std::string>> kept[] = {
      {"a\r\nb\rc\nd", {"a", "b\rc", "d"}},
      {"a\rb\r\r\nc", {"a\rb", "c"}},
      {"a\rb\r", {"a", "b"}},  // no LF: CR ends lines after all
  };
  for (const auto& [text, expected] : kept) {
    LineReader keeping(text, LoneCr::kKeptWhereLfEndsLines);
    std::vector<std::string> lines;
    for (std::string_view line; keeping.Next(line);) lines.emplace_back(line);
    EXPECT_EQ(lines, expected) << text;
  }
  LineReader reader("one\r\ntwo");
  std::string_view line;
  ASSERT_TRUE(reader.Peek(line) && reader.Peek(line));
  EXPECT_EQ(line, "one");
  EXPECT_EQ(reader.number(), 0u) << "peeking takes no line";
  ASSERT_TRUE(reader.Next(line) && reader.Next(line));
  reader.PutBack();
  ASSERT_TRUE(reader.Next(line));
  EXPECT_EQ(line, "two");
  EXPECT_EQ(reader.number(), 2u);
}

TEST(Base64Test, DecodesWhatItEncodesAndRefusesWhatIsNotBase64) {
  const std::pair<std::string, std::string> pairs[] = {{"", ""},
                                                       {"f", "Zg=="},
                                                       {"fo", "Zm8="},
                                                       {"foo", "Zm9v"},
                                                       {std::string("\xFF\x00\x10", 3), "/wAQ"}};
  for (const auto& [bytes, text] : pairs) {
    EXPECT_EQ(EncodeBase64(bytes), text);
    EXPECT_EQ(DecodeBase64(text), bytes);
  }
  EXPECT_EQ(DecodeBase64(" Zm9v\r\n YmFy"), "foobar");  // folded
  EXPECT_EQ(DecodeBase64("Zm8"), "fo");                 // padding left out
  EXPECT_EQ(DecodeBase64("Zm9v!"), std::nullopt);
  EXPECT_EQ(DecodeBase64("Zg==Zg"), std::nullopt);  // digits after the padding
  EXPECT_EQ(DecodeBase64("Z"), std::nullopt);       // a lone last digit
}

}  // namespace
}  // namespace tabrel
