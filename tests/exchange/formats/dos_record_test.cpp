// Conversions between stored records and records of the DOS generation.
#include "exchange/formats/dos_record.h"

#include <gtest/gtest.h>

#include "base/text.h"
#include "store/contact_record.h"
#include "store/layout.h"

namespace tabrel {
namespace {

namespace l = layout;

std::string At(const std::string& record, l::Span span) {
  return record.substr(span.offset, span.width);
}

ContactRecord Full() {
  ContactRecord r = BlankContactRecord();
  r.RecType = "3";
  r.LastName = "Baker";
  r.FirstName = "Ann";
  r.Title = "Owner";
  r.Org = "Baker Tools";
  r.Phone = " (555) 010-0100 x12 ";
  r.Ext = "123456";
  r.Fax = "555-0101";
  r.Cellular = "555-0199";
  r.Beeper = "555-0198";
  r.State = "Oregon";
  r.Country = "New Zealand";
  r.KW1 = "Tools";
  r.Notes = std::string(70, 'a') + std::string(70, 'b') + "cut off";
  r.Modified = "01-02-2003 100";
  return r;
}

TEST(DosRecordTest, ExportTrimsAndCutsEachFieldAndSplitsTheNotes) {
  const std::string dos = DosRecordOf(EncodeContact(Full()));
  ASSERT_EQ(dos.size(), l::kDosRecordLength);
  EXPECT_EQ(At(dos, l::kDosRecType), "3");
  EXPECT_EQ(At(dos, l::kDosLastName), Fit("Baker", 20));
  EXPECT_EQ(At(dos, l::kDosOrg), Fit("Baker Tools", 40));
  EXPECT_EQ(At(dos, l::kDosPhone), "(555) 010-0100");  // trimmed, then the first 14
  EXPECT_EQ(At(dos, l::kDosExt), "1234");
  EXPECT_EQ(At(dos, l::kDosState), "Or");
  EXPECT_EQ(At(dos, l::kDosCountry), "  ");  // too long for two characters
  EXPECT_EQ(At(dos, l::kDosKW1), Fit("Tools", 14));
  EXPECT_EQ(At(dos, l::kDosNotes1), std::string(70, 'a'));
  EXPECT_EQ(At(dos, l::kDosNotes2), std::string(70, 'b'));
  EXPECT_EQ(At(dos, l::kDosModified), Fit("01-02-2003 100", 19));
  EXPECT_EQ(dos.find("Owner"), std::string::npos);
  EXPECT_EQ(dos.find("555-0199"), std::string::npos);
}

TEST(DosRecordTest, ExportKeepsACountryOfAtMostTwoCharacters) {
  const std::pair<const char*, const char*> countries[] = {
      {"US", "US"}, {" NZ ", "NZ"}, {"D", "D "}, {"", "  "}, {"USA", "  "}};
  for (const auto& [stored, exported] : countries) {
    ContactRecord record = Full();
    record.Country = stored;
    EXPECT_EQ(At(DosRecordOf(EncodeContact(record)), l::kDosCountry), exported) << stored;
  }
}

TEST(DosRecordTest, ImportPutsTheNoteLinesAroundCrLfAndLeavesWhatDosLacksBlank) {
  std::string dos(l::kDosRecordLength, ' ');
  dos.replace(l::kDosRecType.offset, 1, "1");
  dos.replace(l::kDosLastName.offset, 5, "Smith");
  dos.replace(l::kDosCountry.offset, 2, "US");
  const ContactRecord blank_notes = DecodeContact(ContactOfDos(dos));
  EXPECT_EQ(blank_notes.Notes, Fit(std::string(70, ' ') + "\r\n", 500));
  EXPECT_EQ(Trim(blank_notes.LastName), "Smith");
  EXPECT_EQ(blank_notes.Country, Fit("US", 40));
  EXPECT_TRUE(IsBlank(blank_notes.Title) && IsBlank(blank_notes.Cellular) &&
              IsBlank(blank_notes.Beeper));

  dos.replace(l::kDosNotes1.offset, 5, "first");
  dos.replace(l::kDosNotes2.offset, 6, "second");
  const std::string stored = ContactOfDos(dos);
  EXPECT_EQ(DecodeContact(stored).Notes, Fit(Fit("first", 70) + "\r\n" + Fit("second", 70), 500));
  EXPECT_EQ(DosRecordOf(stored), dos) << "read in and written out, a DOS record stays the same";
}

TEST(DosRecordTest, AReplacementKeepsWhatTheDosRecordCannotCarry) {
  const std::string existing = EncodeContact(Full());
  // The DOS side changed the e-mail address only.
  std::string dos = DosRecordOf(existing);
  dos.replace(l::kDosEMail.offset, l::kDosEMail.width, Fit("ann@new.example", 45));
  dos.replace(l::kDosModified.offset, 19, Fit("05-05-2005 5", 19));
  ContactRecord expected = Full();
  expected.EMail = "ann@new.example";
  expected.Modified = "05-05-2005 5";
  EXPECT_EQ(DecodeContact(DosReplacement(existing, dos)), DecodeContact(EncodeContact(expected)));

  // Fields the DOS side did change take the DOS value, cut as DOS holds it.
  dos.replace(l::kDosCountry.offset, 2, "NZ");
  dos.replace(l::kDosPhone.offset, 14, Fit("555-0111", 14));
  dos.replace(l::kDosNotes2.offset, 70, Fit("changed", 70));
  const ContactRecord replaced = DecodeContact(DosReplacement(existing, dos));
  EXPECT_EQ(Trim(replaced.Country), "NZ");
  EXPECT_EQ(Trim(replaced.Phone), "555-0111");
  EXPECT_EQ(replaced.Notes, Fit(std::string(70, 'a') + "\r\n" + Fit("changed", 70), 500));
  EXPECT_EQ(Trim(replaced.Title), "Owner");
  EXPECT_EQ(Trim(replaced.Beeper), "555-0198");
}

}  // namespace
}  // namespace tabrel
