#include "store/contact_record.h"

#include <gtest/gtest.h>

#include <string>

namespace tabrel {
namespace {

TEST(ContactRecordLayoutTest, FieldsLandAtTheirOffsetsCutOrBlankPadded) {
  ContactRecord record;  // fields never set are written as blanks
  record.RecType = "1";
  record.LastName = "Smith";
  record.FirstName = std::string(25, 'x');  // 5 too many
  record.KW1 = "Golf";
  record.Notes = "n";
  record.Modified = "12-31-1999 45296.13 and more";
  const std::string bytes = EncodeContact(record);
  ASSERT_EQ(bytes.size(), 1047u);
  EXPECT_EQ(bytes.substr(0, 42), "1Smith" + std::string(15, ' ') + std::string(20, 'x') + " ");
  EXPECT_EQ(bytes.substr(485, 16), " Golf" + std::string(11, ' '));  // KW1 at 486
  EXPECT_EQ(bytes.substr(527, 3), " n ");                            // Notes at 528
  EXPECT_EQ(bytes.substr(1027), " 12-31-1999 45296.13");             // Modified at 1028
  EXPECT_EQ(DecodeContact(bytes).FirstName, std::string(20, 'x'));
}

TEST(ContactRecordLayoutTest, HandMadeBytesDecodeToFullWidthFields) {
  std::string bytes(1047, ' ');
  bytes.replace(0, 1, "4");
  bytes.replace(81, 9, "Acme Inc.");
  bytes.replace(446, 6, "France");
  bytes.replace(500, 14, "~Family       ");
  bytes.replace(1028, 19, "01-02-2000 .5      ");
  bytes += "bytes of the next record";
  const ContactRecord record = DecodeContact(bytes);
  EXPECT_EQ(record.RecType, "4");
  EXPECT_EQ(record.Org, "Acme Inc." + std::string(31, ' '));
  EXPECT_EQ(record.Country, "France" + std::string(34, ' '));
  EXPECT_EQ(record.KW1, std::string(14, ' '));
  EXPECT_EQ(record.KW2, "~Family       ");
  EXPECT_EQ(record.Modified, "01-02-2000 .5      ");
  EXPECT_EQ(EncodeContact(record), bytes.substr(0, 1047));
}

}  // namespace
}  // namespace tabrel
