#include "store/contact_record.h"

#include <gtest/gtest.h>

#include <string>

namespace tabrel {
namespace {

// Each field filled with its own letter up to its full width, so that any
// offset or width mistake shows up as a wrong letter at a known byte.
ContactRecord LetteredRecord() {
  ContactRecord record;
  char letter = 'A';
  for (const auto& field : kContactFields)
    record.*field.member = std::string(field.span.width, letter++);
  return record;
}

TEST(ContactRecordLayoutTest, EveryFieldLandsAtItsDocumentedOffset) {
  struct Expected {
    const char* name;
    std::size_t offset;
    std::size_t width;
  };
  const Expected expected[] = {
      {"RecType", 0, 1},     {"LastName", 1, 20},  {"FirstName", 21, 20},  {"Title", 41, 40},
      {"Org", 81, 40},       {"Phone", 121, 20},   {"Ext", 141, 10},       {"Fax", 151, 20},
      {"Cellular", 171, 20}, {"Beeper", 191, 20},  {"EMail", 211, 45},     {"Web", 256, 60},
      {"Add1", 316, 40},     {"Add2", 356, 40},    {"City", 396, 20},      {"State", 416, 20},
      {"Zip", 436, 10},      {"Country", 446, 40}, {"KW1", 486, 14},       {"KW2", 500, 14},
      {"KW3", 514, 14},      {"Notes", 528, 500},  {"Modified", 1028, 19},
  };
  const std::string bytes = EncodeContact(LetteredRecord());
  ASSERT_EQ(bytes.size(), 1047u);
  char letter = 'A';
  for (const auto& field : expected) {
    SCOPED_TRACE(field.name);
    EXPECT_EQ(bytes.substr(field.offset, field.width), std::string(field.width, letter));
    if (field.offset + field.width < bytes.size()) {
      EXPECT_EQ(bytes[field.offset + field.width], letter + 1) << "field runs past its width";
    }
    ++letter;
  }
}

TEST(ContactRecordLayoutTest, ShortTextsArePaddedWithBlanksAndLongOnesCut) {
  ContactRecord record;
  record.RecType = "1";
  record.LastName = "Smith";
  record.FirstName = std::string(25, 'x');  // 5 too many
  record.Modified = "12-31-1999 45296.13 and more";
  const std::string bytes = EncodeContact(record);
  EXPECT_EQ(bytes.substr(1, 20), "Smith" + std::string(15, ' '));
  EXPECT_EQ(bytes.substr(21, 20), std::string(20, 'x'));
  EXPECT_EQ(bytes[41], ' ') << "the cut part must not spill into Title";
  EXPECT_EQ(bytes.substr(1028), "12-31-1999 45296.13");
  EXPECT_EQ(DecodeContact(bytes).FirstName, std::string(20, 'x')) << "reads back cut, no padding";
  // Fields never set are blanks, not zero bytes.
  EXPECT_EQ(bytes.substr(528, 500), std::string(500, ' '));
}

TEST(ContactRecordLayoutTest, DecodingHandMadeBytesGivesFullWidthFields) {
  std::string bytes(1047, ' ');
  bytes.replace(0, 1, "4");
  bytes.replace(81, 9, "Acme Inc.");
  bytes.replace(486, 14, "~Family       ");
  bytes.replace(1028, 19, "01-02-2000 .5      ");
  bytes += "trailing bytes of the next record";
  const ContactRecord record = DecodeContact(bytes);
  EXPECT_EQ(record.RecType, "4");
  EXPECT_EQ(record.Org, "Acme Inc." + std::string(31, ' '));
  EXPECT_EQ(record.KW1, "~Family       ");
  EXPECT_EQ(record.KW2, std::string(14, ' '));
  EXPECT_EQ(record.Modified, "01-02-2000 .5      ");
  EXPECT_EQ(EncodeContact(record), bytes.substr(0, 1047));
}

}  // namespace
}  // namespace tabrel
