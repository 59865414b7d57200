// What a vCard becomes: one table of cards and the fields they fill, and
// what the reader counts as lost.
#include "exchange/formats/vcard_reader.h"

#include <gtest/gtest.h>

#include "base/text.h"
#include "store/contact_record.h"

namespace tabrel {
namespace {

VcardEntry Entry(const std::string& body) {
  const VcardReadResult read =
      ReadVcards("BEGIN:VCARD\r\nVERSION:3.0\r\n" + body + "END:VCARD\r\n");
  EXPECT_TRUE(read.problems.empty());
  EXPECT_EQ(read.entries.size(), 1u);
  return read.entries.empty() ? VcardEntry{} : read.entries[0];
}

TEST(VcardReaderTest, LostCharactersCutValuesAndDroppedCategoriesAreCounted) {
  const VcardEntry entry = Entry(
      "N:\xC4\xBD"
      "uba;\xE4\xB8\xAD\r\nORG:" +
      std::string(45, 'o') +
      "\r\nCATEGORIES:a,b,c,d,e,a very long category\r\nNOTE:D\xC3\xA9j\xC3\xA0 vu "
      "\xE2\x82\xAC\r\n");
  const ContactRecord record = DecodeContact(entry.record);
  EXPECT_EQ(Trim(record.LastName), "?uba");
  EXPECT_EQ(Trim(record.FirstName), "?");
  EXPECT_EQ(Trim(record.Notes), "D\xE9j\xE0 vu \x80");
  EXPECT_EQ(entry.replaced, 2u);
  EXPECT_EQ(entry.cut, 1u) << "the organisation; categories left out are not counted as cut";
  EXPECT_EQ(entry.dropped_keywords, 3u);
  EXPECT_FALSE(entry.empty);
}

}  // namespace
}  // namespace tabrel
