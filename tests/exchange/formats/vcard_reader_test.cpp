// What a vCard becomes: one table of cards and the fields they fill, and
// what the reader counts as lost.
#include "exchange/formats/vcard_reader.h"

#include <gtest/gtest.h>

#include "base/text.h"
#include "store/contact_record.h"

namespace tabrel {
namespace {

// The non-blank fields of a record, "Name=value" joined by " | ", CR and LF
// shown as \r and \n.
std::string Filled(const std::string& record) {
  const ContactRecord decoded = DecodeContact(record);
  std::string text;
  for (const ContactField& field : kContactFields) {
    const std::string value = RTrim(decoded.*field.member);
    if (IsBlank(value)) continue;
    if (!text.empty()) text += " | ";
    text += std::string(field.name) + "=";
    for (char c : value) text += c == '\r' ? "\\r" : c == '\n' ? "\\n" : std::string(1, c);
  }
  return text;
}

VcardEntry Entry(const std::string& body) {
  const VcardReadResult read =
      ReadVcards("BEGIN:VCARD\r\nVERSION:3.0\r\n" + body + "END:VCARD\r\n");
  EXPECT_TRUE(read.problems.empty());
  EXPECT_EQ(read.entries.size(), 1u);
  return read.entries.empty() ? VcardEntry{} : read.entries[0];
}

TEST(VcardReaderTest, EachCardFillsTheFieldsItsPropertiesName) {
  struct Case {
    const char* what;
    std::string body;
    std::string fields;
  };
  const Case cases[] = {
      {"names", "N:Doe;John;Q;Mr.;Jr.\r\nFN:Mr. John Q Doe Jr.\r\n",
       "RecType=1 | LastName=Doe | FirstName=John"},
      {"escapes", "N:O\\,Neil\\;x;Ann\r\nNOTE:a\\nb\\\\c\\,d\\;e\\:f\\\"g\\qh\r\n",
       "RecType=1 | LastName=O,Neil;x | FirstName=Ann | Notes=a\\r\\nb\\c,d;e:f\"g\\qh"},
      {"FN split at its last blank without N", "FN:Mary Ann Smith\r\n",
       "RecType=1 | LastName=Smith | FirstName=Mary Ann"},
      {"an ORG without a name is an organisation", "FN:Acme\r\nORG:Acme;Sales\\;East\r\n",
       "RecType=2 | Org=Acme"},
      {"KIND names an organisation", "KIND:org\r\nFN:Acme Widgets\r\n",
       "RecType=2 | Org=Acme Widgets"},
      {"X-ABShowAs names one and keeps its contact",
       "N:Doe;John\r\nORG:Acme\r\nX-ABShowAs:COMPANY\r\n",
       "RecType=2 | LastName=Doe | FirstName=John | Org=Acme"},
      {"CLASS makes a card personal", "N:Doe;Jo\r\nCLASS:PRIVATE\r\n",
       "RecType=3 | LastName=Doe | FirstName=Jo"},
      {"CLASS makes an organisation personal", "ORG:Acme\r\nCLASS:confidential\r\n",
       "RecType=4 | Org=Acme"},
      {"X-TABREL-TYPE wins", "N:Doe;Jo\r\nX-TABREL-TYPE:4\r\n",
       "RecType=4 | LastName=Doe | FirstName=Jo"},
      {"TITLE before ROLE", "ROLE:Counting\r\nTITLE:Clerk\r\nFN:A B\r\n",
       "RecType=1 | LastName=B | FirstName=A | Title=Clerk"},
      {"ROLE without TITLE", "ROLE:Counting\r\nFN:A\r\n",
       "RecType=1 | LastName=A | Title=Counting"},
      {"phones by type, work first",
       "FN:A\r\nTEL;TYPE=HOME:1\r\nTEL;TYPE=WORK:2\r\nTEL;TYPE=CELL:3\r\nTEL;TYPE=FAX:4\r\n"
       "TEL;TYPE=PAGER:5\r\nTEL;TYPE=WORK,FAX:6\r\nTEL;TYPE=CELL,PREF:7\r\n",
       "RecType=1 | LastName=A | Phone=2 | Fax=6 | Cellular=7 | Beeper=5"},
      {"an extension after the number", "FN:A\r\nTEL:(555) 010-0100 ext. 12\r\n",
       "RecType=1 | LastName=A | Phone=(555) 010-0100 | Ext=12"},
      {"an extension after x", "FN:A\r\nTEL:555 0100 x 7\r\n",
       "RecType=1 | LastName=A | Phone=555 0100 | Ext=7"},
      {"an extension spelt out", "FN:A\r\nTEL:555, Extension 99\r\n",
       "RecType=1 | LastName=A | Phone=555 | Ext=99"},
      {"no extension in a word", "FN:A\r\nTEL:1-800-EXTRA x\r\n",
       "RecType=1 | LastName=A | Phone=1-800-EXTRA x"},
      {"a tel: URI", "FN:A\r\nTEL;VALUE=uri;TYPE=work:tel:+1-418-656-9254;ext=102\r\n",
       "RecType=1 | LastName=A | Phone=+1-418-656-9254 | Ext=102"},
      {"a tel: URI without VALUE, percent escapes",
       "FN:A\r\nTEL;TYPE=fax:TEL:(555)%20010;ext=5;phone-context=x\r\n",
       "RecType=1 | LastName=A | Fax=(555) 010 ext. 5"},
      {"the preferred e-mail, URLs unescaped",
       "FN:A\r\nEMAIL;TYPE=WORK:w@x\r\nEMAIL;TYPE=HOME,PREF:h@x\r\nURL:http\\://x.example\r\n",
       "RecType=1 | LastName=A | EMail=h@x | Web=http://x.example"},
      {"4.0 preferences, a mailto:",
       "FN:A\r\nEMAIL;PREF=2:a@x\r\nEMAIL;PREF=1:mailto:b@x\r\nEMAIL:c@x\r\n",
       "RecType=1 | LastName=A | EMail=b@x"},
      {"the work address, street lines first",
       "FN:A\r\nADR;TYPE=HOME;TYPE=PREF:;;Home St;H;;;\r\n"
       "ADR;TYPE=WORK:PO 5;Suite 2;1 Main St\\nFloor 3;Town;ST;12345;Land\r\n",
       "RecType=1 | LastName=A | Add1=1 Main St | Add2=Floor 3, Suite 2, PO 5 | City=Town | "
       "State=ST | Zip=12345 | Country=Land"},
      {"a whole address in the extended part",
       "FN:A\r\nADR:;Crescent drive\\n555-asd\\nAlbany\\, NY  12345;;;;;\r\n",
       "RecType=1 | LastName=A | Add1=Crescent drive | Add2=555-asd, Albany, NY  12345"},
      {"an empty first street line stays first", "FN:A\r\nADR:;;\\nSecond;;;;\r\n",
       "RecType=1 | LastName=A | Add2=Second"},
      {"one-line fields get no line break or tab", "FN:A\r\nTITLE:a\\nb\r\nORG:c\td\r\n",
       "RecType=1 | LastName=A | Title=a b | Org=c d"},
      {"notes one after the other, line breaks as CR LF",
       "FN:A\r\nNOTE:one\\ntwo\r\nNOTE: \r\nNOTE:three\r\n",
       "RecType=1 | LastName=A | Notes=one\\r\\ntwo\\r\\nthree"},
      {"categories, cut to 14, three at most",
       "FN:A\r\nCATEGORIES:Friends, ~Family,A very long category\r\n"
       "CATEGORIES:Friends,Fourth\r\n",
       "RecType=1 | LastName=A | KW1=Friends | KW2=~Family | KW3=A very long ca"},
      {"the slots Tabrel gave its keywords",
       "FN:A\r\nCATEGORIES;X-TABREL-SLOTS=3,1:Golf,Tools\r\nCATEGORIES:Chess\r\n",
       "RecType=1 | LastName=A | KW1=Tools | KW2=Chess | KW3=Golf"},
      {"slots that do not fit are passed over",
       "FN:A\r\nCATEGORIES;X-TABREL-SLOTS=3:Golf,Tools\r\n",
       "RecType=1 | LastName=A | KW1=Golf | KW2=Tools"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Filled(Entry(c.body).record), c.fields) << c.what;
  }
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

TEST(VcardReaderTest, TheRevisionDatesTheCardAndTheTypeSaysWhetherPrivacyWasGiven) {
  const std::pair<std::string, std::string> revisions[] = {
      {"REV:2012-03-05T13:32:54Z", "03-05-2012 48774"},
      {"REV:20080424T195243Z", "04-24-2008 71563"},
      {"REV:2008-04-24", "04-24-2008 0"},
      {"REV;VALUE=timestamp:19951031T222710.123+0100", "10-31-1995 80830"},
      {"REV:2008-02-30T10:00:00Z", ""},
      {"REV:soon", ""},
      {"UID:none", ""},
  };
  for (const auto& [line, stamp] : revisions) {
    EXPECT_EQ(Trim(Entry("FN:A\r\n" + line + "\r\n").dated_as), stamp) << line;
  }
  EXPECT_FALSE(Entry("FN:A\r\n").privacy_given);
  EXPECT_TRUE(Entry("FN:A\r\nCLASS:PUBLIC\r\n").privacy_given);
  EXPECT_TRUE(Entry("FN:A\r\nX-TABREL-TYPE:1\r\n").privacy_given);
}

TEST(VcardReaderTest, ACardWithNothingToKeepIsEmptyAndItsStampIsLeftBlank) {
  EXPECT_TRUE(Entry("PHOTO;VALUE=uri:http://x/p.jpg\r\nCATEGORIES:Only\r\n").empty);
  EXPECT_TRUE(Entry("FN: \r\nN:;;;;\r\n").empty);
  const VcardEntry entry = Entry("EMAIL:a@b.example\r\n");
  EXPECT_FALSE(entry.empty);
  EXPECT_EQ(Filled(entry.record), "RecType=1 | EMail=a@b.example");
  EXPECT_EQ(entry.record.size(), 1047u);
}

}  // namespace
}  // namespace tabrel
