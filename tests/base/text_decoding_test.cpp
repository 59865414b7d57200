// Reading text files from other programs: encodings found from the bytes,
// encodings chosen by name (cases in testdata/formats/text_decoding.cases),
// and lines.
#include "base/text_decoding.h"

#include <gtest/gtest.h>

#include <vector>

#include "base/text_lines.h"
#include "fakes/case_file.h"

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

using DecodeTextTest = testing::FileCaseTest;

TEST_P(DecodeTextTest, MakesTheTextUtf8AndCountsWhatCouldNotBeRead) {
  const testing::FileCase& c = GetParam();
  const std::string bytes = c.Get("bytes");
  if (c.Has("charset")) {
    const std::optional<std::string> text = CharsetToUtf8(bytes, c.Get("charset"));
    EXPECT_EQ(text.has_value(), !c.Has("unknown"));
    testing::ExpectIfGiven(c, "text", text.value_or("<unknown>"));
    return;
  }
  DecodedText decoded;
  if (c.Has("as")) {
    const auto named = DecodeTextAs(bytes, c.Get("as"));
    ASSERT_EQ(named.ok(), !c.Has("error")) << named.status().ErrorLine();
    if (!named.ok()) {
      EXPECT_NE(named.status().description().find(c.Get("error")), std::string::npos);
      return;
    }
    decoded = named.value();
  } else {
    decoded = DecodeText(bytes);
  }
  testing::ExpectIfGiven(c, "text", decoded.text);
  testing::ExpectIfGiven(c, "encoding", std::string(decoded.encoding));
  testing::ExpectIfGiven(c, "invalid", decoded.invalid);
}

TABREL_FILE_CASES(Texts, DecodeTextTest, "formats", "text_decoding.cases");

TEST(TextEncodingTest, EveryEncodingOfferedIsKnownToTheSystem) {
  for (const TextEncodingChoice& choice : kTextEncodingChoices) {
    EXPECT_TRUE(DecodeTextAs("abc", std::string(choice.name)).ok()) << choice.caption;
  }
}

TEST(TextEncodingTest, AFileDeclaresItsUnicodeFormOrIsKeptForItsValuesToName) {
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

using LineSplitTest = testing::FileCaseTest;

TEST_P(LineSplitTest, EndsLinesAtCrLfLoneCrAndLoneLf) {
  const std::string text = GetParam().Get("text");
  LineReader reader(text,
                    GetParam().Has("kept") ? LoneCr::kKeptWhereLfEndsLines : LoneCr::kEndsLine);
  std::vector<std::string> lines;
  for (std::string_view line; reader.Next(line);) lines.emplace_back(line);
  EXPECT_EQ(lines, GetParam().All("line"));
}

TABREL_FILE_CASES(Texts, LineSplitTest, "formats", "line_reader.cases");

TEST(LineReaderTest, PeeksAndPutsBackALine) {
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

}  // namespace
}  // namespace tabrel
