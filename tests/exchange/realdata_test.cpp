// Imports every comma-delimited and LDIF file other address books wrote
// (the shared collection of real files, read where it lies and never copied
// here) and checks that each contact's values land in the right fields.
// Skipped where the collection is absent; TABREL_REALDATA names its folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "base/text.h"
#include "exchange/formats/comma_contact.h"
#include "exchange/formats/ldif_contact.h"
#include "exchange/importing/import_text.h"
#include "exchange/importing/new_records_import.h"
#include "exchange/importing/text_records.h"
#include "fakes/contact_files.h"
#include "fakes/real_data.h"
#include "store/contact_record.h"

namespace tabrel {
namespace {

namespace fs = std::filesystem;
using testing::DataSetFolders;

// A contact as expected: each named field's trimmed text (Windows-1252).
using Expected = std::map<std::string, std::string>;

std::string FieldText(const ContactRecord& record, const std::string& name) {
  for (const ContactField& field : kContactFields) {
    if (name == field.name) return Trim(record.*field.member);
  }
  ADD_FAILURE() << "no field " << name;
  return {};
}

// The imported records, and what the import counted.
struct Imported {
  std::vector<ContactRecord> records;
  std::size_t replaced = 0;
  LdifSkipped skipped;
};

Imported Stored(const DataSetFolders& set, const NewRecordsImport& import) {
  EXPECT_TRUE(import.Commit().ok());
  Imported out;
  const std::string bytes = set.data.Read("tabrel.dat");
  for (std::size_t at = 0; at + layout::kContactRecordLength <= bytes.size();
       at += layout::kContactRecordLength) {
    out.records.push_back(DecodeContact(bytes.substr(at)));
  }
  out.replaced = import.replaced_characters();
  return out;
}

NewRecordsImport Open(const DataSetFolders& set) {
  auto import = NewRecordsImport::Open(set.state, {2024, 5, 6, 43200});
  EXPECT_TRUE(import.ok());
  return std::move(import.value());
}

// Imports a comma-delimited file as a user of the field selector would:
// the header box as the window ticks it, the links it suggests (or those
// given), the default options.
Imported ImportComma(const fs::path& file, const std::string& encoding = "",
                     const CommaLinks* links = nullptr) {
  DataSetFolders set;
  auto text = ReadImportText(file.string(), encoding);
  EXPECT_TRUE(text.ok());
  CommaImportOptions options;
  options.encoding = encoding;
  options.header = SurveyComma(text.value().text, false).header_likely;
  const CommaSurvey survey = SurveyComma(text.value().text, options.header);
  options.links = links != nullptr ? *links : SuggestLinks(survey.columns, survey.sample);
  NewRecordsImport import = Open(set);
  AddCommaRecords(text.value().text, options, "comma_new", import);
  return Stored(set, import);
}

Imported ImportLdif(const fs::path& file) {
  DataSetFolders set;
  auto text = ReadImportText(file.string());
  EXPECT_TRUE(text.ok());
  NewRecordsImport import = Open(set);
  const LdifSkipped skipped = AddLdifRecords(text.value().text, import);
  Imported out = Stored(set, import);
  out.skipped = skipped;
  return out;
}

void Check(const Imported& imported, const std::vector<Expected>& contacts) {
  ASSERT_EQ(imported.records.size(), contacts.size());
  for (std::size_t i = 0; i < contacts.size(); ++i) {
    for (const auto& [field, value] : contacts[i]) {
      EXPECT_EQ(FieldText(imported.records[i], field), value)
          << "contact " << i + 1 << " " << field;
    }
  }
}

class RealDataTest : public ::testing::Test {
 protected:
  void SetUp() override {
    csv_ = testing::RealDataFolder("csv");
    ldif_ = testing::RealDataFolder("ldif");
    if (csv_.empty() || ldif_.empty()) GTEST_SKIP() << "the collection of real files is not here";
  }
  fs::path Csv(const char* name) const { return csv_ / name; }
  fs::path Ldif(const char* name) const { return ldif_ / name; }
  fs::path csv_;
  fs::path ldif_;
};

TEST_F(RealDataTest, CommaDelimitedFilesOfOutlookAndWindowsAddressBook) {
  Check(ImportComma(Csv("horde-outlook-bug6311.csv")), {{{"FirstName", "John"},
                                                         {"LastName", "Smith"},
                                                         {"Org", "International Inc"},
                                                         {"Title", ""},
                                                         {"Phone", "(123) 555-2222"},
                                                         {"Fax", "(123) 555-1111"},
                                                         {"Cellular", "(123) 555-3333"},
                                                         {"EMail", "john@example.com"},
                                                         {"Notes", "PHP\r\nPerl\r\nPython"},
                                                         {"KW1", "comma_new"},
                                                         {"RecType", "2"}}});
  // A street of two lines, with doubled quotes.
  Check(ImportComma(Csv("horde-outlook-bug6370.csv")), {{{"Add1", "Big Tower'\", 1\" Floor"},
                                                         {"Add2", "123 Main Street"},
                                                         {"LastName", ""},
                                                         {"RecType", "1"}}});
  Check(ImportComma(Csv("horde-wab.csv")), {{{"FirstName", "Firman"},
                                             {"LastName", "Wandayandi"},
                                             {"EMail", "firman@php.net"},
                                             {"Org", "Foo"},
                                             {"Title", "Web Developer"},
                                             {"Phone", "99999999"},
                                             {"Fax", "99999999"},
                                             {"Cellular", "999999999"},
                                             {"Beeper", "99999999"},
                                             {"Web", "http://php.hm/~firman"},
                                             {"Add1", "Foo Street"},
                                             {"City", "Bandung"},
                                             {"State", "West Java"},
                                             {"Zip", "99999"},
                                             {"Country", "Indonesia"},
                                             {"Notes", "It's\r\nmultiline\r\nmemo."}}});
}

TEST_F(RealDataTest, APalmFileWithoutHeaderIsLinkedByHand) {
  CommaLinks links{};
  const std::pair<RecordField, std::size_t> by_hand[] = {
      {RecordField::kLastName, 1}, {RecordField::kFirstName, 2}, {RecordField::kTitle, 3},
      {RecordField::kOrg, 4},      {RecordField::kPhone, 5},     {RecordField::kFax, 7},
      {RecordField::kEMail, 9},    {RecordField::kAdd1, 10},     {RecordField::kCity, 11},
      {RecordField::kState, 12},   {RecordField::kZip, 13},      {RecordField::kCountry, 14}};
  for (const auto& [field, column] : by_hand) links[static_cast<std::size_t>(field)] = column;
  const fs::path file = Csv("horde-palm-noheader.csv");
  auto text = ReadImportText(file.string());
  ASSERT_TRUE(text.ok());
  EXPECT_FALSE(SurveyComma(text.value().text, false).header_likely);
  Check(ImportComma(file, "", &links),
        {{{"LastName", "Shumway1"},
          {"FirstName", "Gordon"},
          {"Title", "President"},
          {"Org", "Alf Ltd"},
          {"Phone", "408-555-1254"},
          {"Fax", "408-555-1256"},
          {"EMail", "Gordon!@usa.com"},
          {"Add1", "123 Anywhere Street"},
          {"City", "San Jose"},
          {"State", "CA"},
          {"Zip", "95128"},
          {"Country", "USA"}},
         {{"LastName", "Shumway2"}, {"Title", "VP"}, {"Add1", "12345 Lost Street"}}});
}

TEST_F(RealDataTest, CommaDelimitedFilesOfThunderbirdInEveryEncoding) {
  Check(ImportComma(Csv("mozilla-export.csv")),
        {{{"FirstName", "contact"}, {"LastName", "one"}, {"EMail", "contact1@invalid"}},
         {{"FirstName", "contact"},
          {"LastName", "two"},
          {"EMail", "contact2@invalid"},
          {"Title", "\"worker\""},
          {"Notes", "here's some unicode text\x85"}}});
  Check(ImportComma(Csv("mozilla-quote.csv")),
        {{{"Org", "Acer America"}, {"Phone", "(800) 000-0000"}, {"RecType", "2"}}});
  Check(ImportComma(Csv("mozilla-utf16-addressbook.csv")),
        {{{"FirstName", "John"}, {"LastName", "Doe"}, {"EMail", "johndoe@host.invalid"}}});
  // Japanese names cannot be stored: the user chose Shift_JIS and is told
  // how many characters became "?".
  const Imported japanese = ImportComma(Csv("mozilla-shiftjis-addressbook.csv"), "SHIFT_JIS");
  Check(japanese, {{{"FirstName", "???"}, {"LastName", "???"}, {"EMail", "???????@host.invalid"}}});
  EXPECT_EQ(japanese.replaced, 13u);
}

TEST_F(RealDataTest, CommaDelimitedFilesOfRoundcubeAndGmail) {
  Check(ImportComma(Csv("roundcube-all-bom.csv")), {{{"FirstName", "First Name"},
                                                     {"LastName", "Last Name"},
                                                     {"Title", "Job Title"},
                                                     {"Org", "Company"},
                                                     {"EMail", "work@example.com"},
                                                     {"Phone", "300"},
                                                     {"Fax", "800"},
                                                     {"Cellular", "500"},
                                                     {"Beeper", "111"},
                                                     {"Web", "https://work"},
                                                     {"Add1", "Work Street"},
                                                     {"City", "Work City"},
                                                     {"State", "Work State"},
                                                     {"Zip", "Work Zip"},
                                                     {"Country", "Work Country"},
                                                     {"Notes", "Notes"}}});
  Check(ImportComma(Csv("roundcube-gmail.csv")), {{{"FirstName", "Firstname"},
                                                   {"LastName", "Lastname"},
                                                   {"Org", "company"},
                                                   {"Title", "jobtitle"},
                                                   {"EMail", "home@aaa.pl"},  // marked primary
                                                   {"Phone", "workphone"},
                                                   {"Fax", "workfax"},
                                                   {"Cellular", "mobile"},
                                                   {"Beeper", "pager"},
                                                   {"Web", "test.com"},
                                                   {"Add1", "work_street"},
                                                   {"City", "work_city"},
                                                   {"State", ""},
                                                   {"Zip", "work_zip"},
                                                   {"Country", "work_country"},
                                                   {"Notes", "note\"note"}}});
}

TEST_F(RealDataTest, LdifFilesOfNetscapeAndThunderbird) {
  Check(ImportLdif(Ldif("jaxp-netscape-personal-addressbook.ldif")),
        {{{"FirstName", "Fred"},
          {"LastName", "Flintstone"},
          {"EMail", "Fred@barneys.house"},
          {"Phone", "999-Quarry"},
          {"Fax", "888-Squawk"},
          {"Beeper", "777-pager"},
          {"Cellular", "555-cell"},
          {"KW1", "ldif_New"},
          {"RecType", "1"}}});
  Check(ImportLdif(Ldif("mozilla-basic-ldif-addressbook.ldif")),
        {{{"FirstName", "First"},
          {"LastName", "Last"},
          {"Org", "Organization Name"},
          {"Title", "Job Title"},
          {"EMail", "primaryemail@host.invalid"},
          {"Phone", "123-456-7890"},
          {"Fax", "345-678-9012"},
          {"Beeper", "456-789-0123"},
          {"Cellular", "567-890-1234"},
          {"Web", "http://127.0.0.1"},
          {"Add1", "Work Address Line 1"},
          {"Add2", "Work Address Line 2"},
          {"City", "Work City"},
          {"State", "Work State"},
          {"Zip", "Work Zip"},
          {"Country", "Work Country"},
          {"Notes", "Notes line 1\r\nNotes line 2\r\nNotes line 3\r\nNotes line 4"},
          {"RecType", "1"}}});
  Check(ImportLdif(Ldif("mozilla-bug263304-labeleduri.ldif")),
        {{{"FirstName", "Display"},
          {"LastName", "Name"},
          {"EMail", "primaryemail@host.invalid"},
          {"Web", "http://127.0.0.1"}}});
  const Imported exported = ImportLdif(Ldif("mozilla-export.ldif"));
  Check(exported, {{{"FirstName", "contact"}, {"LastName", "one"}, {"EMail", "contact1@invalid"}},
                   {{"FirstName", "contact"},
                    {"LastName", "two"},
                    {"Title", "\"worker\""},
                    {"Notes", "here's some unicode text\x85"}}});
  EXPECT_EQ(exported.skipped.groups, 1u);
  const Imported list = ImportLdif(Ldif("mozilla-import-list.ldif"));
  Check(list, {{{"FirstName", "contact"}, {"LastName", "one"}, {"EMail", "contact1@invalid"}}});
  EXPECT_EQ(list.skipped.groups, 1u);
}

TEST_F(RealDataTest, LdifFilesOfDirectoriesAndTheStandardsExamples) {
  Check(ImportLdif(Ldif("openldap-test-lang.ldif")),
        {{{"LastName", "Ray"}, {"FirstName", "Billy"}, {"Org", "Example, Inc."}}});
  const Imported modify = ImportLdif(Ldif("openldap-test-modify.ldif"));
  Check(modify,
        {{{"FirstName", "Gern"}, {"LastName", "Jensen"}, {"Title", "Chief Investigator, ITD"}}});
  EXPECT_EQ(modify.skipped.changes, 7u);
  Check(ImportLdif(Ldif("text-ldif-rfc2849-ex2-folding.ldif")),
        {{{"FirstName", "Barbara"},
          {"LastName", "Jensen"},
          {"Phone", "+1 408 555 1212"},
          {"Title", "Product Manager, Rod and Reel Division"},
          {"Notes",
           "Babs is a big sailing fan, and travels extensively in search of perfect sailing "
           "conditions."}}});
  // The Japanese names cannot be stored; the English ones can.
  const Imported japanese = ImportLdif(Ldif("text-ldif-rfc2849-ex4-utf8-base64.ldif"));
  Check(japanese, {{{"FirstName", "Rodney"},
                    {"LastName", "Ogasawara"},
                    {"Title", "Sales, Director"},
                    {"EMail", "rogasawara@airius.co.jp"},
                    {"Notes", ""}}});
  EXPECT_EQ(japanese.skipped.no_contact, 1u);
  const Imported changes = ImportLdif(Ldif("text-ldif-rfc2849-ex6-changes.ldif"));
  Check(changes, {{{"FirstName", "Fiona"}, {"LastName", "Jensen"}, {"Phone", "+1 408 555 1212"}}});
  EXPECT_EQ(changes.skipped.changes, 5u);
}

TEST_F(RealDataTest, LdifFilesOfAUniversityDirectory) {
  // Each file: the people in order, the organisation first where it has
  // one; groups and the folders of the tree are left out, passwords too.
  const Expected university = {{"Org", "University of Michigan"},
                               {"City", "Ann Arbor, Michigan"},
                               {"State", "Michigan"},
                               {"Phone", "+1 313 764-1817"},
                               {"Notes", "The University of Michigan at Ann Arbor"},
                               {"RecType", "2"}};
  const Imported root = ImportLdif(Ldif("perl-ldap-00-in.ldif"));
  Check(root, {university});
  EXPECT_EQ(root.skipped.no_contact + root.skipped.groups, 5u);

  const Imported people = ImportLdif(Ldif("perl-ldap-40-in-people.ldif"));
  ASSERT_GE(people.records.size(), 3u);
  Check({{people.records.begin(), people.records.begin() + 2}, 0, {}},
        {university,
         {{"FirstName", "Barbara"},
          {"LastName", "Jensen"},
          {"Title", "Mythical Manager, Research Systems"},
          {"EMail", "bjensen@mailgw.umich.edu"},
          {"Beeper", "+1 313 555 3233"},
          {"Fax", "+1 313 555 2274"},
          {"Phone", "+1 313 555 9022"},
          {"Notes", "Mythical manager of the rsdd unix project"},
          {"RecType", "1"}}});
  EXPECT_EQ(people.records.size() + people.skipped.entries(), 19u);
  // "cn: James A Jones 1" does not end with the surname; "cn: James Jones" does.
  ASSERT_GE(people.records.size(), 5u);
  EXPECT_EQ(Trim(people.records[4].FirstName), "James");
  EXPECT_EQ(Trim(people.records[4].LastName), "Jones");
  for (const ContactRecord& record : people.records) {
    EXPECT_EQ(record.Notes.find("amFq"), std::string::npos);  // a password's base64
  }

  const Imported ordered = ImportLdif(Ldif("openldap-test-ordered.ldif"));
  EXPECT_EQ(ordered.records.size() + ordered.skipped.entries(), 19u);
  ASSERT_GE(ordered.records.size(), 2u);
  EXPECT_EQ(Trim(ordered.records[0].Org), "Example, Inc.");
  const Imported controls = ImportLdif(Ldif("perl-ldap-10-in-controls.ldif"));
  Check(controls, {university});
}

}  // namespace
}  // namespace tabrel
