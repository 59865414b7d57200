// The vCard writer's lines, and round trips through the reader that keep
// every field and the record type in both versions.
#include "exchange/formats/vcard_writer.h"

#include <gtest/gtest.h>

#include "base/codec.h"
#include "base/text.h"
#include "exchange/formats/vcard_reader.h"
#include "store/contact_record.h"
#include "store/layout.h"

namespace tabrel {
namespace {

std::vector<std::string> PhysicalLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
    lines.push_back(text.substr(start, end - start));
  }
  EXPECT_EQ(start, text.size()) << "the text ends with CR LF";
  return lines;
}

std::string Card(const ContactRecord& record, VcardVersion version) {
  std::string out;
  AppendVcard(EncodeContact(record), {version}, out);
  return out;
}

// A record that fills every field with what a vCard must escape or fold.
ContactRecord Everything(const std::string& type) {
  ContactRecord r = BlankContactRecord();
  r.RecType = type;
  r.LastName = "O'Brien, Jr.";
  r.FirstName = "Ren\xE9";
  r.Title = "Chief; of \\Staff";
  r.Org = "Caf\xE9 \x80uro Ltd";
  r.Phone = "(555) 010-0100";
  r.Ext = "123";
  r.Fax = "+64-9-555-0101";
  r.Cellular = "021 555 0199";
  r.Beeper = "555.0198";
  r.EMail = "rene@cafe.example";
  r.Web = "https://cafe.example/a,b;c";
  r.Add1 = "12 Mill Lane";
  r.Add2 = "Unit 4; rear";
  r.City = "Salem";
  r.State = "Oregon";
  r.Zip = "97301";
  r.Country = "New Zealand";
  r.KW1 = "Tools";
  r.KW2 = "~Family";
  r.KW3 = "a,b;c";
  r.Notes = "First line, with commas; semicolons\r\nand a \\ backslash\r\n\r\n\x93quoted\x94 \x85";
  r.Modified = "12-31-1999 45296.13";
  return r;
}

TEST(VcardWriterTest, LinesAreFoldedAt75OctetsWithoutSplittingACharacter) {
  ContactRecord record = Everything("1");
  const std::string notes = std::string(240, '\xE9') + "x" + std::string(240, '\xE9');
  record.Notes = "\r\n" + notes;  // a line break first: one \n
  const std::string text = Card(record, VcardVersion::k30);
  std::string unfolded;
  for (const std::string& line : PhysicalLines(text)) {
    EXPECT_LE(line.size(), 75u) << line;
    // Each piece holds whole characters.
    EXPECT_EQ(EncodeCp1252(line).replaced, 0u) << line;
    if (line.starts_with(" ")) {
      unfolded += line.substr(1);
    } else {
      unfolded += "\n" + line;
    }
  }
  EXPECT_NE(unfolded.find("\nNOTE:\\n" + DecodeCp1252(notes) + "\n"), std::string::npos);
}

TEST(VcardRoundTripTest, EveryFieldAndTheTypeSurviveBothVersions) {
  std::vector<ContactRecord> records;
  for (const char* type : {"1", "2", "3", "4", "9"}) records.push_back(Everything(type));
  ContactRecord organisation = BlankContactRecord();
  organisation.RecType = "2";
  organisation.Org = "Dune Partners";
  organisation.Phone = "555-0200";
  organisation.Ext = "7";
  organisation.Add2 = "Second line only";
  organisation.Notes = std::string(250, 'n') + "\r\n" + std::string(248, 'm');
  organisation.KW3 = "Golf";
  organisation.Modified = "04-05-2006 400";
  records.push_back(organisation);
  ContactRecord person = organisation;
  person.RecType = "1";
  person.KW2 = "~Friends";
  person.Org = "";
  person.FirstName = "Mary Ann";
  person.Cellular = "+1-555-0199";
  records.push_back(person);

  for (VcardVersion version : {VcardVersion::k30, VcardVersion::k40}) {
    std::string text;
    for (const ContactRecord& record : records) AppendVcard(EncodeContact(record), {version}, text);
    const VcardReadResult read = ReadVcards(text);
    EXPECT_TRUE(read.problems.empty());
    ASSERT_EQ(read.entries.size(), records.size());
    for (std::size_t i = 0; i < records.size(); ++i) {
      SCOPED_TRACE(std::string(VersionText(version)) + ", record " + std::to_string(i + 1));
      ContactRecord expected = records[i];
      expected.Modified = "";
      const ContactRecord got = DecodeContact(read.entries[i].record);
      for (const ContactField& field : kContactFields) {
        EXPECT_EQ(got.*field.member, DecodeContact(EncodeContact(expected)).*field.member)
            << field.name;
      }
      EXPECT_EQ(read.entries[i].replaced + read.entries[i].cut, 0u);
      EXPECT_TRUE(read.entries[i].privacy_given);
      EXPECT_EQ(Trim(read.entries[i].dated_as),
                Trim(records[i].Modified).substr(0, 10) + " " + (i < 5 ? "45296" : "400"));
    }
  }
}

}  // namespace
}  // namespace tabrel
