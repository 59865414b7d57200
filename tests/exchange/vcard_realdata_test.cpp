// Every vCard file that other address books wrote, from the shared sample
// folder (read in place, never copied here: some are under copyleft
// licences), checked card by card for the fields that matter. Skipped when
// the folder is not there.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>
#include <sstream>

#include "base/text.h"
#include "exchange/formats/vcard_reader.h"
#include "fakes/golden.h"
#include "fakes/real_data.h"
#include "store/contact_record.h"

namespace tabrel {
namespace {

namespace fs = std::filesystem;

const fs::path kSamples = testing::RealDataFolder("vcard");

// One card: "Field=value" pairs joined by " | " (values as stored, Windows-
// 1252, trimmed; CR and LF written \r and \n); "Field^=text" checks that the
// field starts with the text. Fields not named are not checked.
struct Expected {
  std::string fields;
  std::size_t replaced = 0;  // characters stored as "?"
};

const std::map<std::string, std::vector<Expected>> kCards = {
    {"aosp-v21-adr-multiple-line.vcf",
     {{"RecType=1 | LastName=bogus | Web=http://bogus.com/ | Add1=Grindelberg 999 | City=Hamburg | "
       "Zip=99999 | Country=Deutschland"}}},
    {"aosp-v21-complicated.vcf",
     {{"RecType=1 | LastName=Gump | FirstName=Forrest | Title=Shrimp Man | Org=Gump Shrimp Co. | "
       "Phone=(111) 555-1212 | Ext= | Fax= | Cellular=0311111111 | "
       "EMail=forrestgump@walladalla.com | Web=http://www.example.com/ | Add1=100 Waters Edge | "
       "Add2= | City=Baytown | State=LA | Zip=30314 | Country=United States of America | "
       "Notes=The following note is the example from RFC 2045.\\r\\nNow's the time for all folk "
       "to come to the aid of their country."}}},
    {"aosp-v21-invalid-comment-line.vcf",
     {{"RecType=1 | LastName= | FirstName=Conference Call | Notes=This is an (sharp ->#<- sharp) "
       "example. This message must NOT be ignored."}}},
    {"aosp-v21-japanese-2-sjis.vcf",
     {{"RecType=1 | LastName=?? | FirstName=???1 | Add1=?????????26-1????????6? | Zip=150-8512 | "
       "Notes=??",
       25}}},
    {"aosp-v30-ios-613-multiline.vcf",
     {{"RecType=1 | LastName=Smith | FirstName=Bob | Org=Smith Auto Repair | Phone= | "
       "Cellular=(650) 555-1212 | EMail=bob@smithauto.com | Web=www.smithauto.com"}}},
    {"ezvcard-android-john-doe.vcf",
     {{"RecType=1 | LastName= | EMail=john.doe@company.com | KW1=My Contacts"},
      {"RecType=1 | LastName= | EMail=jane.doe@company.com | KW1=My Contacts"},
      {"RecType=1 | LastName=\xD1 \xD1 \xD1 \xD1 | FirstName= | Cellular=123456789 | "
       "KW1=My Contacts"},
      {"RecType=1 | LastName=\xD1 \xD1 \xD1 \xD1 \xD1 \xD1 \xD1 \xD1 \xD1 \xD1 | Phone=234567 | "
       "Cellular=123456 | Notes^=\xD1 \xD1 \xD1 \xD1 \xD1 \xD1 \xD1 \xD1\xD1 \xD1"},
      {"RecType=1 | LastName=\xD1 \xD1 | FirstName=\xD1 \xD1 \xD1 | Org=" +
       std::string(12, '\xD1') +
       " | Phone=123456 | Fax=123456 | Cellular=123456 | EMail=bob@company.com | "
       "Web=www.company.com"},
      {"RecType=1 | LastName=\xD1\xD1\xD1\xD1 | Org=" + std::string(40, '\xD1') +
       " | Cellular=55556666 | EMail=henry@company.com | KW1=My Contacts"}}},
    {"ezvcard-blackberry-john-doe.vcf",
     {{"RecType=1 | LastName=Doe | FirstName=john | Org=Acme Solutions | Cellular=+96123456789 | "
       "Notes="}}},
    {"ezvcard-evolution-john-doe.vcf",
     {{"RecType=1 | LastName=Doe | FirstName=John | Title=Money Counter | Org=IBM | "
       "Phone=905-555-1234 | Cellular=905-666-1234 | EMail=john.doe@ibm.com | "
       "Web=http://www.ibm.com | Add1=15 Crescent moon drive | Add2=ASB-123 | City=Albaney | "
       "State=New York | Zip=12345 | Country=United States of America | KW1=VIP | "
       "Notes^=THIS SOFTWARE IS PROVIDED BY THE COPYRIGHT HOLDERS AND CONTRIBUTORS \"AS IS\" AND "
       "ANY EXPRESS OR IMPLIED WARRANTIES, INCLUDING,"}}},
    {"ezvcard-gmail-john-doe.vcf",
     {{"RecType=1 | LastName=Doe | FirstName=John | Title=Money Counter | Org=IBM | "
       "Phone=905-666-1234 | Cellular=905-555-1234 | EMail=john.doe@ibm.com | "
       "Web=http://www.ibm.com | Add1=Crescent moon drive | "
       "Add2=555-asd, Nice Area, Albaney, New York 12 | Notes^=THIS SOFTWARE IS PROVIDED BY THE "
       "COPYRIGHT HOLDERS AND CONTRIBUTORS \"AS IS\" AND"}}},
    {"ezvcard-outlook-2003.vcf",
     {{"RecType=1 | LastName=Doe | FirstName=John | Title=The Job Title | Org=Company, The | "
       "Phone=BusinessPhone | Fax=BusinessFaxPhone | Cellular=MobilePhone | "
       "EMail=jdoe@hotmail.com | Web=http://web-page-address.com | Add1=123 Main St | "
       "Add2=TheOffice | City=Austin | State=TX | Zip=12345 | Country=United States of America | "
       "Notes=This is the note field!!\\r\\nSecond line\\r\\n\\r\\nThird line is empty"}}},
    {"ezvcard-outlook-john-doe.vcf",
     {{"RecType=1 | LastName=Doe | FirstName=John | Title=Money Counter | Org=IBM | "
       "Phone=(905) 555-1234 | EMail=john.doe@ibm.cm | Web=http://www.ibm.com | "
       "Add1=Cresent moon drive | City=Albaney | State=New York | Zip=12345 | "
       "Country=United States of America | Notes^=THIS SOFTWARE IS PROVIDED BY GEORGE "
       "EL-HADDAD ''AS IS''"}}},
    {"ezvcard-rfc6350-example.vcf",
     {{"RecType=1 | LastName=Perreault | FirstName=Simon | Org=Viagenie | Phone=+1-418-656-9254 | "
       "Ext=102 | Cellular=+1-418-262-6501 | EMail=simon.perreault@viagenie.ca | "
       "Web=http://nomis80.org | Add1=2875 Laurier | Add2=Suite D2-630 | City=Quebec | State=QC | "
       "Zip=G1V 2M2 | Country=Canada"}}},
    {"mozilla-export.vcf",
     {{"RecType=1 | LastName=one | FirstName=contact | EMail=contact1@invalid"},
      {"RecType=1 | LastName=two | FirstName=contact | Title=\"worker\" | EMail=contact2@invalid | "
       "Notes=here's some unicode text\x85"}}},
    {"roundcube-johndoe-cp1252.vcf",
     {{"RecType=1 | LastName=Do\xEB | FirstName=John | Org=roundcube.net | Phone=+123456789 | "
       "Cellular=+987654321 | EMail=roundcube@gmail.com | Add1=The street | City=Hometown | "
       "Zip=5555 | Country=Cayman Islands | Notes=The notes..."}}},
    {"roundcube-utf-16-sample.vcf",
     {{"RecType=1 | LastName=?daMont\xE9 | FirstName=?gean | Add1=169 M\xE1ria Canal | "
       "City=LaPaz | State=Concepti\xF3n | Zip=245-876 | Country=Per\xFA",
       2}}},
};

std::string Shown(std::string_view value) {
  std::string text;
  for (char c : value) text += c == '\r' ? "\\r" : c == '\n' ? "\\n" : std::string(1, c);
  return text;
}

std::string ValueOf(const ContactRecord& record, const std::string& name) {
  for (const ContactField& field : kContactFields) {
    if (name == field.name) return Shown(Trim(record.*field.member));
  }
  ADD_FAILURE() << "no field " << name;
  return "";
}

// The fields `expected` names, as `record` holds them, in the same shape.
std::string Actual(const ContactRecord& record, const std::string& expected) {
  std::string text;
  std::size_t at = 0;
  while (at < expected.size()) {
    std::size_t end = expected.find(" | ", at);
    if (end == std::string::npos) end = expected.size();
    const std::string pair = expected.substr(at, end - at);
    const bool prefix = pair.find("^=") != std::string::npos && pair.find("^=") < pair.find('=');
    const std::size_t eq = pair.find(prefix ? "^=" : "=");
    const std::string name = pair.substr(0, eq);
    std::string value = ValueOf(record, name);
    if (prefix) value = value.substr(0, pair.size() - eq - 2);
    if (!text.empty()) text += " | ";
    text += name + (prefix ? "^=" : "=") + value;
    at = end + 3;
  }
  return text;
}

TEST(VcardRealDataTest, EveryCardOfEverySampleFileLandsInTheRightFields) {
  if (kSamples.empty()) GTEST_SKIP() << "the sample files are not there";
  std::set<std::string> seen;
  for (const auto& file : fs::directory_iterator(kSamples)) {
    const std::string name = file.path().filename().string();
    SCOPED_TRACE(name);
    seen.insert(name);
    const auto expected = kCards.find(name);
    ASSERT_NE(expected, kCards.end()) << "a sample file without expectations";
    const VcardReadResult read = ReadVcards(testing::ReadBytes(file.path()));
    EXPECT_TRUE(read.problems.empty()) << read.problems[0].line << ": " << read.problems[0].text;
    ASSERT_EQ(read.entries.size(), expected->second.size());
    for (std::size_t i = 0; i < read.entries.size(); ++i) {
      SCOPED_TRACE("card " + std::to_string(i + 1));
      const Expected& want = expected->second[i];
      const ContactRecord record = DecodeContact(read.entries[i].record);
      EXPECT_EQ(Actual(record, want.fields), want.fields);
      EXPECT_EQ(read.entries[i].replaced, want.replaced);
      EXPECT_FALSE(read.entries[i].empty);
    }
  }
  EXPECT_EQ(seen.size(), kCards.size()) << "a sample file is missing";
}

TEST(VcardRealDataTest, ValuesThatTheChosenCardsDoNotShowAreReadToo) {
  if (kSamples.empty()) GTEST_SKIP() << "the sample files are not there";
  // The second ADR runs over three lines, each but the last ended by "\".
  VcardParser parser(testing::ReadBytes(kSamples / "aosp-v21-adr-multiple-line.vcf"));
  VcardCard card;
  ASSERT_TRUE(parser.Next(card));
  std::vector<std::string> addresses;
  for (const VcardProperty& p : card.properties) {
    if (p.name == "ADR") addresses.push_back(p.value);
  }
  ASSERT_EQ(addresses.size(), 2u);
  EXPECT_EQ(addresses[1],
            ";;Hermann v. Brevern\\n9999999\\nPackstation 999;Hamburg;;99999;Deutschland");
  // The gap in the folded Gmail address and the quoted-printable LABEL of
  // Outlook are kept.
  VcardParser outlook(testing::ReadBytes(kSamples / "ezvcard-outlook-2003.vcf"));
  ASSERT_TRUE(outlook.Next(card));
  for (const VcardProperty& p : card.properties) {
    if (p.name == "LABEL") {
      EXPECT_EQ(p.value,
                "TheOffice\r\n123 Main St\r\nAustin, TX 12345\r\nUnited States of America");
    }
  }
  // Every dated sample gives its date to the duplicate rules.
  EXPECT_EQ(Trim(ReadVcards(testing::ReadBytes(kSamples / "aosp-v21-complicated.vcf"))
                     .entries[0]
                     .dated_as),
            "04-24-2008 71563");
  EXPECT_EQ(Trim(ReadVcards(testing::ReadBytes(kSamples / "ezvcard-evolution-john-doe.vcf"))
                     .entries[0]
                     .dated_as),
            "03-05-2012 48774");
}

}  // namespace
}  // namespace tabrel
