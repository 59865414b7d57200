// LDIF: the reader, and entries made into records.
#include <gtest/gtest.h>

#include "base/text.h"
#include "exchange/formats/ldif_contact.h"
#include "exchange/formats/ldif_reader.h"

namespace tabrel {
namespace {

// A record read back as "type[;options]=value" strings, URL values marked.
struct Read {
  std::string dn;
  std::string changetype;
  std::vector<std::string> attributes;
  bool operator==(const Read&) const = default;
};

std::vector<Read> ReadAll(std::string_view text, std::size_t* bad = nullptr) {
  LdifReader reader(text);
  std::vector<Read> out;
  for (LdifRecord record; reader.Next(record);) {
    Read read{std::string(record.dn), std::string(record.changetype), {}};
    for (const LdifAttribute& a : record.attributes) {
      std::string s(a.type);
      if (!a.options.empty()) s.append(";").append(a.options);
      s.append(a.url ? "<" : "=").append(a.value);
      read.attributes.push_back(s);
    }
    out.push_back(read);
  }
  if (bad != nullptr) *bad = reader.bad_lines();
  return out;
}

TEST(LdifReaderTest, ReadsLinesAsTheStandardWritesThem) {
  const std::pair<std::string, std::vector<Read>> cases[] = {
      // Folded in a word, and right after the colon.
      {"dn: cn=a\ndescription: travels in sea\n rch of wind\nsn:\n  Jensen\n",
       {{"cn=a", "", {"description=travels in search of wind", "sn=Jensen"}}}},
      // A folded comment, a version line and CR LF.
      {"version: 1\r\n# a comment\r\n  that goes on: sn: X\r\ndn: cn=b\r\n#x\r\n y\r\nsn: B\r\n",
       {{"cn=b", "", {"sn=B"}}}},
      // Base64 values and a base64 dn; a URL value is only named.
      {"dn:: Y249w6k=\ncn:: IEplbnNlbiA=\njpegphoto:< file:///etc/passwd\n",
       {{"cn=\xC3\xA9", "", {"cn= Jensen ", "jpegphoto<file:///etc/passwd"}}}},
      // Options, names in any case, no blank after the colon.
      {"DN:cn=c\nSN;lang-en-US;lang-en-GB:Ray\nsn:Ray2\n",
       {{"cn=c", "", {"SN;lang-en-US;lang-en-GB=Ray", "sn=Ray2"}}}},
      // Records end at an empty line, or at the next dn line.
      {"dn: a\nsn: 1\n\n\ndn: b\nsn: 2\ndn: c\n",
       {{"a", "", {"sn=1"}}, {"b", "", {"sn=2"}}, {"c", "", {}}}},
      // Change records: the changetype after the dn and its controls.
      {"dn: d\ncontrol: 1.2.3 true\nchangetype: modify\nadd: drink\ndrink: tea\n-\n",
       {{"d", "modify", {"control=1.2.3 true", "add=drink", "drink=tea"}}}},
      // Lines before the first dn belong to nothing.
      {"sn: lost\n\ndn: e\n", {{"e", "", {}}}},
  };
  for (const auto& [text, expected] : cases) {
    EXPECT_EQ(ReadAll(text), expected) << text;
  }
}

TEST(LdifReaderTest, SkipsAndCountsLinesItCannotRead) {
  std::size_t bad = 0;
  const auto read = ReadAll("dn: a\nno colon here\nsn:: !!!\nmail: m@x\n", &bad);
  ASSERT_EQ(read.size(), 1u);
  EXPECT_EQ(read[0].attributes, std::vector<std::string>{"mail=m@x"});
  EXPECT_EQ(bad, 2u);
}

// What one entry becomes: its outcome and the fields it filled.
struct Mapped {
  LdifOutcome outcome;
  std::vector<std::pair<RecordField, std::string>> fields;
};

Mapped Map(std::string_view text) {
  LdifReader reader(text);
  LdifRecord record;
  EXPECT_TRUE(reader.Next(record));
  RecordBuilder out;
  Mapped mapped{ContactFromLdif(record, out), {}};
  for (std::size_t f = 0; f < kRecordFieldCount; ++f) {
    const auto field = static_cast<RecordField>(f);
    if (out.Has(field)) mapped.fields.emplace_back(field, out.Get(field));
  }
  return mapped;
}

using F = RecordField;

TEST(LdifContactTest, MapsTheNamesOtherAddressBooksUse) {
  const Mapped m =
      Map("dn: cn=x\nGIVENNAME: Fred\nSN: Flintstone\nmail: fred@rock\nmail: second@rock\n"
          "telephoneNumber: 1\nfax: 2\ncellphone: 3\npagerphone: 4\nlabeledURI: http://a.b label\n"
          "street: 1 Quarry Rd\nmozillaWorkStreet2: Unit 2\nl: Bedrock\nst: CA\npostalCode: 9\n"
          "c: US\ntitle: Operator\no: Slate Co\no: Other\ndescription: line1\n line2\n"
          "userPassword: secret\nhomephone: 5\n");
  EXPECT_EQ(m.outcome, LdifOutcome::kIndividual);
  const std::vector<std::pair<F, std::string>> expected = {
      {F::kLastName, "Flintstone"}, {F::kFirstName, "Fred"},   {F::kTitle, "Operator"},
      {F::kOrg, "Slate Co"},        {F::kPhone, "1"},          {F::kFax, "2"},
      {F::kCellular, "3"},          {F::kBeeper, "4"},         {F::kEMail, "fred@rock"},
      {F::kWeb, "http://a.b"},      {F::kAdd1, "1 Quarry Rd"}, {F::kAdd2, "Unit 2"},
      {F::kCity, "Bedrock"},        {F::kState, "CA"},         {F::kZip, "9"},
      {F::kCountry, "US"},          {F::kNotes, "line1line2"}};
  EXPECT_EQ(m.fields, expected);
}

TEST(LdifContactTest, ThisProgramsOwnExportReadsBack) {
  const Mapped m =
      Map("dn:\r\ncn: Ann  Adams\r\nsn: Adams\r\ngivenname: Ann\r\nobjectclass: Top\r\n"
          "description: \r\nlocality: Leeds\r\nst: \r\nmail: \r\ntitle: \r\npostOfficeBox: \r\n"
          "streetaddress: 2 Elm\r\npostalcode: LS1\r\ncountryname: UK\r\ntelephonenumber: 7\r\n"
          "facsimiletelephonenumber: \r\no: \r\n\r\n");
  EXPECT_EQ(m.outcome, LdifOutcome::kIndividual);
  // The second address line alone moves up to the first.
  const std::vector<std::pair<F, std::string>> expected = {
      {F::kLastName, "Adams"}, {F::kFirstName, "Ann"}, {F::kPhone, "7"},   {F::kAdd1, "2 Elm"},
      {F::kCity, "Leeds"},     {F::kZip, "LS1"},       {F::kCountry, "UK"}};
  EXPECT_EQ(m.fields, expected);
}

TEST(LdifContactTest, NamesComeFromCnWhenTheEntryLacksThem) {
  const std::pair<std::string, std::vector<std::pair<F, std::string>>> cases[] = {
      {"dn: a\ncn: Barbara Ann Jensen\n",
       {{F::kLastName, "Jensen"}, {F::kFirstName, "Barbara Ann"}}},
      {"dn: a\ncn: Barbara Jensen\nsn: Jensen\n",
       {{F::kLastName, "Jensen"}, {F::kFirstName, "Barbara"}}},
      {"dn: a\ncn: James A Jones 1\nsn: Jones\n", {{F::kLastName, "Jones"}}},
      // Another cn may be the one that fits.
      {"dn: a\ncn: James A Jones 1\ncn: James Jones\nsn: Jones\n",
       {{F::kLastName, "Jones"}, {F::kFirstName, "James"}}},
      {"dn: a\ngivenName: Ann\ncn: Dr Ann\ncn: Ann Lee\n",
       {{F::kLastName, "Lee"}, {F::kFirstName, "Ann"}}},
      {"dn: a\ncn: Madonna\n", {{F::kLastName, "Madonna"}}},
  };
  for (const auto& [text, fields] : cases) {
    EXPECT_EQ(Map(text).fields, fields) << text;
  }
}

TEST(LdifContactTest, PrefersValuesWithoutOptionsUnlessOnlyAnOptionCanBeStored) {
  const Mapped m =
      Map("dn: a\ngivenname;lang-ja:: 44Ot44OJ\ngivenname:: 44Ot44OJ\ngivenname;lang-en: Rodney\n"
          "sn;lang-en: Ogasawara-en\nsn: Ogasawara\ntitle;lang-ja;phonetic: yomi\n"
          "o;binary:: AAEC\nmail: r@a.jp\n");
  const std::vector<std::pair<F, std::string>> expected = {
      {F::kLastName, "Ogasawara"}, {F::kFirstName, "Rodney"}, {F::kEMail, "r@a.jp"}};
  EXPECT_EQ(m.fields, expected);
}

TEST(LdifContactTest, SkipsChangesGroupsAndDirectoryStructure) {
  const std::pair<std::string, LdifOutcome> cases[] = {
      {"dn: a\nchangetype: modify\nreplace: sn\nsn: X\n", LdifOutcome::kChange},
      {"dn: a\nchangetype: delete\n", LdifOutcome::kChange},
      {"dn: a\nchangetype: modrdn\nnewrdn: cn=b\n", LdifOutcome::kChange},
      {"dn: a\nchangetype: add\nsn: Added\n", LdifOutcome::kIndividual},
      {"dn: a\ncn: list\nmember: cn=b\n", LdifOutcome::kGroup},
      {"dn: a\ncn: staff\nobjectclass: groupOfUniqueNames\n", LdifOutcome::kGroup},
      {"dn: ou=People\nou: People\ndescription: all\n", LdifOutcome::kNoContact},
      {"dn: a\no: Example, Inc.\nl: Ann Arbor\n", LdifOutcome::kOrganisation},
      {"dn: a\no: Example\nsn: Smith\n", LdifOutcome::kIndividual},
      {"dn: a\nmail: only@mail\n", LdifOutcome::kIndividual},
      {"dn: a\nsn:< file:///etc/passwd\nuserPassword: x\n", LdifOutcome::kNoContact},
  };
  for (const auto& [text, outcome] : cases) {
    EXPECT_EQ(Map(text).outcome, outcome) << text;
  }
}

TEST(LdifContactTest, AHomeAddressServesOnlyAnEntryWithoutAnother) {
  const std::string home =
      "mozillaHomeStreet: 1 Home Rd\nmozillaHomeLocalityName: Hometown\n"
      "mozillaHomeCountryName: Homeland\n";
  EXPECT_EQ(Map("dn: a\nsn: A\n" + home).fields,
            (std::vector<std::pair<F, std::string>>{{F::kLastName, "A"},
                                                    {F::kAdd1, "1 Home Rd"},
                                                    {F::kCity, "Hometown"},
                                                    {F::kCountry, "Homeland"}}));
  EXPECT_EQ(Map("dn: a\nsn: A\nl: Worktown\n" + home).fields,
            (std::vector<std::pair<F, std::string>>{{F::kLastName, "A"}, {F::kCity, "Worktown"}}));
}

TEST(LdifContactTest, Base64ValuesFromOlderInstallationsAreWindows1252) {
  // "Müller" in Windows-1252, and a UTF-8 description with a line break.
  const Mapped m = Map("dn: a\nsn:: TfxsbGVy\ndescription:: aMOpCnRoZXJl\n");
  EXPECT_EQ(m.fields, (std::vector<std::pair<F, std::string>>{{F::kLastName, "M\xFCller"},
                                                              {F::kNotes, "h\xE9\r\nthere"}}));
}

}  // namespace
}  // namespace tabrel
