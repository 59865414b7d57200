// Records built from the values of other programs' files.
#include "exchange/formats/record_builder.h"

#include <gtest/gtest.h>

#include "base/text.h"
#include "store/contact_record.h"

namespace tabrel {
namespace {

ContactRecord Built(RecordBuilder& builder, char type = '1') {
  std::string bytes;
  builder.Write(bytes, type, "key", "01-02-2024 100");
  EXPECT_EQ(bytes.size(), layout::kContactRecordLength);
  return DecodeContact(bytes);
}

TEST(RecordBuilderTest, OneLineFieldsNeverHoldLineBreaksOrTabs) {
  struct Case {
    RecordField field;
    std::string value;
    std::string stored;
  };
  const Case cases[] = {
      {RecordField::kCity, "  New\r\nYork ", "New York"},
      {RecordField::kOrg,
       "A\tB\x01"
       "C",
       "A B C"},
      {RecordField::kTitle, "one\r\rtwo\nthree\n", "one two three"},
      {RecordField::kEMail, "M\u00FCller@\u65E5.jp", "M\xFCller@?.jp"},
      {RecordField::kNotes, "PHP\nPerl\rPython\r\n\r\n", "PHP\r\nPerl\r\nPython"},
      {RecordField::kNotes, " a\tb \n\n c", "a\tb\r\n\r\n c"},
  };
  for (const Case& c : cases) {
    RecordBuilder builder;
    builder.Set(c.field, "an earlier value, replaced");
    builder.Set(c.field, c.value);
    EXPECT_EQ(builder.Get(c.field), c.stored) << c.value;
  }
}

TEST(RecordBuilderTest, WritesTypeKeywordAndStampAndCountsWhatValuesLost) {
  RecordBuilder builder;
  builder.Set(RecordField::kLastName, "\u039A\u03B1\u03BB\u03CC\u03C2 Name That Runs Past Twenty");
  builder.Set(RecordField::kFirstName, "Zo\u00EB");
  builder.Set(RecordField::kNotes, std::string(499, 'n') + "\r\nxy");
  const ContactRecord record = Built(builder, '2');
  EXPECT_EQ(record.RecType, "2");
  EXPECT_EQ(record.LastName, "????? Name That Runs");
  EXPECT_EQ(Trim(record.FirstName), "Zo\xEB");
  EXPECT_EQ(Trim(record.KW1), "key");
  EXPECT_TRUE(IsBlank(record.KW2) && IsBlank(record.KW3));
  EXPECT_EQ(Trim(record.Modified), "01-02-2024 100");
  // A cut never leaves half a line break.
  EXPECT_EQ(record.Notes, std::string(499, 'n') + " ");
  EXPECT_EQ(builder.replaced(), 5u);
  EXPECT_EQ(builder.cut(), 2u);
  builder.Clear();
  EXPECT_EQ(builder.replaced(), 0u);
  EXPECT_FALSE(builder.Has(RecordField::kLastName));
}

TEST(RecordBuilderTest, ExtrasJoinTheNotesAfterABlank) {
  RecordBuilder builder;
  builder.AppendToNotes(" spare one ");
  EXPECT_EQ(builder.Get(RecordField::kNotes), " spare one");
  builder.Set(RecordField::kNotes, "note");
  builder.AppendToNotes("more");
  EXPECT_EQ(builder.Get(RecordField::kNotes), "note more");
}

}  // namespace
}  // namespace tabrel
