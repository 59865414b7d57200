// Pieces of the report texts that the golden files do not pin down alone.
#include "reports/report_text.h"

#include <gtest/gtest.h>

#include <vector>

#include "fakes/contact_files.h"

namespace tabrel {
namespace {

using testing::Contact;

std::string Escaped(std::string_view text) {
  std::string out = "[";
  AppendHtmlEscaped(text, out);
  return out;
}

TEST(HtmlEscapeTest, WritesTheFourMarkupCharactersAsReferences) {
  EXPECT_EQ(Escaped("plain text, 'quotes' kept"), "[plain text, 'quotes' kept");
  EXPECT_EQ(Escaped("<a href=\"x\">&</a>"), "[&lt;a href=&quot;x&quot;&gt;&amp;&lt;/a&gt;");
  EXPECT_EQ(Escaped("&amp;"), "[&amp;amp;");
  EXPECT_EQ(Escaped("caf\xE9\r\n"), "[caf\xE9\r\n");
  EXPECT_EQ(Escaped(""), "[");
}

TEST(ReportTextTest, ProgressCountsEveryRecordWrittenOrSkipped) {
  std::vector<std::string> bytes;
  for (int i = 0; i < 5; ++i) {
    bytes.push_back(EncodeContact(Contact("1", "N", "", "01-01-2000 " + std::to_string(i))));
  }
  const std::vector<std::string_view> records(bytes.begin(), bytes.end());
  std::vector<int> told;
  auto progress = [&told](int done) { told.push_back(done); };
  SimplePhoneList(records, progress);
  EXPECT_EQ(told, (std::vector<int>{1, 2, 3, 4, 5}));
  told.clear();
  // Labels count two records a row, and the last record of an odd count.
  AddressLabels(records, progress);
  EXPECT_EQ(told, (std::vector<int>{2, 4, 5}));
}

TEST(ReportTextTest, LabelTextsAreCutOrPaddedToFortyCharacters) {
  auto exact = Contact("1", std::string(19, 'L'), std::string(20, 'F'), "01-01-2000 1");
  auto longer = Contact("1", std::string(20, 'L'), std::string(20, 'F'), "01-01-2000 2");
  const std::string a = EncodeContact(exact);
  const std::string b = EncodeContact(longer);
  const std::vector<std::string_view> records{a, b};
  const std::string labels = AddressLabels(records);
  const std::string first_line = labels.substr(0, labels.find("\r\n"));
  EXPECT_EQ(first_line, "  " + std::string(20, 'F') + " " + std::string(19, 'L') +
                            std::string(10, ' ') + std::string(20, 'F') + " " +
                            std::string(19, 'L'));
  EXPECT_EQ(first_line.size(), 92u);
}

}  // namespace
}  // namespace tabrel
