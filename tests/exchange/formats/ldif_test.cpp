// LDIF: the reader, and entries made into records, from the cases in
// testdata/formats/ldif_*.cases; the writer's distinguished names.
#include <gtest/gtest.h>

#include "base/base64.h"
#include "base/text.h"
#include "exchange/formats/ldif_contact.h"
#include "exchange/formats/ldif_reader.h"
#include "exchange/formats/ldif_writer.h"
#include "fakes/case_file.h"
#include "fakes/contact_files.h"
#include "store/contact_record.h"

namespace tabrel {
namespace {

using testing::FileCase;
using LdifReaderTest = testing::FileCaseTest;
using LdifContactTest = testing::FileCaseTest;

// What a reader finds in `text`, and last the lines it could not read.
std::vector<std::string> Read(std::string_view text) {
  LdifReader reader(text);
  std::vector<std::string> read;
  for (LdifRecord record; reader.Next(record);) {
    read.push_back("dn " + std::string(record.dn));
    if (!record.changetype.empty()) read.push_back("changetype " + std::string(record.changetype));
    for (const LdifAttribute& a : record.attributes) {
      std::string s(a.type);
      if (!a.options.empty()) s.append(";").append(a.options);
      read.push_back(s.append(a.url ? "<" : "=").append(a.value));
    }
  }
  read.push_back("bad lines " + std::to_string(reader.bad_lines()));
  return read;
}

// Cut where LdifRecordStartFrom says, from every byte on, the text reads
// in two parts as it does whole.
void ExpectCutsReadAlike(std::string_view text) {
  const std::vector<std::string> whole = Read(text);
  for (std::size_t from = 0; from <= text.size(); ++from) {
    const std::size_t cut = LdifRecordStartFrom(text, from);
    if (cut == std::string_view::npos) break;
    EXPECT_GE(cut, from);
    std::vector<std::string> parts = Read(text.substr(0, cut));
    const std::vector<std::string> back = Read(text.substr(cut));
    const auto bad = [](const std::vector<std::string>& read) {
      return std::stoul(read.back().substr(10));
    };
    const std::size_t bad_lines = bad(parts) + bad(back);
    parts.pop_back();
    parts.insert(parts.end(), back.begin(), back.end() - 1);
    parts.push_back("bad lines " + std::to_string(bad_lines));
    EXPECT_EQ(parts, whole) << "cut at " << cut << " of\n" << text;
  }
}

TEST_P(LdifReaderTest, ReadsLinesAsTheStandardWritesThem) {
  const std::string text = GetParam().Get("text");
  std::vector<std::string> read = Read(text);
  read.pop_back();
  EXPECT_EQ(read, GetParam().All("read"));
  ExpectCutsReadAlike(text);
}

TEST(LdifReaderTest, IsCutOnlyBeforeALineThatBeginsARecord) {
  const std::string text =
      "version: 1\ndn: a\ndescription: x\n dn: folded\n#\ndn: b\r\nno colon\r\n\r\n"
      "# dn: c\nDn: d\rdn: e\r\n\r\ncn: x\ndN:: Zg==\nsn:: %%\n";
  ExpectCutsReadAlike(text);
  std::vector<std::size_t> cuts;
  for (std::size_t at = 0; (at = LdifRecordStartFrom(text, at)) != std::string::npos;) {
    cuts.push_back(at);
  }
  // After the LF of each line that begins a record, in any case: not in a
  // fold, a comment, or after a lone CR.
  const std::vector<std::size_t> wanted = {text.find("dn: a"), text.find("dn: b"),
                                           text.find("Dn: d"), text.find("dN::")};
  EXPECT_EQ(cuts, wanted);
}

TEST_P(LdifContactTest, MakesTheEntryIntoARecordOrSaysWhyNot) {
  static const char* const kNames[kRecordFieldCount] = {
      "LastName", "FirstName", "Title", "Org",  "Phone", "Ext",   "Fax", "Cellular", "Beeper",
      "EMail",    "Web",       "Add1",  "Add2", "City",  "State", "Zip", "Country",  "Notes"};
  static const char* const kOutcomes[] = {"individual", "organisation", "change", "group",
                                          "nothing"};
  const FileCase& c = GetParam();
  const std::string text = c.Get("text");
  LdifReader reader(text);
  LdifRecord record;
  ASSERT_TRUE(reader.Next(record));
  RecordBuilder out;
  const LdifOutcome outcome = ContactFromLdif(record, out);
  testing::ExpectIfGiven(c, "outcome", std::string(kOutcomes[static_cast<int>(outcome)]));
  std::vector<std::string> fields;
  for (std::size_t f = 0; f < kRecordFieldCount; ++f) {
    const auto field = static_cast<RecordField>(f);
    if (out.Has(field)) fields.push_back(std::string(kNames[f]) + "=" + out.Get(field));
  }
  if (c.Has("field")) {
    EXPECT_EQ(fields, c.All("field"));
  }
}

TABREL_FILE_CASES(Files, LdifReaderTest, "formats", "ldif_reader.cases");
TABREL_FILE_CASES(Entries, LdifContactTest, "formats", "ldif_contact.cases");

// Every entry of an export has a dn of its own, escaped and base64 as LDIF
// asks, or a program that reads the file merges the entries.
TEST(LdifWriterTest, EachEntryHasADistinctDn) {
  const auto record = [](const std::string& first, const std::string& last,
                         const std::string& mail) {
    ContactRecord r = testing::Contact("1", last, first, "01-01-2000 1");
    r.EMail = mail;
    return EncodeContact(r);
  };
  const std::string records[] = {record("Ann", "Adams", "a@x"),
                                 record("Ann", "Adams", "a@x"),
                                 record("", "Smith, Jr.", ""),
                                 record("Ren\xE9", "", "r@x"),
                                 record("", "", ""),
                                 record("", "", "")};
  const std::vector<std::string_view> views(std::begin(records), std::end(records));
  std::string out;
  AppendLdifEntries(views, out);
  std::vector<std::string> dns;
  for (std::size_t at = out.find("dn"); at != std::string::npos; at = out.find("\r\n\r\ndn", at)) {
    at = out.find("dn", at);
    dns.push_back(out.substr(at, out.find("\r\n", at) - at));
  }
  EXPECT_EQ(dns, (std::vector<std::string>{
                     "dn: cn=Ann  Adams,mail=a@x", "dn: cn=Ann  Adams (2),mail=a@x",
                     "dn: cn=Smith\\, Jr.,mail=", "dn:: " + EncodeBase64("cn=Ren\u00E9,mail=r@x"),
                     "dn: cn=,mail=", "dn: cn=(2),mail="}));
  EXPECT_EQ(out.substr(out.find("\r\n") + 2, 18), "cn: Ann  Adams\r\nsn");
}

}  // namespace
}  // namespace tabrel
