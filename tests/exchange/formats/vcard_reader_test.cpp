// What a vCard becomes: cards and the fields they fill, with what the reader
// counts as lost, from testdata/formats/vcard_reader.cases.
#include "exchange/formats/vcard_reader.h"

#include <gtest/gtest.h>

#include "base/text.h"
#include "fakes/case_file.h"
#include "store/contact_record.h"

namespace tabrel {
namespace {

using testing::ExpectIfGiven;
using testing::FileCase;

// The non-blank fields of a record, "Name=value" joined by " | ".
std::string Filled(const std::string& record) {
  const ContactRecord decoded = DecodeContact(record);
  std::string text;
  for (const ContactField& field : kContactFields) {
    const std::string value = RTrim(decoded.*field.member);
    if (IsBlank(value)) continue;
    if (!text.empty()) text += " | ";
    text += std::string(field.name) + "=" + value;
  }
  return text;
}

using VcardReaderTest = testing::FileCaseTest;

TEST_P(VcardReaderTest, TheCardFillsTheFieldsItsPropertiesName) {
  const FileCase& c = GetParam();
  std::string body;
  for (const std::string& line : c.All("line")) body += line + "\r\n";
  const VcardReadResult read =
      ReadVcards("BEGIN:VCARD\r\nVERSION:3.0\r\n" + body + "END:VCARD\r\n");
  EXPECT_TRUE(read.problems.empty());
  ASSERT_EQ(read.entries.size(), 1u);
  const VcardEntry& entry = read.entries[0];
  ExpectIfGiven(c, "fields", Filled(entry.record));
  ExpectIfGiven(c, "size", entry.record.size());
  ExpectIfGiven(c, "replaced", entry.replaced);
  ExpectIfGiven(c, "cut", entry.cut);
  ExpectIfGiven(c, "dropped", entry.dropped_keywords);
  ExpectIfGiven(c, "dated", Trim(entry.dated_as));
  ExpectIfGiven(c, "privacy", entry.privacy_given);
  ExpectIfGiven(c, "empty", entry.empty);
}

TABREL_FILE_CASES(Cards, VcardReaderTest, "formats", "vcard_reader.cases");

}  // namespace
}  // namespace tabrel
